// widgetgallery: draws every widget of the UI toolkit, in the game's own skin, fonts and
// pictures, in the states a player meets them: pressed, checked, disabled, scrolled, open,
// focused with its caret, every keyboard highlight. The layout names the widgets; this program
// fills them and puts them into their states, then writes the sheet as a PNG.
#include "ToolSupport.h"
#include "io/FileSystem.h"
#include "io/Utf8.h"
#include "platform/Screenshot.h"
#include "resources/ResourceManager.h"
#include "resources/XmlFile.h"
#include "ui/CheckButton.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/FixedButton.h"
#include "ui/ImageList.h"
#include "ui/Keyboard.h"
#include "ui/LayoutLoader.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/ManagedSurfaceRenderer.h"
#include "ui/Scroller.h"
#include "ui/Skin.h"
#include "ui/Slider.h"
#include "ui/SpinEdit.h"
#include "ui/TextBox.h"
#include "ui/UISystem.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "widgetgallery: %s\n", message.c_str());
    return 1;
}

// The widget of the tree with that name and class; null when there is none.
template <class Widget>
Widget* Find(UI::Window* root, std::u16string_view name)
{
    return dynamic_cast<Widget*>(root->findChild(name));
}

// Presses the window at a local point without releasing, as a stylus held down on it.
void Hold(UI::Window* window, int32_t x, int32_t y)
{
    if (window)
        window->onMouseDown(UI::MouseEventArgs(window, x, y, true));
}

// Puts the gallery's named widgets into the states the sheet shows.
void Stage(UI::UISystem& ui, UI::Window* root)
{
    Hold(Find<UI::FixedButton>(root, u"pressed"), 5, 5);
    if (auto* check = Find<UI::CheckButton>(root, u"checked"))
        check->setChecked(true);
    if (auto* check = Find<UI::CheckButton>(root, u"checkedOff"))
        check->setChecked(true);

    const std::pair<const char16_t*, float> sliders[] = {
        {u"slider", 0.3f}, {u"stepped", 0.56f}, {u"sliderOff", 0.8f}, {u"vertical", 0.6f}};
    for (const auto& [name, value] : sliders) {
        if (auto* slider = Find<UI::Slider>(root, name))
            slider->setValue(value);
    }

    if (auto* password = Find<UI::Edit>(root, u"password"))
        password->setPassword(true);
    if (auto* readOnly = Find<UI::Edit>(root, u"readOnly"))
        readOnly->setReadOnly(true);
    if (auto* spinEdit = Find<UI::SpinEdit>(root, u"spinEdit")) {
        for (const char16_t* level : {u"easy", u"normal", u"hard"})
            spinEdit->addValue(level);
        spinEdit->select(1);
    }
    if (auto* images = Find<UI::ImageList>(root, u"imageList"))
        images->setSelection(2);

    if (auto* list = Find<UI::ListBox>(root, u"list")) {
        const char16_t* names[] = {u"gwendolyn", u"ari",   u"matthias", u"noor", u"ben",
                                   u"ilse",      u"tomas", u"yuki",     u"oona", u"pere"};
        for (const char16_t* name : names)
            list->addItem(name);
        list->setSelection(7);
    }
    if (auto* combo = Find<UI::ComboBox>(root, u"combo")) {
        for (const char16_t* mode : {u"Arcade", u"Classic", u"Survival"})
            combo->addItem(mode);
        combo->select(1);
        combo->setListOpen(true);
    }
    if (auto* view = Find<UI::ListView>(root, u"view")) {
        view->addColumn(u"Name", 90);
        view->addColumn(u"Score", 70);
        view->addColumn(u"Board", 60);
        const char16_t* rows[][3] = {{u"gwendolyn", u"48210", u"31"}, {u"ari", u"40115", u"27"},
                                     {u"matthias", u"33990", u"22"},  {u"noor", u"20450", u"15"},
                                     {u"ben", u"12800", u"9"},        {u"yuki", u"5120", u"4"}};
        for (const auto& row : rows) {
            const int32_t index = view->addRow(row[0]);
            view->setItemText(index, 1, row[1]);
            view->setItemText(index, 2, row[2]);
        }
        view->setSelection(1);
    }
    if (auto* text = Find<UI::TextBox>(root, u"text")) {
        text->setText(u"Turn a cell to move the colours\nround its sides. A cell whose\n"
                      u"sides all share one colour\ncompletes, scores and takes new\n"
                      u"colours, and its neighbours\nmay complete in turn.\n"
                      u"Chains score more.");
        text->scroller()->setPosition(0.5f);
    }

    const std::pair<const char16_t*, std::pair<int32_t, int32_t>> keyboards[] = {
        {u"key1", {3 * 19 + 5, 17 + 5}},      // "R"
        {u"key2", {10 * 19 + 5, 5}},          // backspace
        {u"key3", {10 * 19 + 5, 2 * 17 + 5}}, // enter
        {u"key4", {9 * 19 + 5, 3 * 17 + 5}},  // space
    };
    for (const auto& [name, at] : keyboards)
        Hold(Find<UI::Keyboard>(root, name), at.first, at.second);

    // The focused edit, caught in the visible phase of its caret.
    if (auto* edit = Find<UI::Edit>(root, u"edit")) {
        ui.setFocus(edit);
        for (int i = 0; i < 11 && !edit->caretVisible(); ++i)
            ui.update();
    }
    ui.setCapture(nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: widgetgallery GAME_DIR LAYOUT.xml OUT.png\n"
                   "Draws every widget of the layout in the game's skin into OUT.png.\n",
                   stderr);
        return 2;
    }
    std::u16string gameDir;
    IO::FileSystem files;
    if (!IO::Utf8ToUtf16(argv[1], gameDir) || files.Mount(gameDir) != 0)
        return Fail(std::string(argv[1]) + ": not a game folder");
    IO::DirectoryNode* xml = IO::FileSystem::FindDirectory(files.GetRoot(), u"XML");
    IO::DirectoryNode* images = IO::FileSystem::FindDirectory(files.GetRoot(), u"Images");
    if (!xml || !images)
        return Fail(std::string(argv[1]) + ": no XML or Images folder");
    ResourceManager resources;
    resources.LoadCatalogue(xml, images);
    resources.LoadGroup(u"Game");
    resources.LoadGroup(u"Menu");
    std::string skinText;
    if (!ReadTextFile(xml, u"uiconfig.xml", skinText))
        return Fail("the game folder has no uiconfig.xml");
    const std::unique_ptr<UI::StyleList> skin = UI::LoadSkin(skinText.c_str());

    std::vector<uint8_t> layoutBytes;
    std::string error;
    if (!ReadFile(argv[2], layoutBytes, error))
        return Fail(error);
    const std::string layoutText(layoutBytes.begin(), layoutBytes.end());

    UI::ManagedSurfaceRenderer renderer(resources);
    UI::UISystem ui(&renderer, skin.get());
    UI::LayoutLoader loader;
    std::vector<uint8_t> binary;
    UI::Window* root = loader.load(layoutText.c_str(), &ui, binary).release();
    if (!root)
        return Fail(std::string(argv[2]) + ": not a layout");
    ui.setRoot(root); // the UI system destroys it
    if (root->width() < 1 || root->height() < 1 || root->width() > 4096 || root->height() > 4096)
        return Fail(std::string(argv[2]) + ": the top window needs a size up to 4096");

    Graphics::Surface16 sheet;
    sheet.Create(static_cast<uint32_t>(root->width()), static_cast<uint32_t>(root->height()),
                 false);
    sheet.FillRect(nullptr, 0xFF000000 | 0x0A1020);
    Stage(ui, root);
    renderer.target = &sheet;
    ui.setRedraw();
    ui.draw();
    renderer.target = nullptr;
    if (!Platform::WriteScreenshot(argv[3], sheet.Pixels(), sheet.Width(), sheet.Height(),
                                   sheet.Stride(), error))
        return Fail(error);
    return 0;
}
