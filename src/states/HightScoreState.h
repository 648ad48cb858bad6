// HightScoreState: the three high-score tables, one list per mode, best first. Its window
// "ScoreWnd" is part of the menu layout; each visit rebuilds the lists from the tables.
#pragma once

#include "app/State.h"
#include "ui/Events.h"

#include <array>

namespace UI {
class ListBox;
class Window;
} // namespace UI

class HightScoreState : public State
{
public:
    HightScoreState();

    void Load() override { m_loaded = true; }
    void Unload() override {}
    void Enter() override;
    void Leave() override;
    void Update() override;
    void Render(Graphics::Surface16& surface) override;

private:
    bool OnReturn(const UI::EventArgs& args);

    // Borrowed from the menu layout; null when a layout lacks them.
    UI::Window* m_scoreWindow = nullptr;
    std::array<UI::ListBox*, 3> m_lists{}; // Arcade, Classic, Survival
};
