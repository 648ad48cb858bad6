// The skin text: lenient UTF-8 names, numbers read like strtol with base detection, the reader's
// handling of sizes, missing names and refused files, and the state lookup with its fallback.
#include "ui/Skin.h"

#include "ui/Utf8Text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using UI::Element;
using UI::ElementState;
using UI::SizeMode;
namespace StateIndex = UI::StateIndex;

namespace {

constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();
constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();

Element ElementWithStates(std::initializer_list<const char16_t*> names)
{
    Element element;
    element.name = u"e";
    for (const char16_t* name : names)
        element.states.push_back(ElementState{name, {}});
    return element;
}

} // namespace

TEST(Utf8Text, KeepsWellFormedSequencesAndDropsTheRest)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        std::u16string expected;
    };
    // The letters after escapes are past "f", so they do not run into the escape.
    const Case cases[] = {
        {"ascii", "panel", u"panel"},
        {"two bytes", "P\xC3\xA4nel", u"P\u00E4nel"},
        {"three bytes", "\xE4\xB8\xAD", u"\u4E2D"},
        {"byte-order mark is a character", "\xEF\xBB\xBFk", u"\uFEFFk"},
        {"four bytes dropped", "k\xF0\x9F\x98\x80m", u"km"},
        {"five bytes dropped with continuations", "k\xF8\x88\x80\x80\x80m", u"km"},
        {"F0 lead whose continuation is cut", "k\xF0\x9Fm", u"km"},
        {"FF lead", "k\xFFm", u"km"},
        {"lone continuations", "k\x80\xBFm", u"km"},
        {"two-byte lead at the end", "k\xC3", u"k"},
        {"three-byte sequence cut at the end", "k\xE4\xB8", u"k"},
        {"lead cut short by an ascii byte", "\xE4\xB8m", u"m"},
        {"lead followed by a new lead", "\xC3\xC3\xA9", u"\u00E9"},
        {"overlong two bytes", "k\xC0\xAFm", u"km"},
        {"overlong C1", "\xC1\xBF", u""},
        {"overlong three bytes", "\xE0\x80\xAFm", u"m"},
        {"smallest three-byte value", "\xE0\xA0\x80", u"\u0800"},
        {"surrogate", "\xED\xA0\x80m", u"m"},
        {"largest two-byte value", "\xDF\xBF", u"\u07FF"},
        {"largest three-byte value", "\xEF\xBF\xBF", u"\uFFFF"},
        {"embedded zero", std::string("k\0m", 3), std::u16string(u"k\0m", 3)}};
    for (const Case& c : cases)
        EXPECT_EQ(UI::DecodeUtf8(c.bytes), c.expected) << c.what;
}

TEST(Utf8Text, NeverReadsPastTheView)
{
    // The bytes after the view would complete the sequence; they must not be looked at.
    const std::string bytes = "x\xE4\xB8\xAD";
    for (size_t n = 2; n < bytes.size(); ++n)
        EXPECT_EQ(UI::DecodeUtf8(std::string_view(bytes.data(), n)), u"x") << n;
    EXPECT_EQ(UI::DecodeUtf8(std::string_view()), u"");
}

TEST(Skin, NumbersReadLikeStrtolWithBaseDetectionAndSaturate)
{
    struct Case
    {
        const char* text;
        int32_t expected;
    };
    const Case cases[] = {{"12", 12},
                          {"010", 8},
                          {"0x10", 16},
                          {"0X1f", 31},
                          {"-0x10", -16},
                          {"+7", 7},
                          {"  \t12", 12},
                          {"12px", 12},
                          {"09", 0},
                          {"0x", 0},
                          {"0xg", 0},
                          {"0", 0},
                          {"-", 0},
                          {"", 0},
                          {"px", 0},
                          {"--5", 0},
                          {"2147483647", Max32},
                          {"2147483648", Max32},
                          {"99999999999999999999999999", Max32},
                          {"0xFFFFFFFF", Max32},
                          {"-2147483647", -Max32},
                          {"-2147483648", Min32},
                          {"-2147483649", Min32},
                          {"-0x80000000", Min32},
                          {"-077777777777777777777", Min32}};
    for (const Case& c : cases)
        EXPECT_EQ(UI::ParseSkinNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Skin, ReadsStylesElementsStatesAndAreasInFileOrder)
{
    const char* text = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<UISystem>\n"
                       " <UIStyle name=\"St\xC3\xA4ndard\">\n"
                       "  <Element name=\"panel\">\n"
                       "   <State name=\"default\">\n"
                       "    <Area imageName=\"sk&#233;n\" srcX=\"0x10\" srcY=\"010\" srcW=\"*\"\n"
                       "          srcH=\"%5\" dstX=\"1\" dstY=\"-2\" dstW=\"%3\" dstH=\"12\"/>\n"
                       "    <Area/>\n"
                       "    <Area dstW=\"*7\" dstH=\"%\"/>\n"
                       "   </State>\n"
                       "   <State name=\"pressed\"/>\n"
                       "  </Element>\n"
                       "  <Element name=\"button\"/>\n"
                       " </UIStyle>\n"
                       " <UIStyle name=\"second\"/>\n"
                       "</UISystem>\n";
    const auto list = UI::LoadSkin(text);
    ASSERT_EQ(list->styles.size(), 2u);
    EXPECT_EQ(list->styles[0].name, u"St\u00E4ndard");
    EXPECT_EQ(list->styles[1].name, u"second");
    const auto& elements = list->styles[0].elements;
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].name, u"panel");
    EXPECT_EQ(elements[1].name, u"button");
    ASSERT_EQ(elements[0].states.size(), 2u);
    EXPECT_EQ(elements[0].states[1].name, u"pressed");
    const auto& areas = elements[0].states[0].areas;
    ASSERT_EQ(areas.size(), 3u);

    const UI::Area& full = areas[0];
    EXPECT_EQ(full.imageName, u"sk\u00E9n");
    EXPECT_EQ(full.imageIndex, -1);
    EXPECT_EQ(full.srcX, 16);
    EXPECT_EQ(full.srcY, 8);
    EXPECT_EQ(full.srcW, -1);
    EXPECT_EQ(full.srcH, 5);
    EXPECT_EQ(full.dstX, 1);
    EXPECT_EQ(full.dstY, -2);
    EXPECT_EQ(full.dstW, 3);
    EXPECT_EQ(full.dstWMode, SizeMode::Proportional);
    EXPECT_EQ(full.dstH, 12);
    EXPECT_EQ(full.dstHMode, SizeMode::Fixed);

    // Missing attributes: positions and source sizes read 0, destination sizes are natural.
    const UI::Area& empty = areas[1];
    EXPECT_EQ(empty.imageName, u"");
    EXPECT_EQ(empty.srcX + empty.srcY + empty.dstX + empty.dstY, 0);
    EXPECT_EQ(empty.srcW, 0);
    EXPECT_EQ(empty.srcH, 0);
    EXPECT_EQ(empty.dstW, -1);
    EXPECT_EQ(empty.dstWMode, SizeMode::Natural);
    EXPECT_EQ(empty.dstHMode, SizeMode::Natural);

    // The mode is chosen by the first character alone.
    EXPECT_EQ(areas[2].dstW, -1);
    EXPECT_EQ(areas[2].dstWMode, SizeMode::Natural);
    EXPECT_EQ(areas[2].dstH, 0);
    EXPECT_EQ(areas[2].dstHMode, SizeMode::Proportional);
}

TEST(Skin, DropsNamelessNodesWithEverythingInside)
{
    const char* text = "<UISystem>"
                       " <UIStyle><Element name=\"lost\"/></UIStyle>"
                       " <UIStyle name=\"s\">"
                       "  <Element><State name=\"lost\"/></Element>"
                       "  <Element name=\"kept\">"
                       "   <State><Area imageName=\"lost\"/></State>"
                       "   <State name=\"\"><Area imageName=\"kept\"/></State>"
                       "   <Other name=\"ignored\"/>"
                       "  </Element>"
                       " </UIStyle>"
                       "</UISystem>";
    const auto list = UI::LoadSkin(text);
    ASSERT_EQ(list->styles.size(), 1u);
    ASSERT_EQ(list->styles[0].elements.size(), 1u);
    const Element& kept = list->styles[0].elements[0];
    EXPECT_EQ(kept.name, u"kept");
    // An empty name is still a name.
    ASSERT_EQ(kept.states.size(), 1u);
    EXPECT_EQ(kept.states[0].name, u"");
    ASSERT_EQ(kept.states[0].areas.size(), 1u);
    EXPECT_EQ(kept.states[0].areas[0].imageName, u"kept");
}

TEST(Skin, RefusedTextsGiveAnEmptyList)
{
    const char* cases[] = {nullptr,
                           "",
                           "   ",
                           "<UISystem><UIStyle name=\"s\"></UISystem>",
                           "<UISystem><UIStyle name=\"s\"/>",
                           "<Skin><UISystem><UIStyle name=\"s\"/></UISystem></Skin>",
                           "<Window><UIStyle name=\"s\"/></Window>",
                           "<uisystem><UIStyle name=\"s\"/></uisystem>"};
    for (const char* text : cases) {
        const auto list = UI::LoadSkin(text);
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->styles.empty()) << (text ? text : "(null)");
    }
    // The same style under the right root is read, so the refusals above are the root's doing.
    EXPECT_EQ(UI::LoadSkin("<UISystem><UIStyle name=\"s\"/></UISystem>")->styles.size(), 1u);
}

TEST(Skin, StateLookupFindsStandardNamesAndFallsBackToDefault)
{
    struct Case
    {
        const char* what;
        std::initializer_list<const char16_t*> states;
        int index;
        int expected; // position of the state returned, -1 for none
    };
    const Case cases[] = {
        {"found", {u"default", u"active", u"disabled", u"pressed"}, StateIndex::Pressed, 3},
        {"missing falls back to default", {u"default", u"pressed"}, StateIndex::Disabled, 0},
        {"default found wherever it is", {u"pressed", u"default"}, StateIndex::Active, 1},
        {"without default, the first", {u"pressed", u"idle"}, StateIndex::Disabled, 0},
        {"only a non-standard state", {u"idle"}, StateIndex::Default, 0},
        {"only a non-standard state, any index", {u"idle"}, StateIndex::Pressed, 0},
        {"names are case-sensitive", {u"Default", u"PRESSED"}, StateIndex::Pressed, 0},
        {"the first of two equal names", {u"x", u"pressed", u"pressed"}, StateIndex::Pressed, 1},
        {"no states", {}, StateIndex::Default, -1},
        {"index below range", {u"default"}, -1, -1},
        {"index past range", {u"default"}, StateIndex::Count, -1}};
    for (const Case& c : cases) {
        Element element = ElementWithStates(c.states);
        const ElementState* expected =
            c.expected < 0 ? nullptr : &element.states[static_cast<size_t>(c.expected)];
        EXPECT_EQ(element.state(c.index), expected) << c.what;
        // A second lookup gives the same answer.
        EXPECT_EQ(element.state(c.index), expected) << c.what << ", again";
    }
}

TEST(Skin, FoundStatesAreCachedButAFallbackIsSearchedAgain)
{
    Element element = ElementWithStates({u"pressed", u"default"});
    EXPECT_EQ(element.state(StateIndex::Pressed), &element.states[0]);
    EXPECT_EQ(element.stateCache[StateIndex::Pressed], 0);
    // The cache decides once set: a renamed state is still the one returned.
    element.states[0].name = u"renamed";
    EXPECT_EQ(element.state(StateIndex::Pressed), &element.states[0]);

    EXPECT_EQ(element.state(StateIndex::Disabled), &element.states[1]);
    EXPECT_EQ(element.stateCache[StateIndex::Disabled], -1);
    EXPECT_EQ(element.stateCache[StateIndex::Default], 1);
    // Searched again: a "disabled" state that appears later is found.
    element.states.push_back(ElementState{u"disabled", {}});
    EXPECT_EQ(element.state(StateIndex::Disabled), &element.states[2]);
    EXPECT_EQ(element.stateCache[StateIndex::Disabled], 2);

    // A cached position past the end gives nothing rather than reading beyond the list.
    element.stateCache[StateIndex::Active] = 9;
    EXPECT_EQ(element.state(StateIndex::Active), nullptr);
}

TEST(Skin, StateAtCountsInFileOrder)
{
    Element element = ElementWithStates({u"pressed", u"default"});
    EXPECT_EQ(element.stateAt(0), &element.states[0]);
    EXPECT_EQ(element.stateAt(1), &element.states[1]);
    EXPECT_EQ(element.stateAt(2), nullptr);
    EXPECT_EQ(ElementWithStates({}).stateAt(0), nullptr);
}
