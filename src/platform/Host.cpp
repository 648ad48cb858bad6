// The platform-independent part of the host: window class, posted messages and dispatch.
#include "platform/Host.h"

#include <cassert>

namespace Platform {

namespace {
Host* g_host = nullptr;
}

void SetHost(Host* host)
{
    g_host = host;
}

Host& GetHost()
{
    assert(g_host && "the platform host must be set before the program uses it");
    return *g_host;
}

bool Host::RegisterWindowClass(const std::string& name, WindowProc proc)
{
    if (name.empty() || !proc)
        return false;
    m_className = name;
    m_proc = proc;
    return true;
}

WindowHandle Host::CreateMainWindow(const std::string& className, const std::string& title)
{
    if (className != m_className || m_window != NoWindow)
        return NoWindow;
    if (!OpenNativeWindow(title))
        return NoWindow;
    m_window = m_nextHandle++;
    return m_window;
}

void Host::DestroyWindow(WindowHandle window)
{
    if (window == NoWindow || window != m_window)
        return;
    CloseNativeWindow();
    m_window = NoWindow;
    if (m_proc)
        m_proc(window, MessageId::Destroy, 0, 0);
}

bool Host::PeekMessage(Message& message)
{
    if (!m_posted.empty()) {
        message = m_posted.front();
        m_posted.pop_front();
        return true;
    }
    return PollEvent(message);
}

bool Host::GetMessage(Message& message)
{
    while (!PeekMessage(message))
        WaitEvent();
    return message.id != MessageId::Quit;
}

void Host::PostQuitMessage(int32_t exitCode)
{
    m_posted.push_back({MessageId::Quit, static_cast<uint32_t>(exitCode), 0});
}

int32_t Host::DispatchMessage(const Message& message)
{
    if (!m_proc || m_window == NoWindow)
        return 0;
    return m_proc(m_window, message.id, message.wParam, message.lParam);
}

bool Host::OpenScreen(WindowHandle window)
{
    if (m_screenOpen || window == NoWindow || window != m_window)
        return false;
    m_screenOpen = true;
    return true;
}

ScreenLayout Host::GetScreenLayout() const
{
    return {};
}

int32_t Host::DefWindowProc(WindowHandle, uint32_t, uint32_t, uint32_t)
{
    // The desktop window needs nothing more: closing is the program's own business and the
    // host repaints exposed windows by itself.
    return 0;
}

} // namespace Platform
