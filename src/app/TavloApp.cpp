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
    m_closeRequested = true;
    GameContext::Instance().states->ChangeState(u"ExitState", true);
    return true;
}

bool TavloApp::OnFrame()
{
    StateManager& states = *GameContext::Instance().states;
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
    m_display->Present(0);
    return true;
}
