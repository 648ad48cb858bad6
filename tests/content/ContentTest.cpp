// The built game folder's content, read as the game reads it: the archive's layout and size,
// every image, font, sound, string and board the program asks for, the cell pictures' pivots,
// the quality of the synthesised sounds, and the menu screens' layout with what it draws.
#include "game/BoardDrawing.h"
#include "game/BoardFile.h"
#include "game/Grid.h"
#include "graphics/Surface16.h"
#include "graphics/TrigTable.h"
#include "io/FileSystem.h"
#include "io/Utf8.h"
#include "platform/SoundSample.h"
#include "resources/ResourceManager.h"
#include "resources/SoundManager.h"
#include "resources/StringTable.h"
#include "support/Process.h"
#include "ui/CheckButton.h"
#include "ui/Edit.h"
#include "ui/FixedButton.h"
#include "ui/Keyboard.h"
#include "ui/Label.h"
#include "ui/LayoutLoader.h"
#include "ui/ListBox.h"
#include "ui/ManagedSurfaceRenderer.h"
#include "ui/RowList.h"
#include "ui/SimpleWindow.h"
#include "ui/Skin.h"
#include "ui/Slider.h"
#include "ui/StaticImage.h"
#include "ui/UISystem.h"
#include "xml/XmlDocument.h"
#include "xml/XmlElement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int SampleRate = 22050;
constexpr uint64_t ArchiveBudget = 8ull * 1024 * 1024;

std::string GameDir()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return dir ? dir : ".";
}

std::string Narrow(std::u16string_view text)
{
    return IO::Utf16ToUtf8(text);
}

std::u16string Widen(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

// The game folder mounted as the game mounts it, with its XML and image folders.
class Content : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::u16string root;
        ASSERT_TRUE(IO::Utf8ToUtf16(GameDir(), root));
        ASSERT_EQ(files.Mount(root), 0) << GameDir();
        xml = IO::FileSystem::FindDirectory(files.GetRoot(), u"XML");
        images = IO::FileSystem::FindDirectory(files.GetRoot(), u"Images");
        ASSERT_NE(xml, nullptr) << "no XML folder in " << GameDir();
        ASSERT_NE(images, nullptr) << "no Images folder in " << GameDir();
    }

    std::vector<uint8_t> ReadAll(IO::DirectoryNode* from, std::u16string_view path)
    {
        std::vector<uint8_t> bytes;
        std::unique_ptr<IO::FileReader> reader = files.OpenForRead(from, path);
        if (!reader)
            return bytes;
        bytes.resize(reader->GetSize());
        if (reader->Read(bytes.data(), static_cast<uint32_t>(bytes.size())) != bytes.size())
            bytes.clear();
        return bytes;
    }

    IO::FileSystem files;
    IO::DirectoryNode* xml = nullptr;
    IO::DirectoryNode* images = nullptr;
};

TEST(ContentArchive, TreeShowsTheFoldersTheGameExpects)
{
    const ProcessResult r = RunProcess(GameDir() + "/qpk", {"tree", GameDir()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Each listed file: path, size and source, tab-separated. Collect the paths packed in an
    // archive.
    std::vector<std::string> packed;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos && line.ends_with(".qpk"))
            packed.push_back(line.substr(0, tab));
    }
    auto holds = [&](const std::string& prefix) {
        return std::any_of(packed.begin(), packed.end(),
                           [&](const std::string& path) { return path.starts_with(prefix); });
    };
    for (const char* folder : {"XML/", "Images/", "Images/backgrounds/", "Sounds/", "grids/"})
        EXPECT_TRUE(holds(folder)) << "no file under " << folder << " in the archives";
    EXPECT_NE(std::find(packed.begin(), packed.end(), "trigo.dat"), packed.end());
}

TEST(ContentArchive, ArchivesFitTheBudget)
{
    uint64_t total = 0;
    int archives = 0;
    for (const auto& item : fs::directory_iterator(GameDir())) {
        if (item.is_regular_file() && item.path().extension() == ".qpk") {
            total += item.file_size();
            ++archives;
        }
    }
    EXPECT_GE(archives, 1);
    EXPECT_LE(total, ArchiveBudget) << total << " bytes of archives";
}

TEST_F(Content, EveryImageAndFontOfTheCatalogueLoads)
{
    ResourceManager resources;
    resources.LoadCatalogue(xml, images);
    ASSERT_NE(resources.FindGroup(u"Loading"), nullptr);
    ASSERT_NE(resources.FindGroup(u"Game"), nullptr);
    size_t checked = 0;
    for (const ResourceGroup& group : resources.Groups()) {
        resources.LoadGroup(group.name);
        for (const ResourceDesc& image : group.imageDescs) {
            const Graphics::Surface16* surface = resources.GetImage(image.name);
            EXPECT_NE(surface, nullptr) << Narrow(group.name) << ": image " << Narrow(image.name)
                                        << " from " << Narrow(image.fileName);
            if (surface) {
                EXPECT_GT(surface->Width(), 0u);
                EXPECT_GT(surface->Height(), 0u);
            }
            ++checked;
        }
        for (const ResourceDesc& font : group.fontDescs) {
            EXPECT_NE(resources.GetFont(font.name), nullptr)
                << Narrow(group.name) << ": font " << Narrow(font.name);
            ++checked;
        }
    }
    EXPECT_GT(checked, 0u);
    // The names the game draws with are all catalogued.
    std::vector<std::u16string> drawn = {
        u"loading",   u"cr30",        u"cr40",         u"Chain", u"Chain2", u"bonuses30",
        u"bonuses40", u"ani_bonuses", u"ani_bonuses2", u"skin",  u"widgets"};
    for (int i = 1; i <= 5; ++i)
        drawn.push_back(u"ani" + Widen(std::to_string(i)));
    for (uint32_t sides = MinCellSides; sides <= MaxCellSides; ++sides) {
        drawn.push_back(u"Poly" + Widen(std::to_string(sides)));
        drawn.push_back(u"Poly2_" + Widen(std::to_string(sides)));
    }
    for (const std::u16string& name : drawn)
        EXPECT_NE(resources.FindImage(name), 0u) << Narrow(name) << " is not catalogued";
    for (const char16_t* font : {u"digits", u"title", u"ui", u"small"})
        EXPECT_NE(resources.GetFont(font), nullptr) << Narrow(font);
    // The loading screen draws its picture at the origin as the whole screen.
    if (const Graphics::Surface16* splash = resources.GetImage(u"loading")) {
        EXPECT_EQ(splash->Width(), 240u);
        EXPECT_EQ(splash->Height(), 320u);
    }
    // The on-screen keyboard draws its images unscaled over 4 rows of 12 keys of 19x17: the caps
    // (opaque) and over them the labels (transparent between them) cover the whole grid, and
    // each pressed cap the cells of its key; enter's L leaves out the P key beside it.
    struct Sized
    {
        const char16_t* name;
        uint32_t width;
        uint32_t height;
    };
    for (const Sized& expected :
         {Sized{u"KeyboardButtons", 228, 68}, Sized{u"KeyboardKeys", 228, 68},
          Sized{u"Key1", 19, 17}, Sized{u"Key2", 38, 17}, Sized{u"Key3", 57, 34},
          Sized{u"Key4", 76, 17}}) {
        const Graphics::Surface16* image = resources.GetImage(expected.name);
        ASSERT_NE(image, nullptr) << Narrow(expected.name);
        EXPECT_EQ(image->Width(), expected.width) << Narrow(expected.name);
        EXPECT_EQ(image->Height(), expected.height) << Narrow(expected.name);
    }
    auto alphaAt = [&](const char16_t* name, uint32_t x, uint32_t y) {
        const Graphics::Surface16* image = resources.GetImage(name);
        return image->HasAlpha() ? image->Alpha()[y * image->Stride() + x] : 255;
    };
    EXPECT_EQ(alphaAt(u"KeyboardButtons", 0, 0), 255);
    EXPECT_EQ(alphaAt(u"KeyboardKeys", 0, 0), 0);
    EXPECT_EQ(alphaAt(u"Key3", 9, 8), 0);    // the P key's cell
    EXPECT_EQ(alphaAt(u"Key3", 30, 8), 255); // enter's upper part
    EXPECT_EQ(alphaAt(u"Key3", 9, 25), 255); // enter's lower part
}

TEST_F(Content, EveryStringTheProgramAsksForExists)
{
    StringTable strings;
    strings.Load(xml);
    for (const char16_t* key :
         {u"Str_Ok", u"Str_Exit", u"Str_Return", u"Str_Start", u"Str_Next", u"Str_Continue",
          u"Str_Welcome", u"Str_CurrentLevel", u"Str_CurrentScore", u"Str_TotalScore",
          u"Str_GridScore", u"Str_Win", u"Str_GameOver", u"Str_GridFailed"}) {
        const int32_t index = strings.FindIndex(key);
        EXPECT_GE(index, 0) << Narrow(key);
        EXPECT_FALSE(strings.GetByIndex(index).empty()) << Narrow(key);
    }
    // Texts that the game completes with a number or a name end in a separator, so the two do
    // not run together.
    for (const char16_t* prefix : {u"Str_Welcome", u"Str_CurrentLevel", u"Str_CurrentScore",
                                   u"Str_TotalScore", u"Str_GridScore"}) {
        const std::u16string& text = strings.GetString(prefix);
        ASSERT_FALSE(text.empty());
        EXPECT_TRUE(text.back() == u' ' || text.back() == u':') << Narrow(prefix);
    }
}

TEST_F(Content, EveryBoardLoads)
{
    IO::DirectoryNode* grids = IO::FileSystem::FindDirectory(files.GetRoot(), u"grids");
    ASSERT_NE(grids, nullptr);
    ASSERT_FALSE(grids->files.empty());
    for (const auto& file : grids->files) {
        Grid grid;
        EXPECT_TRUE(LoadGrid(grid, grids, file->name)) << Narrow(file->name);
        EXPECT_FALSE(grid.cells.empty()) << Narrow(file->name);
    }
}

// A decoded sound of the game folder, one channel of the game's stereo mix at the WAV's rate.
struct DecodedSound
{
    std::string name;
    bool music = false;
    std::vector<int> samples;
};

class Sounds : public Content
{
protected:
    void SetUp() override
    {
        Content::SetUp();
        SoundManager manager;
        manager.Init(xml);
        IO::DirectoryNode* folder = IO::FileSystem::FindDirectory(files.GetRoot(), u"Sounds");
        ASSERT_NE(folder, nullptr);
        for (const SoundEntry& entry : manager.Sounds()) {
            DecodedSound sound;
            sound.name = Narrow(entry.name);
            sound.music = entry.music != 0;
            const std::vector<uint8_t> bytes = ReadAll(folder, entry.file);
            ASSERT_FALSE(bytes.empty()) << sound.name << ": " << Narrow(entry.file);
            // Mono 16-bit PCM at the game's mixing rate: the header's format chunk.
            ASSERT_GE(bytes.size(), 44u);
            auto u16 = [&](size_t at) { return bytes[at] | (bytes[at + 1] << 8); };
            EXPECT_EQ(u16(20), 1) << sound.name << " is not PCM";
            EXPECT_EQ(u16(22), 1) << sound.name << " is not mono";
            EXPECT_EQ(u16(24) | (u16(26) << 16), SampleRate) << sound.name;
            EXPECT_EQ(u16(34), 16) << sound.name;
            const auto decoded =
                Platform::SoundSample::FromWav(bytes.data(), bytes.size(), SampleRate);
            ASSERT_NE(decoded, nullptr) << sound.name << " does not decode";
            for (size_t i = 0; i < decoded->FrameCount(); ++i)
                sound.samples.push_back(decoded->frames[2 * i]);
            decoded_.push_back(std::move(sound));
        }
    }

    const DecodedSound* Find(const std::string& name) const
    {
        for (const DecodedSound& sound : decoded_) {
            if (sound.name == name)
                return &sound;
        }
        return nullptr;
    }

    std::vector<DecodedSound> decoded_;
};

TEST_F(Sounds, EverySoundTheGamePlaysIsListedAndDecodes)
{
    for (const char* name : {"Snd_ButtonClick", "Snd_Move", "Snd_Animation", "Snd_BigAnimation",
                             "Snd_Bonus", "Snd_Win", "Snd_Loose", "Msc_Menu"}) {
        const DecodedSound* sound = Find(name);
        ASSERT_NE(sound, nullptr) << name << " is not in sounds.xml";
        EXPECT_EQ(sound->music, std::string(name).starts_with("Msc_")) << name;
        EXPECT_FALSE(sound->samples.empty()) << name;
    }
}

TEST_F(Sounds, NoSoundClipsOrClicks)
{
    ASSERT_FALSE(decoded_.empty());
    for (const DecodedSound& sound : decoded_) {
        int peak = 0;
        for (const int sample : sound.samples)
            peak = std::max(peak, std::abs(sample));
        const double seconds = double(sound.samples.size()) / SampleRate;
        // Loud enough to hear, with headroom below full scale.
        EXPECT_LT(peak, 32000) << sound.name << " clips";
        EXPECT_GT(peak, 8000) << sound.name << " is nearly silent";
        if (sound.music) {
            EXPECT_GE(seconds, 20.0) << sound.name;
            EXPECT_LE(seconds, 40.0) << sound.name;
        } else {
            EXPECT_LE(seconds, 3.0) << sound.name << " is long for an effect";
            // Effects start and end on silence: a jump from or to zero would click.
            EXPECT_LE(std::abs(sound.samples.front()), 64) << sound.name << " starts with a click";
            EXPECT_LE(std::abs(sound.samples.back()), 64) << sound.name << " ends with a click";
        }
    }
}

TEST_F(Sounds, MusicLoopsWithoutASeam)
{
    const DecodedSound* music = Find("Msc_Menu");
    ASSERT_NE(music, nullptr);
    const std::vector<int>& s = music->samples;
    ASSERT_GT(s.size(), 3u);
    // The step from the last sample back to the first must look like any step inside the
    // music: no larger than the steepest one it has, and small against full scale.
    int steepest = 0;
    for (size_t i = 1; i < s.size(); ++i)
        steepest = std::max(steepest, std::abs(s[i] - s[i - 1]));
    const int seam = std::abs(s.front() - s.back());
    EXPECT_LE(seam, steepest);
    EXPECT_LE(seam, 2048);
    // The slope carries on too: the first sample is close to where the end was heading.
    const int predicted = 2 * s[s.size() - 1] - s[s.size() - 2];
    int bend = 0;
    for (size_t i = 2; i < s.size(); ++i)
        bend = std::max(bend, std::abs(s[i] - (2 * s[i - 1] - s[i - 2])));
    EXPECT_LE(std::abs(s.front() - predicted), bend);
}

// The cell pictures: each is pinned to its cell's centre at CellImagePivot, which must be the
// middle of the polygon drawn in the image (the centroid of its silhouette), and a board drawn with
// them covers every cell's centre.
class CellPictures : public Content
{
protected:
    void SetUp() override
    {
        Content::SetUp();
        ASSERT_EQ(trig.Load(files.GetRoot(), u"trigo.dat"), 0);
        resources.LoadCatalogue(xml, images);
        resources.LoadGroup(u"Game");
    }

    Graphics::TrigTable trig;
    ResourceManager resources;
};

TEST_F(CellPictures, PivotsLieOnThePolygonsCentres)
{
    for (const float cellSize : {30.0f, 40.0f}) {
        const std::u16string prefix = cellSize == 40.0f ? u"Poly2_" : u"Poly";
        for (uint32_t sides = MinCellSides; sides <= MaxCellSides; ++sides) {
            const std::u16string name = prefix + Widen(std::to_string(sides));
            const Graphics::Surface16* image = resources.GetImage(name);
            ASSERT_NE(image, nullptr) << Narrow(name);
            ASSERT_NE(image->Alpha(), nullptr) << Narrow(name) << " has no alpha";
            double sum = 0.0, sx = 0.0, sy = 0.0;
            for (uint32_t y = 0; y < image->Height(); ++y) {
                for (uint32_t x = 0; x < image->Width(); ++x) {
                    // The silhouette, not the shading: a picture's alpha may fade across it.
                    const double a = image->Alpha()[y * image->Width() + x] != 0 ? 1.0 : 0.0;
                    sum += a;
                    sx += a * (x + 0.5);
                    sy += a * (y + 0.5);
                }
            }
            ASSERT_GT(sum, 0.0) << Narrow(name) << " is empty";
            const CellPivot pivot =
                CellImagePivot(sides, cellSize, image->Width(), image->Height(), trig);
            EXPECT_NEAR(pivot.x + 0.5, sx / sum, 1.0) << Narrow(name);
            EXPECT_NEAR(pivot.y + 0.5, sy / sum, 1.0) << Narrow(name);
        }
    }
}

TEST_F(CellPictures, ABoardDrawnWithThemCoversEveryCellCentre)
{
    IO::DirectoryNode* grids = IO::FileSystem::FindDirectory(files.GetRoot(), u"grids");
    ASSERT_NE(grids, nullptr);
    ASSERT_FALSE(grids->files.empty());
    constexpr uint16_t Empty = 0xF81F; // a colour no picture is painted with in full
    for (const auto& file : grids->files) {
        Grid grid;
        ASSERT_TRUE(LoadGrid(grid, grids, file->name)) << Narrow(file->name);
        Graphics::Surface16 target;
        target.Create(240, 320, false);
        BoardPicture picture(trig);
        PickBoardImages(picture, resources, grid.cellSize);
        // Only the pictures: no background, sides, joints or bonus.
        picture.sideImage = nullptr;
        picture.jointImage = nullptr;
        picture.bonusIconImage = nullptr;
        picture.target = &target;
        picture.grid = &grid;
        picture.underCells = true;
        for (uint32_t y = 0; y < 320; ++y)
            std::fill_n(target.Pixels() + y * target.Stride(), 240, Empty);
        DrawBoard(picture);
        for (const auto& cell : grid.cells) {
            const int x = static_cast<int>(std::lround(cell->centreX));
            const int y = static_cast<int>(std::lround(cell->centreY));
            if (x < 0 || y < 0 || x >= 240 || y >= 320)
                continue;
            EXPECT_NE(target.Pixels()[y * target.Stride() + x], Empty)
                << Narrow(file->name) << ": no picture under the centre of the " << cell->sides
                << "-sided cell at " << x << "," << y;
        }
    }
}

// A screen layout as its screen loads it: its resource group alone, the skin, and the tree
// built from the layout file by the game's layout loader.
class Layout : public Content
{
protected:
    void Open(std::u16string_view group, std::u16string_view file)
    {
        resources.LoadCatalogue(xml, images);
        ASSERT_NE(resources.FindGroup(group), nullptr);
        resources.LoadGroup(group);
        groupName = group;
        skin = UI::LoadSkin(ReadText(u"uiconfig.xml").c_str());
        ASSERT_FALSE(skin->styles.empty());
        strings.Load(xml);
        layoutText = ReadText(file);
        ui = std::make_unique<UI::UISystem>(&renderer, skin.get());
        UI::LayoutLoader loader;
        std::vector<uint8_t> binary;
        top.reset(loader.load(layoutText.c_str(), ui.get(), binary).release());
        ASSERT_NE(top, nullptr) << Narrow(file) << " does not load";
    }

    void TearDown() override
    {
        top.reset(); // before the system its windows refer to
    }

    std::string ReadText(std::u16string_view name)
    {
        const std::vector<uint8_t> bytes = ReadAll(xml, name);
        return std::string(bytes.begin(), bytes.end());
    }

    UI::Window* Screen(std::u16string_view name) const
    {
        for (size_t i = 0; i < top->childCount(); ++i) {
            if (top->childAt(i)->name() == name)
                return top->childAt(i);
        }
        return nullptr;
    }

    // Every window of the tree below top, parents before children.
    std::vector<UI::Window*> All() const
    {
        std::vector<UI::Window*> windows;
        auto walk = [&](auto& self, UI::Window* w) -> void {
            for (size_t i = 0; i < w->childCount(); ++i) {
                windows.push_back(w->childAt(i));
                self(self, w->childAt(i));
            }
        };
        walk(walk, top.get());
        return windows;
    }

    // Size of a text as the font draws it; fails the test when the font is not loaded.
    Graphics::Rect Measure(std::u16string_view text, int32_t font)
    {
        const Utils::BitmapFont* f = renderer.getFont(font);
        EXPECT_NE(f, nullptr) << "font " << font;
        Graphics::Rect size{};
        if (f)
            f->Measure(text, size.width, size.height);
        return size;
    }

    // The widest text of length characters that the name edit can produce: it types lower-case
    // letters, digits, space, minus and full stop.
    std::u16string WidestName(int32_t length, int32_t font)
    {
        char16_t widest = u'a';
        int32_t most = 0;
        for (char16_t c : std::u16string_view(u"abcdefghijklmnopqrstuvwxyz0123456789 -.")) {
            const int32_t w = Measure(std::u16string(1, c), font).width;
            if (w > most) {
                most = w;
                widest = c;
            }
        }
        return std::u16string(static_cast<size_t>(length), widest);
    }

    // The room a centred text leaves on each side, or the offset of a text set from the left.
    static int32_t Lead(uint32_t flags, int32_t delta)
    {
        return (flags & UI::FontFlags::CentreX) ? 2 * std::max(delta, 2) : delta;
    }
    // Checks that text fits the label or button w in its font: they do not wrap, they cut.
    // Returns false when w is neither.
    bool ExpectFits(const UI::Window& w, std::u16string_view text)
    {
        int32_t font = 0;
        int32_t lead = 0;
        if (const auto* label = dynamic_cast<const UI::Label*>(&w)) {
            font = label->font();
            lead = Lead(label->fontFlags(), 0);
        } else if (const auto* button = dynamic_cast<const UI::FixedButton*>(&w)) {
            font = button->font();
            lead = Lead(button->fontFlags(), button->textDeltaX());
        } else {
            return false;
        }
        const Graphics::Rect size = Measure(text, font);
        EXPECT_LE(lead + size.width, w.width()) << Narrow(w.name()) << ": " << Narrow(text);
        EXPECT_LE(size.height, w.height()) << Narrow(w.name()) << ": " << Narrow(text);
        return true;
    }

    void ExpectInsideParents()
    {
        for (const UI::Window* w : All()) {
            const UI::Window* parent = w->parent();
            if (dynamic_cast<const UI::RowList*>(parent))
                continue; // a list's parts, which the list lays out itself
            EXPECT_TRUE(w->x() >= 0 && w->y() >= 0 && w->x() + w->width() <= parent->width() &&
                        w->y() + w->height() <= parent->height())
                << Narrow(w->name()) << " at " << w->x() << "," << w->y() << " size " << w->width()
                << "x" << w->height() << " sticks out of " << Narrow(parent->name());
        }
    }

    // The group must hold every picture and font the layout names or the skin cuts (with each
    // area inside its picture), and more pictures the screen draws; the skin must have every
    // element the layout names.
    void ExpectGroupHoldsEverythingDrawn(std::set<std::u16string> images)
    {
        const ResourceGroup* group = resources.FindGroup(groupName);
        ASSERT_NE(group, nullptr);
        ASSERT_FALSE(group->fontDescs.empty());
        EXPECT_EQ(group->fontDescs.front().name, u"ui") << "font 0 of the screen";
        std::set<std::u16string> fonts = {u"ui"};
        std::set<std::u16string> elements;
        XmlDocument document;
        ASSERT_NE(document.Parse(layoutText.c_str()), nullptr);
        auto walk = [&](auto& self, const XmlElement* e) -> void {
            for (; e; e = e->NextSiblingElement()) {
                for (const XmlAttribute& a : e->Attributes()) {
                    const std::string key = a.Name();
                    if (key == "src")
                        images.insert(Widen(a.Value()));
                    else if (key == "font" || key == "listboxFont")
                        fonts.insert(Widen(a.Value()));
                    else if (key == "element" || key.ends_with("Element"))
                        elements.insert(Widen(a.Value()));
                }
                self(self, e->FirstChildElement());
            }
        };
        walk(walk, document.RootElement());
        const UI::UIStyle& style = skin->styles.front();
        for (const UI::Element& element : style.elements) {
            for (const UI::ElementState& state : element.states) {
                for (const UI::Area& area : state.areas) {
                    images.insert(area.imageName);
                    const Graphics::Surface16* image = resources.GetImage(area.imageName);
                    if (!image || area.srcW == 0 || area.srcH == 0)
                        continue; // a missing image fails below; an area without source is room
                    const auto w = static_cast<int32_t>(image->Width());
                    const auto h = static_cast<int32_t>(image->Height());
                    const int32_t srcW = area.srcW < 0 ? w : area.srcW;
                    const int32_t srcH = area.srcH < 0 ? h : area.srcH;
                    EXPECT_TRUE(area.srcX >= 0 && area.srcY >= 0 && area.srcX + srcW <= w &&
                                area.srcY + srcH <= h)
                        << Narrow(element.name) << "/" << Narrow(state.name) << ": area at "
                        << area.srcX << "," << area.srcY << " outside " << Narrow(area.imageName);
                }
            }
        }
        for (const std::u16string& image : images)
            EXPECT_NE(resources.GetImage(image), nullptr)
                << Narrow(image) << " is not in " << Narrow(groupName);
        for (const std::u16string& font : fonts)
            EXPECT_NE(resources.GetFont(font), nullptr)
                << Narrow(font) << " is not in " << Narrow(groupName);
        for (const std::u16string& element : elements) {
            const bool found = std::any_of(style.elements.begin(), style.elements.end(),
                                           [&](const UI::Element& e) { return e.name == element; });
            EXPECT_TRUE(found) << "the skin has no element " << Narrow(element);
        }
    }

    ResourceManager resources;
    UI::ManagedSurfaceRenderer renderer{resources};
    std::u16string groupName;
    std::unique_ptr<UI::StyleList> skin;
    StringTable strings;
    std::string layoutText;
    std::unique_ptr<UI::UISystem> ui;
    std::unique_ptr<UI::Window> top;
};

class MenuLayout : public Layout
{
protected:
    void SetUp() override
    {
        Content::SetUp();
        Open(u"Menu", u"MainMenu.xml");
    }
};

template <class Widget>
bool Is(const UI::Window* w)
{
    return w && typeid(*w) == typeid(Widget);
}

TEST_F(MenuLayout, EveryScreenIsAFullScreenWindowOfTheTop)
{
    EXPECT_EQ(top->x(), 0);
    EXPECT_EQ(top->y(), 0);
    EXPECT_EQ(top->width(), 240);
    EXPECT_EQ(top->height(), 320);
    // The menu shows first; the others wait hidden, each covering the whole screen, so that
    // nothing under an open one takes a tap.
    for (const char16_t* name :
         {u"MenuWnd", u"Wnd_MsgGame", u"OptionsWnd", u"Wnd_Help", u"PlayerWnd", u"ScoreWnd"}) {
        const UI::Window* screen = Screen(name);
        ASSERT_NE(screen, nullptr) << Narrow(name) << " is not a child of the top window";
        EXPECT_EQ(screen->x(), 0) << Narrow(name);
        EXPECT_EQ(screen->y(), 0) << Narrow(name);
        EXPECT_EQ(screen->width(), 240) << Narrow(name);
        EXPECT_EQ(screen->height(), 320) << Narrow(name);
        EXPECT_EQ(screen->visible(), std::u16string_view(name) == u"MenuWnd") << Narrow(name);
        EXPECT_FALSE(screen->ghost()) << Narrow(name);
    }
}

TEST_F(MenuLayout, EveryControlTheScreensFindIsInItsWindowWithItsClass)
{
    using Check = bool (*)(const UI::Window*);
    struct Control
    {
        const char16_t* window;
        Check is;
        std::vector<const char16_t*> names;
    };
    const Control controls[] = {
        {u"MenuWnd", Is<UI::Label>, {u"labelWelcome"}},
        {u"MenuWnd",
         Is<UI::FixedButton>,
         {u"buttonArcade", u"buttonClassic", u"buttonSurvival", u"buttonChangePlayer",
          u"buttonHightScore", u"buttonOptions", u"buttonHelp", u"buttonExit"}},
        {u"Wnd_MsgGame", Is<UI::Label>, {u"Label_Info"}},
        {u"Wnd_MsgGame",
         Is<UI::FixedButton>,
         {u"Button_Continue", u"Button_New", u"Button_Cancel"}},
        {u"OptionsWnd",
         Is<UI::CheckButton>,
         {u"CheckButton_Sound", u"CheckButton_Music", u"CheckButton_Stilus", u"CheckButton_Key",
          u"CheckButton_Antialiasing", u"CheckButton_UnderCells"}},
        {u"OptionsWnd", Is<UI::Slider>, {u"Slider_Sound", u"Slider_Music"}},
        {u"OptionsWnd", Is<UI::FixedButton>, {u"buttonOk", u"buttonCancel"}},
        {u"Wnd_Help",
         Is<UI::Label>,
         {u"Label_Text1", u"Label_Text2", u"Label_Text3", u"Label_Text4", u"Label_Text5",
          u"Label_Page"}},
        {u"Wnd_Help", Is<UI::StaticImage>, {u"StaticImage_Help1", u"StaticImage_Help5"}},
        {u"Wnd_Help", Is<UI::FixedButton>, {u"Button_Prev", u"Button_Next", u"Button_Ok"}},
        {u"PlayerWnd", Is<UI::Edit>, {u"editPlayerName"}},
        {u"PlayerWnd", Is<UI::ListBox>, {u"playersListBox"}},
        {u"PlayerWnd",
         Is<UI::Label>,
         {u"labelForUser", u"Label_CurrentArcadeGrid", u"Label_BestArcadeGrid",
          u"Label_CurrentClassicGrid", u"Label_BestClassicGrid", u"Label_CurrentSurvivalGrid",
          u"Label_BestSurvivalGrid"}},
        {u"PlayerWnd",
         Is<UI::FixedButton>,
         {u"buttonAddPlayer", u"buttonDeletePlayer", u"buttonReturn"}},
        {u"PlayerWnd", Is<UI::Keyboard>, {u"keyboard"}},
        {u"ScoreWnd",
         Is<UI::ListBox>,
         {u"ListBox_Arcade", u"ListBox_Classic", u"ListBox_Survival"}},
        {u"ScoreWnd", Is<UI::FixedButton>, {u"buttonReturn"}},
    };
    for (const Control& control : controls) {
        UI::Window* window = Screen(control.window);
        ASSERT_NE(window, nullptr) << Narrow(control.window);
        for (const char16_t* name : control.names) {
            EXPECT_TRUE(control.is(window->findChild(name)))
                << Narrow(name) << " in " << Narrow(control.window);
        }
    }
}

TEST_F(MenuLayout, ControlsAreSetUpAsTheScreensUseThem)
{
    UI::Window* players = Screen(u"PlayerWnd");
    ASSERT_NE(players, nullptr);
    auto* edit = dynamic_cast<UI::Edit*>(players->findChild(u"editPlayerName"));
    auto* list = dynamic_cast<UI::ListBox*>(players->findChild(u"playersListBox"));
    auto* keyboard = dynamic_cast<UI::Keyboard*>(players->findChild(u"keyboard"));
    ASSERT_TRUE(edit && list && keyboard);
    EXPECT_EQ(edit->maxLength(), 12);
    EXPECT_EQ(edit->font(), renderer.findFont(u"ui"));
    // The typed text sits in the middle of the field, give or take a pixel.
    const int32_t line = Measure(u"Ag", edit->font()).height;
    EXPECT_NEAR(edit->textDeltaY(), (edit->height() - line) / 2, 1);
    // A row ending on the list's bottom edge is not drawn: the height leaves room below the
    // last whole row.
    EXPECT_NE(list->height() % list->itemHeight(), 0);
    EXPECT_GE(list->listbase()->height() / list->itemHeight(), 5) << "five players show at once";
    EXPECT_EQ(list->font(), renderer.findFont(u"ui"));

    // The keyboard comes up over the bottom of the screen without covering the name, and it
    // never takes the focus from it.
    EXPECT_FALSE(keyboard->visible());
    EXPECT_TRUE(keyboard->ghost());
    EXPECT_TRUE(keyboard->canActivate());
    EXPECT_LE(keyboard->absoluteY() + keyboard->height(), 320);
    EXPECT_GE(keyboard->absoluteY(), edit->absoluteY() + edit->height());

    // Buttons, check boxes, sliders and fields draw nothing without their skin element; a check
    // box shows its state only with a checked element.
    for (UI::Window* w : All()) {
        if (dynamic_cast<UI::FixedButton*>(w) || dynamic_cast<UI::Slider*>(w) ||
            dynamic_cast<UI::Edit*>(w)) {
            EXPECT_NE(w->element(), nullptr) << Narrow(w->name()) << " has no skin element";
        }
        if (auto* check = dynamic_cast<UI::CheckButton*>(w)) {
            EXPECT_NE(check->checkElement(), nullptr) << Narrow(w->name());
        }
    }
}

TEST_F(MenuLayout, EveryWindowLiesInsideItsParent)
{
    ExpectInsideParents();
}

// Every text of the layout, and every text the screens put into it, fits its window in the
// font it is drawn with: labels and buttons do not wrap, they cut.
TEST_F(MenuLayout, TextsFitTheirWindows)
{
    size_t checked = 0;
    for (const UI::Window* w : All()) {
        if (!w->visible() && w->parent() == top.get())
            continue; // the screens themselves; their content is checked below
        if (const auto* label = dynamic_cast<const UI::Label*>(w)) {
            std::u16string text = label->text();
            if (!label->textKey().empty()) {
                EXPECT_GE(strings.FindIndex(label->textKey()), 0) << Narrow(label->textKey());
                text = strings.GetString(label->textKey());
            }
            if (!text.empty())
                checked += ExpectFits(*w, text);
        } else if (const auto* button = dynamic_cast<const UI::FixedButton*>(w)) {
            if (!button->caption().empty())
                checked += ExpectFits(*w, button->caption());
        }
    }
    EXPECT_GT(checked, 40u);

    // What the screens write: the welcome with the longest name, the saved run, the page, the
    // progress numbers, the return button's two captions and the list items.
    UI::Window* menu = Screen(u"MenuWnd");
    UI::Window* players = Screen(u"PlayerWnd");
    UI::Window* scores = Screen(u"ScoreWnd");
    ASSERT_TRUE(menu && players && scores);
    const auto* edit = dynamic_cast<const UI::Edit*>(players->findChild(u"editPlayerName"));
    ASSERT_NE(edit, nullptr);
    const std::u16string name = WidestName(edit->maxLength(), edit->font());
    struct Runtime
    {
        UI::Window* window;
        const char16_t* control;
        std::u16string text;
    };
    const Runtime runtime[] = {
        {menu, u"labelWelcome", strings.GetString(u"Str_Welcome") + name},
        {Screen(u"Wnd_MsgGame"), u"Label_Info",
         strings.GetString(u"Str_CurrentLevel") + u"99\n" + strings.GetString(u"Str_CurrentScore") +
             u"9999999"},
        {Screen(u"Wnd_Help"), u"Label_Page", u"5/5"},
        {players, u"Label_BestSurvivalGrid", u"99"},
        {players, u"buttonReturn", strings.GetString(u"Str_Ok")},
        {players, u"buttonReturn", strings.GetString(u"Str_Exit")},
    };
    for (const Runtime& r : runtime) {
        ASSERT_NE(r.window, nullptr);
        const UI::Window* w = r.window->findChild(r.control);
        ASSERT_NE(w, nullptr) << Narrow(r.control);
        EXPECT_TRUE(ExpectFits(*w, r.text)) << Narrow(r.control);
    }
    // The name as typed, with the caret after it, inside the field's border.
    EXPECT_LE(edit->border() + edit->textDeltaX() + Measure(name + u"I", edit->font()).width,
              edit->width() - edit->border());
    // List items start elementDeltaY in and share the width with the scroll bar once the list
    // overflows: a player's name, and a high score's name, a space and the score.
    const std::pair<UI::Window*, const char16_t*> lists[] = {{players, u"playersListBox"},
                                                             {scores, u"ListBox_Arcade"},
                                                             {scores, u"ListBox_Classic"},
                                                             {scores, u"ListBox_Survival"}};
    for (const auto& [window, control] : lists) {
        const auto* list = dynamic_cast<const UI::ListBox*>(window->findChild(control));
        ASSERT_NE(list, nullptr) << Narrow(control);
        // The players are five at most: their list never scrolls.
        const bool scrolls = window != players;
        const std::u16string item = scrolls ? name + u" 999999" : name;
        const Graphics::Rect size = Measure(item, list->font());
        EXPECT_LE(list->elementDeltaY() + size.width,
                  list->width() - (scrolls ? list->scrollerWidth() + 1 : 0))
            << Narrow(control);
        EXPECT_LE(size.height, list->itemHeight() + 2) << Narrow(control);
    }
}

// The menu loads the group "Menu" alone (the game's group is unloaded by then): every image
// and font it draws must be in it.
TEST_F(MenuLayout, TheMenuGroupHoldsEverythingTheMenuDraws)
{
    std::set<std::u16string> drawn = {u"ani1", u"ani2", u"ani3", u"ani4", u"ani5"};
    for (const UI::Window* w : All()) {
        if (const auto* keyboard = dynamic_cast<const UI::Keyboard*>(w)) {
            drawn.insert(keyboard->buttonsImage());
            drawn.insert(keyboard->keysImage());
            for (auto kind : {UI::Keyboard::Highlight::Normal, UI::Keyboard::Highlight::Backspace,
                              UI::Keyboard::Highlight::Enter, UI::Keyboard::Highlight::Space})
                drawn.insert(keyboard->highlightImage(kind));
        }
    }
    ExpectGroupHoldsEverythingDrawn(drawn);
    // The backdrop covers the screen.
    const Graphics::Surface16* backdrop = resources.GetImage(u"menu_bg");
    ASSERT_NE(backdrop, nullptr);
    EXPECT_EQ(backdrop->Width(), 240u);
    EXPECT_EQ(backdrop->Height(), 320u);
}

// The game screen's layout, with the "Game" group alone (the menu's is unloaded by then).
class GameLayout : public Layout
{
protected:
    void SetUp() override
    {
        Content::SetUp();
        Open(u"Game", u"GameWnd.xml");
    }
};

TEST_F(GameLayout, TheBoardWindowCoversTheScreenUnderItsHeadsUpDisplay)
{
    UI::Window* game = top->findChild(u"GameWnd");
    UI::Window* message = top->findChild(u"Wnd_MsgGrid");
    ASSERT_TRUE(game && message);
    // Both cover the screen at the origin, where the board is drawn; the board's window keeps
    // a drag to its end, and the message waits hidden at the top level.
    for (const UI::Window* w : {top.get(), game, message}) {
        EXPECT_TRUE(w->x() == 0 && w->y() == 0 && w->width() == 240 && w->height() == 320)
            << Narrow(w->name());
    }
    EXPECT_EQ(game->parent(), top.get());
    EXPECT_EQ(message->parent(), top.get());
    EXPECT_TRUE(game->captured());
    EXPECT_FALSE(game->ghost());
    EXPECT_FALSE(message->visible());

    // The screen's controls, the message's as its own children, where the sparks land.
    EXPECT_TRUE(Is<UI::FixedButton>(game->findChild(u"buttonMenu")));
    for (const char16_t* name : {u"labelScore", u"labelTime", u"Label_Lives", u"Label_Grid"})
        EXPECT_TRUE(Is<UI::Label>(game->findChild(name))) << Narrow(name);
    EXPECT_TRUE(Is<UI::Slider>(game->findChild(u"Slider_Score")));
    const std::pair<const char16_t*, bool (*)(const UI::Window*)> messageControls[] = {
        {u"Label_Info", Is<UI::Label>},
        {u"Button_Next", Is<UI::FixedButton>},
        {u"Button_Return", Is<UI::FixedButton>}};
    for (const auto& [name, is] : messageControls) {
        const UI::Window* w = message->findChild(name);
        EXPECT_TRUE(is(w) && w->parent() == message) << Narrow(name);
    }
    // The display lies above the boards, and nothing in it but the button takes a tap or
    // the focus from the board.
    for (size_t i = 0; i < game->childCount(); ++i) {
        const UI::Window* w = game->childAt(i);
        EXPECT_LE(w->y() + w->height(), 40) << Narrow(w->name());
        EXPECT_EQ(w->ghost(), w->name() != u"buttonMenu") << Narrow(w->name());
    }
    ExpectInsideParents();
}

TEST_F(GameLayout, TextsFitAndTheGameGroupHoldsWhatTheScreenDraws)
{
    const std::u16string info[] = {
        strings.GetString(u"Str_GridScore") + u"9999",
        strings.GetString(u"Str_GridFailed"),
        strings.GetString(u"Str_GameOver"),
        strings.GetString(u"Str_Win"),
        strings.GetString(u"Str_TotalScore") + u"999999",
    };
    const std::pair<const char16_t*, std::u16string> texts[] = {
        {u"labelScore", u"9999/999"},
        {u"labelTime", u"9:59"},
        {u"Label_Lives", u"99"},
        {u"Label_Grid", u"99"},
        {u"Label_Info", info[0] + u"\n" + info[4]},
        {u"Label_Info", info[1] + u"\n" + info[4]},
        {u"Label_Info", info[2] + u"\n" + info[4]},
        {u"Label_Info", info[3] + u"\n" + info[4]},
        {u"Button_Next", strings.GetString(u"Str_Next")},
        {u"Button_Next", strings.GetString(u"Str_Continue")},
        {u"Button_Next", strings.GetString(u"Str_Start")},
        {u"Button_Return", strings.GetString(u"Str_Return")},
        {u"buttonMenu", u"Menu"},
    };
    for (const auto& [name, text] : texts) {
        const UI::Window* w = top->findChild(name);
        ASSERT_NE(w, nullptr) << Narrow(name);
        EXPECT_TRUE(ExpectFits(*w, text)) << Narrow(name);
    }

    // The board's pictures, the bonus icons and animations, and the sparks, besides what the
    // layout names.
    std::set<std::u16string> drawn = {
        u"cr30",         u"cr40", u"Chain", u"Chain2", u"bonuses30", u"bonuses40", u"ani_bonuses",
        u"ani_bonuses2", u"ani1", u"ani2",  u"ani3",   u"ani4",      u"ani5"};
    for (int sides = 3; sides <= 12; ++sides) {
        drawn.insert(u"Poly" + Widen(std::to_string(sides)));
        drawn.insert(u"Poly2_" + Widen(std::to_string(sides)));
    }
    ExpectGroupHoldsEverythingDrawn(drawn);
    EXPECT_NE(resources.GetFont(u"digits"), nullptr) << "the floating points";
}

} // namespace
