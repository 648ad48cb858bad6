// ChangePlayerState: the player selection. The user creates a named profile (typing on the
// device's keys or on the on-screen keyboard), picks one, or deletes one, and sees the picked
// player's boards in the three modes. Its window "PlayerWnd" is part of the menu layout.
#pragma once

#include "app/State.h"
#include "ui/Events.h"

#include <array>
#include <cstdint>

namespace UI {
class Edit;
class FixedButton;
class Label;
class ListBox;
class Window;
} // namespace UI

class ChangePlayerState : public State
{
public:
    // Profiles this screen lets the user create.
    static constexpr size_t MaxPlayers = 5;

    ChangePlayerState();

    // Builds the menu layout when there is none (the first screen of a first start).
    void Load() override;
    void Unload() override;
    void Enter() override;
    // Empties the list and hides the window.
    void Leave() override;
    void Update() override;
    void Render(Graphics::Surface16& surface) override;

private:
    // The selected player becomes the current one, and the labels show its boards.
    void ShowStats();
    // The six progress labels and the delete button, shown with players, hidden without.
    void SetStatsVisible(bool visible);
    // The hint, the return button's caption and the progress for a list with or without
    // players.
    void ShowPlayersPresent(bool present);
    void UpdateAddButton();

    bool OnAdd(const UI::EventArgs& args);
    bool OnDelete(const UI::EventArgs& args);
    bool OnReturn(const UI::EventArgs& args);
    bool OnEditFocus(const UI::EventArgs& args);
    bool OnEditBlur(const UI::EventArgs& args);
    bool OnEditKey(const UI::EventArgs& args);

    // Borrowed from the menu layout; null when a layout lacks them.
    UI::Window* m_playerWnd = nullptr;
    UI::Edit* m_nameEdit = nullptr;
    UI::ListBox* m_playersList = nullptr;
    UI::Label* m_hintLabel = nullptr;
    // Current and best board of Arcade, Classic and Survival, in that order.
    std::array<UI::Label*, 6> m_progress{};
    UI::FixedButton* m_addButton = nullptr;
    UI::FixedButton* m_returnButton = nullptr;
    UI::FixedButton* m_deleteButton = nullptr;
    UI::Window* m_keyboard = nullptr;
};
