// Start-up, the main loop and message translation of the application base.
#include "app/GameApp.h"

#include "app/Win32GapiDriver.h"
#include "app/Win32RawFBDriver.h"
#include "platform/Gapi.h"

#include <cinttypes>
#include <cstdio>

GameApp* GameApp::s_instance = nullptr;

GameApp::GameApp(uint32_t instanceId) : m_instanceId(instanceId)
{
    s_instance = this;
}

GameApp::~GameApp()
{
    m_display.reset();
    if (s_instance == this)
        s_instance = nullptr;
}

std::string GameApp::InstanceName() const
{
    char name[32];
    std::snprintf(name, sizeof name, "Kestrune_%08" PRIX32, m_instanceId);
    return name;
}

bool GameApp::Quit()
{
    m_quitRequested = true;
    return true;
}

uint32_t GameApp::GetParam(uint32_t id)
{
    switch (id) {
    case AppParam::Width:
        return m_width;
    case AppParam::Height:
        return m_height;
    case AppParam::FramesPerSecond:
        return m_framesPerSecond;
    default:
        return 0;
    }
}

void GameApp::SetParam(uint32_t mask, uint32_t value)
{
    if (mask & AppParam::Width)
        m_width = value;
    if (mask & AppParam::Height)
        m_height = value;
    if (mask & AppParam::FramesPerSecond)
        m_framesPerSecond = value;
    if ((mask & AppParam::Orientation) && value != m_orientation) {
        m_orientation = value;
        if (m_display) {
            m_display->SetOrientation(value);
            if (m_window != Platform::NoWindow)
                m_display->Open(m_window);
        }
    }
}

bool GameApp::Init(uint32_t displayFlags, const std::string& title)
{
    Platform::Host& host = Platform::GetHost();
    const std::string name = InstanceName();
    // Another instance owns the name: the desktop cannot raise a foreign process's window, so
    // the host tells the user instead, and this start-up ends.
    if (!host.CreateInstanceLock(name))
        return false;
    if (!host.RegisterWindowClass(name, &GameApp::WindowProc))
        return false;
    m_window = host.CreateMainWindow(name, title);
    if (m_window == Platform::NoWindow)
        return false;
    if (!CreateDisplay(displayFlags))
        return false;
    m_display->SetOrientation(m_orientation);
    return OnInit();
}

bool GameApp::CreateDisplay(uint32_t displayFlags)
{
    std::unique_ptr<Display> display;
    if (!(displayFlags & DisplayFlags::SkipRawFrameBuffer)) {
        display = std::make_unique<Win32RawFBDriver>();
        if (!display->Open(m_window)) {
            display.reset();
            if (displayFlags & DisplayFlags::RequireRawFrameBuffer)
                return false;
        }
    }
    if (!display && !(displayFlags & DisplayFlags::SkipGapi)) {
        display = std::make_unique<Win32GapiDriver>();
        if (!display->Open(m_window)) {
            display.reset();
            if (displayFlags & DisplayFlags::RequireGapi)
                return false;
        }
    }
    if (!display)
        return false;
    m_display = std::move(display);
    return true;
}

int GameApp::Run()
{
    Platform::Host& host = Platform::GetHost();
    Platform::GXOpenInput();

    uint64_t lastFrame = 0; // so the first pass without a message runs a frame at once
    uint64_t secondStart = host.QueryPerformanceCounter();
    const uint64_t frequency = host.QueryPerformanceFrequency();
    // Fixed for the life of the loop, in single precision like every frame-rate comparison.
    const float framePeriod = static_cast<float>((1.0 / m_framesPerSecond) * frequency);
    uint32_t framesThisSecond = 0;

    for (;;) {
        Platform::Message message;
        bool taken;
        if (m_inactive) {
            if (!host.GetMessage(message))
                break;
            taken = true;
        } else {
            taken = host.PeekMessage(message);
            if (taken && message.id == Platform::MessageId::Quit)
                break;
        }
        if (taken) {
            host.DispatchMessage(message);
            continue;
        }

        const uint64_t now = host.QueryPerformanceCounter();
        bool frameRan = false;
        if (static_cast<float>(now - lastFrame) > framePeriod || now < lastFrame) {
            ++framesThisSecond;
            lastFrame = now;
            if (m_quitRequested) {
                host.DestroyWindow(m_window);
                m_window = Platform::NoWindow;
                break;
            }
            host.FrameStarted();
            OnFrame();
            frameRan = true;
        }
        if (static_cast<float>(now - secondStart) > static_cast<float>(frequency)) {
            m_measuredFps = framesThisSecond;
            framesThisSecond = 0;
            secondStart = now;
        }
        // Nothing to do until the next message or the next frame: wait rather than spin. The
        // first counter value at which the frame is due is one tick past the period.
        if (!frameRan)
            host.WaitForMessage(lastFrame + static_cast<uint64_t>(framePeriod) + 1);
    }

    Platform::GXCloseInput();
    return 1;
}

int32_t GameApp::WindowProc(Platform::WindowHandle window, uint32_t message, uint32_t wParam,
                            uint32_t lParam)
{
    if (s_instance && !s_instance->HandleMessage(message, wParam, lParam))
        return 0;
    return Platform::GetHost().DefWindowProc(window, message, wParam, lParam);
}

bool GameApp::HandleMessage(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    using namespace Platform::MessageId;
    switch (message) {
    case KeyDown:
        if (!(lParam & Platform::KeyRepeatBit))
            OnKeyDown(wParam);
        return false;
    case KeyUp:
        OnKeyUp(wParam);
        return false;
    case StylusDown:
    case StylusMove:
    case StylusUp: {
        // Device coordinates, turned into the game's by the orientation.
        const int32_t x0 = static_cast<int32_t>(Platform::PointParamX(lParam));
        const int32_t y0 = static_cast<int32_t>(Platform::PointParamY(lParam));
        const int32_t w = static_cast<int32_t>(m_width), h = static_cast<int32_t>(m_height);
        int32_t x = x0, y = y0;
        switch (m_orientation) {
        case Orientation::QuarterTurn:
            x = h - y0;
            y = x0;
            break;
        case Orientation::ThreeQuarterTurn:
            x = y0;
            y = w - x0;
            break;
        case Orientation::HalfTurn:
            x = w - x0;
            y = h - y0;
            break;
        default:
            break;
        }
        if (message == StylusDown)
            OnStylusDown(x, y);
        else if (message == StylusMove)
            OnStylusMove(x, y);
        else
            OnStylusUp(x, y);
        return false;
    }
    case Activate:
        // The handheld's shell bars would be hidden or shown here; the desktop has none.
        if (wParam & 0xFFFF) {
            m_inactive = false;
            OnActivate();
        } else {
            m_inactive = true;
            OnDeactivate();
        }
        return false;
    case Close:
        OnClose();
        return false;
    case Destroy:
        Platform::GetHost().PostQuitMessage(0);
        return false;
    default:
        return true;
    }
}
