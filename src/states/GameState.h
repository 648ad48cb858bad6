// GameState: the game screen. It plays the boards of the chosen mode one after another: the
// board session runs the rules, the timer and the player's run, and the screen adds the
// windows around it (the heads-up display with the menu button, the score and its bar, the
// time and the lives), draws the board under them, and after each board shows the message
// that leads on to the next board, to a new run or back to the menu.
#pragma once

#include "app/State.h"
#include "game/BoardDrawing.h"
#include "game/BoardSession.h"
#include "ui/Events.h"

#include <memory>

namespace Graphics {
class Surface16;
}
namespace UI {
class FixedButton;
class Label;
class Slider;
class Window;
} // namespace UI

class GameState : public State
{
public:
    GameState();
    ~GameState() override;

    // Builds the game layout when there is none, replacing the menu screens' layout.
    void Load() override;
    // Frees the "Game" group; the layout stays.
    void Unload() override;
    // Shows the game window and starts the current player's board of the chosen mode.
    void Enter() override;
    // Hides the game window and drops the board, its background and its pictures.
    void Leave() override;
    void Update() override;
    void Render(Graphics::Surface16& surface) override;

    // The board in play, for tests and the benchmarks; null before the first Load.
    const BoardSession* Session() const { return m_session.get(); }
    BoardSession* Session() { return m_session.get(); }

private:
    // Starts the board the player's run is on: the board itself, its pictures, background
    // and bar, the focus for the keys, and the heads-up display.
    void StartBoard();
    // Shows what the board that just ended brought, and stores the run at once.
    void ShowResult();
    // The heads-up display from the board's fields.
    void UpdateHud();

    bool OnMenu(const UI::EventArgs& args);
    bool OnNext(const UI::EventArgs& args);
    bool OnReturn(const UI::EventArgs& args);
    bool OnBoardStylusDown(const UI::EventArgs& args);
    bool OnBoardStylusUp(const UI::EventArgs& args);
    bool OnBoardKeyDown(const UI::EventArgs& args);
    bool OnBoardKeyUp(const UI::EventArgs& args);

    std::unique_ptr<BoardSession> m_session;
    // The pictures the board is drawn with, borrowed from the "Game" group, and the board's
    // background, loaded for each board from the backgrounds folder.
    BoardPicture m_picture;
    std::unique_ptr<Graphics::Surface16> m_background;

    // Borrowed from the game layout; null when a layout lacks them.
    UI::Window* m_gameWindow = nullptr;
    UI::Window* m_messageWindow = nullptr;
    UI::Label* m_labelScore = nullptr;
    UI::Label* m_labelTime = nullptr;
    UI::Label* m_labelLives = nullptr;
    UI::Label* m_labelGrid = nullptr;
    UI::Label* m_labelInfo = nullptr;
    UI::Slider* m_scoreBar = nullptr;
    UI::FixedButton* m_nextButton = nullptr;
    UI::FixedButton* m_returnButton = nullptr;
};
