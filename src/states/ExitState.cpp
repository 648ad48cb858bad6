// The exit state's update.
#include "states/ExitState.h"

#include "app/GameApp.h"
#include "app/GameContext.h"

void ExitState::Update()
{
    // Quit destroys the game context and this state with it: nothing may follow.
    GameContext::Instance().app->Quit();
}
