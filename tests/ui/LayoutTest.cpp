// Layout loading: attribute reading, the trees XML layouts describe, the exact binary form, the
// bounded binary reader with its refusals and skips, and XML and binary giving the same trees.
#include "io/FileSystem.h"
#include "support/TempDir.h"
#include "ui/LayoutLoader.h"
#include "ui/Skin.h"
#include "ui/UISystem.h"
#include "ui/UIXMLParams.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>

using UI::LayoutLoader;
using UI::Window;

namespace {

const char* const SkinText = R"(<UISystem><UIStyle name="standard">
  <Element name="panel"><State name="default"><Area imageName="skin" dstW="4" dstH="4"/></State></Element>
  <Element name="button"><State name="default"><Area imageName="skin" dstW="2" dstH="2"/></State></Element>
</UIStyle></UISystem>)";

// What a window looks like after loading: its place, class, the seventeen keys and element.
struct Shot
{
    int depth = 0;
    std::u16string className;
    int32_t width = 0, height = 0, x = 0, y = 0;
    bool visible = false, enabled = false, alwaysOnTop = false, overlapped = false;
    int32_t minX = 0, maxX = 0, minY = 0, maxY = 0;
    std::u16string name;
    bool ghost = false, captured = false, canActivate = false, clipChildren = false;
    std::optional<std::u16string> element;

    bool operator==(const Shot&) const = default;
};

Shot TakeShot(const Window& w, std::u16string_view className)
{
    int depth = 0;
    for (const Window* p = w.parent(); p; p = p->parent())
        ++depth;
    std::optional<std::u16string> element;
    if (w.element())
        element = w.element()->name;
    return {depth,
            std::u16string(className),
            w.width(),
            w.height(),
            w.x(),
            w.y(),
            w.visible(),
            w.enabled(),
            w.alwaysOnTop(),
            w.overlapped(),
            w.minX(),
            w.maxX(),
            w.minY(),
            w.maxY(),
            w.name(),
            w.ghost(),
            w.captured(),
            w.canActivate(),
            w.clipChildren(),
            element};
}

struct Built
{
    std::unique_ptr<Window> top;
    std::vector<Shot> shots; // pre-order, empty when refused
    std::vector<uint8_t> binary;
};

// Builds a binary form word by word.
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
        pad();
        return word(recordCount);
    }
    Blob& intRecord(uint32_t call, int32_t value)
    {
        return word(call).word(4).word(static_cast<uint32_t>(value));
    }
    Blob& textRecord(uint32_t call, std::u16string_view text, bool terminated = true)
    {
        word(call).word(static_cast<uint32_t>((text.size() + (terminated ? 1 : 0)) * 2));
        for (char16_t unit : text) {
            bytes.push_back(static_cast<uint8_t>(unit));
            bytes.push_back(static_cast<uint8_t>(unit >> 8));
        }
        if (terminated)
            bytes.insert(bytes.end(), {0, 0});
        pad();
        return *this;
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
        Built built;
        LayoutLoader loader = makeLoader(factory);
        built.top = loader.load(text.c_str(), &system, built.binary);
        finish(built);
        return built;
    }

    Built fromBinary(const std::vector<uint8_t>& binary,
                     LayoutLoader::CustomFactory* factory = nullptr)
    {
        Built built;
        LayoutLoader loader = makeLoader(factory);
        built.top = loader.load(std::span<const uint8_t>(binary), &system);
        finish(built);
        return built;
    }

    std::unique_ptr<UI::StyleList> styles = UI::LoadSkin(SkinText);
    UI::UISystem system{nullptr, styles.get()};

private:
    LayoutLoader makeLoader(LayoutLoader::CustomFactory* factory)
    {
        m_created.clear();
        LayoutLoader loader;
        loader.customFactory = factory;
        loader.created = [this](Window* window, std::u16string_view className) {
            m_created.emplace_back(window, std::u16string(className));
        };
        return loader;
    }
    // Windows reported by a refused load are gone: only an accepted tree is looked at.
    void finish(Built& built)
    {
        if (built.top) {
            for (const auto& [window, className] : m_created)
                built.shots.push_back(TakeShot(*window, className));
        }
    }

    std::vector<std::pair<Window*, std::u16string>> m_created;
};

// The pre-order list of depth, class and name of a tree.
struct Line
{
    int depth;
    std::u16string className;
    std::u16string name;
    bool operator==(const Line&) const = default;
};

void PrintTo(const Line& line, std::ostream* out)
{
    *out << line.depth << ':' << std::string(line.className.begin(), line.className.end()) << ':'
         << std::string(line.name.begin(), line.name.end());
}

std::vector<Line> Lines(const std::vector<Shot>& shots)
{
    std::vector<Line> lines;
    for (const Shot& shot : shots)
        lines.push_back({shot.depth, shot.className, shot.name});
    return lines;
}

std::filesystem::path SourceRoot()
{
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST(UIXMLParamsTest, IntegersFoldEveryUnitAndWrap)
{
    struct Case
    {
        const char* value; // null: no attribute
        int32_t expected;
    };
    const Case cases[] = {
        {nullptr, -9}, // absent: the default
        {"x", -9},     // "x" counts as absent
        {"X", 40},     // only the lower-case letter does
        {"42", 42},    //
        {"-42", -42},  //
        {"--5", 25},   // the second '-' folds as -3
        {"1a", 59},    // trailing letters fold in too
        {"-", 0},      //
        {"99999999999", 1215752191},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"4294967295", -1},
    };
    for (const Case& c : cases) {
        UI::UIXMLParams params;
        if (c.value)
            params.setAttribute("v", c.value);
        EXPECT_EQ(params.getInt(u"v", -9), c.expected) << (c.value ? c.value : "(absent)");
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
    struct Case
    {
        const char* label;
        std::string xml;
        std::vector<Line> expected; // empty: refused
    };
    const Case cases[] = {
        {"nested",
         R"(<Window name="a"><Window name="b"><Window name="c"/></Window><Window name="d"/></Window>)",
         {{0, u"Window", u"a"}, {1, u"Window", u"b"}, {2, u"Window", u"c"}, {1, u"Window", u"d"}}},
        {"class from className",
         R"(<Window><Panel className="Window" name="a"/></Window>)",
         {{0, u"Window", u""}, {1, u"Window", u"a"}}},
        {"the top is found by its tag", R"(<Panel className="Window"/>)", {}},
        {"empty className counts as absent",
         R"(<Window className="" name="a"/>)",
         {{0, u"Window", u"a"}}},
        {"unknown subtree skipped, siblings made",
         R"(<Window name="top"><Button name="b"><Window name="inner"/></Button>)"
         R"(<Window className="Gauge" name="g"/><Window name="sib"/></Window>)",
         {{0, u"Window", u"top"}, {1, u"Window", u"sib"}}},
        {"byte-order mark", "\xEF\xBB\xBF<Window name=\"bom\"/>", {{0, u"Window", u"bom"}}},
        {"first top-level Window",
         R"(<?xml version="1.0"?><!-- c --><Other/><Window name="w"/>)",
         {{0, u"Window", u"w"}}},
        {"UTF-8 names and references",
         "<Window name=\"h&#233;\xE4\xB8\xAD\"/>",
         {{0, u"Window", u"h\u00e9\u4e2d"}}},
        {"non-ASCII class name cannot become a known one in the binary form",
         "<Window><Window className=\"\xC5\x97indow\" name=\"x\"/><Window name=\"y\"/></Window>",
         {{0, u"Window", u""}, {1, u"Window", u"y"}}},
        {"Window only nested", R"(<Layout><Window/></Layout>)", {}},
        {"malformed", R"(<Window name="a">)", {}},
        {"top of an unknown class", R"(<Window className="Button"/>)", {}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Built xml = fromXml(c.xml);
        EXPECT_EQ(Lines(xml.shots), c.expected);
        EXPECT_EQ(xml.top != nullptr, !c.expected.empty());
        if (!xml.top) {
            EXPECT_TRUE(xml.binary.empty());
            continue;
        }
        // The binary form builds the same tree, skipped elements included.
        EXPECT_EQ(fromBinary(xml.binary).shots, xml.shots);
    }
}

TEST_F(LayoutTest, ClassNameAndTagMakeTheSameWindow)
{
    const char* const attributes = R"(width="7" x="-3" visible="0" name="w" element="panel")";
    Built byTag = fromXml(std::string("<Window><Window ") + attributes + "/></Window>");
    Built byClassName =
        fromXml(std::string("<Window><Box className=\"Window\" ") + attributes + "/></Window>");
    ASSERT_EQ(byTag.shots.size(), 2u);
    EXPECT_EQ(byTag.shots[1].element, u"panel");
    EXPECT_EQ(byTag.shots, byClassName.shots);
    EXPECT_EQ(byTag.binary, byClassName.binary);
}

TEST_F(LayoutTest, WindowKeysReadFromXmlAndBinaryAlike)
{
    struct Case
    {
        const char* attribute;
        std::function<int64_t(const Shot&)> field;
        int64_t expected;
    };
    const Case cases[] = {
        {R"(width="100")", &Shot::width, 100},
        {R"(width="x")", &Shot::width, 0},
        {R"(height="99999999999")", &Shot::height, 1215752191},
        {R"(x="--5")", &Shot::x, 25},
        {R"(y="1a")", &Shot::y, 59},
        {R"(x="100000")", &Shot::x, 100000}, // stored unclamped
        {R"(minX="-2147483648")", &Shot::minX, std::numeric_limits<int32_t>::min()},
        {R"(maxY="x")", &Shot::maxY, Window::DefaultMax},
        {R"(visible="false")", &Shot::visible, 1},
        {R"(enabled="0")", &Shot::enabled, 0},
        {R"(alwaysOnTop="true")", &Shot::alwaysOnTop, 1},
        {R"(overlapped="0")", &Shot::overlapped, 0},
        {R"(ghost="1")", &Shot::ghost, 1},
        {R"(captured="2")", &Shot::captured, 1},
        {R"(canActivate="1")", &Shot::canActivate, 1},
        {R"(clipChildren="-1")", &Shot::clipChildren, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attribute);
        Built xml = fromXml(std::string("<Window ") + c.attribute + "/>");
        Built binary = fromBinary(xml.binary);
        ASSERT_EQ(xml.shots.size(), 1u);
        ASSERT_EQ(binary.shots.size(), 1u);
        EXPECT_EQ(c.field(xml.shots[0]), c.expected);
        EXPECT_EQ(c.field(binary.shots[0]), c.expected);
    }
}

TEST_F(LayoutTest, BinaryFormOfOneWindowIsExact)
{
    Built built = fromXml(R"(<Window width="100" name="ab"/>)");
    ASSERT_TRUE(built.top);
    ASSERT_EQ(built.binary.size(), 48u);
    auto word = [&](size_t i) {
        const uint8_t* p = built.binary.data() + 4 * i;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    };
    EXPECT_EQ(word(0), 0u); // childCount
    EXPECT_EQ(word(1), 7u); // nameSize
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&built.binary[8]), 7),
              std::string("Window\0", 7));
    EXPECT_EQ(word(4), 2u); // recordCount
    EXPECT_EQ(word(5), CallWidth);
    EXPECT_EQ(word(6), 4u);
    EXPECT_EQ(word(7), 100u);
    EXPECT_EQ(word(8), CallName);
    EXPECT_EQ(word(9), 6u);
    const std::vector<uint8_t> text(built.binary.begin() + 40, built.binary.begin() + 46);
    EXPECT_EQ(text, (std::vector<uint8_t>{'a', 0, 'b', 0, 0, 0}));
}

TEST_F(LayoutTest, DefaultWindowHasNoRecordsAndReadsBackAsDefaults)
{
    Built built = fromXml("<Window/>");
    ASSERT_TRUE(built.top);
    const std::vector<uint8_t> expected = Blob().window(0, "Window", 0).bytes;
    ASSERT_EQ(built.binary.size(), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(built.binary.begin() + 16, built.binary.end()),
              std::vector<uint8_t>(expected.begin() + 16, expected.end()));

    Window plain(nullptr, &system, nullptr);
    const Shot defaults = TakeShot(plain, u"Window");
    EXPECT_EQ(built.shots, std::vector<Shot>{defaults});
    EXPECT_EQ(fromBinary(built.binary).shots, std::vector<Shot>{defaults});
}

namespace {

// A widget of a class the loader does not know: it reads one key of its own after the
// window keys, and notes what its parent looked like when it was made.
class Probe : public Window
{
public:
    Probe(Window* parent, UI::UISystem* system, UI::UIParams* params)
        : Window(nullptr, system, params)
    {
        speed = params->getInt(u"speed", 3);
        parentWidth = parent ? parent->width() : -1;
        if (parent)
            parent->addChild(this);
    }
    int32_t speed;
    int32_t parentWidth;
};

class ProbeFactory : public LayoutLoader::CustomFactory
{
public:
    Window* create(std::u16string_view className, Window* parent, UI::UISystem* system,
                   UI::UIParams* params) override
    {
        asked.emplace_back(className);
        if (className == u"Probe")
            return new Probe(parent, system, params);
        if (className == u"Decline")
            params->getInt(u"speed", 3); // reads, then declines
        return nullptr;
    }
    std::vector<std::u16string> asked;
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
    for (Built* built : {&xml, &binary}) {
        ASSERT_TRUE(built->top);
        EXPECT_EQ(
            Lines(built->shots),
            (std::vector<Line>{{0, u"Window", u""}, {1, u"Probe", u"p"}, {1, u"Window", u"w"}}));
        auto* probe = dynamic_cast<Probe*>(built->top->childAt(0));
        ASSERT_NE(probe, nullptr);
        EXPECT_EQ(probe->speed, 9);
        EXPECT_EQ(probe->parentWidth, 40);
    }
    EXPECT_EQ(xmlFactory.asked, binaryFactory.asked);
    // The declined element's skeleton keeps no records: a reader without the factory skips it
    // and still finds the window after it.
    Built plain = fromBinary(xml.binary);
    EXPECT_EQ(Lines(plain.shots), (std::vector<Line>{{0, u"Window", u""}, {1, u"Window", u"w"}}));
}

TEST_F(LayoutTest, RefusesDamagedBinaryForms)
{
    auto chain = [](uint32_t depth) {
        Blob blob;
        for (uint32_t i = 1; i <= depth; ++i)
            blob.window(i < depth ? 1 : 0, "Window", 0);
        return blob.bytes;
    };
    struct Case
    {
        const char* label;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"nothing", {}},
        {"nameSize 0", Blob().word(0).word(0).word(0).word(0).bytes},
        {"nameSize past the end", Blob().word(0).word(100).word(0).word(0).bytes},
        {"name padding missing", Blob().word(0).word(7).bytes},
        {"childCount beyond what is left", Blob().window(0xFFFFFFFF, "Window", 0).bytes},
        {"recordCount beyond what is left", Blob().window(0, "Window", 0x20000000).bytes},
        {"record payload past the end", Blob().window(0, "Window", 1).word(1).word(64).bytes},
        {"depth 257", chain(257)},
        {"truncated inside a skipped subtree",
         Blob().window(1, "Window", 0).window(1, "Button", 0).word(0).word(7).bytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(fromBinary(c.bytes).top, nullptr);
    }
    EXPECT_EQ(fromBinary(chain(256)).shots.size(), 256u);
}

TEST_F(LayoutTest, TruncatedBinaryIsRefusedAtEveryLength)
{
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
        std::vector<Line> lines;
        int32_t width; // of the top window
        int32_t height;
    };
    const Case cases[] = {
        {"integer record of the wrong size",
         Blob()
             .window(0, "Window", 2)
             .word(CallWidth)
             .word(2)
             .word(0)
             .intRecord(CallHeight, 9)
             .bytes,
         {{0, u"Window", u""}},
         0,
         9},
        {"text record of an odd size",
         Blob().window(0, "Window", 1).word(CallName).word(3).word(0x610061).bytes,
         {{0, u"Window", u""}},
         0,
         0},
        {"integer asked where a text was stored",
         Blob().window(0, "Window", 1).textRecord(CallWidth, u"ab").bytes,
         {{0, u"Window", u""}},
         0,
         0},
        {"text without its terminating zero",
         Blob().window(0, "Window", 1).textRecord(CallName, u"ab", false).bytes,
         {{0, u"Window", u"ab"}},
         0,
         0},
        {"records no call asks for, before the children",
         Blob()
             .window(1, "Window", 3)
             .intRecord(CallWidth, 5)
             .intRecord(100, 1)
             .textRecord(200, u"junk")
             .window(0, "Window", 1)
             .textRecord(CallName, u"child")
             .bytes,
         {{0, u"Window", u""}, {1, u"Window", u"child"}},
         5,
         0},
        {"records out of order",
         Blob()
             .window(1, "Window", 2)
             .intRecord(CallHeight, 7)
             .intRecord(CallWidth, 6)
             .window(0, "Window", 0)
             .bytes,
         {{0, u"Window", u""}, {1, u"Window", u""}},
         0,
         7},
        {"unknown class with its subtree",
         Blob()
             .window(2, "Window", 0)
             .window(1, "Button", 1)
             .intRecord(CallWidth, 3)
             .window(0, "Window", 1)
             .textRecord(CallName, u"inner")
             .window(0, "Window", 1)
             .textRecord(CallName, u"sib")
             .bytes,
         {{0, u"Window", u""}, {1, u"Window", u"sib"}},
         0,
         0},
        {"name without its zero inside nameSize",
         Blob().word(0).word(6).word(0x646E6957).word(0x776F).word(0).bytes,
         {{0, u"Window", u""}},
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Built built = fromBinary(c.bytes);
        ASSERT_TRUE(built.top);
        EXPECT_EQ(Lines(built.shots), c.lines);
        EXPECT_EQ(built.top->width(), c.width);
        EXPECT_EQ(built.top->height(), c.height);
    }
}

TEST_F(LayoutTest, ShippedAndSeedLayoutsRoundTrip)
{
    std::vector<std::filesystem::path> files;
    const std::filesystem::path root = SourceRoot();
    for (const char* folder : {"assets/XML", "fuzz/corpus/LayoutFuzz"}) {
        for (const auto& entry : std::filesystem::directory_iterator(root / folder))
            files.push_back(entry.path());
    }
    int layouts = 0;
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::string text = ReadText(file);
        Built xml = fromXml(text);
        if (!xml.top) {
            // Only other kinds of XML file may be refused.
            EXPECT_EQ(file.parent_path().filename(), "XML");
            continue;
        }
        ++layouts;
        Built binary = fromBinary(xml.binary);
        ASSERT_TRUE(binary.top);
        EXPECT_EQ(binary.shots, xml.shots);
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
    ASSERT_NE(config, nullptr);

    std::unique_ptr<Window> top = UI::loadLayout(config, u"Test.xml", &system);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->name(), u"top");
    ASSERT_NE(top->element(), nullptr);
    EXPECT_EQ(top->element()->name, u"button");
    ASSERT_EQ(top->childCount(), 1u);
    EXPECT_EQ(top->childAt(0)->name(), u"c");
    EXPECT_EQ(top->parent(), nullptr);

    EXPECT_EQ(UI::loadLayout(config, u"Missing.xml", &system), nullptr);
    EXPECT_EQ(UI::loadLayout(nullptr, u"Test.xml", &system), nullptr);
}
