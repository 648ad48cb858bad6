// Every widget class a layout can name (each one is listed) reads its keys in a fixed order, and
// its binary form gives each read the very value the XML gave: the layout survives the trip XML →
// binary → tree with all its keys.
#include "WidgetFixture.h"
#include "io/Utf8.h"
#include "ui/LayoutLoader.h"
#include "ui/UIBinaryParams.h"
#include "ui/UIXMLParamsBinary.h"

#include <set>

namespace {

// Passes reads on and notes each as "key=value".
class ReadLog final : public UI::UIParams
{
public:
    explicit ReadLog(UI::UIParams& inner) : m_inner(inner) {}

    std::u16string getString(std::u16string_view key, std::u16string_view defaultValue) override
    {
        std::u16string value = m_inner.getString(key, defaultValue);
        reads.push_back(IO::Utf16ToUtf8(key) + "=" + IO::Utf16ToUtf8(value));
        keys.push_back(IO::Utf16ToUtf8(key));
        return value;
    }
    int32_t getInt(std::u16string_view key, int32_t defaultValue) override
    {
        const int32_t value = m_inner.getInt(key, defaultValue);
        reads.push_back(IO::Utf16ToUtf8(key) + "=" + std::to_string(value));
        keys.push_back(IO::Utf16ToUtf8(key));
        return value;
    }

    std::vector<std::string> reads;
    std::vector<std::string> keys;

private:
    UI::UIParams& m_inner;
};

// The keys every window reads, and "element" read first by the layout constructor form.
const std::set<std::string> WindowKeys = {
    "element", "width",       "height",     "x",        "y",           "visible",
    "enabled", "alwaysOnTop", "overlapped", "minX",     "maxX",        "minY",
    "maxY",    "name",        "ghost",      "captured", "canActivate", "clipChildren"};

struct Case
{
    const char* className;
    // The widget's own keys in the order it reads them, each set in the layout.
    std::vector<std::pair<const char*, const char*>> keys;
};

using Keys = std::vector<std::pair<const char*, const char*>>;

const Keys ScrollerKeys = {{"scrollerThumbDeltaYU", "9"},
                           {"scrollerThumbDeltaYD", "8"},
                           {"scrollerButtonDeltaYU", "1"},
                           {"scrollerButtonDeltaYD", "2"},
                           {"scrollerButtonHeight", "7"},
                           {"scrollerButtonWidth", "12"},
                           {"thumbWidth", "11"},
                           {"thumbHeight", "6"},
                           {"scrollerThumbElement", "thumb"},
                           {"scrollerButtonUpElement", "ScrollArrowDown"},
                           {"scrollerButtonDownElement", "ScrollArrowUp"}};

// The list box's own keys, then its scroller's from the same layout element.
const Keys ListBoxKeys = [] {
    Keys keys = {{"listboxFont", "ui"},
                 {"fontFlags", "2"},
                 {"scrollerWidth", "17"},
                 {"listboxItemHeight", "14"},
                 {"listboxElementDeltaY", "5"},
                 {"listboxBorder", "2"},
                 {"listboxScrollerElement", "track"},
                 {"listboxListbaseElement", "well"},
                 {"listboxSelectionElement", "cell"}};
    keys.insert(keys.end(), ScrollerKeys.begin(), ScrollerKeys.end());
    return keys;
}();

const Case Cases[] = {
    {"FixedButton",
     {{"font", "ui"},
      {"fontFlags", "9"},
      {"textDeltaX", "-3"},
      {"textDeltaY", "4"},
      {"text", "Go"}}},
    {"CheckButton",
     {{"font", "ui"},
      {"fontFlags", "0"},
      {"textDeltaX", "1"},
      {"textDeltaY", "2"},
      {"text", "On"},
      {"checkElement", "well"}}},
    {"Label",
     {{"font", "ui"},
      {"fontFlags", "8"},
      {"text", "@Str_Ok"},
      {"align", "right"},
      {"valign", "bottom"}}},
    {"StaticImage", {{"src", "nothing"}}},
    {"Animation", {{"tickHeight", "25"}, {"apt", "3"}, {"src", "nothing"}}},
    {"SimpleWindow", {}},
    {"Window", {}},
    {"Slider",
     {{"sliderDeltaX", "4"},
      {"sliderDeltaY", "2"},
      {"sliderDirection", "1"},
      {"sliderStepSize", "5"},
      {"sliderProgressElement", "well"}}},
    {"Thumb", {}},
    {"Scroller", ScrollerKeys},
    {"ListBox", ListBoxKeys},
    {"TextBox",
     {{"listboxFont", "ui"},
      {"scrollerWidth", "15"},
      {"listboxElementDeltaY", "4"},
      {"listboxBorder", "2"},
      {"textboxLeftMargin", "3"},
      {"textboxRightMargin", "4"},
      {"textboxTopMargin", "5"},
      {"textboxBottomMargin", "6"},
      {"listboxScrollerElement", "track"},
      {"listboxListbaseElement", "well"}}},
    {"ListView",
     {{"listviewFont", "ui"},
      {"scrollerWidth", "15"},
      {"listboxItemHeight", "12"},
      {"listboxElementDeltaY", "2"},
      {"listboxBorder", "0"},
      {"separatorWidth", "3"},
      {"head", "1"},
      {"listboxScrollerElement", "track"},
      {"listboxListbaseElement", "well"},
      {"headElement", "head"},
      {"separatorElement", "separator"},
      {"listviewSelectionElement", "selection"}}},
    {"Edit",
     {{"font", "ui"},
      {"fontFlags", "2"},
      {"border", "3"},
      {"editTextDeltaX", "4"},
      {"editTextDeltaY", "5"},
      {"text", "abc"},
      {"maxLength", "8"}}},
    {"Keyboard",
     {{"kbdKeyWidth", "18"},
      {"kbdKeyHeight", "16"},
      {"kbdButtons", "b"},
      {"kbdKeys", "k"},
      {"kbdKey1", "h"},
      {"kbdKey1", "h"},
      {"kbdKey1", "h"},
      {"kbdKey1", "h"}}},
    {"Spin",
     {{"spinButtonDeltaY", "3"},
      {"spinButtonWidth", "13"},
      {"spinButtonHeight", "9"},
      {"spinButtonUpElement", "ScrollArrowDown"},
      {"spinButtonDownElement", "ScrollArrowUp"}}},
    {"SpinEdit",
     {{"spineditDeltaX", "2"},
      {"spineditEditElement", "edit"},
      {"spineditSpinElement", "well"},
      {"spinWidth", "17"}}},
    {"ComboBox",
     {{"comboboxButtonHeight", "20"},
      {"comboboxButtonWidth", "16"},
      {"comboboxButtonDeltaX", "1"},
      {"comboboxButtonDeltaY", "3"},
      {"comboboxListboxElement", "well"},
      {"comboboxEditElement", "edit"},
      {"comboboxButtonElement", "button"}}},
    {"ImageList",
     {{"imageListImage", "cells"},
      {"imageListImageH", "10"},
      {"imageListBorderT", "1"},
      {"imageListBorderB", "2"},
      {"imageListBorderL", "3"},
      {"imageListBorderR", "4"},
      {"imageListSelectionType", "1"},
      {"imageListSelectionDX", "-1"},
      {"imageListSelectionDY", "-2"},
      {"imageListFixedDX", "5"},
      {"imageListFixedDY", "6"},
      {"imageListSelectionW", "12"},
      {"imageListSelectionH", "13"},
      {"imageListSelectionElement", "frame"}}},
};

TEST_F(WidgetTest, KeysAreReadInOrderAndSurviveTheBinaryForm)
{
    std::set<std::u16string> listed;
    for (const Case& c : Cases) {
        std::u16string name;
        IO::Utf8ToUtf16(c.className, name);
        listed.insert(name);
    }
    for (std::u16string_view name : UI::WidgetClassNames())
        EXPECT_TRUE(listed.contains(std::u16string(name))) << IO::Utf16ToUtf8(name);

    for (const Case& c : Cases) {
        SCOPED_TRACE(c.className);
        std::u16string className;
        ASSERT_TRUE(IO::Utf8ToUtf16(c.className, className));

        std::vector<uint8_t> binary;
        UI::UIXMLParamsBinary::appendU32(binary, 0);
        UI::UIXMLParamsBinary xml(binary);
        // Window keys too, away from their defaults, and an element.
        for (const auto& [key, value] : c.keys)
            xml.setAttribute(key, value);
        xml.setAttribute("element", "panel");
        xml.setAttribute("x", "7");
        xml.setAttribute("width", "61");
        xml.setAttribute("name", "w");
        ReadLog fromXml(xml);
        std::unique_ptr<UI::Window> made(
            UI::CreateWidget(className, nullptr, system.get(), &fromXml));
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->width(), 61) << "the layout's size beats the widget's default";
        for (int i = 0; i < 4; ++i)
            binary[i] = static_cast<uint8_t>(xml.recordCount() >> (8 * i));

        size_t position = 0;
        UI::UIBinaryParams stored(binary, position);
        ASSERT_TRUE(stored.valid());
        ReadLog fromBinary(stored);
        std::unique_ptr<UI::Window> copy(
            UI::CreateWidget(className, nullptr, system.get(), &fromBinary));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(fromBinary.reads, fromXml.reads);
        EXPECT_EQ(stored.consumed(), stored.recordCount()) << "every record is asked for";

        std::vector<std::string> own;
        for (const std::string& key : fromXml.keys) {
            if (!WindowKeys.contains(key))
                own.push_back(key);
        }
        std::vector<std::string> expected;
        for (const auto& [key, value] : c.keys)
            expected.push_back(key);
        EXPECT_EQ(own, expected);
        EXPECT_EQ(fromXml.keys.front(), "element");
    }
}

} // namespace
