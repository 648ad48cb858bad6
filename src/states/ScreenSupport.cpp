// The menu screens' shared pieces.
#include "states/ScreenSupport.h"

#include "app/GameContext.h"
#include "graphics/Surface16.h"
#include "ui/Label.h"
#include "ui/LayoutLoader.h"

namespace Screens {

bool InstallLayout(std::u16string_view file, UI::Window*& slot, UI::Window*& other)
{
    GameContext& context = GameContext::Instance();
    std::unique_ptr<UI::Window> layout =
        UI::loadLayout(context.layoutFolder, file, context.ui.get());
    if (!layout)
        return false;
    UI::ApplyTextKeys(layout.get(), [&context](std::u16string_view key) {
        return context.strings->GetString(key);
    });
    // The UI system owns the root tree from here on; the tree it replaces goes, and the
    // sparks thrown over it with it.
    slot = layout.release();
    context.ui->setRoot(slot);
    if (other) {
        delete other;
        other = nullptr;
        context.effects->Clear();
    }
    return true;
}

bool EnsureMenuLayout()
{
    GameContext& context = GameContext::Instance();
    if (context.menuWindow)
        return true;
    if (!context.ui)
        return false;
    context.resources->LoadGroup(u"Menu");
    return InstallLayout(u"MainMenu.xml", context.menuWindow, context.gameWindow);
}

void ClickBurst(const UI::EventArgs& args)
{
    const auto* event = dynamic_cast<const UI::WindowEventArgs*>(&args);
    const UI::Window* window = event ? event->window : nullptr;
    // The window's own position: the layouts put the controls in full-screen containers at
    // the origin, so it is where the control shows.
    if (window)
        GameContext::Instance().effects->ClickBurst(window->x(), window->y(), window->width(),
                                                    window->height());
}

void ClickFeedback(const UI::EventArgs& args)
{
    ClickBurst(args);
    GameContext::Instance().sounds->Play(u"Snd_ButtonClick", false);
}

void RenderScreen(Graphics::Surface16& surface)
{
    GameContext& context = GameContext::Instance();
    surface.FillRect(nullptr, 0xFF000000);
    if (context.ui && context.renderer) {
        context.renderer->target = &surface;
        context.ui->setRedraw();
        context.ui->draw();
    }
    context.effects->DrawImageEffects(surface);
}

void ApplySoundSettings()
{
    GameContext& context = GameContext::Instance();
    const GameSettings& settings = context.settings;
    context.sounds->SetMusicVolume(settings.musicVolume);
    context.sounds->SetSoundVolume(settings.soundVolume);
    context.sounds->SetMusicOn(settings.musicOn != 0);
    context.sounds->SetSoundOn(settings.soundOn != 0);
}

void SaveProfiles()
{
    ProfileStore& store = *GameContext::Instance().playerData;
    if (store.SaveOnExit())
        store.Save();
}

std::u16string Decimal(uint32_t value)
{
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

void SetVisible(UI::Window* window, bool visible)
{
    if (window)
        window->setVisible(visible);
}

void SetEnabled(UI::Window* window, bool enabled)
{
    if (window)
        window->setEnabled(enabled);
}

} // namespace Screens
