// ExitState: ends the program in an orderly way from inside the frame loop. Its first update
// quits the application, which saves the player's data on its way.
#pragma once

#include "app/State.h"

class ExitState : public State
{
public:
    ExitState() : State(u"ExitState") {}

    void Load() override { m_loaded = true; }
    void Unload() override { m_loaded = false; }
    void Enter() override {}
    void Leave() override {}
    void Update() override;
    void Render(Graphics::Surface16&) override {}
};
