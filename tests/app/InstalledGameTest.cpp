// Where a run finds its game folder (--data, the executable's folder, ../share/tavlo) and
// where it keeps the player's data: the game folder, or the user's data folder for an
// installed game, made at the first save and never mixed up with the game folder.
#include "app/GameContext.h"
#include "app/GameData.h"
#include "platform/ProgramFolder.h"
#include "states/LoadingState.h"
#include "support/QpkBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>

namespace {

namespace fs = std::filesystem;
using namespace Fixture;

const std::vector<std::string> kDataFiles = {
    "XML/resources.xml", "XML/Strings.xml", "XML/uiconfig.xml", "XML/MainMenu.xml",
    "XML/GameWnd.xml",   "trigo.dat",       "grids/b01.grid",
};

// Every file the game needs, trigo.dat in an archive and the rest loose.
void WriteGameData(const fs::path& folder)
{
    for (const std::string& path : kDataFiles) {
        if (path != "trigo.dat")
            WriteFile(folder / path, "x");
    }
    WriteFile(folder / "data.qpk", Toc(1, {{u"trigo.dat", 1, 0, 1}}) + "t");
}

std::string ReadHostFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Sets or clears an environment variable for the lifetime of the object.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(GameDataSearch, FindsTheGameFolderAndNamesEveryPlaceLookedAt)
{
    // root/bin is the executable's folder; root/share/tavlo is where an install puts the data.
    const struct
    {
        const char* label;
        std::function<void(const fs::path& bin, const fs::path& share)> prepare;
        bool useDataOption;
        const char* folder; // the one found: BIN, SHARE or DATA
        bool installed;
        std::string problem; // with BIN, SHARE and DATA standing for the paths
    } cases[] = {
        {"an archive beside the executable",
         [](const fs::path& bin, const fs::path& share) {
             WriteGameData(bin);
             WriteGameData(share);
         },
         false, "BIN", false, ""},
        {"loose files alone make no game folder of the executable's",
         [](const fs::path& bin, const fs::path&) {
             for (const std::string& path : kDataFiles)
                 WriteFile(bin / path, "x");
         },
         false, "BIN", false,
         "game folder 'BIN': no .qpk archive; game folder 'SHARE': no such folder"},
        {"an incomplete archive beside the executable is still its game folder",
         [](const fs::path& bin, const fs::path& share) {
             WriteFile(bin / "extra.qpk", Toc(1, {{u"trigo.dat", 1, 0, 1}}) + "t");
             WriteGameData(share);
         },
         false, "BIN", false,
         "game folder 'BIN': missing XML/resources.xml, XML/Strings.xml, XML/uiconfig.xml, "
         "XML/MainMenu.xml, XML/GameWnd.xml and a board file in grids/"},
        {"an install", [](const fs::path&, const fs::path& share) { WriteGameData(share); }, false,
         "SHARE", true, ""},
        {"no data anywhere", [](const fs::path&, const fs::path&) {}, false, "BIN", false,
         "game folder 'BIN': no .qpk archive; game folder 'SHARE': no such folder"},
        {"an incomplete install",
         [](const fs::path&, const fs::path& share) {
             WriteGameData(share);
             fs::remove(share / "XML" / "GameWnd.xml");
         },
         false, "BIN", false,
         "game folder 'BIN': no .qpk archive; game folder 'SHARE': missing XML/GameWnd.xml"},
        {"--data wins over both",
         [](const fs::path& bin, const fs::path& share) {
             WriteGameData(bin);
             WriteGameData(share);
             WriteGameData(bin.parent_path() / "data");
         },
         true, "DATA", false, ""},
        {"a bad --data is the only place named",
         [](const fs::path& bin, const fs::path& share) {
             WriteGameData(bin);
             WriteGameData(share);
         },
         true, "DATA", false, "game folder 'DATA': no such folder"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const fs::path bin = dir.Root() / "bin";
        const fs::path share = dir.Root() / "share" / "tavlo";
        const fs::path data = dir.Root() / "data";
        fs::create_directories(bin);
        c.prepare(bin, share);
        const std::map<std::string, std::string> places = {
            {"BIN", bin.string()}, {"SHARE", share.string()}, {"DATA", data.string()}};
        const GameDataPlace place =
            FindGameData(c.useDataOption ? data.string() : std::string(), bin.string());

        std::string problem = c.problem;
        for (const auto& [name, path] : places) {
            if (const size_t at = problem.find(name); at != std::string::npos)
                problem.replace(at, name.size(), path);
        }
        EXPECT_EQ(place.problem, problem) << c.label;
        if (problem.empty()) {
            EXPECT_EQ(place.folder, places.at(c.folder)) << c.label;
            EXPECT_EQ(place.installed, c.installed) << c.label;
        }
    }
}

TEST(UserDataFolder, FollowsXdgDataHomeElseHome)
{
    const struct
    {
        std::optional<std::string> xdg;
        std::optional<std::string> home;
        std::string expected;
    } cases[] = {
        {"/data/me", "/home/me", "/data/me/tavlo"},
        {"/data/me/", "/home/me", "/data/me/tavlo"},
        {std::nullopt, "/home/me", "/home/me/.local/share/tavlo"},
        {"", "/home/me/", "/home/me/.local/share/tavlo"},
        // A relative XDG_DATA_HOME is not a base directory at all.
        {"relative/data", "/home/me", "/home/me/.local/share/tavlo"},
        {"/", "/home/me", "/tavlo"},
    };
    for (const auto& c : cases) {
        ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(Platform::UserDataFolder(), c.expected) << c.xdg.value_or("(unset)");
    }
    // Without HOME, the account's home directory.
    ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
    ScopedEnv home("HOME", std::nullopt);
    const std::string folder = Platform::UserDataFolder();
    EXPECT_TRUE(folder.starts_with("/") && folder.ends_with("/.local/share/tavlo")) << folder;
}

TEST(SaveFolder, AnInstalledGameKeepsItsDataOutOfTheGameFolder)
{
    TempDir dir;
    const fs::path game = dir.Root() / "share" / "tavlo";
    const fs::path saves = dir.Root() / "home" / ".local" / "share" / "tavlo";
    // A data.dat in the game folder is not the player's: it is neither read nor written.
    const std::string stray = "not the player's";
    WriteFile(game / "data.dat", stray);
    Platform::SetProgramFolder(game.string());
    Platform::SetSaveFolder(saves.string());

    {
        auto loading = std::make_unique<LoadingState>();
        loading->Update();
        GameContext& context = GameContext::Instance();
        EXPECT_EQ(context.playerData->PlayerCount(), 0u);
        EXPECT_FALSE(fs::exists(saves)) << "made before the first save";
        context.playerData->AddPlayer(u"Ada");
        GameContext::Destroy();
    }
    struct stat info;
    ASSERT_EQ(stat(saves.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u); // the user's own data
    EXPECT_TRUE(fs::is_regular_file(saves / "data.dat"));
    std::vector<std::string> gameFiles;
    for (const auto& entry : fs::recursive_directory_iterator(game))
        gameFiles.push_back(entry.path().filename().string());
    EXPECT_EQ(gameFiles, std::vector<std::string>{"data.dat"});
    EXPECT_EQ(ReadHostFile(game / "data.dat"), stray);

    // The next run reads the saved player back from the save folder.
    {
        auto loading = std::make_unique<LoadingState>();
        loading->Update();
        GameContext& context = GameContext::Instance();
        ASSERT_EQ(context.playerData->PlayerCount(), 1u);
        EXPECT_EQ(context.playerData->Player(0)->name, u"Ada");
        GameContext::Destroy();
    }
    Platform::SetSaveFolder({});
}
