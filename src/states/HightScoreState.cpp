// The high-score screen.
#include "states/HightScoreState.h"

#include "app/GameContext.h"
#include "states/ScreenSupport.h"
#include "ui/ListBox.h"

#include <string>

namespace {

constexpr const char16_t* ListNames[] = {u"ListBox_Arcade", u"ListBox_Classic",
                                         u"ListBox_Survival"};

} // namespace

HightScoreState::HightScoreState() : State(u"HightScoreState") {}

void HightScoreState::Enter()
{
    GameContext& context = GameContext::Instance();
    UI::Window* root = context.ui ? context.ui->root() : nullptr;
    m_scoreWindow = Screens::Find<UI::Window>(root, u"ScoreWnd");
    Screens::SetVisible(m_scoreWindow, true);
    for (uint32_t mode = 1; mode <= GameModeCount; ++mode) {
        UI::ListBox* list = Screens::Find<UI::ListBox>(m_scoreWindow, ListNames[mode - 1]);
        m_lists[mode - 1] = list;
        if (!list)
            continue;
        list->removeAllItems();
        for (const ScoreEntry& entry : context.playerData->Table(mode)) {
            list->addItem(entry.name + u" " + Screens::Decimal(entry.score));
        }
    }
    if (auto* back = Screens::Find<UI::Window>(m_scoreWindow, u"buttonReturn"))
        UI::subscribe(back->MouseUp, this, &HightScoreState::OnReturn);
}

void HightScoreState::Leave()
{
    Screens::SetVisible(m_scoreWindow, false);
}

void HightScoreState::Update()
{
    GameContext::Instance().effects->UpdateImageEffects();
}

void HightScoreState::Render(Graphics::Surface16& surface)
{
    Screens::RenderScreen(surface);
}

bool HightScoreState::OnReturn(const UI::EventArgs& args)
{
    Screens::ClickFeedback(args);
    GameContext::Instance().states->ChangeState(u"MenuState", false);
    return true;
}
