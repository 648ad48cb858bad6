// The resource manager over a real game folder: catalogue parsing, group loading and freeing,
// handles that never change, the replacement of a name entered twice, and font colours.
#include "resources/ResourceManager.h"

#include "graphics/Qim.h"
#include "support/QpkBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// A .qim file of an opaque image whose pixels are the given colours, repeated.
std::string QimFile(uint32_t width, uint32_t height, std::initializer_list<uint16_t> colours)
{
    Graphics::Surface16 surface;
    surface.Create(width, height, false);
    size_t i = 0;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x)
            surface.Pixels()[y * surface.Stride() + x] = colours.begin()[i++ % colours.size()];
    }
    const std::vector<uint8_t> bytes = Graphics::EncodeQim(surface);
    return std::string(bytes.begin(), bytes.end());
}

// The metrics of a font whose only glyph, "A", covers columns 0 to 1 of its sheet: one range,
// one glyph, one empty kerning slice, no kerning pairs (a 32-bit count), then spacing 0, top 0
// and lineHeight 2.
std::string FntFile()
{
    std::string out;
    for (int value : {1, 0, 1, int{'A'}, 1, 0, 2, 1, 0, 0, 0, 0, 0, 0, 2})
        Fixture::Put16(out, static_cast<uint16_t>(value));
    return out;
}

// A game folder with XML/resources.xml (unless catalogue is null) and the files written into
// Images before mounting; the manager has read the catalogue.
struct GameFolder
{
    explicit GameFolder(const char* catalogue,
                        std::initializer_list<std::pair<const char*, std::string>> images = {})
    {
        std::filesystem::create_directories(dir.Root() / "XML");
        std::filesystem::create_directories(dir.Root() / "Images");
        if (catalogue)
            Fixture::WriteFile(dir.Root() / "XML" / "resources.xml", catalogue);
        for (const auto& [name, bytes] : images)
            WriteImage(name, bytes);
        std::u16string root;
        for (char c : dir.Root().string())
            root.push_back(static_cast<char16_t>(c));
        files.Mount(root + u"/");
        manager.LoadCatalogue(IO::FileSystem::FindDirectory(files.GetRoot(), u"XML"),
                              IO::FileSystem::FindDirectory(files.GetRoot(), u"Images"));
    }

    // Writes (or overwrites on disk) a file below Images; the path uses "/".
    void WriteImage(const char* path, const std::string& bytes)
    {
        Fixture::WriteFile(dir.Root() / "Images" / path, bytes);
    }

    TempDir dir;
    IO::FileSystem files;
    ResourceManager manager; // destroyed before the file system it borrows folders from
};

// The first pixel of an image, for telling files apart.
uint16_t FirstPixel(const Graphics::Surface16* surface)
{
    return surface ? surface->Pixels()[0] : 0;
}

} // namespace

TEST(ResourceManager, CatalogueListsGroupsInFileOrderWithTheirImagesAndFonts)
{
    GameFolder folder("<?xml version=\"1.0\"?>\n"
                      "<Whatever>\n"
                      "  <Group name=\"Loading\">\n"
                      "    <Image name=\"Splash\" fileName=\"splash.qim\"/>\n"
                      "    <Sound name=\"ignored\" fileName=\"x.wav\"/>\n"
                      "    <image name=\"lower case is ignored\" fileName=\"y.qim\"/>\n"
                      "    <Font name=\"Plain\" fileName=\"plain\"/>\n"
                      "    <Image name=\"Caf\xE9\" fileName=\"menu\\caf\xE9.qim\"/>\n"
                      "  </Group>\n"
                      "  <Other name=\"Menu\">\n"
                      "    <Font name=\"Red\" fileName=\"big\" color=\"63488\"/>\n"
                      "    <Font name=\"Junk\" fileName=\"big\" color=\"red\"/>\n"
                      "    <Font name=\"Minus\" fileName=\"big\" color=\"-2\"/>\n"
                      "  </Other>\n"
                      "  <Group/>\n"
                      "</Whatever>\n");
    const std::vector<ResourceGroup>& groups = folder.manager.Groups();
    ASSERT_EQ(groups.size(), 3u);

    const ResourceGroup& loading = groups[0];
    EXPECT_EQ(loading.name, u"Loading");
    ASSERT_EQ(loading.imageDescs.size(), 2u);
    EXPECT_EQ(loading.imageDescs[0].name, u"Splash");
    EXPECT_EQ(loading.imageDescs[0].fileName, u"splash.qim");
    // Bytes widen one to one.
    EXPECT_EQ(loading.imageDescs[1].name, u"Caf\u00E9");
    EXPECT_EQ(loading.imageDescs[1].fileName, u"menu\\caf\u00E9.qim");
    ASSERT_EQ(loading.fontDescs.size(), 1u);
    EXPECT_EQ(loading.fontDescs[0].fileName, u"plain");
    EXPECT_EQ(loading.fontDescs[0].color, 0xFFFF);
    EXPECT_FALSE(loading.loaded || loading.registered);

    const ResourceGroup& menu = groups[1];
    EXPECT_EQ(menu.name, u"Menu");
    EXPECT_TRUE(menu.imageDescs.empty());
    ASSERT_EQ(menu.fontDescs.size(), 3u);
    EXPECT_EQ(menu.fontDescs[0].color, 0xF800);
    EXPECT_EQ(menu.fontDescs[1].color, 0xFFFF); // unreadable
    EXPECT_EQ(menu.fontDescs[2].color, 0xFFFE); // a number keeps its low 16 bits

    EXPECT_EQ(groups[2].name, u"");                        // a group without a name
    EXPECT_EQ(folder.manager.FindGroup(u"menu"), nullptr); // names are exact
}

TEST(ResourceManager, AnUnusableCatalogueGivesNoGroupsAndEveryLookupNull)
{
    const char* cases[] = {
        nullptr,                                                             // no file
        "",                                                                  // no document
        "<R><G name=\"Menu\"><Image name=\"A\" fileName=\"a.qim\"></G></R>", // does not parse
    };
    for (const char* text : cases) {
        GameFolder folder(text, {{"a.qim", QimFile(1, 1, {1})}});
        ResourceManager& m = folder.manager;
        m.LoadGroup(u"Menu");
        EXPECT_TRUE(m.Groups().empty()) << (text ? text : "(no file)");
        EXPECT_EQ(m.GetImage(u"A"), nullptr);
        EXPECT_EQ(m.GetImage(1u), nullptr);
        EXPECT_EQ(m.GetFont(0u), nullptr);
        EXPECT_EQ(m.GetFont(u"A"), nullptr);
    }
}

TEST(ResourceManager, GroupsLoadAndUnloadUnderHandlesThatNeverChange)
{
    GameFolder folder(
        "<R>\n"
        "  <G name=\"Menu\">\n"
        "    <Image name=\"Play\" fileName=\"menu\\play.qim\"/>\n"
        "    <Image name=\"Gone\" fileName=\"missing.qim\"/>\n"
        "  </G>\n"
        "  <G name=\"Game\"><Image name=\"Board\" fileName=\"board.qim\"/></G>\n"
        "</R>\n",
        {{"menu/play.qim", QimFile(3, 2, {0x1111})}, {"board.qim", QimFile(1, 1, {0x3333})}});
    ResourceManager& m = folder.manager;
    m.LoadGroup(u"Nope"); // unknown groups are ignored
    m.UnloadGroup(u"Nope");
    EXPECT_EQ(m.FindImage(u"Play"), 0u); // nothing is entered before its group is loaded

    m.LoadGroup(u"Menu");
    m.LoadGroup(u"Game");
    const ResourceGroup* menu = m.FindGroup(u"Menu");
    ASSERT_EQ(menu->imageHandles, (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(m.FindGroup(u"Game")->imageHandles, (std::vector<uint32_t>{3}));
    EXPECT_EQ(m.FindImage(u"play"), 0u); // names are exact
    ASSERT_NE(m.GetImage(u"Play"), nullptr);
    EXPECT_EQ(m.GetImage(u"Play")->Width(), 3u);
    EXPECT_EQ(m.GetImage(1u), m.GetImage(u"Play"));
    // A missing file keeps its handle and has no surface.
    EXPECT_EQ(m.FindImage(u"Gone"), 2u);
    EXPECT_EQ(m.GetImage(u"Gone"), nullptr);
    EXPECT_EQ(m.GetImage(4u), nullptr); // out of range
    EXPECT_EQ(m.GetImage(0xFFFFFFFFu), nullptr);

    m.UnloadGroup(u"Menu");
    EXPECT_EQ(m.GetImage(u"Play"), nullptr);
    EXPECT_EQ(m.FindImage(u"Play"), 1u); // the entry stays
    EXPECT_EQ(FirstPixel(m.GetImage(u"Board")), 0x3333);

    m.LoadGroup(u"Menu");
    EXPECT_EQ(menu->imageHandles, (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(m.Images().Count(), 4u);
    EXPECT_EQ(FirstPixel(m.GetImage(1u)), 0x1111);
    EXPECT_EQ(m.GetImage(2u), nullptr);
}

TEST(ResourceManager, LoadingALoadedGroupAgainReadsNoFile)
{
    GameFolder folder("<R><G name=\"Menu\"><Image name=\"A\" fileName=\"a.qim\"/></G></R>",
                      {{"a.qim", QimFile(1, 1, {0x1111})}});
    ResourceManager& m = folder.manager;
    m.LoadGroup(u"Menu");
    Graphics::Surface16* first = m.GetImage(u"A");
    ASSERT_NE(first, nullptr);

    folder.WriteImage("a.qim", QimFile(2, 2, {0x2222}));
    m.LoadGroup(u"Menu");
    EXPECT_EQ(m.GetImage(u"A"), first);
    EXPECT_EQ(FirstPixel(m.GetImage(u"A")), 0x1111);

    // Once freed, the group does read the file again.
    m.UnloadGroup(u"Menu");
    m.LoadGroup(u"Menu");
    EXPECT_EQ(FirstPixel(m.GetImage(u"A")), 0x2222);
}

TEST(ResourceManager, AnImageNamedDummyIsReachableOnlyByItsHandle)
{
    GameFolder folder("<R><G name=\"Menu\"><Image name=\"dummy\" fileName=\"d.qim\"/></G></R>",
                      {{"d.qim", QimFile(1, 1, {0x4444})}});
    ResourceManager& m = folder.manager;
    m.LoadGroup(u"Menu");
    ASSERT_EQ(m.FindGroup(u"Menu")->imageHandles, (std::vector<uint32_t>{1}));
    EXPECT_EQ(m.FindImage(u"dummy"), 0u);
    EXPECT_EQ(m.GetImage(u"dummy"), nullptr);
    EXPECT_EQ(m.GetImage(0u), nullptr);
    EXPECT_EQ(FirstPixel(m.GetImage(1u)), 0x4444);
    // Entering "dummy" again cannot find the earlier one, so it takes yet another handle.
    EXPECT_EQ(m.AddImage(u"dummy", m.ImagesFolder(), u"d.qim"), 2u);
}

TEST(ResourceManager, ANameInTwoGroupsIsReplacedUnderItsFirstHandle)
{
    GameFolder folder(
        "<R>\n"
        "  <G name=\"Menu\"><Image name=\"Back\" fileName=\"menu.qim\"/></G>\n"
        "  <G name=\"Game\">\n"
        "    <Image name=\"Back\" fileName=\"game.qim\"/>\n"
        "    <Image name=\"Only\" fileName=\"game.qim\"/>\n"
        "  </G>\n"
        "</R>\n",
        {{"menu.qim", QimFile(1, 1, {0x1111})}, {"game.qim", QimFile(1, 1, {0x2222})}});
    ResourceManager& m = folder.manager;
    m.LoadGroup(u"Menu");
    const uint32_t back = m.FindImage(u"Back");
    ASSERT_EQ(FirstPixel(m.GetImage(back)), 0x1111);
    m.UnloadGroup(u"Menu");

    m.LoadGroup(u"Game");
    EXPECT_EQ(m.FindGroup(u"Game")->imageHandles, (std::vector<uint32_t>{back, 2}));
    EXPECT_EQ(m.Images().Count(), 3u);
    EXPECT_EQ(m.Images().Entry(back)->fileName, u"game.qim");
    Graphics::Surface16* shared = m.GetImage(back);
    EXPECT_EQ(FirstPixel(shared), 0x2222);

    // Unloading a group that is not loaded must not free what "Game" now holds.
    m.UnloadGroup(u"Menu");
    EXPECT_EQ(m.GetImage(back), shared);

    // "Menu" reaches the new entry through its handle. Loading it keeps the surface "Game" is
    // drawing with rather than reading the file again.
    folder.WriteImage("game.qim", QimFile(1, 1, {0x3333}));
    m.LoadGroup(u"Menu");
    EXPECT_EQ(m.GetImage(back), shared);
    EXPECT_EQ(FirstPixel(m.GetImage(back)), 0x2222);
}

TEST(ResourceManager, EnteringANameAgainKeepsItsHandleAndLoadsOnlyTheNewFile)
{
    GameFolder folder(nullptr,
                      {{"a.qim", QimFile(1, 1, {0x1111})}, {"b.qim", QimFile(1, 1, {0x2222})}});
    ResourceManager& m = folder.manager;
    IO::DirectoryNode* images = m.ImagesFolder();
    EXPECT_EQ(m.AddImage(u"A", images, u"a.qim"), 1u);
    EXPECT_EQ(m.AddImage(u"B", images, u"b.qim"), 2u);
    EXPECT_EQ(m.AddImage(u"A", images, u"b.qim"), 1u);
    EXPECT_EQ(m.Images().Queued(), (std::vector<uint32_t>{1, 2}));
    m.LoadQueued();
    EXPECT_EQ(FirstPixel(m.GetImage(u"A")), 0x2222);

    // Replacing a loaded entry frees its surface; the handle waits for the new file.
    EXPECT_EQ(m.AddImage(u"A", images, u"a.qim"), 1u);
    EXPECT_EQ(m.GetImage(1u), nullptr);
    m.LoadQueued();
    EXPECT_EQ(FirstPixel(m.GetImage(1u)), 0x1111);
}

TEST(ResourceManager, FontsAreTintedWithTheirColourAndLookedUpByName)
{
    // Each sheet holds a white pixel and a grey one.
    const std::string sheet = QimFile(2, 1, {0xFFFF, 0x7BEF});
    GameFolder folder("<R>\n"
                      "  <G name=\"Menu\">\n"
                      "    <Font name=\"Plain\" fileName=\"plain\"/>\n"
                      "    <Font name=\"Red\" fileName=\"fonts\\red\" color=\"63488\"/>\n"
                      "    <Font name=\"Broken\" fileName=\"nowhere\" color=\"63488\"/>\n"
                      "    <Image name=\"Plain\" fileName=\"plain.qim\"/>\n"
                      "  </G>\n"
                      "</R>\n",
                      {{"plain.fnt", FntFile()},
                       {"plain.qim", sheet},
                       {"fonts/red.fnt", FntFile()},
                       {"fonts/red.qim", sheet}});
    ResourceManager& m = folder.manager;
    EXPECT_EQ(m.GetFont(0u), nullptr); // no font entered yet

    m.LoadGroup(u"Menu");
    EXPECT_EQ(m.FindGroup(u"Menu")->fontHandles, (std::vector<uint32_t>{1, 2, 3}));
    Utils::BitmapFont* plain = m.GetFont(u"Plain");
    Utils::BitmapFont* red = m.GetFont(u"Red");
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(plain->Sheet()->Pixels()[0], 0xFFFF);
    EXPECT_EQ(plain->Sheet()->Pixels()[1], 0x7BEF);
    EXPECT_EQ(red->Sheet()->Pixels()[0], 0xF800);
    EXPECT_EQ(red->Sheet()->Pixels()[1], 0x7800);
    // Images and fonts have separate names.
    EXPECT_NE(m.GetImage(u"Plain"), nullptr);

    EXPECT_EQ(m.GetFont(0u), plain); // handle 0 stands for the first font
    EXPECT_EQ(m.GetFont(2u), red);
    EXPECT_EQ(m.GetFont(3u), nullptr); // its files are missing
    EXPECT_EQ(m.GetFont(4u), nullptr);
    EXPECT_EQ(m.GetFont(u"Nope"), nullptr);
    EXPECT_EQ(m.GetFont(u""), nullptr);

    m.UnloadGroup(u"Menu");
    EXPECT_EQ(m.GetFont(u"Red"), nullptr);
    EXPECT_EQ(m.GetFont(0u), nullptr);
    m.LoadGroup(u"Menu");
    ASSERT_NE(m.GetFont(2u), nullptr);
    EXPECT_EQ(m.GetFont(2u)->Sheet()->Pixels()[1], 0x7800);
}
