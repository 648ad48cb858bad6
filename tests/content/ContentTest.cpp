// The built game folder's content, read as the game reads it: the archive's layout and size,
// every image, font, sound, string and board the program asks for, the cell pictures' pivots
// and the quality of the synthesised sounds.
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

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
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

} // namespace
