// The main menu, its question box, the options window and the help pages.
#include "states/MenuState.h"

#include "app/GameContext.h"
#include "states/ScreenSupport.h"
#include "ui/CheckButton.h"
#include "ui/Label.h"
#include "ui/Slider.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace {

using Handler = bool (MenuState::*)(const UI::EventArgs&);

// Binds each named window's click (its MouseUp) inside parent to a handler of the menu.
void WireClicks(MenuState* menu, UI::Window* parent,
                std::initializer_list<std::pair<const char16_t*, Handler>> controls)
{
    for (const auto& [name, handler] : controls) {
        if (auto* control = Screens::Find<UI::Window>(parent, name))
            UI::subscribe(control->MouseUp, menu, handler);
    }
}

// What a help page changes, beyond the page counter: a paging button enabled or disabled,
// or a text or picture shown or hidden.
struct HelpChange
{
    int32_t page;
    const char16_t* control;
    bool paging;
    bool on;
};

constexpr HelpChange HelpChanges[] = {
    {1, u"Button_Prev", true, false},        {1, u"Label_Text1", false, true},
    {1, u"Label_Text2", false, false},       {1, u"StaticImage_Help1", false, true},
    {2, u"Button_Prev", true, true},         {2, u"Label_Text1", false, false},
    {2, u"Label_Text2", false, true},        {2, u"Label_Text3", false, false},
    {2, u"StaticImage_Help1", false, false}, {3, u"Label_Text2", false, false},
    {3, u"Label_Text3", false, true},        {3, u"Label_Text4", false, false},
    {4, u"Button_Next", true, true},         {4, u"Label_Text3", false, false},
    {4, u"Label_Text4", false, true},        {4, u"Label_Text5", false, false},
    {4, u"StaticImage_Help5", false, false}, {5, u"Button_Next", true, false},
    {5, u"Label_Text4", false, false},       {5, u"Label_Text5", false, true},
    {5, u"StaticImage_Help5", false, true},
};

} // namespace

MenuState::MenuState() : State(u"MenuState") {}

MenuState::~MenuState()
{
    if (m_loaded)
        Unload();
}

void MenuState::Load()
{
    m_loaded = true;
    Screens::EnsureMenuLayout();
}

void MenuState::Unload()
{
    GameContext::Instance().resources->UnloadGroup(u"Menu");
    m_loaded = false;
}

void MenuState::Enter()
{
    GameContext& context = GameContext::Instance();
    // The music starts again from the top on every visit.
    context.sounds->Stop(u"Msc_Menu");
    context.sounds->Play(u"Msc_Menu", true);
    if (context.ui && context.menuWindow)
        context.ui->setRoot(context.menuWindow);
    UI::Window* root = context.menuWindow;

    m_menuWnd = Screens::Find<UI::Window>(root, u"MenuWnd");
    Screens::SetVisible(m_menuWnd, true);
    m_labelWelcome = Screens::Find<UI::Label>(m_menuWnd, u"labelWelcome");
    if (m_labelWelcome) {
        const PlayerProfile* player = context.playerData->CurrentPlayer();
        m_labelWelcome->setText(context.strings->GetString(u"Str_Welcome") +
                                (player ? player->name : std::u16string()));
    }
    WireClicks(this, m_menuWnd,
               {{u"buttonArcade", &MenuState::OnArcade},
                {u"buttonClassic", &MenuState::OnClassic},
                {u"buttonSurvival", &MenuState::OnSurvival},
                {u"buttonExit", &MenuState::OnExit},
                {u"buttonChangePlayer", &MenuState::OnChangePlayer},
                {u"buttonHightScore", &MenuState::OnHighScores},
                {u"buttonOptions", &MenuState::OnOptions},
                {u"buttonHelp", &MenuState::OnHelp}});

    // The three dialogs always show over the menu.
    m_msgGameWnd = Screens::Find<UI::Window>(root, u"Wnd_MsgGame");
    m_labelInfo = Screens::Find<UI::Label>(m_msgGameWnd, u"Label_Info");
    WireClicks(this, m_msgGameWnd,
               {{u"Button_Continue", &MenuState::OnContinue},
                {u"Button_New", &MenuState::OnNew},
                {u"Button_Cancel", &MenuState::OnCancel}});

    m_optionsWnd = Screens::Find<UI::Window>(root, u"OptionsWnd");
    WireClicks(this, m_optionsWnd,
               {{u"CheckButton_Stilus", &MenuState::OnStylus},
                {u"CheckButton_Key", &MenuState::OnKeys},
                {u"CheckButton_Sound", &MenuState::OnSoundSwitch},
                {u"CheckButton_Music", &MenuState::OnMusicSwitch},
                {u"CheckButton_Antialiasing", &MenuState::OnBurstOnly},
                {u"CheckButton_UnderCells", &MenuState::OnBurstOnly},
                {u"buttonOk", &MenuState::OnOptionsOk},
                {u"buttonCancel", &MenuState::OnOptionsCancel}});
    if (UI::Slider* sound = OptionsSlider(u"Slider_Sound"))
        UI::subscribe(sound->Changed, this, &MenuState::OnSoundVolume);
    if (UI::Slider* music = OptionsSlider(u"Slider_Music"))
        UI::subscribe(music->Changed, this, &MenuState::OnMusicVolume);

    m_helpWnd = Screens::Find<UI::Window>(root, u"Wnd_Help");
    WireClicks(this, m_helpWnd,
               {{u"Button_Ok", &MenuState::OnHelpOk},
                {u"Button_Prev", &MenuState::OnHelpPrev},
                {u"Button_Next", &MenuState::OnHelpNext}});
    for (UI::Window* dialog : {m_msgGameWnd, m_optionsWnd, m_helpWnd}) {
        if (dialog) {
            dialog->setAlwaysOnTop(true);
            dialog->bringToFront();
        }
    }
    ResetHelp();
    Screens::ApplySoundSettings();
}

void MenuState::Leave()
{
    Screens::SetVisible(m_menuWnd, false);
}

void MenuState::Update()
{
    GameContext::Instance().effects->UpdateImageEffects();
}

void MenuState::Render(Graphics::Surface16& surface)
{
    Screens::RenderScreen(surface);
}

void MenuState::StartMode(uint32_t mode)
{
    GameContext& context = GameContext::Instance();
    const PlayerProfile* player = context.playerData->CurrentPlayer();
    if (!player) {
        // Nobody to play as: choose a player first.
        context.states->ChangeState(u"ChangePlayerState", false);
        return;
    }
    context.gameMode = mode;
    const uint32_t grid = player->grid[mode - 1];
    const uint32_t score = player->score[mode - 1];
    if (grid < 2 || !m_msgGameWnd) {
        context.states->ChangeState(u"GameState", true);
        return;
    }
    if (m_labelInfo) {
        m_labelInfo->setText(
            context.strings->GetString(u"Str_CurrentLevel") + Screens::Decimal(grid) + u"\n" +
            context.strings->GetString(u"Str_CurrentScore") + Screens::Decimal(score));
    }
    Screens::SetEnabled(m_menuWnd, false);
    m_msgGameWnd->setVisible(true);
}

void MenuState::OpenOptions()
{
    Screens::SetVisible(m_optionsWnd, true);
    Screens::SetVisible(m_menuWnd, false);
    const GameSettings& settings = GameContext::Instance().settings;
    const std::pair<const char16_t*, bool> checks[] = {
        {u"CheckButton_Sound", settings.soundOn != 0},
        {u"CheckButton_Music", settings.musicOn != 0},
        {u"CheckButton_Stilus", settings.stylus != 0},
        {u"CheckButton_Key", settings.stylus == 0},
        {u"CheckButton_Antialiasing", settings.antialiasing != 0},
        {u"CheckButton_UnderCells", settings.underCells != 0},
    };
    for (const auto& [name, on] : checks) {
        if (UI::CheckButton* check = OptionsCheck(name))
            check->setChecked(on);
    }
    if (UI::Slider* sound = OptionsSlider(u"Slider_Sound"))
        sound->setValue(static_cast<float>(settings.soundVolume / 100.0));
    if (UI::Slider* music = OptionsSlider(u"Slider_Music"))
        music->setValue(static_cast<float>(settings.musicVolume / 100.0));
}

void MenuState::ShowHelpPage(int32_t page)
{
    if (page < 1 || page > HelpPages)
        return;
    m_helpPage = page;
    for (const HelpChange& change : HelpChanges) {
        if (change.page != page)
            continue;
        UI::Window* control = Screens::Find<UI::Window>(m_helpWnd, change.control);
        if (change.paging)
            Screens::SetEnabled(control, change.on);
        else
            Screens::SetVisible(control, change.on);
    }
    if (auto* counter = Screens::Find<UI::Label>(m_helpWnd, u"Label_Page"))
        counter->setText(Screens::Decimal(static_cast<uint32_t>(page)) + u"/5");
}

void MenuState::ResetHelp()
{
    const std::pair<const char16_t*, bool> shown[] = {
        {u"Label_Text1", true},        {u"Label_Text2", false}, {u"Label_Text3", false},
        {u"Label_Text4", false},       {u"Label_Text5", false}, {u"StaticImage_Help1", true},
        {u"StaticImage_Help5", false},
    };
    for (const auto& [name, on] : shown)
        Screens::SetVisible(Screens::Find<UI::Window>(m_helpWnd, name), on);
    Screens::SetEnabled(Screens::Find<UI::Window>(m_helpWnd, u"Button_Prev"), false);
    Screens::SetEnabled(Screens::Find<UI::Window>(m_helpWnd, u"Button_Next"), true);
    ShowHelpPage(1);
}

uint32_t MenuState::Volume(const UI::Slider* slider)
{
    // The value the slider shows: a vertical slider stores its complement.
    const float value =
        slider->direction() == UI::Slider::Vertical ? 1.0f - slider->value() : slider->value();
    return static_cast<uint32_t>(value * 100.0f);
}

UI::CheckButton* MenuState::OptionsCheck(const char16_t* name) const
{
    return Screens::Find<UI::CheckButton>(m_optionsWnd, name);
}

UI::Slider* MenuState::OptionsSlider(const char16_t* name) const
{
    return Screens::Find<UI::Slider>(m_optionsWnd, name);
}

bool MenuState::OnArcade(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    StartMode(1);
    return true;
}

bool MenuState::OnClassic(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    StartMode(2);
    return true;
}

bool MenuState::OnSurvival(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    StartMode(3);
    return true;
}

bool MenuState::OnExit(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    GameContext& context = GameContext::Instance();
    context.sounds->Stop(u"Msc_Menu");
    context.states->ChangeState(u"ExitState", true);
    return true;
}

bool MenuState::OnChangePlayer(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    GameContext::Instance().states->ChangeState(u"ChangePlayerState", false);
    return true;
}

bool MenuState::OnHighScores(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    GameContext::Instance().states->ChangeState(u"HightScoreState", false);
    return true;
}

bool MenuState::OnOptions(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    OpenOptions();
    return true;
}

bool MenuState::OnHelp(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    Screens::SetVisible(m_helpWnd, true);
    Screens::SetVisible(m_menuWnd, false);
    return true;
}

bool MenuState::OnContinue(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    GameContext::Instance().states->ChangeState(u"GameState", true);
    Screens::SetVisible(m_msgGameWnd, false);
    Screens::SetEnabled(m_menuWnd, true);
    return true;
}

bool MenuState::OnNew(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    GameContext& context = GameContext::Instance();
    if (PlayerProfile* player = context.playerData->CurrentPlayer();
        player && context.gameMode >= 1 && context.gameMode <= GameModeCount)
        context.playerData->EndRun(*player, context.gameMode);
    // The ended run is in the high scores now; a crash before the next board must not undo it.
    Screens::SaveProfiles();
    Screens::SetVisible(m_msgGameWnd, false);
    Screens::SetEnabled(m_menuWnd, true);
    context.states->ChangeState(u"GameState", true);
    return true;
}

bool MenuState::OnCancel(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    Screens::SetEnabled(m_menuWnd, true);
    Screens::SetVisible(m_msgGameWnd, false);
    return true;
}

// The check buttons' clicks arrive before they toggle: a box's new state is the opposite of
// what it shows now.
bool MenuState::OnStylus(const UI::EventArgs& args)
{
    Screens::ClickBurst(args);
    UI::CheckButton* stylus = OptionsCheck(u"CheckButton_Stilus");
    if (UI::CheckButton* keys = OptionsCheck(u"CheckButton_Key"); stylus && keys)
        keys->setChecked(stylus->checked());
    return true;
}

bool MenuState::OnKeys(const UI::EventArgs& args)
{
    Screens::ClickBurst(args);
    UI::CheckButton* keys = OptionsCheck(u"CheckButton_Key");
    if (UI::CheckButton* stylus = OptionsCheck(u"CheckButton_Stilus"); stylus && keys)
        stylus->setChecked(keys->checked());
    return true;
}

bool MenuState::OnSoundSwitch(const UI::EventArgs& args)
{
    Screens::ClickBurst(args);
    if (UI::CheckButton* sound = OptionsCheck(u"CheckButton_Sound"))
        GameContext::Instance().sounds->SetSoundOn(!sound->checked());
    return true;
}

bool MenuState::OnMusicSwitch(const UI::EventArgs& args)
{
    Screens::ClickBurst(args);
    if (UI::CheckButton* music = OptionsCheck(u"CheckButton_Music"))
        GameContext::Instance().sounds->SetMusicOn(!music->checked());
    return true;
}

bool MenuState::OnSoundVolume(const UI::EventArgs& args)
{
    Screens::ClickBurst(args);
    if (UI::Slider* sound = OptionsSlider(u"Slider_Sound"))
        GameContext::Instance().sounds->SetSoundVolume(Volume(sound));
    return true;
}

bool MenuState::OnMusicVolume(const UI::EventArgs& args)
{
    Screens::ClickBurst(args);
    if (UI::Slider* music = OptionsSlider(u"Slider_Music"))
        GameContext::Instance().sounds->SetMusicVolume(Volume(music));
    return true;
}

bool MenuState::OnBurstOnly(const UI::EventArgs& args)
{
    Screens::ClickBurst(args);
    return true;
}

bool MenuState::OnOptionsOk(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    GameContext& context = GameContext::Instance();
    GameSettings& settings = context.settings;
    auto read = [this](const char16_t* name, uint8_t current) -> uint8_t {
        const UI::CheckButton* check = OptionsCheck(name);
        return check ? check->checked() : current;
    };
    settings.soundOn = read(u"CheckButton_Sound", settings.soundOn);
    settings.musicOn = read(u"CheckButton_Music", settings.musicOn);
    if (const UI::Slider* sound = OptionsSlider(u"Slider_Sound"))
        settings.soundVolume = Volume(sound);
    if (const UI::Slider* music = OptionsSlider(u"Slider_Music"))
        settings.musicVolume = Volume(music);
    settings.stylus = read(u"CheckButton_Stilus", settings.stylus);
    settings.antialiasing = read(u"CheckButton_Antialiasing", settings.antialiasing);
    settings.underCells = read(u"CheckButton_UnderCells", settings.underCells);
    Screens::ApplySoundSettings();
    Screens::SetVisible(m_optionsWnd, false);
    Screens::SetVisible(m_menuWnd, true);
    // Stored at once: options must survive a crash as well as a clean exit.
    Screens::SaveProfiles();
    return true;
}

bool MenuState::OnOptionsCancel(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    // The stored settings undo whatever was tried while the window was open.
    Screens::ApplySoundSettings();
    Screens::SetVisible(m_optionsWnd, false);
    Screens::SetVisible(m_menuWnd, true);
    return true;
}

bool MenuState::OnHelpOk(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    Screens::SetVisible(m_menuWnd, true);
    Screens::SetVisible(m_helpWnd, false);
    return true;
}

bool MenuState::OnHelpPrev(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    ShowHelpPage(m_helpPage - 1);
    return true;
}

bool MenuState::OnHelpNext(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    ShowHelpPage(m_helpPage + 1);
    return true;
}
