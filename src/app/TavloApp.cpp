// The game's frame: state machine update, then drawing into the display's back buffer.
#include "app/TavloApp.h"

#include "app/GameContext.h"
#include "graphics/Surface16.h"
#include "states/LoadingState.h"

TavloApp::TavloApp() : GameApp(0)
{
    GameContext::Instance().app = this;
}

TavloApp::~TavloApp()
{
    GameContext::Destroy();
}

bool TavloApp::Quit()
{
    GameContext::Destroy();
    return GameApp::Quit();
}

bool TavloApp::OnInit()
{
    StateManager& states = *GameContext::Instance().states;
    states.AddState(std::make_unique<LoadingState>());
    states.ChangeState(u"LoadingState", false);
    return true;
}

bool TavloApp::OnClose()
{
    // Once the program has begun to quit the context is gone; asking for it again would
    // build a new one.
    if (!GameContext::Exists())
        return true;
    m_closeRequested = true;
    GameContext::Instance().states->ChangeState(u"ExitState", true);
    return true;
}

namespace {

// The UI system, once the loading screen has made it; input before that is dropped.
UI::UISystem* Ui()
{
    return GameContext::Exists() ? GameContext::Instance().ui.get() : nullptr;
}

} // namespace

void TavloApp::OnStylusDown(int32_t x, int32_t y)
{
    if (UI::UISystem* ui = Ui())
        ui->stylusDown(x, y);
}

void TavloApp::OnStylusMove(int32_t x, int32_t y)
{
    if (UI::UISystem* ui = Ui())
        ui->stylusMove(x, y);
}

void TavloApp::OnStylusUp(int32_t x, int32_t y)
{
    if (UI::UISystem* ui = Ui())
        ui->stylusUp(x, y);
}

void TavloApp::OnKeyDown(uint32_t key)
{
    if (UI::UISystem* ui = Ui())
        ui->keyDown(key);
}

void TavloApp::OnKeyUp(uint32_t key)
{
    if (UI::UISystem* ui = Ui())
        ui->keyUp(key);
}

bool TavloApp::OnFrame()
{
    GameContext& context = GameContext::Instance();
    if (context.ui)
        context.ui->update();
    StateManager& states = *context.states;
    if (m_closeRequested)
        states.ChangeState(u"ExitState", true);

    // The frame's surface wraps the back buffer: drawing goes straight into it.
    Graphics::Surface16 surface;
    surface.Attach(m_display->GetWidth(), m_display->GetHeight(), m_display->GetBuffer(), nullptr);

    states.Update();
    // The exit state has run: the game context, and the state manager with it, are gone.
    if (m_quitRequested)
        return false;
    states.Render(surface);
    // The frame's surface lives only in this call: the renderer must not keep pointing at it.
    if (context.renderer)
        context.renderer->target = nullptr;
    m_display->Present(0);
    const State* current = states.Current();
    if (!m_firstScreen && current && current->Name() != u"LoadingState") {
        m_firstScreen = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - m_start);
    }
    return true;
}
