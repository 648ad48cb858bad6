// Layout loading: attribute reading, the trees XML layouts describe, the exact binary form, the
// bounded binary reader with its refusals and skips, and XML and binary giving the same trees.
#include "io/FileSystem.h"
#include "io/Utf8.h"
#include "support/TempDir.h"
#include "ui/LayoutLoader.h"
#include "ui/Skin.h"
#include "ui/UISystem.h"
#include "ui/UIXMLParams.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>

using UI::LayoutLoader;
using UI::Window;

namespace {

constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();

const char* const SkinText = R"(<UISystem><UIStyle name="standard">
  <Element name="panel"><State name="default"><Area imageName="skin" dstW="4" dstH="4"/></State></Element>
  <Element name="button"><State name="default"><Area imageName="skin" dstW="2" dstH="2"/></State></Element>
</UIStyle></UISystem>)";

// What a window looks like after loading: its place in the tree, class, keys and element.
struct Shot
{
    int depth = 0;
    std::u16string className;
    std::u16string name;
    std::array<int32_t, 8> numbers; // width, height, x, y, minX, maxX, minY, maxY
    std::array<bool, 8> flags;      // visible, enabled, alwaysOnTop, overlapped, ghost, captured,
                                    // canActivate, clipChildren
    std::optional<std::u16string> element;

    bool operator==(const Shot&) const = default;
};

Shot TakeShot(const Window& w, std::u16string_view className)
{
    Shot shot{0,
              std::u16string(className),
              w.name(),
              {w.width(), w.height(), w.x(), w.y(), w.minX(), w.maxX(), w.minY(), w.maxY()},
              {w.visible(), w.enabled(), w.alwaysOnTop(), w.overlapped(), w.ghost(), w.captured(),
               w.canActivate(), w.clipChildren()},
              std::nullopt};
    for (const Window* p = w.parent(); p; p = p->parent())
        ++shot.depth;
    if (w.element())
        shot.element = w.element()->name;
    return shot;
}

// The tree in pre-order as "class:name", each with a '-' per level of depth.
std::string Outline(const std::vector<Shot>& shots)
{
    std::string outline;
    for (const Shot& shot : shots) {
        outline += (outline.empty() ? "" : " ") + std::string(shot.depth, '-') +
                   IO::Utf16ToUtf8(shot.className + u":" + shot.name);
    }
    return outline;
}

struct Built
{
    std::unique_ptr<Window> top;
    std::vector<Shot> shots; // pre-order, empty when refused
    std::vector<uint8_t> binary;
};

// Builds a binary form word by word; padding is 0xCD, which readers must skip unread.
struct Blob
{
    std::vector<uint8_t> bytes;

    Blob& word(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }
    Blob& window(uint32_t childCount, std::string_view className, uint32_t recordCount)
    {
        word(childCount).word(static_cast<uint32_t>(className.size() + 1));
        bytes.insert(bytes.end(), className.begin(), className.end());
        bytes.push_back(0);
        return pad().word(recordCount);
    }
    Blob& number(uint32_t call, int32_t value)
    {
        return word(call).word(4).word(static_cast<uint32_t>(value));
    }
    Blob& text(uint32_t call, std::u16string_view text) // with its terminating 0
    {
        word(call).word(static_cast<uint32_t>(text.size() + 1) * 2);
        for (char16_t unit : std::u16string(text) + u'\0')
            bytes.insert(bytes.end(), {uint8_t(unit & 0xFF), uint8_t(unit >> 8)});
        return pad();
    }
    Blob& pad()
    {
        while (bytes.size() % 4)
            bytes.push_back(0xCD);
        return *this;
    }
};

// Ordinals of Window's reads under a system: "element", then its seventeen keys.
constexpr uint32_t CallWidth = 1;
constexpr uint32_t CallHeight = 2;
constexpr uint32_t CallName = 13;

class LayoutTest : public ::testing::Test
{
protected:
    Built fromXml(const std::string& text, LayoutLoader::CustomFactory* factory = nullptr)
    {
        return build(factory, [&](LayoutLoader& loader, std::vector<uint8_t>& binary) {
            return loader.load(text.c_str(), &system, binary);
        });
    }
    Built fromBinary(const std::vector<uint8_t>& binary,
                     LayoutLoader::CustomFactory* factory = nullptr)
    {
        return build(factory, [&](LayoutLoader& loader, std::vector<uint8_t>&) {
            return loader.load(std::span<const uint8_t>(binary), &system);
        });
    }

    std::unique_ptr<UI::StyleList> styles = UI::LoadSkin(SkinText);
    UI::UISystem system{nullptr, styles.get()};

private:
    template <class Load>
    Built build(LayoutLoader::CustomFactory* factory, Load load)
    {
        std::vector<std::pair<Window*, std::u16string>> created;
        LayoutLoader loader;
        loader.customFactory = factory;
        loader.created = [&](Window* window, std::u16string_view className) {
            created.emplace_back(window, className);
        };
        Built built;
        built.top = load(loader, built.binary);
        // Windows reported by a refused load are gone: only an accepted tree is looked at.
        for (const auto& [window, className] : created) {
            if (built.top)
                built.shots.push_back(TakeShot(*window, className));
        }
        return built;
    }
};

} // namespace

TEST(UIXMLParamsTest, IntegersFoldEveryUnitAndWrap)
{
    // Absent and "x" give the default; a second '-' folds in as -3, letters as their code
    // less 48, and long numbers wrap in 32 bits.
    const std::pair<const char*, int32_t> cases[] = {{nullptr, -9},
                                                     {"x", -9},
                                                     {"X", 40},
                                                     {"42", 42},
                                                     {"-42", -42},
                                                     {"--5", 25},
                                                     {"1a", 59},
                                                     {"-", 0},
                                                     {"99999999999", 1215752191},
                                                     {"-2147483648", Min32},
                                                     {"4294967295", -1}};
    for (const auto& [value, expected] : cases) {
        UI::UIXMLParams params;
        if (value)
            params.setAttribute("v", value);
        EXPECT_EQ(params.getInt(u"v", -9), expected) << (value ? value : "(absent)");
    }
    // Flags are non-zero for any word.
    for (const char* word : {"true", "false"}) {
        UI::UIXMLParams params;
        params.setAttribute("flag", word);
        EXPECT_NE(params.getInt(u"flag", 0), 0) << word;
    }
}

TEST(UIXMLParamsTest, StoresDecodedAttributesThatHaveANameAndAValue)
{
    UI::UIXMLParams params;
    params.setAttribute("name", "first");
    params.setAttribute("name", "second"); // replaces
    params.setAttribute("empty", "");
    params.setAttribute("", "nameless");
    params.setAttribute("caf\xC3\xA9", "\xE4\xB8\xAD!");
    params.setAttribute("bad", "\xFF\xFE"); // decodes to nothing
    EXPECT_EQ(params.getString(u"name", u"d"), u"second");
    EXPECT_EQ(params.getString(u"empty", u"d"), u"d");
    EXPECT_EQ(params.getString(u"", u"d"), u"d");
    EXPECT_EQ(params.getString(u"caf\u00e9", u"d"), u"\u4e2d!");
    EXPECT_EQ(params.getString(u"bad", u"d"), u"d");
    EXPECT_EQ(params.getString(u"Name", u"d"), u"d"); // keys are case-sensitive
}

TEST_F(LayoutTest, BuildsTheTreeAnXmlLayoutDescribes)
{
    const std::pair<const char*, const char*> cases[] = {
        // layout, outline ("" when refused)
        {R"(<Window name="a"><Window name="b"><Window name="c"/></Window><Window name="d"/></Window>)",
         "Window:a -Window:b --Window:c -Window:d"},
        {R"(<Window><Panel className="Window" name="a" element="panel"/></Window>)",
         "Window: -Window:a"},                  // the class comes from className, not the tag
        {R"(<Panel className="Window"/>)", ""}, // the top is found by its tag
        {R"(<Window className="" name="a"/>)", "Window:a"},
        {R"(<Window name="top"><Button name="b"><Window name="inner"/></Button>)"
         R"(<Window className="Gauge" name="g"/><Window name="sib"/></Window>)",
         "Window:top -Window:sib"},
        {"\xEF\xBB\xBF<Window name=\"bom\"/>", "Window:bom"},
        {R"(<?xml version="1.0"?><!-- c --><Other/><Window name="w"/>)", "Window:w"},
        {"<Window name=\"h&#233;\xE4\xB8\xAD\"/>", "Window:h\xC3\xA9\xE4\xB8\xAD"},
        // A non-ASCII class name cannot turn into a known one in the binary form.
        {"<Window><Window className=\"\xC5\x97indow\" name=\"x\"/><Window name=\"y\"/></Window>",
         "Window: -Window:y"},
        {R"(<Layout><Window/></Layout>)", ""},
        {R"(<Window name="a">)", ""},
        {R"(<Window className="Button"/>)", ""},
        {"", ""}};
    for (const auto& [layout, outline] : cases) {
        SCOPED_TRACE(layout);
        Built xml = fromXml(layout);
        EXPECT_EQ(Outline(xml.shots), outline);
        EXPECT_EQ(xml.top != nullptr, *outline != 0);
        EXPECT_EQ(xml.binary.empty(), !xml.top);
        // The binary form builds the same tree, skipped elements included.
        if (xml.top) {
            EXPECT_EQ(fromBinary(xml.binary).shots, xml.shots);
        }
    }
}

TEST_F(LayoutTest, WindowKeysReadFromXmlAndBinaryAlike)
{
    const std::tuple<const char*, std::function<int64_t(const Window&)>, int64_t> cases[] = {
        {R"(width="x")", &Window::width, 0},
        {R"(maxY="x")", &Window::maxY, Window::DefaultMax},
        {R"(y="1a")", &Window::y, 59},
        {R"(x="100000")", &Window::x, 100000}, // stored unclamped
        {R"(minX="-2147483648")", &Window::minX, Min32},
        {R"(visible="false")", &Window::visible, 1},
        {R"(enabled="0")", &Window::enabled, 0}};
    for (const auto& [attribute, field, expected] : cases) {
        SCOPED_TRACE(attribute);
        Built xml = fromXml(std::string("<Window ") + attribute + "/>");
        ASSERT_TRUE(xml.top);
        EXPECT_EQ(field(*xml.top), expected);
        Built binary = fromBinary(xml.binary);
        ASSERT_TRUE(binary.top);
        EXPECT_EQ(field(*binary.top), expected);
    }
}

TEST_F(LayoutTest, WritesTheExactBinaryForm)
{
    Built built = fromXml(R"(<Window width="100" name="ab"/>)");
    const std::vector<uint8_t> expected = {
        0,  0, 0, 0, 7, 0, 0, 0, 'W', 'i', 'n', 'd', 'o', 'w', 0, 0,  // childCount, class
        2,  0, 0, 0,                                                  // recordCount
        1,  0, 0, 0, 4, 0, 0, 0, 100, 0,   0,   0,                    // width
        13, 0, 0, 0, 6, 0, 0, 0, 'a', 0,   'b', 0,   0,   0,   0, 0}; // name
    EXPECT_EQ(built.binary, expected);

    // A window of defaults keeps no records, and reads back as a plain window.
    Built plain = fromXml("<Window/>");
    std::vector<uint8_t> noRecords(expected.begin(), expected.begin() + 20);
    noRecords[16] = 0; // recordCount
    EXPECT_EQ(plain.binary, noRecords);
    const std::vector<Shot> defaults{TakeShot(Window(nullptr, &system, nullptr), u"Window")};
    EXPECT_EQ(plain.shots, defaults);
    EXPECT_EQ(fromBinary(plain.binary).shots, defaults);
}

namespace {

// Makes windows of the class "Probe" and notes the key "speed" each then reads, after the window
// keys, with the width its parent has by then; "Decline" reads the key, then declines.
struct ProbeFactory : LayoutLoader::CustomFactory
{
    Window* create(std::u16string_view className, Window* parent, UI::UISystem* system,
                   UI::UIParams* params) override
    {
        asked.emplace_back(className);
        Window* window = className == u"Probe" ? new Window(parent, system, params) : nullptr;
        if (window || className == u"Decline")
            notes.emplace_back(params->getInt(u"speed", 3), parent->width());
        return window;
    }
    std::vector<std::u16string> asked;
    std::vector<std::pair<int32_t, int32_t>> notes;
};

} // namespace

TEST_F(LayoutTest, CustomFactoryMakesUnknownClassesAfterTheParentReadItsKeys)
{
    const std::string layout = R"(<Window width="40"><Probe speed="9" name="p"/>)"
                               R"(<Decline speed="8"/><Window name="w"/></Window>)";
    ProbeFactory xmlFactory;
    Built xml = fromXml(layout, &xmlFactory);
    ProbeFactory binaryFactory;
    Built binary = fromBinary(xml.binary, &binaryFactory);
    EXPECT_EQ(Outline(xml.shots), "Window: -Probe:p -Window:w");
    EXPECT_EQ(binary.shots, xml.shots);
    EXPECT_EQ(xmlFactory.notes, (std::vector<std::pair<int32_t, int32_t>>{{9, 40}, {8, 40}}));
    // The declined element's skeleton keeps no records: its read gives the default.
    EXPECT_EQ(binaryFactory.notes, (std::vector<std::pair<int32_t, int32_t>>{{9, 40}, {3, 40}}));
    EXPECT_EQ(binaryFactory.asked, xmlFactory.asked);
    // A reader without the factory skips both and still finds the window after them.
    EXPECT_EQ(Outline(fromBinary(xml.binary).shots), "Window: -Window:w");
}

TEST_F(LayoutTest, RefusesDamagedBinaryForms)
{
    auto chain = [](uint32_t depth) {
        Blob blob;
        for (uint32_t i = 1; i <= depth; ++i)
            blob.window(i < depth ? 1 : 0, "Window", 0);
        return blob.bytes;
    };
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"nothing", {}},
        {"nameSize 0", Blob().word(0).word(0).word(0).word(0).bytes},
        {"nameSize past the end", Blob().word(0).word(100).word(0).word(0).bytes},
        {"name padding missing", Blob().word(0).word(7).bytes},
        {"childCount beyond what is left", Blob().window(0xFFFFFFFF, "Window", 0).bytes},
        {"recordCount beyond what is left", Blob().window(0, "Window", 0x20000000).bytes},
        {"record payload past the end", Blob().window(0, "Window", 1).word(1).word(64).bytes},
        {"depth 257", chain(257)},
        {"truncated inside a skipped subtree",
         Blob().window(1, "Window", 0).window(1, "Button", 0).word(0).word(7).bytes}};
    for (const auto& [label, bytes] : cases)
        EXPECT_EQ(fromBinary(bytes).top, nullptr) << label;
    EXPECT_EQ(fromBinary(chain(256)).shots.size(), 256u);

    // Cut anywhere, a layout is refused.
    Built built = fromXml(R"(<Window width="9" name="top" element="panel"><Window name="a">)"
                          R"(<Window x="3"/></Window><Unknown/><Window name="last"/></Window>)");
    ASSERT_TRUE(built.top);
    for (size_t length = 0; length < built.binary.size(); ++length) {
        const std::vector<uint8_t> cut(built.binary.begin(), built.binary.begin() + length);
        EXPECT_EQ(fromBinary(cut).top, nullptr) << length;
    }
    EXPECT_EQ(fromBinary(built.binary).shots, built.shots);
}

TEST_F(LayoutTest, BinaryReaderSkipsWhatItCannotUse)
{
    struct Case
    {
        const char* label;
        std::vector<uint8_t> bytes;
        std::string outline;
        int32_t width = 0; // of the top window
        int32_t height = 0;
    };
    const Case cases[] = {
        {"integer record of the wrong size",
         Blob().window(0, "Window", 2).word(CallWidth).word(2).word(0).number(CallHeight, 9).bytes,
         "Window:", 0, 9},
        {"text record of an odd size",
         Blob().window(0, "Window", 1).word(CallName).word(3).word(0x610061).bytes, "Window:"},
        {"integer asked where a text was stored",
         Blob().window(0, "Window", 1).text(CallWidth, u"ab").bytes, "Window:"},
        {"text without its terminating zero",
         Blob().window(0, "Window", 1).word(CallName).word(4).word(0x00620061).bytes, "Window:ab"},
        {"records out of order or that no call asks for, before the children",
         Blob()
             .window(1, "Window", 4)
             .number(CallHeight, 7)
             .number(CallWidth, 6)
             .number(100, 1)
             .text(200, u"junk")
             .window(0, "Window", 1)
             .text(CallName, u"child")
             .bytes,
         "Window: -Window:child", 0, 7},
        {"unknown class with its subtree",
         Blob()
             .window(2, "Window", 0)
             .window(1, "Button", 1)
             .number(CallWidth, 3)
             .window(0, "Window", 1)
             .text(CallName, u"inner")
             .window(0, "Window", 1)
             .text(CallName, u"sib")
             .bytes,
         "Window: -Window:sib"},
        {"name without its zero inside nameSize",
         Blob().word(0).word(6).word(0x646E6957).word(0x776F).word(0).bytes, "Window:"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Built built = fromBinary(c.bytes);
        ASSERT_TRUE(built.top);
        EXPECT_EQ(Outline(built.shots), c.outline);
        EXPECT_EQ(built.top->width(), c.width);
        EXPECT_EQ(built.top->height(), c.height);
    }
}

TEST_F(LayoutTest, ShippedAndSeedLayoutsRoundTrip)
{
    const std::filesystem::path root =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    int layouts = 0;
    for (const char* folder : {"assets/XML", "fuzz/corpus/LayoutFuzz"}) {
        for (const auto& entry : std::filesystem::directory_iterator(root / folder)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream in(entry.path(), std::ios::binary);
            Built xml = fromXml({std::istreambuf_iterator<char>(in), {}});
            // Other kinds of XML file (the skin, the catalogues) and the fuzzer's broken inputs
            // are refused; every layout that builds must build the same from its binary form.
            if (!xml.top)
                continue;
            ++layouts;
            EXPECT_EQ(fromBinary(xml.binary).shots, xml.shots);
        }
    }
    EXPECT_GE(layouts, 5);
}

TEST_F(LayoutTest, LoadLayoutReadsFromTheConfigurationFolder)
{
    TempDir dir;
    std::filesystem::create_directory(dir.Root() / "XML");
    std::ofstream(dir.Root() / "XML" / "Test.xml")
        << "\xEF\xBB\xBF<Window name=\"top\" element=\"button\"><Window name=\"c\"/></Window>";
    IO::FileSystem files;
    ASSERT_EQ(files.Mount(dir.Root().u16string() + u"/"), 0);
    IO::DirectoryNode* config = IO::FileSystem::FindDirectory(files.GetRoot(), u"XML");

    std::unique_ptr<Window> top = UI::loadLayout(config, u"Test.xml", &system);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->name(), u"top");
    ASSERT_NE(top->element(), nullptr);
    EXPECT_EQ(top->element()->name, u"button");
    ASSERT_EQ(top->childCount(), 1u);
    EXPECT_EQ(top->childAt(0)->name(), u"c");
    EXPECT_EQ(UI::loadLayout(config, u"Missing.xml", &system), nullptr);
    EXPECT_EQ(UI::loadLayout(nullptr, u"Test.xml", &system), nullptr);
}
