// The host layer: what the program expects of its platform (a window, a message queue, a clock,
// a 240x320 RGB565 screen) behind one interface, with SDL2 and headless back ends.
#pragma once

#include "platform/Messages.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace Platform {

// A window handle: 0 is no window; the display driver stores -1 after a failed open.
using WindowHandle = intptr_t;
constexpr WindowHandle NoWindow = 0;

// The window procedure the program registers with its window class.
using WindowProc = int32_t (*)(WindowHandle window, uint32_t message, uint32_t wParam,
                               uint32_t lParam);

// The physical screen: 240x320 RGB565 pixels, rows of 240 pixels.
constexpr uint32_t ScreenWidth = 240;
constexpr uint32_t ScreenHeight = 320;

// How the screen memory is laid out: size, byte steps between pixels and rows, pixel format.
struct ScreenLayout
{
    uint32_t width = ScreenWidth;
    uint32_t height = ScreenHeight;
    int32_t xPitch = 2;
    int32_t yPitch = ScreenWidth * 2;
    uint32_t bitsPerPixel = 16;
    uint32_t format = 0xA0; // direct colour, RGB565
};

class Host
{
public:
    virtual ~Host() = default;

    // Single instance. Creates the named process-wide lock; false when another process holds it.
    virtual bool CreateInstanceLock(const std::string& name) = 0;

    // Window. One window class and one window exist at a time.
    bool RegisterWindowClass(const std::string& name, WindowProc proc);
    WindowHandle CreateMainWindow(const std::string& className, const std::string& title);
    // Destroys the window and sends it the destroy message, as the platform does.
    void DestroyWindow(WindowHandle window);
    WindowHandle MainWindow() const { return m_window; }

    // Message queue. PeekMessage never blocks; GetMessage blocks and returns false on the quit
    // message. PostQuitMessage queues the quit message behind what is already posted.
    bool PeekMessage(Message& message);
    bool GetMessage(Message& message);
    void PostQuitMessage(int32_t exitCode);
    int32_t DispatchMessage(const Message& message);
    int32_t DefWindowProc(WindowHandle window, uint32_t message, uint32_t wParam, uint32_t lParam);

    // Waits until a message is pending or the high-resolution counter reaches deadline.
    virtual void WaitForMessage(uint64_t deadline) = 0;
    // Told by the main loop each time a frame starts to run; frames are counted from 0.
    virtual void FrameStarted() { ++m_framesRun; }
    uint32_t FramesRun() const { return m_framesRun; }

    // Completes what the run leaves to do at its end (screenshots of a script); false when any
    // of it failed, after saying why on stderr.
    virtual bool Finish() { return true; }

    // Clock.
    virtual uint32_t GetTickCount() = 0;
    virtual uint64_t QueryPerformanceCounter() = 0;
    virtual uint64_t QueryPerformanceFrequency() = 0;

    // Screen: what the display library and the raw frame buffer hand out. ScreenMemory is the
    // plain 240x320 picture of what is shown; back ends with other layouts override the rest.
    uint16_t* ScreenMemory() { return m_screen.data(); }
    const uint16_t* ScreenMemory() const { return m_screen.data(); }
    // Opening takes the screen for the window; it fails without a window or when already open.
    bool OpenScreen(WindowHandle window);
    void CloseScreen() { m_screenOpen = false; }
    bool IsScreenOpen() const { return m_screenOpen; }
    virtual ScreenLayout GetScreenLayout() const;
    virtual uint16_t* BeginScreenDraw() { return m_screen.data(); }
    // Shows what was drawn since BeginScreenDraw.
    virtual void EndScreenDraw() {}
    // The raw frame buffer: drawn into directly, shown by the back end on its own.
    virtual uint16_t* RawFrameBuffer() { return m_screen.data(); }

protected:
    Host() : m_screen(ScreenWidth * ScreenHeight, 0) {}

    // Back-end hooks.
    virtual bool OpenNativeWindow(const std::string& title) = 0;
    virtual void CloseNativeWindow() = 0;
    // Takes the next native event as a message; false when none is pending.
    virtual bool PollEvent(Message& message) = 0;
    // Blocks until PollEvent would return a message.
    virtual void WaitEvent() = 0;

private:
    std::string m_className;
    WindowProc m_proc = nullptr;
    WindowHandle m_window = NoWindow;
    WindowHandle m_nextHandle = 1;
    std::deque<Message> m_posted;
    uint32_t m_framesRun = 0;
    bool m_screenOpen = false;
    std::vector<uint16_t> m_screen;
};

// The process-wide host, set once by the program's entry (or by a test).
void SetHost(Host* host);
Host& GetHost();

} // namespace Platform
