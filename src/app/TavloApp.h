// TavloApp: the game's application. It starts the loading screen, runs one frame of the state
// machine per tick and hands input to the user interface.
#pragma once

#include "app/GameApp.h"

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

private:
    // A close request stays in force until the exit screen exists to carry it out: during
    // loading it is not registered yet, and the request must not be lost.
    bool m_closeRequested = false;
};
