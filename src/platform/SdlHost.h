// The SDL2 back end: a window showing the 240x320 screen scaled by a whole factor, input as
// window messages, the real clock, and optional recording of the input as a script.
#pragma once

#include "platform/Clock.h"
#include "platform/Host.h"
#include "platform/InstanceLock.h"
#include "platform/Script.h"

#include <optional>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace Platform {

struct SdlOptions
{
    uint32_t scale = 2;
    bool fullscreen = false;
    std::optional<uint32_t> frameLimit; // a close request before this frame
    std::string recordPath;             // empty: no recording
};

class SdlHost : public Host
{
public:
    explicit SdlHost(SdlOptions options);
    ~SdlHost() override;

    bool CreateInstanceLock(const std::string& name) override;

    void WaitForMessage(uint64_t deadline) override;
    uint32_t GetTickCount() override { return m_clock.TickCount(); }
    uint64_t QueryPerformanceCounter() override { return m_clock.Counter(); }
    uint64_t QueryPerformanceFrequency() override { return CounterFrequency; }

    void EndScreenDraw() override { Present(false); }
    uint16_t* RawFrameBuffer() override;

protected:
    bool OpenNativeWindow(const std::string& title) override;
    void CloseNativeWindow() override;
    bool PollEvent(Message& message) override;
    void WaitEvent() override;

private:
    bool Translate(const SDL_Event& event, Message& message);
    void ToggleFullscreen();
    // Shows the screen; unless forced, only when it differs from what the window shows.
    void Present(bool force);

    SdlOptions m_options;
    RealClock m_clock;
    InstanceLock m_lock;
    ScriptRecorder m_recorder;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    std::vector<uint16_t> m_shown; // what the window shows, to skip unchanged frames
    bool m_videoStarted = false;
    // The raw frame buffer is written without begin/end calls, so the host shows it by itself.
    bool m_rawFrameBufferInUse = false;
    bool m_limitDelivered = false;
    bool m_reportedInactive = false;   // the last activation message said "inactive"
    bool m_closeAfterActivate = false; // a close held back behind that activation
    bool m_closing = false;            // a close was delivered
};

} // namespace Platform
