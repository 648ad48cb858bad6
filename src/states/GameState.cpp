// The game screen: its windows, the flow from one board to the next, and the drawing.
#include "states/GameState.h"

#include "app/GameContext.h"
#include "graphics/Qim.h"
#include "graphics/Surface16.h"
#include "platform/Host.h"
#include "states/ScreenSupport.h"
#include "ui/FixedButton.h"
#include "ui/Label.h"
#include "ui/Slider.h"

namespace {

// Forgets the pictures of the last board: they belong to the "Game" group, which may go.
void DropBoardImages(BoardPicture& picture)
{
    picture.sideImage = nullptr;
    picture.jointImage = nullptr;
    picture.bonusIconImage = nullptr;
    picture.cellImages.fill(nullptr);
}

std::u16string Text(std::u16string_view key)
{
    return GameContext::Instance().strings->GetString(key);
}

// The time left as the heads-up display shows it: minutes, a colon and two digits of seconds.
std::u16string TimeText(int64_t secondsLeft)
{
    // A bonus that takes time away may leave less than none: that shows as no time at all.
    const uint32_t left = secondsLeft > 0 ? static_cast<uint32_t>(secondsLeft) : 0;
    const uint32_t seconds = left % 60;
    return Screens::Decimal(left / 60) + u":" + (seconds < 10 ? u"0" : u"") +
           Screens::Decimal(seconds);
}

} // namespace

GameState::GameState() : State(u"GameState"), m_picture(GameContext::Instance().trig) {}

GameState::~GameState()
{
    if (m_loaded)
        Unload();
}

void GameState::Load()
{
    m_loaded = true;
    GameContext& context = GameContext::Instance();
    if (!m_session) {
        m_session = std::make_unique<BoardSession>(context.settings, *context.effects);
        m_session->SetSounds(context.sounds.get());
        m_session->SetProfiles(context.playerData.get());
        m_session->SetResources(context.resources.get());
    }
    // Unload frees the group at every release of the screen, whether the layout stays or not.
    context.resources->LoadGroup(u"Game");
    if (!context.gameWindow && context.ui)
        Screens::InstallLayout(u"GameWnd.xml", context.gameWindow, context.menuWindow);
}

void GameState::Unload()
{
    GameContext::Instance().resources->UnloadGroup(u"Game");
    m_loaded = false;
}

void GameState::Enter()
{
    GameContext& context = GameContext::Instance();
    m_background.reset();
    context.sounds->Stop(u"Msc_Menu");
    if (context.ui && context.gameWindow)
        context.ui->setRoot(context.gameWindow);
    UI::Window* root = context.gameWindow;

    m_gameWindow = Screens::Find<UI::Window>(root, u"GameWnd");
    Screens::SetVisible(m_gameWindow, true);
    if (m_gameWindow) {
        UI::subscribe(m_gameWindow->MouseDown, this, &GameState::OnBoardStylusDown);
        UI::subscribe(m_gameWindow->MouseUp, this, &GameState::OnBoardStylusUp);
        UI::subscribe(m_gameWindow->KeyDown, this, &GameState::OnBoardKeyDown);
        UI::subscribe(m_gameWindow->KeyUp, this, &GameState::OnBoardKeyUp);
    }
    if (auto* menu = Screens::Find<UI::Window>(m_gameWindow, u"buttonMenu"))
        UI::subscribe(menu->MouseUp, this, &GameState::OnMenu);
    m_labelScore = Screens::Find<UI::Label>(m_gameWindow, u"labelScore");
    m_labelTime = Screens::Find<UI::Label>(m_gameWindow, u"labelTime");
    m_labelLives = Screens::Find<UI::Label>(m_gameWindow, u"Label_Lives");
    m_labelGrid = Screens::Find<UI::Label>(m_gameWindow, u"Label_Grid");
    m_scoreBar = Screens::Find<UI::Slider>(m_gameWindow, u"Slider_Score");

    // The message after a board always shows over the board; whether it shows now is left to
    // how the last visit ended.
    m_messageWindow = Screens::Find<UI::Window>(root, u"Wnd_MsgGrid");
    if (m_messageWindow) {
        m_messageWindow->setAlwaysOnTop(true);
        m_messageWindow->bringToFront();
    }
    m_labelInfo = Screens::Find<UI::Label>(m_messageWindow, u"Label_Info");
    m_nextButton = Screens::Find<UI::FixedButton>(m_messageWindow, u"Button_Next");
    m_returnButton = Screens::Find<UI::FixedButton>(m_messageWindow, u"Button_Return");
    if (m_nextButton)
        UI::subscribe(m_nextButton->MouseUp, this, &GameState::OnNext);
    if (m_returnButton)
        UI::subscribe(m_returnButton->MouseUp, this, &GameState::OnReturn);

    context.effects->RemoveKind(EffectKind::BonusAnimation);
    StartBoard();
}

void GameState::Leave()
{
    Screens::SetVisible(m_gameWindow, false);
    if (m_session)
        m_session->EndPlay();
    m_background.reset();
    DropBoardImages(m_picture);
}

void GameState::StartBoard()
{
    GameContext& context = GameContext::Instance();
    BoardSession& session = *m_session;
    session.SetMode(context.gameMode);
    session.SetBoardFiles(context.grids, FolderBoardLoader(IO::FileSystem::FindDirectory(
                                             context.files->GetRoot(), u"grids")));
    session.SetBackgroundCount(static_cast<uint32_t>(context.backgrounds.size()));
    // The board's clock is the host's high-resolution counter: real time in a window, one
    // frame period per frame on the virtual clock of a headless run.
    Platform::Host& host = Platform::GetHost();
    session.SetClock([&host] { return host.QueryPerformanceCounter(); },
                     static_cast<uint32_t>(host.QueryPerformanceFrequency()));
    session.StartBoard();

    DropBoardImages(m_picture);
    if (const Grid* grid = session.GetGrid())
        PickBoardImages(m_picture, *context.resources, grid->cellSize);
    if (context.ui && m_gameWindow)
        context.ui->setFocus(m_gameWindow);

    m_background.reset();
    if (const int32_t index = session.BackgroundIndex(); index >= 0) {
        IO::DirectoryNode* folder =
            IO::FileSystem::FindDirectory(context.imageFolder, u"backgrounds");
        m_background = Graphics::LoadQim(folder, context.backgrounds[static_cast<size_t>(index)]);
    }

    // The bar is the board's score bar: hidden in Classic, where clearing the board wins,
    // and never touched by the player, so it stays a ghost whatever the layout says.
    if (m_scoreBar) {
        m_scoreBar->setVisible(session.ScoreBarVisible());
        m_scoreBar->setGhost(true);
        m_scoreBar->setValue(session.ScoreBar());
    }
    if (m_labelGrid)
        m_labelGrid->setText(Screens::Decimal(session.BoardNumber()));
    UpdateHud();
}

void GameState::Update()
{
    GameContext& context = GameContext::Instance();
    BoardSession& session = *m_session;
    if (session.GetState() == BoardState::Playing) {
        session.Update();
        if (session.GetState() == BoardState::Playing)
            UpdateHud();
        else
            ShowResult();
        return;
    }
    // The message is up: the board waits, the sparks of the last moves fly on over it.
    context.effects->UpdateImageEffects();
    context.effects->UpdateTextEffects();
}

void GameState::UpdateHud()
{
    const BoardSession& session = *m_session;
    const Grid* grid = session.GetGrid();
    if (!grid)
        return;
    if (m_scoreBar && session.ScoreBarVisible())
        m_scoreBar->setValue(session.ScoreBar());
    if (m_labelScore) {
        std::u16string score = Screens::Decimal(session.Score());
        if (session.Mode() != GameMode::Classic) {
            score.push_back(u'/');
            score.append(Screens::Decimal(grid->target));
        }
        m_labelScore->setText(score);
    }
    if (m_labelTime) {
        m_labelTime->setText(
            TimeText(static_cast<int64_t>(session.TimeLimit()) - session.ElapsedSeconds()));
    }
    if (m_labelLives)
        m_labelLives->setText(Screens::Decimal(session.Lives()));
}

void GameState::ShowResult()
{
    const BoardResult& result = m_session->Result();
    const std::u16string total = Text(u"Str_TotalScore") + Screens::Decimal(result.total);
    std::u16string info;
    std::u16string next;
    if (m_session->GetState() == BoardState::Won) {
        if (result.runEnded) {
            info = Text(u"Str_Win") + u"\n" + total;
            next = Text(u"Str_Start");
        } else {
            info = Text(u"Str_GridScore") + Screens::Decimal(result.score) + u"\n" + total;
            next = Text(u"Str_Next");
        }
    } else if (result.runEnded) {
        info = Text(u"Str_GameOver") + u"\n" + total;
        next = Text(u"Str_Start");
    } else {
        info = Text(u"Str_GridFailed") + u"\n" + total;
        next = Text(u"Str_Continue");
    }
    if (m_labelInfo)
        m_labelInfo->setText(info);
    if (m_nextButton)
        m_nextButton->setCaption(next);
    if (m_returnButton)
        m_returnButton->setCaption(Text(u"Str_Return"));
    Screens::SetVisible(m_messageWindow, true);
    Screens::SetEnabled(m_gameWindow, false);
    // The run is on disk as soon as it changed, so a crash or a power cut loses no board.
    Screens::SaveProfiles();
}

void GameState::Render(Graphics::Surface16& surface)
{
    GameContext& context = GameContext::Instance();
    const BoardSession& session = *m_session;
    surface.Clear();
    m_picture.target = &surface;
    m_picture.background = m_background.get();
    ShowSession(m_picture, session);
    m_picture.underCells = context.settings.underCells != 0;
    m_picture.antialiasing = context.settings.antialiasing != 0;
    DrawBoard(m_picture);
    if (context.effects->HasImageEffects())
        context.effects->DrawImageEffects(surface);
    if (context.effects->HasTextEffects())
        context.effects->DrawTextEffects(surface);
    DrawBonusIcon(m_picture);
    if (context.ui && context.renderer) {
        context.renderer->target = &surface;
        context.ui->setRedraw();
        context.ui->draw();
    }
    m_picture.target = nullptr;
}

bool GameState::OnMenu(const UI::EventArgs&)
{
    // The board is abandoned: the run stays as it was when the board started.
    GameContext& context = GameContext::Instance();
    context.sounds->Play(u"Snd_ButtonClick", false);
    context.states->ChangeState(u"MenuState", true);
    return true;
}

bool GameState::OnNext(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    Screens::SetVisible(m_messageWindow, false);
    Screens::SetEnabled(m_gameWindow, true);
    StartBoard();
    return true;
}

bool GameState::OnReturn(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    Screens::SetVisible(m_messageWindow, false);
    Screens::SetEnabled(m_gameWindow, true);
    GameContext::Instance().states->ChangeState(u"MenuState", true);
    return true;
}

bool GameState::OnBoardStylusDown(const UI::EventArgs& args)
{
    if (const auto* mouse = dynamic_cast<const UI::MouseEventArgs*>(&args))
        m_session->OnBoardStylusDown(mouse->x, mouse->y);
    return true;
}

bool GameState::OnBoardStylusUp(const UI::EventArgs& args)
{
    if (const auto* mouse = dynamic_cast<const UI::MouseEventArgs*>(&args))
        m_session->OnBoardStylusUp(mouse->x, mouse->y);
    return true;
}

bool GameState::OnBoardKeyDown(const UI::EventArgs&)
{
    m_session->OnBoardKeyDown();
    return true;
}

bool GameState::OnBoardKeyUp(const UI::EventArgs&)
{
    m_session->OnBoardKeyUp();
    return true;
}
