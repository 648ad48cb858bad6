// What the menu screens share: the menu layout they all live in, the feedback of a click, the
// way a screen is drawn, and the sound settings handed to the sound manager.
#pragma once

#include "ui/Window.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace Graphics {
class Surface16;
}

namespace Screens {

// Makes sure the menu layout "MainMenu.xml" exists and is the UI root: the first time (or
// after the game screen replaced it) loads the "Menu" group and the layout, fills its "@key"
// labels from the string table, and destroys the game screen's tree and its effects. False
// when the layout cannot be built.
bool EnsureMenuLayout();
// Loads the layout file, fills its "@key" labels, stores it in slot and makes it the UI root;
// the tree in other, the layout it replaces, is destroyed with its effects. False when the
// layout cannot be built.
bool InstallLayout(std::u16string_view file, UI::Window*& slot, UI::Window*& other);

// The click of a control: a burst of sparks from the window the event names, and the click
// sound.
void ClickFeedback(const UI::EventArgs& args);
// The burst alone, for controls that make no sound.
void ClickBurst(const UI::EventArgs& args);

// Clears the surface to black, draws the UI into it, then the image effects over it.
void RenderScreen(Graphics::Surface16& surface);

// Hands the stored volumes and switches to the sound manager.
void ApplySoundSettings();

// The window named name inside parent (parent included), as the class expected; null when
// there is none, or when parent is null.
template <class Widget>
Widget* Find(UI::Window* parent, std::u16string_view name)
{
    return parent ? dynamic_cast<Widget*>(parent->findChild(name)) : nullptr;
}

// Saves the profiles and settings now, so they survive a crash, when the store has a file of
// its own to save to (one it could read, or none yet).
void SaveProfiles();

// value in decimal digits.
std::u16string Decimal(uint32_t value);

// Shows or hides a window that may be missing from a modded layout.
void SetVisible(UI::Window* window, bool visible);
void SetEnabled(UI::Window* window, bool enabled);

} // namespace Screens
