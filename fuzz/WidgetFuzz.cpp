// Fuzz target of the widgets: every class a layout can name is built with keys the input
// chooses (defaults, 0, negative, huge, arbitrary numbers; texts with carets, line feeds,
// lone surrogates and string keys; known and unknown element, image and font names), then
// driven by a script from the rest of the input: stylus strokes anywhere, keys 0-255,
// updates, draws, resizes, enabling and hiding, and each widget's own operations with any
// index or value, NaN included. After every step the selections must lie in -1..count - 1 and
// the sliders in 0..1.
#include "graphics/BitmapFont.h"
#include "graphics/Surface16.h"
#include "ui/Animation.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/ImageList.h"
#include "ui/LayoutLoader.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/Scroller.h"
#include "ui/Skin.h"
#include "ui/Slider.h"
#include "ui/SpinEdit.h"
#include "ui/StaticImage.h"
#include "ui/SurfaceRenderer.h"
#include "ui/TextBox.h"
#include "ui/UIParams.h"
#include "ui/UISystem.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

// The input, read front to back; past its end every read gives 0.
class Input
{
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool done() const { return m_position >= m_size; }
    uint8_t byte() { return done() ? 0 : m_data[m_position++]; }
    int32_t i32()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= uint32_t{byte()} << (8 * i);
        return static_cast<int32_t>(value);
    }
    float f32()
    {
        const uint32_t bits = static_cast<uint32_t>(i32());
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

// Names the skin, the renderer's images and its font know, and some they do not.
const char16_t* const Names[] = {
    u"panel", u"button",          u"selection", u"ScrollArrowUp", u"ScrollArrowDown", u"cells",
    u"strip", u"KeyboardButtons", u"Key1",      u"font",          u"unknown",         u""};

std::u16string Text(Input& in)
{
    std::u16string text;
    const size_t length = in.byte() % 24;
    const char16_t specials[] = {u'^', u'\n', u'@', 0xD800, 0xDC00, u' ', u'*', 0xFFFF};
    for (size_t i = 0; i < length; ++i) {
        const uint8_t b = in.byte();
        text += b < 64 ? specials[b % std::size(specials)] : static_cast<char16_t>(b);
    }
    return text;
}

// Layout keys chosen by the input, read in whatever order the widgets ask for them.
class FuzzParams final : public UI::UIParams
{
public:
    explicit FuzzParams(Input& in) : m_in(in) {}

    int32_t getInt(std::u16string_view, int32_t defaultValue) override
    {
        switch (m_in.byte() % 7) {
        case 0:
            return defaultValue;
        case 1:
            return 0;
        case 2:
            return -static_cast<int32_t>(m_in.byte());
        case 3:
            return std::numeric_limits<int32_t>::max();
        case 4:
            return std::numeric_limits<int32_t>::min();
        case 5:
            return m_in.i32();
        default:
            return m_in.byte();
        }
    }
    std::u16string getString(std::u16string_view, std::u16string_view defaultValue) override
    {
        switch (m_in.byte() % 4) {
        case 0:
            return std::u16string(defaultValue);
        case 1:
            return Names[m_in.byte() % std::size(Names)];
        case 2:
            return u"@" + Text(m_in);
        default:
            return Text(m_in);
        }
    }

private:
    Input& m_in;
};

const char* const SkinText =
    R"(<UISystem><UIStyle name="s">)"
    R"(<Element name="panel"><State name="default"><Area imageName="cells" srcW="4" srcH="4" dstW="%1" dstH="%1"/></State>)"
    R"(<State name="disabled"><Area imageName="cells" srcY="4" srcW="4" srcH="4" dstW="%1" dstH="%1"/></State></Element>)"
    R"(<Element name="button"><State name="default"><Area imageName="strip" dstW="*" dstH="%1"/>)"
    R"(<Area imageName="strip" dstX="1" dstW="%2" dstH="%1"/></State>)"
    R"(<State name="pressed"><Area imageName="cells" dstW="%1" dstH="%1"/></State></Element>)"
    R"(<Element name="selection"><State name="default"><Area imageName="cells" srcW="2" srcH="2" dstW="%1" dstH="%1"/></State></Element>)"
    R"(<Element name="ScrollArrowUp"><State name="default"><Area imageName="strip" dstW="%1" dstH="%1"/></State></Element>)"
    R"(<Element name="ScrollArrowDown"><State name="default"><Area imageName="strip" dstW="%1" dstH="%1"/></State></Element>)"
    R"(</UIStyle></UISystem>)";

std::unique_ptr<Graphics::Surface16> Image(uint32_t width, uint32_t height, bool alpha)
{
    auto image = std::make_unique<Graphics::Surface16>();
    image->Create(width, height, alpha);
    for (uint32_t i = 0; i < width * height; ++i) {
        image->Pixels()[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
        if (alpha)
            image->Alpha()[i] = static_cast<uint8_t>(i * 37);
    }
    return image;
}

// A font of the 95 printable ASCII characters, 4 pixels wide each, 8 high.
std::unique_ptr<Utils::BitmapFont> Font()
{
    std::vector<uint8_t> fnt;
    auto u16 = [&fnt](uint32_t v) {
        fnt.push_back(static_cast<uint8_t>(v));
        fnt.push_back(static_cast<uint8_t>(v >> 8));
    };
    u16(1); // one range: glyphs 0..94 for characters 32..126
    u16(0);
    u16(95);
    u16(32);
    u16(95);
    for (uint32_t i = 0; i < 95; ++i) {
        u16(i * 4);
        u16(i * 4 + 4);
    }
    u16(0); // no kerning
    u16(0);
    u16(0);
    u16(1); // spacing, top, line height
    u16(7);
    u16(8);
    auto font = std::make_unique<Utils::BitmapFont>();
    if (!font->Load(fnt, Image(380, 8, true)))
        __builtin_trap();
    return font;
}

// The selection of every widget that has one lies in -1..count - 1, and sliders in 0..1.
void CheckInvariants(const std::vector<UI::Window::Ref>& widgets)
{
    auto within = [](int32_t selected, int32_t count) {
        if (selected < -1 || selected >= std::max(count, 0))
            __builtin_trap();
    };
    for (const UI::Window::Ref& ref : widgets) {
        UI::Window* w = ref.get();
        if (auto* list = dynamic_cast<UI::ListBox*>(w))
            within(list->selected(), list->itemCount());
        if (auto* view = dynamic_cast<UI::ListView*>(w))
            within(view->selected(), view->rowCount());
        if (auto* spin = dynamic_cast<UI::SpinEdit*>(w))
            within(spin->selected(), static_cast<int32_t>(spin->values().size()));
        if (auto* images = dynamic_cast<UI::ImageList*>(w))
            within(images->selected(), images->cellCount());
        if (auto* combo = dynamic_cast<UI::ComboBox*>(w))
            within(combo->selected(), combo->list()->itemCount());
        if (auto* slider = dynamic_cast<UI::Slider*>(w)) {
            if (!(slider->value() >= 0.0f && slider->value() <= 1.0f))
                __builtin_trap();
        }
        if (auto* scroller = dynamic_cast<UI::Scroller*>(w)) {
            if (!(scroller->position() >= 0.0f && scroller->position() <= 1.0f))
                __builtin_trap();
        }
    }
}

// One widget operation, chosen by the input, with any index or value.
void Operate(UI::Window* w, Input& in)
{
    const int32_t index = static_cast<int8_t>(in.byte());
    if (auto* list = dynamic_cast<UI::ListBox*>(w)) {
        switch (in.byte() % 4) {
        case 0:
            list->addItem(Text(in));
            break;
        case 1:
            list->removeItem(index);
            break;
        case 2:
            list->setSelection(index);
            break;
        default:
            list->removeAllItems();
        }
    } else if (auto* view = dynamic_cast<UI::ListView*>(w)) {
        switch (in.byte() % 5) {
        case 0:
            view->addColumn(Text(in), index);
            break;
        case 1:
            view->setItemText(view->addRow(Text(in)), index, Text(in));
            break;
        case 2:
            view->removeRow(index);
            break;
        case 3:
            view->setItemText(index, in.byte() % 4, Text(in));
            break;
        default:
            view->setSelection(index);
        }
    } else if (auto* combo = dynamic_cast<UI::ComboBox*>(w)) {
        switch (in.byte() % 3) {
        case 0:
            combo->addItem(Text(in));
            break;
        case 1:
            combo->select(index);
            break;
        default:
            combo->setListOpen(index & 1);
        }
    } else if (auto* spin = dynamic_cast<UI::SpinEdit*>(w)) {
        switch (in.byte() % 5) {
        case 0:
            spin->addValue(Text(in));
            break;
        case 1:
            spin->removeValue(index);
            break;
        case 2:
            spin->select(index);
            break;
        case 3:
            spin->stepUp();
            break;
        default:
            spin->stepDown();
        }
    } else if (auto* slider = dynamic_cast<UI::Slider*>(w)) {
        slider->setValue(index & 1 ? std::nanf("") : in.f32());
    } else if (auto* scroller = dynamic_cast<UI::Scroller*>(w)) {
        if (index & 1)
            scroller->setPosition(in.f32());
        else
            scroller->setPositionIndex(static_cast<int8_t>(in.byte()), index);
    } else if (auto* images = dynamic_cast<UI::ImageList*>(w)) {
        if (index & 1)
            images->setSelection(static_cast<int8_t>(in.byte()));
        else
            images->setFirstVisible(static_cast<int8_t>(in.byte()));
    } else if (auto* edit = dynamic_cast<UI::Edit*>(w)) {
        edit->setText(Text(in));
        edit->setPassword(index & 1);
        edit->setReadOnly(index & 2);
        edit->setMaxLength(index >> 2);
    } else if (auto* text = dynamic_cast<UI::TextBox*>(w)) {
        text->setText(Text(in));
    } else if (auto* animation = dynamic_cast<UI::Animation*>(w)) {
        animation->setAnimation(Names[in.byte() % std::size(Names)], index, in.byte() - 8);
    } else if (auto* image = dynamic_cast<UI::StaticImage*>(w)) {
        image->setImage(Names[in.byte() % std::size(Names)], index & 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::unique_ptr<UI::StyleList> styles = UI::LoadSkin(SkinText);
    Input in(data, size);
    UI::SurfaceRenderer renderer;
    renderer.addImage(Image(8, 40, false), u"cells");
    renderer.addImage(Image(6, 17, true), u"strip");
    renderer.addImage(Image(228, 68, false), u"KeyboardButtons");
    renderer.addImage(Image(19, 17, true), u"Key1");
    renderer.addFont(Font(), u"font");
    Graphics::Surface16 frame;
    frame.Create(240, 320, false);
    renderer.target = &frame;
    UI::UISystem system(&renderer, styles.get());
    auto* root = new UI::Window(nullptr, &system);
    root->setSize(240, 320);
    system.setRoot(root); // the system destroys it

    // Every class once, some nested in the one before; keys from the input.
    std::vector<UI::Window::Ref> widgets;
    FuzzParams params(in);
    UI::Window* parent = root;
    for (std::u16string_view className : UI::WidgetClassNames()) {
        UI::Window* made = UI::CreateWidget(className, parent, &system, &params);
        if (!made)
            __builtin_trap();
        widgets.emplace_back(made);
        parent = in.byte() % 4 == 0 ? made : root;
    }
    CheckInvariants(widgets);

    for (int step = 0; step < 256 && !in.done(); ++step) {
        const int32_t x = static_cast<int16_t>(in.i32() % 400);
        const int32_t y = static_cast<int16_t>(in.i32() % 500);
        UI::Window* target = widgets[in.byte() % widgets.size()].get();
        switch (in.byte() % 12) {
        case 0:
            system.stylusDown(x, y);
            break;
        case 1:
            system.stylusMove(x, y);
            break;
        case 2:
            system.stylusUp(x, y);
            break;
        case 3:
            system.keyDown(in.byte());
            break;
        case 4:
            system.update();
            break;
        case 5:
            system.setRedraw();
            system.draw();
            break;
        case 6:
            if (target)
                target->setSize(x, y);
            break;
        case 7:
            if (target)
                target->setEnabled(!target->enabled());
            break;
        case 8:
            if (target)
                target->setVisible(!target->visible());
            break;
        case 9:
            if (target)
                system.setFocus(target);
            break;
        case 10:
            if (target && target != root && in.byte() % 8 == 0)
                delete target;
            break;
        default:
            if (target)
                Operate(target, in);
        }
        CheckInvariants(widgets);
    }
    system.setRedraw();
    system.draw();
    return 0;
}
