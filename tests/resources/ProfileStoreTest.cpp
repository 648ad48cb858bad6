// The saved data: data.dat byte for byte, files that must be rejected whole, saves that must
// not destroy the old file, and the rules of a player's progress and the high-score tables.
// Expected files are written out here field by field, independently of the store's writer.
#include "resources/ProfileStore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;
using namespace std::string_view_literals;

// A data.dat image written out field by field, little-endian.
struct Image
{
    std::string bytes;

    Image& U8(uint32_t value) { return Put(value, 1); }
    Image& U16(uint32_t value) { return Put(value, 2); }
    Image& U32(uint32_t value) { return Put(value, 4); }
    // Length in units, the units, a 0 unit.
    Image& Str(std::u16string_view text)
    {
        U32(static_cast<uint32_t>(text.size()));
        for (char16_t unit : text)
            U16(unit);
        return U16(0);
    }
    // One mode of a player record.
    Image& Mode(uint32_t lives, uint32_t grid, uint32_t bestGrid, uint32_t score, uint32_t best)
    {
        return U8(lives).U16(grid).U16(bestGrid).U16(score).U16(best);
    }
    Image& FreshModes() { return Mode(3, 1, 1, 0, 0).Mode(3, 1, 1, 0, 0).Mode(3, 1, 1, 0, 0); }
    Image& NoTables() { return U8(0).U8(0).U8(0); }
    Image& Settings(const GameSettings& s)
    {
        U8(s.soundOn).U32(s.soundVolume).U8(s.musicOn).U32(s.musicVolume);
        return U8(s.stylus).U8(s.antialiasing).U8(s.underCells);
    }

private:
    Image& Put(uint32_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>(value >> (8 * i)));
        return *this;
    }
};

// A store without players, selection or high scores.
std::string EmptyImage(const GameSettings& settings)
{
    return Image().U32(0).U32(-1).NoTables().Settings(settings).bytes;
}

// Two players, the second with an empty name, and no high scores.
std::string TwoPlayers()
{
    Image image;
    image.U32(2).U32(0).Str(u"Max").FreshModes();
    image.Str(u"").Mode(1, 4, 6, 10, 20).Mode(3, 1, 1, 0, 0).Mode(3, 1, 1, 0, 0);
    return image.NoTables().Settings(GameSettings{}).bytes;
}

// Options that differ from the initial ones in every field.
const GameSettings kOddSettings{0, 0, 100, 7, 0, 0, 0};

// Two players, one with the largest field values; a full Arcade table with equal scores and an
// empty name, a one-entry Classic table, an empty Survival one.
std::string RichImage()
{
    Image image;
    image.U32(2).U32(1).Str(u"").FreshModes();
    image.Str(u"Zo\u00EB \U0001F600").Mode(255, 65535, 65535, 65535, 65535);
    image.Mode(0, 2, 9, 7, 8).Mode(1, 3, 3, 0, 40000);
    image.U8(10);
    for (uint32_t score : {900, 800, 800, 500, 400, 300, 200, 120, 120, 0})
        image.Str(score == 300 ? u"" : u"Ann").U16(score);
    image.U8(1).Str(u"Bo").U16(65535).U8(0);
    return image.Settings(kOddSettings).bytes;
}

std::string Bytes(const std::vector<uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::span<const uint8_t> Span(std::string_view bytes)
{
    return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

// A temporary game folder, mounted after data.dat (when given) is written to it.
struct GameFolder
{
    explicit GameFolder(std::optional<std::string_view> dataDat = std::nullopt)
    {
        if (dataDat)
            Write("data.dat", *dataDat);
        files.Mount(dir.Root().u16string() + u"/");
    }
    void Write(const std::string& name, std::string_view bytes) const
    {
        std::ofstream(dir.Root() / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(dir.Root() / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    bool Exists(const std::string& name) const { return fs::exists(dir.Root() / name); }
    IO::DirectoryNode* Root() const { return files.GetRoot(); }

    TempDir dir;
    IO::FileSystem files;
};

} // namespace

TEST(ProfileStore, SavesASmallStoreByteForByte)
{
    GameFolder folder;
    GameSettings settings{0, 1, 70, 100, 0, 1, 0};
    {
        ProfileStore store(settings);
        store.Load(folder.Root(), u"data.dat");
        store.AddPlayer(u"Al");
        store.AddPlayer(u"");
        PlayerProfile& al = *store.Player(0);
        al.score[0] = 300;
        ASSERT_TRUE(store.InsertHighScore(al, 1));
        PlayerProfile& second = *store.Player(1);
        second.lives[1] = 2;
        second.grid[1] = 5;
        second.bestGrid[1] = 7;
        second.score[1] = 1234;
        second.bestScore[1] = 0x1234;
        store.SetCurrent(1);
    }                                                    // saved on destruction
    const std::string_view expected = "\x02\x00\x00\x00" // 2 players
                                      "\x01\x00\x00\x00" // current 1
                                      "\x02\x00\x00\x00\x41\x00\x6C\x00\x00\x00" // "Al"
                                      "\x03\x01\x00\x01\x00\x2C\x01\x00\x00"     // Arcade, 300
                                      "\x03\x01\x00\x01\x00\x00\x00\x00\x00"     // Classic
                                      "\x03\x01\x00\x01\x00\x00\x00\x00\x00"     // Survival
                                      "\x00\x00\x00\x00\x00\x00"                 // ""
                                      "\x03\x01\x00\x01\x00\x00\x00\x00\x00"     // Arcade
                                      "\x02\x05\x00\x07\x00\xD2\x04\x34\x12"     // Classic
                                      "\x03\x01\x00\x01\x00\x00\x00\x00\x00"     // Survival
                                      "\x01\x02\x00\x00\x00\x41\x00\x6C\x00\x00\x00\x2C\x01"
                                      "\x00"                 // Classic table
                                      "\x00"                 // Survival table
                                      "\x00\x46\x00\x00\x00" // sound off, 70
                                      "\x01\x64\x00\x00\x00" // music on, 100
                                      "\x00\x01\x00"sv;      // keys, antialiased, no pictures
    EXPECT_EQ(folder.Read("data.dat"), expected);
    EXPECT_FALSE(folder.Exists("data.dat.tmp"));
}

TEST(ProfileStore, LoadingAndSavingReproducesTheFile)
{
    for (const std::string& image : {EmptyImage(GameSettings{}), TwoPlayers(), RichImage()}) {
        GameFolder folder(image);
        GameSettings settings;
        ProfileStore store(settings);
        ASSERT_TRUE(store.Load(folder.Root(), u"data.dat"));
        folder.Write("data.dat", "replaced by the save");
        EXPECT_TRUE(store.Save());
        EXPECT_EQ(folder.Read("data.dat"), image);
        EXPECT_FALSE(folder.Exists("data.dat.bad"));
    }
    // Narrow fields widen without a sign.
    GameSettings settings;
    ProfileStore store(settings);
    ASSERT_TRUE(store.Decode(Span(RichImage())));
    EXPECT_EQ(store.Current(), 1);
    EXPECT_EQ(store.Player(1)->name, u"Zo\u00EB \U0001F600");
    EXPECT_EQ(store.Player(1)->lives, (std::array<uint32_t, 3>{255, 0, 1}));
    EXPECT_EQ(store.Player(1)->bestScore, (std::array<uint32_t, 3>{65535, 8, 40000}));
    EXPECT_EQ(store.Table(2), (std::vector<ScoreEntry>{{u"Bo", 65535}}));
    EXPECT_EQ(settings, kOddSettings);
}

TEST(ProfileStore, RejectsEveryTruncationWhole)
{
    const std::string whole = RichImage();
    // A store holding something else, so that any half-read value would show.
    GameSettings settings;
    ProfileStore store(settings);
    const std::string other = TwoPlayers();
    ASSERT_TRUE(store.Decode(Span(other)));
    for (size_t length = 0; length < whole.size(); ++length) {
        EXPECT_FALSE(store.Decode(Span(whole).first(length))) << "length " << length;
        ASSERT_EQ(Bytes(store.Encode()), other) << "length " << length;
    }
}

TEST(ProfileStore, RejectsDamagedFilesWholeAndKeepsThemBeside)
{
    const GameSettings fresh;
    const std::string rich = RichImage();
    auto withU32At = [&](size_t offset, uint32_t value) {
        std::string bytes = rich;
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<char>(value >> (8 * i));
        return bytes;
    };
    Image eleven = Image().U32(0).U32(-1).U8(11);
    for (int i = 0; i < 11; ++i)
        eleven.Str(u"A").U16(100);
    eleven.U8(0).U8(0).Settings(fresh);
    Image noZero = Image().U32(1).U32(0).U32(1).U16('A').U16('B');
    noZero.FreshModes().NoTables().Settings(fresh);

    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"cut inside the header", rich.substr(0, 3)},
        {"cut inside a name", rich.substr(0, 9)},
        {"cut inside a table", rich.substr(0, rich.size() / 2)},
        {"cut inside the options", rich.substr(0, rich.size() - 1)},
        {"a byte after the options", rich + '\0'},
        {"a player count of 2^32 - 1", withU32At(0, 0xFFFFFFFF)},
        {"one player more than recorded", withU32At(0, 3)},
        // The first name is empty, so its length lies at offset 8.
        {"a name longer than the file", withU32At(8, 0x7FFFFFFF)},
        {"a name length that wraps around", withU32At(8, 0xFFFFFFFF)},
        {"a name without its 0 unit", noZero.bytes},
        {"a table of 11 entries", eleven.bytes},
        {"a table count of 255", Image().U32(0).U32(-1).U8(255).U8(0).U8(0).Settings(fresh).bytes},
    };
    const GameSettings before{1, 1, 77, 50, 0, 1, 1};
    for (const auto& [label, bytes] : cases) {
        GameFolder folder(bytes);
        GameSettings settings = before;
        {
            ProfileStore store(settings);
            testing::internal::CaptureStderr();
            EXPECT_FALSE(store.Load(folder.Root(), u"data.dat")) << label;
            EXPECT_EQ(testing::internal::GetCapturedStderr(),
                      "tavlo: data.dat is damaged; kept as data.dat.bad, starting afresh\n");
            EXPECT_EQ(store.PlayerCount(), 0u) << label;
            EXPECT_EQ(store.Current(), -1) << label;
            for (uint32_t mode = 1; mode <= 3; ++mode)
                EXPECT_TRUE(store.Table(mode).empty()) << label;
            EXPECT_EQ(settings, before) << label;
            EXPECT_EQ(folder.Read("data.dat.bad"), bytes) << label;
        }
        // The save at the end writes the fresh store; the kept copy survives it.
        EXPECT_EQ(folder.Read("data.dat"), EmptyImage(before)) << label;
        EXPECT_EQ(folder.Read("data.dat.bad"), bytes) << label;
    }
}

TEST(ProfileStore, SelectionOutsideThePlayersBecomesNone)
{
    const std::pair<uint32_t, int32_t> cases[] = {
        {0, 0}, {1, 1}, {2, -1}, {0xFFFFFFFF, -1}, {0xFFFFFFFE, -1}, {0x80000000, -1}};
    for (auto [stored, expected] : cases) {
        Image image = Image().U32(2).U32(stored).Str(u"A").FreshModes().Str(u"B").FreshModes();
        image.NoTables().Settings(GameSettings{});
        GameSettings settings;
        ProfileStore store(settings);
        ASSERT_TRUE(store.Decode(Span(image.bytes))) << stored;
        EXPECT_EQ(store.Current(), expected) << stored;
        EXPECT_EQ(Bytes(store.Encode()).substr(4, 4), Image().U32(expected).bytes) << stored;
    }
}

TEST(ProfileStore, SavesValuesTooWideForTheirFieldSaturated)
{
    GameSettings settings;
    ProfileStore store(settings);
    store.AddPlayer(u"Big");
    PlayerProfile& big = *store.Player(0);
    big.lives = {256, 255, 1000};
    big.grid = {65536, 65535, 70000};
    big.bestGrid = {0xFFFFFFFF, 2, 131072};
    big.score = {70000, 65535, 0x10001}; // 70000 cut to 16 bits would be 4464
    big.bestScore = {65536, 65534, 0xFFFFFFFF};
    ASSERT_TRUE(store.InsertHighScore(big, 1));
    ASSERT_TRUE(store.InsertHighScore(big, 3));

    Image expected = Image().U32(1).U32(-1).Str(u"Big");
    expected.Mode(255, 65535, 65535, 65535, 65535).Mode(255, 65535, 2, 65535, 65534);
    expected.Mode(255, 65535, 65535, 65535, 65535);
    expected.U8(1).Str(u"Big").U16(65535).U8(0).U8(1).Str(u"Big").U16(65535);
    EXPECT_EQ(Bytes(store.Encode()), expected.Settings(settings).bytes);
}

TEST(ProfileStore, WithoutAFileStartsEmptyAndWritesOneAtTheEnd)
{
    GameFolder folder;
    GameSettings settings;
    {
        ProfileStore store(settings);
        EXPECT_FALSE(store.Load(folder.Root(), u"data.dat"));
        EXPECT_EQ(store.PlayerCount(), 0u);
        EXPECT_EQ(store.Current(), -1);
        store.AddPlayer(u"New");
        // Every mode starts on board 1 with 3 lives and no score.
        PlayerProfile fresh;
        fresh.name = u"New";
        fresh.lives = {3, 3, 3};
        fresh.grid = fresh.bestGrid = {1, 1, 1};
        fresh.score = fresh.bestScore = {0, 0, 0};
        EXPECT_EQ(*store.Player(0), fresh);
    }
    Image expected = Image().U32(1).U32(-1).Str(u"New").FreshModes();
    EXPECT_EQ(folder.Read("data.dat"), expected.NoTables().Settings(settings).bytes);
    EXPECT_FALSE(folder.Exists("data.dat.tmp"));

    // The mounted tree knows the new file, and not the temporary one.
    EXPECT_EQ(IO::FileSystem::FindFile(folder.Root(), u"data.dat.tmp"), nullptr);
    ProfileStore again(settings);
    EXPECT_TRUE(again.Load(folder.Root(), u"data.dat"));
    EXPECT_EQ(again.PlayerCount(), 1u);
}

TEST(ProfileStore, NeverOverwritesAFileItCouldNotReadOrKeep)
{
    const std::string damaged = "\x01\x02";
    // Each runs after mounting: the file cannot be opened, or its copy cannot be made.
    const std::pair<const char*, void (*)(const fs::path&)> cases[] = {
        {"unreadable",
         [](const fs::path& dir) {
             fs::remove(dir / "data.dat");
             mkfifo((dir / "data.dat").c_str(), 0644);
         }},
        {"damaged, copy blocked",
         [](const fs::path& dir) { fs::create_directory(dir / "data.dat.bad.tmp"); }},
    };
    for (const auto& [label, spoil] : cases) {
        GameFolder folder(damaged);
        spoil(folder.dir.Root());
        const auto before = fs::status(folder.dir.Root() / "data.dat").type();
        GameSettings settings;
        {
            ProfileStore store(settings);
            testing::internal::CaptureStderr();
            EXPECT_FALSE(store.Load(folder.Root(), u"data.dat")) << label;
            EXPECT_TRUE(testing::internal::GetCapturedStderr().starts_with("tavlo: ")) << label;
            EXPECT_FALSE(store.SaveOnExit()) << label;
            // The screens save at once after a change: those saves must refuse as well, and
            // say so only once however often they are asked.
            store.AddPlayer(u"Lost");
            testing::internal::CaptureStderr();
            EXPECT_FALSE(store.Save()) << label;
            EXPECT_FALSE(store.Save()) << label;
            const std::string refusal = testing::internal::GetCapturedStderr();
            EXPECT_TRUE(refusal.starts_with("tavlo: not saving data.dat: ")) << refusal;
            EXPECT_EQ(std::count(refusal.begin(), refusal.end(), '\n'), 1) << refusal;
            EXPECT_FALSE(folder.Exists("data.dat.tmp")) << label;
        }
        EXPECT_EQ(fs::status(folder.dir.Root() / "data.dat").type(), before) << label;
        if (before == fs::file_type::regular) {
            EXPECT_EQ(folder.Read("data.dat"), damaged) << label;
        }
    }
}

TEST(ProfileStore, KeepsEveryDamagedFileUpToTenCopies)
{
    // Each start finds a new damaged file; the one before was replaced by that start's save.
    TempDir dir;
    std::vector<std::string> kept;
    for (int start = 0; start <= 10; ++start) {
        const std::string damaged(size_t(start + 1), '\x01');
        std::ofstream(dir.Root() / "data.dat", std::ios::binary) << damaged;
        IO::FileSystem files;
        files.Mount(dir.Root().u16string() + u"/");
        GameSettings settings;
        ProfileStore store(settings);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(store.Load(files.GetRoot(), u"data.dat"));
        const std::string said = testing::internal::GetCapturedStderr();
        if (start < 10) {
            const std::string name =
                start == 0 ? "data.dat.bad" : "data.dat.bad." + std::to_string(start);
            EXPECT_EQ(said, "tavlo: data.dat is damaged; kept as " + name + ", starting afresh\n");
            kept.push_back(name);
            EXPECT_TRUE(store.SaveOnExit()) << start;
        } else {
            // All names taken: nothing older is given up, and the damaged file stays.
            EXPECT_TRUE(said.starts_with("tavlo: data.dat is damaged and cannot be copied ("))
                << said;
            EXPECT_FALSE(store.SaveOnExit());
        }
    }
    for (size_t i = 0; i < kept.size(); ++i) {
        std::ifstream in(dir.Root() / kept[i], std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string(i + 1, '\x01'));
    }
    EXPECT_FALSE(fs::exists(dir.Root() / "data.dat.bad.10"));
    std::ifstream last(dir.Root() / "data.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(last), {}), std::string(11, '\x01'));
}

TEST(ProfileStore, AFailedSaveLeavesTheOldFileWhole)
{
    const std::string old = RichImage();
    // The disk "fills up" in the middle of the write, or a folder takes the temporary name.
    for (bool midway : {true, false}) {
        GameFolder folder(old);
        if (!midway)
            fs::create_directory(folder.dir.Root() / "data.dat.tmp");
        GameSettings settings;
        ProfileStore store(settings);
        ASSERT_TRUE(store.Load(folder.Root(), u"data.dat"));
        store.AddPlayer(u"Third");

        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit original = limit;
        auto handler = std::signal(SIGXFSZ, SIG_IGN);
        limit.rlim_cur = midway ? 64 : limit.rlim_cur;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        testing::internal::CaptureStderr();
        const bool saved = store.Save();
        const std::string message = testing::internal::GetCapturedStderr();
        setrlimit(RLIMIT_FSIZE, &original);
        std::signal(SIGXFSZ, handler);

        EXPECT_FALSE(saved) << midway;
        EXPECT_EQ(folder.Read("data.dat"), old) << midway;
        EXPECT_TRUE(message.starts_with("tavlo: cannot save data.dat: ")) << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_EQ(fs::is_directory(folder.dir.Root() / "data.dat.tmp"), !midway);
        EXPECT_EQ(IO::FileSystem::FindFile(folder.Root(), u"data.dat.tmp"), nullptr) << midway;

        // Once the cause is gone the next save goes through.
        fs::remove(folder.dir.Root() / "data.dat.tmp");
        ASSERT_TRUE(store.Save()) << midway;
        GameSettings reread;
        ProfileStore check(reread);
        ASSERT_TRUE(check.Load(folder.Root(), u"data.dat")) << midway;
        EXPECT_EQ(check.PlayerCount(), 3u) << midway;
    }
}

TEST(ProfileStore, HighScoresGoBeforeTheFirstLowerScore)
{
    const std::vector<uint32_t> full = {900, 800, 700, 600, 500, 400, 300, 200, 150, 120};
    const std::string fullText = "a900 b800 c700 d600 e500 f400 g300 h200 i150 j120";
    const std::tuple<const char*, std::vector<uint32_t>, uint32_t, bool, std::string> cases[] = {
        {"an empty table takes a run of 0", {}, 0, true, "P0"},
        {"a tie goes after the equal scores",
         {500, 300, 300, 100},
         300,
         true,
         "a500 b300 c300 P300 d100"},
        {"a new best goes first", {500, 300}, 501, true, "P501 a500 b300"},
        {"the lowest goes last while there is room", {500, 300}, 0, true, "a500 b300 P0"},
        {"a full table refuses a tie with its last", full, 120, false, fullText},
        {"a full table drops its last for a higher score", full, 121, true,
         "a900 b800 c700 d600 e500 f400 g300 h200 i150 P121"},
        {"a full table takes a new best", full, 1000, true,
         "P1000 a900 b800 c700 d600 e500 f400 g300 h200 i150"},
    };
    for (const auto& [label, scores, score, entered, after] : cases) {
        // The Arcade table comes from a file, named a, b, c... from the best.
        Image image = Image().U32(0).U32(-1).U8(static_cast<uint32_t>(scores.size()));
        for (size_t i = 0; i < scores.size(); ++i)
            image.Str(std::u16string(1, static_cast<char16_t>(u'a' + i))).U16(scores[i]);
        image.U8(0).U8(0).Settings(GameSettings{});
        GameSettings settings;
        ProfileStore store(settings);
        ASSERT_TRUE(store.Decode(Span(image.bytes))) << label;

        PlayerProfile player;
        player.name = u"P";
        player.score = {score, 5, 5};
        EXPECT_EQ(store.InsertHighScore(player, 1), entered) << label;
        std::string text;
        for (const ScoreEntry& entry : store.Table(1))
            text += (text.empty() ? "" : " ") + std::string(1, static_cast<char>(entry.name[0])) +
                    std::to_string(entry.score);
        EXPECT_EQ(text, after) << label;
        EXPECT_TRUE(store.Table(2).empty() && store.Table(3).empty()) << label;
    }
}

TEST(ProfileStore, RunsAdvanceOnWinsAndEndThroughTheTable)
{
    GameSettings settings;
    ProfileStore store(settings);
    store.AddPlayer(u"Kim");
    PlayerProfile& kim = *store.Player(0);

    // All three boards of Classic won, the last with 4 lives on screen.
    EXPECT_EQ(store.RecordWin(kim, 2, 100, 3), 1u);
    EXPECT_EQ(store.RecordWin(kim, 2, 250, 2), 2u);
    EXPECT_EQ(store.RecordWin(kim, 2, 50, 4), 3u);
    EXPECT_EQ(kim.grid[1], 4u);
    EXPECT_EQ(kim.score[1], 400u);
    EXPECT_EQ(kim.lives[1], 4u);
    store.EndRun(kim, 2);
    EXPECT_EQ(kim.grid[1], 1u);
    EXPECT_EQ(kim.score[1], 0u);
    EXPECT_EQ(kim.lives[1], 3u);
    EXPECT_EQ(kim.bestGrid[1], 4u);
    EXPECT_EQ(kim.bestScore[1], 400u);
    EXPECT_EQ(store.Table(2), (std::vector<ScoreEntry>{{u"Kim", 400}}));
    EXPECT_EQ(kim.grid[0], 1u); // other modes untouched
    EXPECT_TRUE(store.Table(1).empty());

    // A shorter run keeps the bests of the longer one.
    store.RecordWin(kim, 2, 30, 3);
    store.EndRun(kim, 2);
    EXPECT_EQ(kim.bestGrid[1], 4u);
    EXPECT_EQ(kim.bestScore[1], 400u);
    EXPECT_EQ(store.Table(2), (std::vector<ScoreEntry>{{u"Kim", 400}, {u"Kim", 30}}));

    // A lost board costs a life and replays the same board; with none left the run is over.
    store.RecordWin(kim, 3, 70, 2);
    EXPECT_TRUE(store.TakeLife(kim, 3));
    EXPECT_EQ(kim.lives[2], 1u);
    EXPECT_EQ(kim.grid[2], 2u);
    kim.lives[2] = 0;
    EXPECT_FALSE(store.TakeLife(kim, 3));
    EXPECT_EQ(kim.lives[2], 0u);
    store.EndRun(kim, 3);
    EXPECT_EQ(store.Table(3), (std::vector<ScoreEntry>{{u"Kim", 70}}));

    // From 3 lives, the fourth lost board ends the run.
    int kept = 0;
    while (store.TakeLife(kim, 1))
        ++kept;
    EXPECT_EQ(kept, 3);

    // A mode number outside 1 to 3 changes nothing.
    const PlayerProfile before = kim;
    EXPECT_EQ(store.RecordWin(kim, 0, 10, 1), 0u);
    EXPECT_EQ(store.RecordWin(kim, 4, 10, 1), 0u);
    EXPECT_FALSE(store.TakeLife(kim, 4));
    store.EndRun(kim, 0);
    EXPECT_FALSE(store.InsertHighScore(kim, 4));
    EXPECT_EQ(kim, before);
}

TEST(ProfileStore, RemovingAPlayerKeepsTheSelectionOnItsPlayer)
{
    GameSettings settings;
    ProfileStore store(settings);
    for (const char16_t* name : {u"A", u"B", u"C", u"A"}) // duplicates allowed
        store.AddPlayer(name);
    store.SetCurrent(2);
    store.RemovePlayer(0); // before the selection
    EXPECT_EQ(store.CurrentPlayer()->name, u"C");
    store.RemovePlayer(5); // no such player
    store.RemovePlayer(-1);
    store.RemovePlayer(2); // after it
    EXPECT_EQ(store.Current(), 1);
    store.RemovePlayer(1); // the selected player
    EXPECT_EQ(store.Current(), -1);
    ASSERT_EQ(store.PlayerCount(), 1u);
    EXPECT_EQ(store.Player(0)->name, u"B");
    store.SetCurrent(1);
    EXPECT_EQ(store.Current(), -1);
}
