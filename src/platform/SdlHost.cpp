// SDL2 window, events and presentation.
#include "platform/SdlHost.h"

#include "platform/Signals.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace Platform {

namespace {

// The largest window scale drawn with SDL's software renderer (see OpenNativeWindow).
constexpr uint32_t SoftwareScaleLimit = 3;

// SDL key codes to the program's virtual-key codes; 0 for keys the program never sees.
uint32_t ToVirtualKey(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return VirtualKey::LetterA + static_cast<uint32_t>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return VirtualKey::Digit0 + static_cast<uint32_t>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return VirtualKey::F1 + static_cast<uint32_t>(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return 97 + static_cast<uint32_t>(key - SDLK_KP_1); // the numeric keypad's 1..9
    switch (key) {
    case SDLK_KP_0:
        return 96;
    case SDLK_BACKSPACE:
        return VirtualKey::Backspace;
    case SDLK_TAB:
        return VirtualKey::Tab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VirtualKey::Enter;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VirtualKey::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VirtualKey::Control;
    case SDLK_LALT:
    case SDLK_RALT:
        return VirtualKey::Menu;
    case SDLK_PAUSE:
        return VirtualKey::Pause;
    case SDLK_ESCAPE:
        return VirtualKey::Escape;
    case SDLK_SPACE:
        return VirtualKey::Space;
    case SDLK_PAGEUP:
        return VirtualKey::PageUp;
    case SDLK_PAGEDOWN:
        return VirtualKey::PageDown;
    case SDLK_END:
        return VirtualKey::End;
    case SDLK_HOME:
        return VirtualKey::Home;
    case SDLK_LEFT:
        return VirtualKey::Left;
    case SDLK_UP:
        return VirtualKey::Up;
    case SDLK_RIGHT:
        return VirtualKey::Right;
    case SDLK_DOWN:
        return VirtualKey::Down;
    case SDLK_INSERT:
        return VirtualKey::Insert;
    case SDLK_DELETE:
        return VirtualKey::Delete;
    case SDLK_SEMICOLON:
        return VirtualKey::Semicolon;
    case SDLK_EQUALS:
        return VirtualKey::Equals;
    case SDLK_COMMA:
        return VirtualKey::Comma;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
        return VirtualKey::Minus;
    case SDLK_PERIOD:
    case SDLK_KP_PERIOD:
        return VirtualKey::Period;
    case SDLK_SLASH:
        return VirtualKey::Slash;
    case SDLK_BACKQUOTE:
        return VirtualKey::Grave;
    case SDLK_LEFTBRACKET:
        return VirtualKey::LeftBracket;
    case SDLK_BACKSLASH:
        return VirtualKey::Backslash;
    case SDLK_RIGHTBRACKET:
        return VirtualKey::RightBracket;
    case SDLK_QUOTE:
        return VirtualKey::Quote;
    default:
        return 0;
    }
}

// Mouse coordinates arrive in the renderer's logical 240x320 space (the scale and any
// letterbox are already divided out); points on the letterbox clamp to the screen's edge.
uint32_t PointParam(int32_t x, int32_t y)
{
    x = std::clamp<int32_t>(x, 0, ScreenWidth - 1);
    y = std::clamp<int32_t>(y, 0, ScreenHeight - 1);
    return MakePointParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

bool IsFullscreenToggle(const SDL_KeyboardEvent& key)
{
    return key.keysym.sym == SDLK_F11 ||
           (key.keysym.sym == SDLK_RETURN && (key.keysym.mod & KMOD_ALT));
}

} // namespace

SdlHost::SdlHost(SdlOptions options) : m_options(std::move(options))
{
    m_options.scale = std::max<uint32_t>(1, m_options.scale);
    if (!m_options.recordPath.empty() && !m_recorder.Open(m_options.recordPath))
        std::fprintf(stderr, "tavlo: cannot record to %s\n", m_options.recordPath.c_str());
}

SdlHost::~SdlHost()
{
    CloseNativeWindow();
    if (m_videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

bool SdlHost::CreateInstanceLock(const std::string& name)
{
    if (m_lock.Acquire(name))
        return true;
    std::fprintf(stderr, "tavlo: another Tavlo window is already open\n");
    return false;
}

bool SdlHost::OpenNativeWindow(const std::string& title)
{
    // The program turns SIGINT and SIGTERM into its own close request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (!m_videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "tavlo: cannot open a window: %s\n", SDL_GetError());
            return false;
        }
        m_videoStarted = true;
    }
    // With no display at all (a plain SSH login) SDL settles for a driver that draws nowhere,
    // and the game would run unseen until killed. Those drivers are for a user who names them.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const bool named = asked && *asked; // SDL, too, takes an empty name for none
    if (!named && driver &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
        std::fprintf(stderr, "tavlo: no display to open a window on; use --headless to run "
                             "without one\n");
        return false;
    }
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
    if (m_options.fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    m_window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                static_cast<int>(ScreenWidth * m_options.scale),
                                static_cast<int>(ScreenHeight * m_options.scale), flags);
    if (m_window) {
        // The frame is drawn in software already. For a window up to scale 3, scaling it up
        // in software too costs at most a few milliseconds a changed frame (1.6 at scale 2),
        // where setting up a GL context delays the first frame by tens of milliseconds (40
        // on a software GL). Larger windows and full screen scale on the graphics card, as
        // does a renderer the user names in SDL_RENDER_DRIVER; an accelerated renderer is
        // also the fallback.
        const bool smallWindow = !m_options.fullscreen && m_options.scale <= SoftwareScaleLimit;
        const bool userChoice = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
        if (smallWindow && !userChoice) {
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
        }
        if (!m_renderer)
            m_renderer = SDL_CreateRenderer(m_window, -1, 0);
    }
    if (m_renderer) {
        SDL_RenderSetLogicalSize(m_renderer, ScreenWidth, ScreenHeight);
        SDL_RenderSetIntegerScale(m_renderer, SDL_TRUE);
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB565,
                                      SDL_TEXTUREACCESS_STREAMING, ScreenWidth, ScreenHeight);
    }
    if (!m_texture) {
        std::fprintf(stderr, "tavlo: cannot open a window: %s\n", SDL_GetError());
        CloseNativeWindow();
        return false;
    }
    Present(true);
    return true;
}

void SdlHost::CloseNativeWindow()
{
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    if (m_window)
        SDL_DestroyWindow(m_window);
    m_texture = nullptr;
    m_renderer = nullptr;
    m_window = nullptr;
}

void SdlHost::Present(bool force)
{
    if (!m_texture)
        return;
    // A still screen costs nothing to keep: the window already shows it. Comparing 150 KB is
    // far cheaper than uploading and scaling it.
    const uint16_t* screen = ScreenMemory();
    const size_t count = static_cast<size_t>(ScreenWidth) * ScreenHeight;
    if (!force && m_shown.size() == count && std::equal(screen, screen + count, m_shown.begin()))
        return;
    m_shown.assign(screen, screen + count);
    SDL_UpdateTexture(m_texture, nullptr, ScreenMemory(), ScreenWidth * sizeof(uint16_t));
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
}

uint16_t* SdlHost::RawFrameBuffer()
{
    m_rawFrameBufferInUse = true;
    return ScreenMemory();
}

void SdlHost::ToggleFullscreen()
{
    if (!m_window)
        return;
    bool fullscreen = SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(m_window, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    // Without a window manager the window never grows, yet SDL takes it for the desktop's size
    // until told otherwise, and would go on drawing the screen scaled for that size.
    if (fullscreen)
        SDL_SetWindowSize(m_window, static_cast<int>(ScreenWidth * m_options.scale),
                          static_cast<int>(ScreenHeight * m_options.scale));
    // The size changes come later as window events, which present again.
    Present(true);
}

bool SdlHost::Translate(const SDL_Event& event, Message& message)
{
    switch (event.type) {
    case SDL_QUIT:
        message = {MessageId::Close, 0, 0};
        return true;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            message = {MessageId::Activate, 1, 0};
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            message = {MessageId::Activate, 0, 0};
            return true;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // Repaint here: a still screen is never presented again by itself, and while the
            // game is inactive it draws no frames.
            Present(true);
            return false;
        default:
            return false;
        }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (IsFullscreenToggle(event.key)) {
            if (event.type == SDL_KEYDOWN && !event.key.repeat)
                ToggleFullscreen();
            return false;
        }
        uint32_t key = ToVirtualKey(event.key.keysym.sym);
        if (key == 0)
            return false;
        if (event.type == SDL_KEYDOWN)
            message = {MessageId::KeyDown, key, event.key.repeat ? KeyRepeatBit : 0u};
        else
            message = {MessageId::KeyUp, key, 0};
        return true;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT)
            return false;
        message = {event.type == SDL_MOUSEBUTTONDOWN ? MessageId::StylusDown : MessageId::StylusUp,
                   0, PointParam(event.button.x, event.button.y)};
        return true;
    case SDL_MOUSEMOTION:
        // A stylus only moves while it touches the glass: motion counts with the button held.
        if (!(event.motion.state & SDL_BUTTON_LMASK))
            return false;
        message = {MessageId::StylusMove, 0, PointParam(event.motion.x, event.motion.y)};
        return true;
    default:
        return false;
    }
}

bool SdlHost::PollEvent(Message& message)
{
    bool found = false;
    const bool limitReached =
        m_options.frameLimit && !m_limitDelivered && FramesRun() >= *m_options.frameLimit;
    if (m_closeAfterActivate || TakeCloseSignal() || limitReached) {
        m_limitDelivered = m_limitDelivered || limitReached;
        m_closeAfterActivate = false;
        message = {MessageId::Close, 0, 0};
        found = true;
    }
    SDL_Event event;
    while (!found && m_videoStarted && SDL_PollEvent(&event)) {
        found = Translate(event, message);
        // Once closing, the program runs its exit to the end, focus or not.
        if (found && m_closing && message.id == MessageId::Activate && message.wParam == 0)
            found = false;
    }
    // The program runs its exit (the exit screen, the save) in frames, and runs none while
    // inactive: a close that comes while the window is in the background (a logout, a kill, the
    // window list's close) activates the program first.
    if (found && message.id == MessageId::Close && m_reportedInactive) {
        m_closeAfterActivate = true;
        message = {MessageId::Activate, 1, 0};
    }
    if (found && message.id == MessageId::Activate)
        m_reportedInactive = message.wParam == 0;
    m_closing = m_closing || (found && message.id == MessageId::Close);
    if (found && m_recorder.IsOpen())
        m_recorder.Record(FramesRun(), message);
    return found;
}

void SdlHost::WaitForMessage(uint64_t deadline)
{
    if (m_rawFrameBufferInUse)
        Present(false);
    // SDL waits in whole milliseconds: wait there, where any event ends the wait, for all but
    // the last millisecond or two, then sleep to the deadline so the frame starts on time.
    for (;;) {
        uint64_t now = m_clock.Counter();
        if (now >= deadline || CloseSignalPending() ||
            (m_options.frameLimit && !m_limitDelivered && FramesRun() >= *m_options.frameLimit))
            return;
        uint64_t remaining = deadline - now;
        int ms = static_cast<int>(remaining / (CounterFrequency / 1000));
        if (ms >= 2) {
            if (!m_videoStarted) {
                SDL_Delay(static_cast<Uint32>(ms - 1));
            } else if (SDL_WaitEventTimeout(nullptr, ms - 1) == 1) {
                return;
            }
            continue;
        }
        // Under two milliseconds left: sleep precisely to the deadline.
        std::this_thread::sleep_for(std::chrono::microseconds(remaining));
        return;
    }
}

void SdlHost::WaitEvent()
{
    // Wake now and then so a close signal is seen even when no window event comes.
    while (!CloseSignalPending()) {
        if (!m_videoStarted || SDL_WaitEventTimeout(nullptr, 100) == 1)
            return;
    }
}

} // namespace Platform
