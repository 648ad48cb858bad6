// End-to-end runs of the game in a real window: a private Xvfb display, the game binary shown
// on it, and input sent with xdotool as a player would, at the game screen's coordinates.
//
//     XvfbSession x;
//     if (!x.Problem().empty())
//         GTEST_SKIP() << x.Problem();
//     ASSERT_TRUE(x.StartGame({"--data", folder})) << x.Problem();
//     x.Tap(120, 160);            // a stylus tap on the 240 x 320 screen
//     x.Key("Return");
//     x.WaitFrames(10);
//     ProcessResult end = x.Close();
#pragma once

#include "support/Process.h"
#include "support/TempDir.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class XvfbSession
{
public:
    // Starts Xvfb on the first free display from :99 up and waits until it takes connections;
    // Problem() says why when it cannot.
    XvfbSession();
    // Kills a game still running, then stops the server.
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    // Empty while all is well; else what failed, for a skip or a failure message.
    const std::string& Problem() const { return m_problem; }
    // The display's name, ":99" for example.
    const std::string& Display() const { return m_display; }

    // Starts the game binary with args (--scale is added) on the display, without sound and
    // with its own runtime folder for the single-instance lock, and waits until its window is
    // shown and has the input focus. False when the game ends or shows no window in time.
    // environment ("NAME=value") adds to or replaces what the game is given.
    bool StartGame(const std::vector<std::string>& args, uint32_t scale = 2,
                   double timeoutSeconds = 10, const std::vector<std::string>& environment = {});
    bool GameRunning();
    // The game window's X id, 0 before StartGame succeeded.
    unsigned long Window() const { return m_window; }

    // Stylus input at game screen coordinates (0 to 239, 0 to 319): the pointer goes to the
    // middle of that screen pixel in the scaled window. Each returns false when xdotool fails.
    bool Tap(int x, int y);
    bool Press(int x, int y);
    bool MoveTo(int x, int y);
    bool Release(int x, int y);
    // Presses and releases a key given by its X keysym name ("Return", "Left", "a", "F11").
    bool Key(const std::string& keysym);
    // Lets the game run about this many frames (it runs 30 a second).
    void WaitFrames(int frames);

    // Gives the input focus to the screen's root window, away from the game's.
    bool FocusElsewhere();
    // Unmaps the game's window, as a window manager does to a minimised one.
    bool HideWindow();
    // The pixels the game's window shows on the display, 0xRRGGBB, row by row; empty when
    // they cannot be read.
    std::vector<uint32_t> WindowPixels(int& width, int& height);

    // Sends the game the desktop's close request (SIGTERM, which it treats like its window's
    // close button) and collects its end: exit code and output.
    ProcessResult Close(double timeoutSeconds = 10);
    // Waits for the game to end by itself.
    ProcessResult WaitForExit(double timeoutSeconds = 10);

private:
    bool Xdotool(const std::vector<std::string>& args, std::string* out = nullptr);
    bool PointerTo(int x, int y);

    std::string m_problem;
    std::string m_display;
    std::string m_xdotool;
    std::unique_ptr<Process> m_server;
    std::unique_ptr<Process> m_game;
    TempDir m_runtime;
    unsigned long m_window = 0;
    uint32_t m_scale = 2;
};
