// GameApp: the reusable application base. It owns the window and the display driver, runs the
// fixed-rate main loop (messages always before frames) and turns window messages into virtual
// input hooks. It knows nothing about the game itself.
#pragma once

#include "app/Display.h"
#include "platform/Host.h"

#include <cstdint>
#include <memory>
#include <string>

// Parameter ids of GetParam and bits of SetParam's mask.
namespace AppParam {
constexpr uint32_t Width = 16;
constexpr uint32_t Height = 32;
constexpr uint32_t FramesPerSecond = 64;
constexpr uint32_t Orientation = 128;
} // namespace AppParam

// Display-selection flags of Init.
namespace DisplayFlags {
constexpr uint32_t SkipRawFrameBuffer = 1;
constexpr uint32_t SkipGapi = 2;
constexpr uint32_t RequireGapi = 16;           // fail if the GAPI driver was tried and failed
constexpr uint32_t RequireRawFrameBuffer = 32; // fail if the raw driver was tried and failed
} // namespace DisplayFlags

class GameApp
{
public:
    explicit GameApp(uint32_t instanceId);
    // Deletes the display driver.
    virtual ~GameApp();
    GameApp(const GameApp&) = delete;
    GameApp& operator=(const GameApp&) = delete;

    // Sets quitRequested; the loop destroys the window and ends at the next frame tick.
    virtual bool Quit();
    virtual uint32_t GetParam(uint32_t id);
    virtual void SetParam(uint32_t mask, uint32_t value);
    virtual bool OnInit() { return true; }
    virtual bool OnFrame() { return false; }
    virtual bool OnClose() { return true; }
    virtual void OnDeactivate() {}
    virtual void OnActivate() {}
    virtual void OnStylusDown(int32_t, int32_t) {}
    virtual void OnStylusMove(int32_t, int32_t) {}
    virtual void OnStylusUp(int32_t, int32_t) {}
    virtual void OnKeyDown(uint32_t) {}
    virtual void OnKeyUp(uint32_t) {}

    // Single-instance check, window, display driver, orientation, then OnInit.
    bool Init(uint32_t displayFlags, const std::string& title);
    // The main loop; returns 1.
    int Run();
    // Translates one window message into the hooks; true when the platform's default handling
    // should run too (the message was not one of the program's).
    bool HandleMessage(uint32_t message, uint32_t wParam, uint32_t lParam);

    Display* GetDisplay() const { return m_display.get(); }
    Platform::WindowHandle GetWindow() const { return m_window; }
    bool IsQuitRequested() const { return m_quitRequested; }
    bool IsInactive() const { return m_inactive; }
    uint32_t GetOrientation() const { return m_orientation; }
    uint32_t GetMeasuredFps() const { return m_measuredFps; }
    // The name of the window class and of the single-instance lock, "Kestrune_%08X".
    std::string InstanceName() const;

    // The one application object of the process.
    static GameApp* Instance() { return s_instance; }

protected:
    std::unique_ptr<Display> m_display;
    bool m_quitRequested = false;
    bool m_inactive = false;
    uint32_t m_width = 240;
    uint32_t m_height = 320;
    uint32_t m_orientation = 1;
    uint32_t m_framesPerSecond = 50;
    uint32_t m_measuredFps = 0;
    uint32_t m_instanceId;
    Platform::WindowHandle m_window = Platform::NoWindow;

private:
    static int32_t WindowProc(Platform::WindowHandle window, uint32_t message, uint32_t wParam,
                              uint32_t lParam);
    bool CreateDisplay(uint32_t displayFlags);

    static GameApp* s_instance;
};
