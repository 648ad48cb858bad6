// The player selection: adding, picking and deleting profiles.
#include "states/ChangePlayerState.h"

#include "app/GameContext.h"
#include "states/ScreenSupport.h"
#include "ui/Edit.h"
#include "ui/FixedButton.h"
#include "ui/Label.h"
#include "ui/ListBox.h"

#include <string>

namespace {

constexpr uint32_t EnterKey = 13;
constexpr uint32_t ArrowUpKey = 38;
constexpr uint32_t ArrowDownKey = 40;

// The progress labels, in the order of ChangePlayerState::m_progress.
constexpr const char16_t* ProgressLabels[] = {
    u"Label_CurrentArcadeGrid", u"Label_BestArcadeGrid",      u"Label_CurrentClassicGrid",
    u"Label_BestClassicGrid",   u"Label_CurrentSurvivalGrid", u"Label_BestSurvivalGrid",
};

} // namespace

ChangePlayerState::ChangePlayerState() : State(u"ChangePlayerState") {}

void ChangePlayerState::Load()
{
    m_loaded = true;
    Screens::EnsureMenuLayout();
}

void ChangePlayerState::Unload()
{
    m_loaded = false;
}

void ChangePlayerState::Enter()
{
    GameContext& context = GameContext::Instance();
    if (context.ui && context.menuWindow)
        context.ui->setRoot(context.menuWindow);
    UI::Window* root = context.menuWindow;
    Screens::SetVisible(Screens::Find<UI::Window>(root, u"MenuWnd"), false);
    m_playerWnd = Screens::Find<UI::Window>(root, u"PlayerWnd");
    Screens::SetVisible(m_playerWnd, true);

    m_nameEdit = Screens::Find<UI::Edit>(m_playerWnd, u"editPlayerName");
    if (m_nameEdit)
        m_nameEdit->setText({});
    m_playersList = Screens::Find<UI::ListBox>(m_playerWnd, u"playersListBox");
    m_hintLabel = Screens::Find<UI::Label>(m_playerWnd, u"labelForUser");
    for (size_t i = 0; i < m_progress.size(); ++i)
        m_progress[i] = Screens::Find<UI::Label>(m_playerWnd, ProgressLabels[i]);
    m_addButton = Screens::Find<UI::FixedButton>(m_playerWnd, u"buttonAddPlayer");
    m_returnButton = Screens::Find<UI::FixedButton>(m_playerWnd, u"buttonReturn");
    m_deleteButton = Screens::Find<UI::FixedButton>(m_playerWnd, u"buttonDeletePlayer");
    m_keyboard = Screens::Find<UI::Window>(m_playerWnd, u"keyboard");
    Screens::SetVisible(m_keyboard, false);
    UpdateAddButton();

    ProfileStore& store = *context.playerData;
    // Someone must be chosen while there are players: the first, when nobody is.
    if (store.PlayerCount() > 0 && !store.CurrentPlayer())
        store.SetCurrent(0);
    if (m_playersList) {
        m_playersList->removeAllItems();
        for (size_t i = 0; i < store.PlayerCount(); ++i)
            m_playersList->addItem(store.Player(static_cast<int32_t>(i))->name);
        m_playersList->setSelection(store.Current());
    }
    ShowPlayersPresent(store.PlayerCount() > 0);

    if (m_addButton)
        UI::subscribe(m_addButton->MouseUp, this, &ChangePlayerState::OnAdd);
    if (m_deleteButton)
        UI::subscribe(m_deleteButton->MouseUp, this, &ChangePlayerState::OnDelete);
    if (m_returnButton)
        UI::subscribe(m_returnButton->MouseUp, this, &ChangePlayerState::OnReturn);
    if (m_nameEdit) {
        UI::subscribe(m_nameEdit->GotFocus, this, &ChangePlayerState::OnEditFocus);
        UI::subscribe(m_nameEdit->LostFocus, this, &ChangePlayerState::OnEditBlur);
        UI::subscribe(m_nameEdit->KeyDown, this, &ChangePlayerState::OnEditKey);
    }
}

void ChangePlayerState::Leave()
{
    if (m_playersList)
        m_playersList->removeAllItems();
    Screens::SetVisible(m_playerWnd, false);
}

void ChangePlayerState::Update()
{
    GameContext& context = GameContext::Instance();
    if (m_playersList && context.playerData->PlayerCount() > 0 &&
        m_playersList->selected() != context.playerData->Current())
        ShowStats();
    context.effects->UpdateImageEffects();
}

void ChangePlayerState::Render(Graphics::Surface16& surface)
{
    Screens::RenderScreen(surface);
}

void ChangePlayerState::ShowStats()
{
    ProfileStore& store = *GameContext::Instance().playerData;
    if (!m_playersList)
        return;
    store.SetCurrent(m_playersList->selected());
    const PlayerProfile* player = store.CurrentPlayer();
    if (!player)
        return;
    for (uint32_t mode = 0; mode < GameModeCount; ++mode) {
        if (UI::Label* current = m_progress[2 * mode])
            current->setText(Screens::Decimal(player->grid[mode]));
        if (UI::Label* best = m_progress[2 * mode + 1])
            best->setText(Screens::Decimal(player->bestGrid[mode]));
    }
}

void ChangePlayerState::SetStatsVisible(bool visible)
{
    for (UI::Label* label : m_progress)
        Screens::SetVisible(label, visible);
    Screens::SetEnabled(m_deleteButton, visible);
}

void ChangePlayerState::ShowPlayersPresent(bool present)
{
    GameContext& context = GameContext::Instance();
    Screens::SetVisible(m_hintLabel, !present);
    SetStatsVisible(present);
    if (m_returnButton)
        m_returnButton->setCaption(context.strings->GetString(present ? u"Str_Ok" : u"Str_Exit"));
    if (present)
        ShowStats();
}

void ChangePlayerState::UpdateAddButton()
{
    Screens::SetEnabled(m_addButton,
                        GameContext::Instance().playerData->PlayerCount() < MaxPlayers);
}

bool ChangePlayerState::OnAdd(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    ProfileStore& store = *GameContext::Instance().playerData;
    if (!m_nameEdit || m_nameEdit->text().empty() || store.PlayerCount() >= MaxPlayers)
        return true;
    store.AddPlayer(m_nameEdit->text());
    if (m_playersList) {
        m_playersList->addItem(m_nameEdit->text());
        m_playersList->setSelection(m_playersList->itemCount() - 1);
    }
    UpdateAddButton();
    ShowPlayersPresent(true);
    m_nameEdit->setText({});
    Screens::SaveProfiles();
    return true;
}

bool ChangePlayerState::OnDelete(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    ProfileStore& store = *GameContext::Instance().playerData;
    if (!m_playersList || m_playersList->selected() < 0)
        return true;
    const int32_t index = m_playersList->selected();
    store.RemovePlayer(index);
    m_playersList->removeItem(index);
    if (store.PlayerCount() == 0) {
        m_playersList->setSelection(-1);
        ShowPlayersPresent(false);
        store.SetCurrent(-1);
    } else {
        // The first remaining player is chosen and shown at once, so a return in the same
        // frame finds a current player.
        m_playersList->setSelection(0);
        ShowStats();
    }
    UpdateAddButton();
    Screens::SaveProfiles();
    return true;
}

bool ChangePlayerState::OnReturn(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    GameContext& context = GameContext::Instance();
    if (context.playerData->PlayerCount() == 0) {
        // Leaving without a profile ends the program.
        context.resources->UnloadGroup(u"Menu");
        context.states->ChangeState(u"ExitState", true);
    } else {
        if (!context.playerData->CurrentPlayer())
            context.playerData->SetCurrent(0);
        context.states->ChangeState(u"MenuState", true);
    }
    return true;
}

bool ChangePlayerState::OnEditFocus(const UI::EventArgs& /*args*/)
{
    Screens::SetVisible(m_keyboard, true);
    return true;
}

bool ChangePlayerState::OnEditBlur(const UI::EventArgs& /*args*/)
{
    Screens::SetVisible(m_keyboard, false);
    return true;
}

bool ChangePlayerState::OnEditKey(const UI::EventArgs& args)
{
    const auto* key = dynamic_cast<const UI::KeyboardEventArgs*>(&args);
    if (!key)
        return true;
    GameContext& context = GameContext::Instance();
    if (key->key == EnterKey && context.ui) {
        context.ui->setFocus(nullptr);
    } else if (m_playersList && m_playersList->selected() >= 0 &&
               (key->key == ArrowUpKey || key->key == ArrowDownKey)) {
        // The arrows still pick a player while the name field has the focus.
        m_playersList->setSelection(m_playersList->selected() + (key->key == ArrowUpKey ? -1 : 1));
    }
    return true;
}
