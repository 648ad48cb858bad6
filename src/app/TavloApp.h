// TavloApp: the game's application. It starts the loading screen, runs one frame of the state
// machine per tick and hands input to the user interface.
#pragma once

#include "app/GameApp.h"

#include <chrono>
#include <optional>

class TavloApp : public GameApp
{
public:
    TavloApp();
    // Releases the game context if the program ends without Quit (a failed start-up).
    ~TavloApp() override;

    // Destroys the game context (saving the player's data on its way), then quits.
    bool Quit() override;
    bool OnInit() override;
    bool OnFrame() override;
    bool OnClose() override;
    void OnStylusDown(int32_t x, int32_t y) override;
    void OnStylusMove(int32_t x, int32_t y) override;
    void OnStylusUp(int32_t x, int32_t y) override;
    void OnKeyDown(uint32_t key) override;
    void OnKeyUp(uint32_t key) override;

    // Measures how long the first screen after the loading screen takes to show: from start
    // (the program's start) to the end of the first frame it presents. Empty until then.
    void SetStartTime(std::chrono::steady_clock::time_point start) { m_start = start; }
    std::optional<std::chrono::milliseconds> FirstScreenTime() const { return m_firstScreen; }

private:
    // A close request stays in force until the exit screen exists to carry it out: during
    // loading it is not registered yet, and the request must not be lost.
    bool m_closeRequested = false;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::optional<std::chrono::milliseconds> m_firstScreen;
};
