// Xvfb and xdotool driven through their command lines. A display is free when neither its
// lock file nor its socket exists; it is ours once its lock file names our server and its
// socket accepts a connection.
#include "e2e/XvfbSession.h"

#include "e2e/GameFolder.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr int FirstDisplay = 99;
constexpr int DisplaysTried = 20;
constexpr auto Poll = std::chrono::milliseconds(20);

// The program's path through PATH; empty when it is not installed.
std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const fs::path candidate = fs::path(folders.substr(start, end - start)) / name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
        start = end + 1;
    }
    return {};
}

std::string SocketPath(int display)
{
    return "/tmp/.X11-unix/X" + std::to_string(display);
}

bool AcceptsConnections(int display)
{
    const std::string path = SocketPath(display);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

// Whether the server of the display is the process pid: the server writes its pid into the
// display's lock file. Two sessions starting at once may both try one number; the loser must
// not take the winner's display for its own.
bool ServerIs(int display, pid_t pid)
{
    std::ifstream lock("/tmp/.X" + std::to_string(display) + "-lock");
    long owner = 0;
    return lock >> owner && owner == pid;
}

bool Before(std::chrono::steady_clock::time_point deadline)
{
    return std::chrono::steady_clock::now() < deadline;
}

std::chrono::steady_clock::time_point After(double seconds)
{
    return std::chrono::steady_clock::now() +
           std::chrono::duration_cast<std::chrono::steady_clock::duration>(
               std::chrono::duration<double>(seconds));
}

} // namespace

XvfbSession::XvfbSession()
{
    const std::string server = FindProgram("Xvfb");
    m_xdotool = FindProgram("xdotool");
    if (server.empty() || m_xdotool.empty()) {
        m_problem = "Xvfb and xdotool are needed (scripts/deps.sh installs them)";
        return;
    }
    for (int n = FirstDisplay; n < FirstDisplay + DisplaysTried; ++n) {
        const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        if (fs::exists(lock) || fs::exists(SocketPath(n)))
            continue;
        // Room for the window at every scale (up to 1920 x 2560); no TCP port. Without
        // -noreset the server resets when its last client leaves (the readiness probe below is
        // one), and a game connecting during that reset finds no display.
        auto process = std::make_unique<Process>(
            server, std::vector<std::string>{":" + std::to_string(n), "-nolisten", "tcp",
                                             "-noreset", "-screen", "0", "1920x2560x24"});
        const auto deadline = After(5);
        auto up = [&] { return ServerIs(n, process->Pid()) && AcceptsConnections(n); };
        while (process->Running() && !up() && Before(deadline))
            std::this_thread::sleep_for(Poll);
        if (process->Running() && up()) {
            m_server = std::move(process);
            m_display = ":" + std::to_string(n);
            return;
        }
        // Another server took this number a moment ago, or this one could not start: the
        // destructor kills it, and the next number is tried.
    }
    m_problem = "Xvfb could not start on any display from :" + std::to_string(FirstDisplay) +
                " to :" + std::to_string(FirstDisplay + DisplaysTried - 1);
}

XvfbSession::~XvfbSession()
{
    m_game.reset(); // a game still running is killed
    if (m_server) {
        m_server->Signal(SIGTERM);
        m_server->Wait(5);
    }
}

bool XvfbSession::Xdotool(const std::vector<std::string>& args, std::string* out)
{
    ProcessResult r = RunProcess(m_xdotool, args, {"DISPLAY=" + m_display}, 10);
    if (out)
        *out = r.out;
    if (r.exitCode != 0) {
        m_problem = "xdotool";
        for (const std::string& arg : args)
            m_problem += " " + arg;
        m_problem += " failed (" + std::to_string(r.exitCode) + "): " + r.err;
        return false;
    }
    return true;
}

bool XvfbSession::StartGame(const std::vector<std::string>& args, uint32_t scale,
                            double timeoutSeconds, const std::vector<std::string>& environment)
{
    if (!m_server)
        return false;
    m_scale = scale;
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--scale", std::to_string(scale)});
    std::vector<std::string> env = {
        "DISPLAY=" + m_display,
        "SDL_VIDEODRIVER=x11",
        "SDL_AUDIODRIVER=dummy",
        // SDL drops a click that comes within a few milliseconds of the window's gaining the
        // focus.
        "SDL_MOUSE_FOCUS_CLICKTHROUGH=1",
        "XDG_RUNTIME_DIR=" + m_runtime.Root().string(),
        // Under the sanitizers: the X11, GL and D-Bus libraries SDL loads for a window keep
        // memory to the end, which the leak checker reports (often in drivers already
        // unloaded). The headless runs, which load none of them, check the game's own.
        "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1",
    };
    for (const std::string& entry : environment) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        std::erase_if(env, [&](const std::string& e) { return e.starts_with(name); });
        env.push_back(entry);
    }
    m_game = std::make_unique<Process>(GameBinary(), all, env);
    // There is no window manager: the window is found by its title once it is mapped. Polled
    // rather than waited for with --sync, so that a game that ends early is noticed at once.
    const auto deadline = After(timeoutSeconds);
    std::string found;
    while (m_game->Running() && Before(deadline)) {
        ProcessResult r = RunProcess(m_xdotool, {"search", "--onlyvisible", "--name", "^Tavlo$"},
                                     {"DISPLAY=" + m_display}, 5);
        if (r.exitCode == 0 && !r.out.empty()) {
            found = r.out.substr(0, r.out.find('\n'));
            break;
        }
        std::this_thread::sleep_for(Poll);
    }
    if (found.empty()) {
        m_problem = m_game->Running()
                        ? "no game window appeared in time"
                        : "the game ended before showing a window: " + m_game->Wait(1).err;
        return false;
    }
    m_window = std::stoul(found);
    // Keys go to the window with the input focus; without a window manager nobody gives it.
    return Xdotool({"windowfocus", "--sync", found});
}

bool XvfbSession::GameRunning()
{
    return m_game && m_game->Running();
}

bool XvfbSession::PointerTo(int x, int y)
{
    // The window shows the screen scaled by a whole factor from its top-left corner.
    const int64_t s = m_scale;
    return Xdotool({"mousemove", "--window", std::to_string(m_window),
                    std::to_string(x * s + s / 2), std::to_string(y * s + s / 2)});
}

bool XvfbSession::Tap(int x, int y)
{
    return PointerTo(x, y) && Xdotool({"click", "1"});
}

bool XvfbSession::Press(int x, int y)
{
    return PointerTo(x, y) && Xdotool({"mousedown", "1"});
}

bool XvfbSession::MoveTo(int x, int y)
{
    return PointerTo(x, y);
}

bool XvfbSession::Release(int x, int y)
{
    return PointerTo(x, y) && Xdotool({"mouseup", "1"});
}

bool XvfbSession::Key(const std::string& keysym)
{
    return Xdotool({"key", keysym});
}

void XvfbSession::WaitFrames(int frames)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(frames * 1000 / 30));
}

bool XvfbSession::FocusElsewhere()
{
    ::Display* display = XOpenDisplay(m_display.c_str());
    if (!display) {
        m_problem = "cannot connect to " + m_display;
        return false;
    }
    XSetInputFocus(display, DefaultRootWindow(display), RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

bool XvfbSession::HideWindow()
{
    return Xdotool({"windowunmap", "--sync", std::to_string(m_window)});
}

std::vector<uint32_t> XvfbSession::WindowPixels(int& width, int& height)
{
    std::vector<uint32_t> pixels;
    width = height = 0;
    ::Display* display = XOpenDisplay(m_display.c_str());
    if (!display) {
        m_problem = "cannot connect to " + m_display;
        return pixels;
    }
    XWindowAttributes attributes{};
    XImage* image = nullptr;
    if (XGetWindowAttributes(display, m_window, &attributes))
        image = XGetImage(display, m_window, 0, 0, static_cast<unsigned>(attributes.width),
                          static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image) {
        width = attributes.width;
        height = attributes.height;
        pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
        }
        XDestroyImage(image);
    } else {
        m_problem = "cannot read the game window's pixels";
    }
    XCloseDisplay(display);
    return pixels;
}

ProcessResult XvfbSession::Close(double timeoutSeconds)
{
    if (!m_game)
        return {};
    m_game->Signal(SIGTERM);
    return m_game->Wait(timeoutSeconds);
}

ProcessResult XvfbSession::WaitForExit(double timeoutSeconds)
{
    return m_game ? m_game->Wait(timeoutSeconds) : ProcessResult{};
}
