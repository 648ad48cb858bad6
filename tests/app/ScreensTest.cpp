// The menu screens driven as a player would: the loading screen's hand-over, the menu and its
// question box, the options, the help pages, the player selection with the on-screen keyboard,
// and the high scores, on a test layout holding every control they look up.
#include "app/GameContext.h"
#include "app/SoundLog.h"
#include "graphics/Surface16.h"
#include "platform/ProgramFolder.h"
#include "states/LoadingState.h"
#include "states/MenuState.h"
#include "support/TempDir.h"
#include "ui/CheckButton.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/ListBox.h"
#include "ui/Slider.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// Every control the screens look up, in its window, with the classes they expect.
constexpr const char* Layout = R"(<Window width="240" height="320">
 <Window className="SimpleWindow" name="MenuWnd" width="240" height="320">
  <Window className="Label" name="labelWelcome" width="240"/>
  <Window className="FixedButton" name="buttonArcade" y="20" width="60" height="20"/>
  <Window className="FixedButton" name="buttonClassic" y="40" width="60" height="20"/>
  <Window className="FixedButton" name="buttonSurvival" y="60" width="60" height="20"/>
  <Window className="FixedButton" name="buttonChangePlayer" y="80" width="60" height="20"/>
  <Window className="FixedButton" name="buttonHightScore" y="100" width="60" height="20"/>
  <Window className="FixedButton" name="buttonOptions" y="120" width="60" height="20"/>
  <Window className="FixedButton" name="buttonHelp" y="140" width="60" height="20"/>
  <Window className="FixedButton" name="buttonExit" y="160" width="60" height="20"/>
 </Window>
 <Window name="Wnd_MsgGame" width="240" height="320" visible="0">
  <Window className="Label" name="Label_Info" width="240" height="40"/>
  <Window className="FixedButton" name="Button_Continue" y="200" width="60" height="20"/>
  <Window className="FixedButton" name="Button_New" y="220" width="60" height="20"/>
  <Window className="FixedButton" name="Button_Cancel" y="240" width="60" height="20"/>
 </Window>
 <Window name="OptionsWnd" width="240" height="320" visible="0">
  <Window className="CheckButton" name="CheckButton_Sound" y="0" width="60" height="16"/>
  <Window className="CheckButton" name="CheckButton_Music" y="20" width="60" height="16"/>
  <Window className="CheckButton" name="CheckButton_Stilus" y="40" width="60" height="16"/>
  <Window className="CheckButton" name="CheckButton_Key" y="60" width="60" height="16"/>
  <Window className="CheckButton" name="CheckButton_Antialiasing" y="80" width="60" height="16"/>
  <Window className="CheckButton" name="CheckButton_UnderCells" y="100" width="60" height="16"/>
  <Window className="Slider" name="Slider_Sound" y="120" width="100" height="16"/>
  <Window className="Slider" name="Slider_Music" y="140" width="100" height="16"/>
  <Window className="FixedButton" name="buttonOk" y="200" width="60" height="20"/>
  <Window className="FixedButton" name="buttonCancel" y="220" width="60" height="20"/>
 </Window>
 <Window name="Wnd_Help" width="240" height="320" visible="0">
  <Window className="Label" name="Label_Text1" text="one"/>
  <Window className="Label" name="Label_Text2" text="two"/>
  <Window className="Label" name="Label_Text3" text="three"/>
  <Window className="Label" name="Label_Text4" text="four"/>
  <Window className="Label" name="Label_Text5" text="five"/>
  <Window className="StaticImage" name="StaticImage_Help1"/>
  <Window className="StaticImage" name="StaticImage_Help5"/>
  <Window className="Label" name="Label_Page" y="180"/>
  <Window className="FixedButton" name="Button_Prev" y="200" width="60" height="20"/>
  <Window className="FixedButton" name="Button_Next" y="220" width="60" height="20"/>
  <Window className="FixedButton" name="Button_Ok" y="240" width="60" height="20"/>
 </Window>
 <Window name="PlayerWnd" width="240" height="320" visible="0">
  <Window className="Edit" name="editPlayerName" x="0" y="0" width="120" height="20" maxLength="12"/>
  <Window className="ListBox" name="playersListBox" y="20" width="120" height="100"/>
  <Window className="Label" name="labelForUser" text="@Str_Hint" y="120"/>
  <Window className="Label" name="Label_CurrentArcadeGrid" x="130" y="0"/>
  <Window className="Label" name="Label_BestArcadeGrid" x="130" y="20"/>
  <Window className="Label" name="Label_CurrentClassicGrid" x="130" y="40"/>
  <Window className="Label" name="Label_BestClassicGrid" x="130" y="60"/>
  <Window className="Label" name="Label_CurrentSurvivalGrid" x="130" y="80"/>
  <Window className="Label" name="Label_BestSurvivalGrid" x="130" y="100"/>
  <Window className="FixedButton" name="buttonAddPlayer" y="140" width="60" height="20"/>
  <Window className="FixedButton" name="buttonDeletePlayer" y="160" width="60" height="20"/>
  <Window className="FixedButton" name="buttonReturn" y="180" width="60" height="20"/>
  <Window className="Keyboard" name="keyboard" x="6" y="240" visible="0" ghost="1" canActivate="1"/>
 </Window>
 <Window name="ScoreWnd" width="240" height="320" visible="0">
  <Window className="ListBox" name="ListBox_Arcade" width="200" height="50"/>
  <Window className="ListBox" name="ListBox_Classic" y="60" width="200" height="50"/>
  <Window className="ListBox" name="ListBox_Survival" y="120" width="200" height="50"/>
  <Window className="FixedButton" name="buttonReturn" y="200" width="60" height="20"/>
 </Window>
</Window>)";

constexpr const char* StringsXml = R"(<Strings>
  <S name="Str_Welcome" value="Hello "/><S name="Str_CurrentLevel" value="Board "/>
  <S name="Str_CurrentScore" value="Score "/><S name="Str_Ok" value="OK"/>
  <S name="Str_Exit" value="Exit"/><S name="Str_Hint" value="Type a name"/>
</Strings>)";

class Screens : public ::testing::Test
{
protected:
    // A game folder with the given layout, strings and two sounds; the players are added
    // between the loading screen's two passes, then the screen it hands over to is entered.
    void Start(const std::vector<std::u16string>& players = {}, int32_t current = -1,
               const char* layout = Layout)
    {
        namespace fs = std::filesystem;
        fs::create_directories(dir.Root() / "XML");
        fs::create_directories(dir.Root() / "Sounds");
        std::ofstream(dir.Root() / "XML" / "MainMenu.xml") << layout;
        std::ofstream(dir.Root() / "XML" / "Strings.xml") << StringsXml;
        std::ofstream(dir.Root() / "XML" / "sounds.xml")
            << R"(<Sounds><Sound name="Snd_ButtonClick" file="c.wav"/>)"
            << R"(<Sound name="Msc_Menu" file="m.wav" music="1"/></Sounds>)";
        std::ofstream(dir.Root() / "Sounds" / "c.wav") << "c";
        std::ofstream(dir.Root() / "Sounds" / "m.wav") << "m";
        Platform::SetProgramFolder(dir.Root().string());

        context = &GameContext::Instance();
        context->sounds = std::make_unique<SoundManager>(std::make_unique<LoggingBackend>(
            log, std::vector<std::string>{"Snd_ButtonClick", "Msc_Menu"}));
        auto loading = std::make_unique<LoadingState>();
        loading->Update();
        for (const std::u16string& name : players)
            context->playerData->AddPlayer(name);
        context->playerData->SetCurrent(current);
        loading->Update();
        EXPECT_NE(context->states->Pending(), nullptr);
        frame.Create(240, 320, false);
        Frame();
        log.clear();
    }

    void TearDown() override { GameContext::Destroy(); }

    // One frame as the application runs it.
    void Frame()
    {
        context->ui->update();
        context->states->Update();
        context->states->Render(frame);
        context->renderer->target = nullptr;
    }

    std::u16string Current() const { return context->states->Current()->Name(); }

    template <class Widget = UI::Window>
    Widget* Control(const char16_t* window, const char16_t* name) const
    {
        UI::Window* parent = context->menuWindow->findChild(window);
        return parent ? dynamic_cast<Widget*>(parent->findChild(name)) : nullptr;
    }

    // A tap on the middle of a control.
    void Tap(const char16_t* window, const char16_t* name)
    {
        UI::Window* control = Control(window, name);
        ASSERT_NE(control, nullptr) << "no control";
        const int32_t x = control->absoluteX() + control->width() / 2;
        const int32_t y = control->absoluteY() + control->height() / 2;
        context->ui->stylusDown(x, y);
        context->ui->stylusUp(x, y);
    }

    bool Shown(const char16_t* window, const char16_t* name = nullptr) const
    {
        UI::Window* w = name ? Control(window, name) : context->menuWindow->findChild(window);
        return w && w->visible();
    }

    TempDir dir;
    GameContext* context = nullptr;
    std::vector<std::string> log;
    Graphics::Surface16 frame;
};

TEST_F(Screens, TheMenuNeedsACurrentPlayer)
{
    struct Case
    {
        std::vector<std::u16string> players;
        int32_t current;
        const char16_t* first;
    };
    const Case cases[] = {{{}, -1, u"ChangePlayerState"},
                          {{u"ann", u"bo"}, -1, u"ChangePlayerState"},
                          {{u"ann", u"bo"}, 1, u"MenuState"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.players.size());
        Start(c.players, c.current);
        EXPECT_EQ(Current(), c.first);
        if (!c.players.empty()) {
            // The player selection picks the first player when none is current.
            EXPECT_NE(context->playerData->CurrentPlayer(), nullptr);
        }
        GameContext::Destroy();
    }
}

TEST_F(Screens, LoadingRegistersTheScreensInOrder)
{
    Start({u"ann"}, 0);
    std::vector<std::u16string> names;
    for (size_t i = 0; context->states->StateAt(i); ++i)
        names.push_back(context->states->StateAt(i)->Name());
    EXPECT_EQ(names, (std::vector<std::u16string>{u"MenuState", u"GameState", u"ChangePlayerState",
                                                  u"HightScoreState", u"ExitState"}));
}

TEST_F(Screens, StartingAModeAsksWhetherToContinueASavedRun)
{
    Start({u"ann"}, 0);
    EXPECT_EQ(Control<UI::Label>(u"MenuWnd", u"labelWelcome")->text(), u"Hello ann");
    PlayerProfile& ann = *context->playerData->CurrentPlayer();
    ann.grid[0] = 4;
    ann.score[0] = 1200;

    Tap(u"MenuWnd", u"buttonArcade");
    EXPECT_EQ(context->gameMode, 1u);
    EXPECT_TRUE(Shown(u"Wnd_MsgGame"));
    EXPECT_FALSE(context->menuWindow->findChild(u"MenuWnd")->enabled());
    EXPECT_EQ(Control<UI::Label>(u"Wnd_MsgGame", u"Label_Info")->text(), u"Board 4\nScore 1200");
    EXPECT_EQ(context->effects->ImageEffects().size(), 50u) << "one burst of sparks";
    EXPECT_EQ(log, std::vector<std::string>{"play Snd_ButtonClick"});

    Tap(u"Wnd_MsgGame", u"Button_Cancel");
    EXPECT_FALSE(Shown(u"Wnd_MsgGame"));
    EXPECT_TRUE(context->menuWindow->findChild(u"MenuWnd")->enabled());
    EXPECT_EQ(context->gameMode, 1u) << "cancel keeps the mode";
    EXPECT_EQ(context->effects->ImageEffects().size(), 100u);

    // New ends the saved run first.
    Tap(u"MenuWnd", u"buttonArcade");
    Tap(u"Wnd_MsgGame", u"Button_New");
    EXPECT_EQ(ann.grid[0], 1u);
    EXPECT_EQ(ann.score[0], 0u);
    EXPECT_FALSE(Shown(u"Wnd_MsgGame"));

    // On the first board the game starts without asking.
    Tap(u"MenuWnd", u"buttonClassic");
    EXPECT_EQ(context->gameMode, 2u);
    EXPECT_FALSE(Shown(u"Wnd_MsgGame"));
}

TEST_F(Screens, ExitStopsTheMusicBeforeTheExitScreen)
{
    Start({u"ann"}, 0);
    Tap(u"MenuWnd", u"buttonExit");
    EXPECT_EQ(log, (std::vector<std::string>{"play Snd_ButtonClick", "stop Msc_Menu"}));
    ASSERT_NE(context->states->Pending(), nullptr);
    EXPECT_EQ(context->states->Pending()->Name(), u"ExitState");
}

TEST_F(Screens, OptionsKeepOneControlChosenAndStoreOnlyOnOk)
{
    Start({u"ann"}, 0);
    context->settings.stylus = 1;
    context->settings.musicVolume = 50;
    Tap(u"MenuWnd", u"buttonOptions");
    ASSERT_TRUE(Shown(u"OptionsWnd"));
    EXPECT_FALSE(Shown(u"MenuWnd"));
    auto* stylus = Control<UI::CheckButton>(u"OptionsWnd", u"CheckButton_Stilus");
    auto* keys = Control<UI::CheckButton>(u"OptionsWnd", u"CheckButton_Key");
    ASSERT_TRUE(stylus && keys);
    for (const char16_t* box :
         {u"CheckButton_Stilus", u"CheckButton_Stilus", u"CheckButton_Key", u"CheckButton_Key"}) {
        Tap(u"OptionsWnd", box);
        EXPECT_NE(stylus->checked(), keys->checked()) << "exactly one";
    }
    Tap(u"OptionsWnd", u"CheckButton_Key"); // keys on
    auto* music = Control<UI::Slider>(u"OptionsWnd", u"Slider_Music");
    music->setValue(0.257f);
    Tap(u"OptionsWnd", u"CheckButton_Antialiasing");
    Tap(u"OptionsWnd", u"buttonCancel");
    EXPECT_EQ(context->settings.musicVolume, 50u) << "cancel stores nothing";
    EXPECT_EQ(context->settings.stylus, 1);

    Tap(u"MenuWnd", u"buttonOptions");
    EXPECT_TRUE(stylus->checked()) << "the stored values again";
    EXPECT_FLOAT_EQ(music->value(), 0.5f);
    Tap(u"OptionsWnd", u"CheckButton_Key");
    music->setValue(0.257f);
    Tap(u"OptionsWnd", u"buttonOk");
    EXPECT_EQ(context->settings.musicVolume, 25u);
    EXPECT_EQ(context->settings.stylus, 0);
    EXPECT_TRUE(Shown(u"MenuWnd"));
}

TEST_F(Screens, MusicSwitchedOffIsResumedByCancel)
{
    Start({u"ann"}, 0);
    Tap(u"MenuWnd", u"buttonOptions");
    log.clear();
    Tap(u"OptionsWnd", u"CheckButton_Music");
    EXPECT_EQ(log, std::vector<std::string>{"pause Msc_Menu"}) << "heard at once, no click";
    log.clear();
    Tap(u"OptionsWnd", u"buttonCancel");
    EXPECT_EQ(log, (std::vector<std::string>{"play Snd_ButtonClick", "resume Msc_Menu"}));
    EXPECT_EQ(context->settings.musicOn, 1);
}

TEST_F(Screens, HelpPagesShowOnePageAtATimeAndReopenOnPageOne)
{
    Start({u"ann"}, 0);
    Tap(u"MenuWnd", u"buttonHelp");
    ASSERT_TRUE(Shown(u"Wnd_Help"));
    auto page = [this] { return Control<UI::Label>(u"Wnd_Help", u"Label_Page")->text(); };
    auto visibleTexts = [this] {
        std::string shown;
        for (const char16_t* name : {u"Label_Text1", u"Label_Text2", u"Label_Text3", u"Label_Text4",
                                     u"Label_Text5", u"StaticImage_Help1", u"StaticImage_Help5"})
            shown += Shown(u"Wnd_Help", name) ? "1" : "0";
        return shown;
    };
    EXPECT_EQ(page(), u"1/5");
    EXPECT_FALSE(Control(u"Wnd_Help", u"Button_Prev")->enabled());
    for (int i = 0; i < 4; ++i)
        Tap(u"Wnd_Help", u"Button_Next");
    EXPECT_EQ(page(), u"5/5");
    EXPECT_EQ(visibleTexts(), "0000101");
    EXPECT_FALSE(Control(u"Wnd_Help", u"Button_Next")->enabled());
    Tap(u"Wnd_Help", u"Button_Next"); // disabled: nothing
    EXPECT_EQ(page(), u"5/5");
    for (int i = 0; i < 4; ++i)
        Tap(u"Wnd_Help", u"Button_Prev");
    EXPECT_EQ(visibleTexts(), "1000010");

    // Ok keeps the page; entering the menu again starts on page 1.
    Tap(u"Wnd_Help", u"Button_Next");
    Tap(u"Wnd_Help", u"Button_Ok");
    EXPECT_TRUE(Shown(u"MenuWnd"));
    Tap(u"MenuWnd", u"buttonHelp");
    EXPECT_EQ(page(), u"2/5");
    Tap(u"Wnd_Help", u"Button_Ok");
    Tap(u"MenuWnd", u"buttonHightScore");
    Frame();
    Tap(u"ScoreWnd", u"buttonReturn");
    Frame();
    EXPECT_EQ(page(), u"1/5");
    EXPECT_EQ(visibleTexts(), "1000010");
}

TEST_F(Screens, AFirstStartTypesANameOnTheKeyboardAndAddsThePlayer)
{
    Start();
    ASSERT_EQ(Current(), u"ChangePlayerState");
    EXPECT_TRUE(Shown(u"PlayerWnd", u"labelForUser"));
    EXPECT_EQ(Control<UI::Label>(u"PlayerWnd", u"labelForUser")->text(), u"Type a name");
    EXPECT_FALSE(Shown(u"PlayerWnd", u"Label_BestArcadeGrid"));
    EXPECT_EQ(Control<UI::FixedButton>(u"PlayerWnd", u"buttonReturn")->caption(), u"Exit");

    // The field takes the focus and shows the keyboard; its keys type without taking it.
    Tap(u"PlayerWnd", u"editPlayerName");
    ASSERT_TRUE(Shown(u"PlayerWnd", u"keyboard"));
    UI::Window* keyboard = Control(u"PlayerWnd", u"keyboard");
    auto key = [&](int column, int row) {
        const int32_t x = keyboard->absoluteX() + 19 * column + 9;
        const int32_t y = keyboard->absoluteY() + 17 * row + 8;
        context->ui->stylusDown(x, y);
        context->ui->stylusUp(x, y);
    };
    key(6, 2); // J
    key(2, 1); // E
    key(1, 3); // Z
    auto* edit = Control<UI::Edit>(u"PlayerWnd", u"editPlayerName");
    EXPECT_EQ(edit->text(), u"jez");
    key(10, 1); // enter: the field lets go of the focus, the keyboard hides
    EXPECT_FALSE(Shown(u"PlayerWnd", u"keyboard"));

    Tap(u"PlayerWnd", u"buttonAddPlayer");
    ASSERT_EQ(context->playerData->PlayerCount(), 1u);
    EXPECT_EQ(context->playerData->Player(0)->name, u"jez");
    EXPECT_EQ(edit->text(), u"");
    EXPECT_EQ(Control<UI::FixedButton>(u"PlayerWnd", u"buttonReturn")->caption(), u"OK");
    EXPECT_EQ(Control<UI::Label>(u"PlayerWnd", u"Label_BestArcadeGrid")->text(), u"1");

    // Names stop at twelve characters; an empty name adds nothing.
    edit->setText(u"");
    for (int i = 0; i < 15; ++i)
        edit->onKeyDown(UI::KeyboardEventArgs(edit, 'A'));
    EXPECT_EQ(edit->text().size(), 12u);
    edit->setText(u"");
    Tap(u"PlayerWnd", u"buttonAddPlayer");
    EXPECT_EQ(context->playerData->PlayerCount(), 1u);

    Tap(u"PlayerWnd", u"buttonReturn");
    Frame();
    EXPECT_EQ(Current(), u"MenuState");
    EXPECT_FALSE(Shown(u"PlayerWnd"));
}

TEST_F(Screens, FivePlayersAtMostAndDeletingThenReturningFindsAPlayer)
{
    Start({u"a", u"b", u"c", u"d"}, 3);
    auto* add = Control(u"PlayerWnd", u"buttonAddPlayer");
    auto* edit = Control<UI::Edit>(u"PlayerWnd", u"editPlayerName");
    Tap(u"MenuWnd", u"buttonChangePlayer");
    Frame();
    ASSERT_EQ(Current(), u"ChangePlayerState");
    EXPECT_TRUE(add->enabled());
    edit->setText(u"e");
    Tap(u"PlayerWnd", u"buttonAddPlayer");
    EXPECT_FALSE(add->enabled()) << "five players";
    edit->setText(u"f");
    Tap(u"PlayerWnd", u"buttonAddPlayer");
    EXPECT_EQ(context->playerData->PlayerCount(), 5u);

    // Delete the selected (last added) player, then return in the same frame.
    Tap(u"PlayerWnd", u"buttonDeletePlayer");
    EXPECT_TRUE(add->enabled());
    EXPECT_EQ(context->playerData->Current(), 0) << "the first remaining player, at once";
    Tap(u"PlayerWnd", u"buttonReturn");
    Frame();
    EXPECT_EQ(Current(), u"MenuState");
    EXPECT_EQ(Control<UI::Label>(u"MenuWnd", u"labelWelcome")->text(), u"Hello a");

    // Deleting everyone leaves nobody current and makes the return button end the program.
    Tap(u"MenuWnd", u"buttonChangePlayer");
    Frame();
    for (int i = 0; i < 4; ++i)
        Tap(u"PlayerWnd", u"buttonDeletePlayer");
    EXPECT_EQ(context->playerData->Current(), -1);
    EXPECT_EQ(Control<UI::FixedButton>(u"PlayerWnd", u"buttonReturn")->caption(), u"Exit");
    Tap(u"PlayerWnd", u"buttonReturn");
    ASSERT_NE(context->states->Pending(), nullptr);
    EXPECT_EQ(context->states->Pending()->Name(), u"ExitState");
}

TEST_F(Screens, HighScoresListEachTableBestFirstOnEveryVisit)
{
    Start({u"P1", u"P2"}, 0);
    PlayerProfile& p1 = *context->playerData->Player(0);
    PlayerProfile& p2 = *context->playerData->Player(1);
    p1.score[1] = 1520;
    p2.score[1] = 2000;
    context->playerData->InsertHighScore(p1, 2);
    context->playerData->InsertHighScore(p2, 2);
    for (int visit = 0; visit < 2; ++visit) {
        Tap(u"MenuWnd", u"buttonHightScore");
        Frame();
        ASSERT_EQ(Current(), u"HightScoreState");
        EXPECT_TRUE(Control<UI::ListBox>(u"ScoreWnd", u"ListBox_Arcade")->items().empty());
        EXPECT_EQ(Control<UI::ListBox>(u"ScoreWnd", u"ListBox_Classic")->items(),
                  (std::vector<std::u16string>{u"P2 2000", u"P1 1520"}));
        Tap(u"ScoreWnd", u"buttonReturn");
        Frame();
        EXPECT_EQ(Current(), u"MenuState");
        EXPECT_FALSE(Shown(u"ScoreWnd"));
    }
}

TEST_F(Screens, ALayoutWithoutTheControlsRunsWithoutThem)
{
    Start({}, -1, R"(<Window width="240" height="320"/>)");
    for (const char16_t* state : {u"ChangePlayerState", u"MenuState", u"HightScoreState",
                                  u"ChangePlayerState", u"MenuState"}) {
        context->states->ChangeState(state, false);
        Frame();
        context->ui->stylusDown(120, 160);
        context->ui->stylusUp(120, 160);
        context->ui->keyDown(13);
        Frame();
    }
    // An empty layout still exists: the screens keep running on it.
    EXPECT_NE(context->menuWindow, nullptr);
}

} // namespace
