// Every widget class a layout can name reads its keys in a fixed order, and its binary form
// gives each read the very value the XML gave: the layout survives the trip XML → binary →
// tree with all its keys.
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
};

TEST_F(WidgetTest, KeysAreReadInOrderAndSurviveTheBinaryForm)
{
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
