// The two passes of the loading screen.
#include "states/LoadingState.h"

#include "app/GameContext.h"
#include "graphics/Surface16.h"
#include "states/ExitState.h"

void LoadingState::Update()
{
    if (m_firstPass) {
        FirstPass();
        m_firstPass = 0;
    } else {
        SecondPass();
    }
}

void LoadingState::FirstPass()
{
    // The file system, resources, sounds, strings, board and background lists and the saved
    // data load here, in that order, as each subsystem arrives.
}

void LoadingState::SecondPass()
{
    StateManager& states = *GameContext::Instance().states;
    states.AddState(std::make_unique<ExitState>());
    // Without saved players the first screen is the player selection; the old screen is
    // released so the loading pictures are freed.
    states.ChangeState(u"ChangePlayerState", true);
}

void LoadingState::Render(Graphics::Surface16& surface)
{
    if (m_splash)
        surface.Blit(0, 0, *m_splash);
}
