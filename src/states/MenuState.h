// MenuState: the main menu, the hub of the game. It greets the current player, starts the
// three game modes (asking whether to continue a saved run), and leads to the player
// selection, the high scores, the options, the help pages and the exit. Its windows are part
// of the menu layout: the options, the help and the question box show over the hidden menu.
#pragma once

#include "app/State.h"
#include "ui/Events.h"

#include <cstdint>

namespace UI {
class CheckButton;
class Label;
class Slider;
class Window;
} // namespace UI

class MenuState : public State
{
public:
    static constexpr int32_t HelpPages = 5;

    MenuState();
    ~MenuState() override;

    // Builds the menu layout when there is none, as the first screen after the game.
    void Load() override;
    // Frees the "Menu" group; the layout stays.
    void Unload() override;
    void Enter() override;
    void Leave() override;
    void Update() override;
    void Render(Graphics::Surface16& surface) override;

    int32_t HelpPage() const { return m_helpPage; }

private:
    // Starts mode 1 Arcade, 2 Classic or 3 Survival: at once on the first board, else after
    // asking whether to continue the saved run.
    void StartMode(uint32_t mode);
    // The options: the controls show the stored settings.
    void OpenOptions();
    // The help page p: only the controls that differ from its neighbours' change.
    void ShowHelpPage(int32_t page);
    // Page 1 with every control of the help put in its page-1 state.
    void ResetHelp();
    // The slider's value as a volume, 0 to 100.
    static uint32_t Volume(const UI::Slider* slider);
    UI::CheckButton* OptionsCheck(const char16_t* name) const;
    UI::Slider* OptionsSlider(const char16_t* name) const;

    bool OnArcade(const UI::EventArgs& args);
    bool OnClassic(const UI::EventArgs& args);
    bool OnSurvival(const UI::EventArgs& args);
    bool OnExit(const UI::EventArgs& args);
    bool OnChangePlayer(const UI::EventArgs& args);
    bool OnHighScores(const UI::EventArgs& args);
    bool OnOptions(const UI::EventArgs& args);
    bool OnHelp(const UI::EventArgs& args);
    bool OnContinue(const UI::EventArgs& args);
    bool OnNew(const UI::EventArgs& args);
    bool OnCancel(const UI::EventArgs& args);
    bool OnStylus(const UI::EventArgs& args);
    bool OnKeys(const UI::EventArgs& args);
    bool OnSoundSwitch(const UI::EventArgs& args);
    bool OnMusicSwitch(const UI::EventArgs& args);
    bool OnSoundVolume(const UI::EventArgs& args);
    bool OnMusicVolume(const UI::EventArgs& args);
    bool OnBurstOnly(const UI::EventArgs& args);
    bool OnOptionsOk(const UI::EventArgs& args);
    bool OnOptionsCancel(const UI::EventArgs& args);
    bool OnHelpOk(const UI::EventArgs& args);
    bool OnHelpPrev(const UI::EventArgs& args);
    bool OnHelpNext(const UI::EventArgs& args);

    // Borrowed from the menu layout; null when a layout lacks them.
    UI::Window* m_menuWnd = nullptr;
    UI::Window* m_msgGameWnd = nullptr;
    UI::Window* m_optionsWnd = nullptr;
    UI::Window* m_helpWnd = nullptr;
    UI::Label* m_labelWelcome = nullptr;
    UI::Label* m_labelInfo = nullptr;
    int32_t m_helpPage = 1;
};
