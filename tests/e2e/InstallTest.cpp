// The installed game: what `cmake --install` lays out under a prefix, the validity of its desktop
// entry, metadata and manual pages, the Debian package, and runs of the installed programs,
// which find their data in share/tavlo and keep the player's data out of the install tree.
#include "e2e/GameFolder.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const std::string kAppId = "org.tavlo.Tavlo";

// Every file an install puts under its prefix, sorted.
const std::vector<std::string> kInstalledFiles = {
    "bin/tavlo",
    "bin/tavlo-boardtool",
    "bin/tavlo-layouttool",
    "bin/tavlo-qim",
    "bin/tavlo-qpk",
    "share/applications/" + kAppId + ".desktop",
    "share/icons/hicolor/128x128/apps/" + kAppId + ".png",
    "share/icons/hicolor/256x256/apps/" + kAppId + ".png",
    "share/icons/hicolor/48x48/apps/" + kAppId + ".png",
    "share/icons/hicolor/64x64/apps/" + kAppId + ".png",
    "share/man/man1/tavlo-boardtool.1",
    "share/man/man1/tavlo-layouttool.1",
    "share/man/man1/tavlo-qim.1",
    "share/man/man1/tavlo-qpk.1",
    "share/man/man6/tavlo.6",
    "share/metainfo/" + kAppId + ".metainfo.xml",
    "share/tavlo/data.qpk",
};

// A program of the system, found on PATH; empty when there is none.
std::string SystemTool(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const fs::path candidate = fs::path(folder) / name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return {};
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The regular files below root, as sorted paths relative to it.
std::vector<std::string> FilesBelow(const fs::path& root)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory())
            files.push_back(entry.path().lexically_relative(root).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Every path below root with its kind, size and modification time.
std::map<std::string, std::string> Snapshot(const fs::path& root)
{
    std::map<std::string, std::string> state;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info;
        lstat(entry.path().c_str(), &info);
        state[entry.path().lexically_relative(root).string()] =
            std::to_string(info.st_mode) + " " + std::to_string(info.st_size) + " " +
            std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
    }
    return state;
}

// The paths added, removed or changed between two snapshots.
std::vector<std::string> Changes(const std::map<std::string, std::string>& before,
                                 const std::map<std::string, std::string>& after)
{
    std::vector<std::string> changed;
    for (const auto& [path, state] : after) {
        const auto old = before.find(path);
        if (old == before.end() || old->second != state)
            changed.push_back(path);
    }
    for (const auto& [path, state] : before) {
        if (!after.contains(path))
            changed.push_back(path);
    }
    return changed;
}

struct PngFacts
{
    uint32_t width = 0;
    uint32_t height = 0;
    bool alpha = false;

    bool operator==(const PngFacts&) const = default;
};

// What a PNG file holds; all zero when it is none.
PngFacts ReadPngFacts(const fs::path& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    const PngFacts facts{image.width, image.height, (image.format & PNG_FORMAT_FLAG_ALPHA) != 0};
    png_image_free(&image);
    return facts;
}

// Installs the build with prefix /usr into DESTDIR root, as the package does.
class InstallTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ProcessResult r =
            RunProcess(TAVLO_CMAKE, {"--install", TAVLO_BUILD_DIR, "--prefix", "/usr"},
                       {"DESTDIR=" + stage.Root().string()});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    }

    fs::path Usr() const { return stage.Root() / "usr"; }

    TempDir stage;
};

// Runs the game installed below root for five frames (headless unless told otherwise) with the
// given environment, expecting a clean exit and nothing written into the install tree.
void RunInstalledGame(const fs::path& root, const std::vector<std::string>& environment,
                      bool headless = true)
{
    const auto before = Snapshot(root);
    std::vector<std::string> args = {"--frames", "5"};
    if (headless)
        args.push_back("--headless");
    ProcessResult r = RunProcess((root / "usr/bin/tavlo").string(), args, environment);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Changes(before, Snapshot(root)), std::vector<std::string>{})
        << "the run wrote into the install tree";
}

} // namespace

TEST_F(InstallTest, LaysOutTheGameUnderThePrefix)
{
    std::vector<std::string> expected;
    for (const std::string& file : kInstalledFiles)
        expected.push_back("usr/" + file);
    EXPECT_EQ(FilesBelow(stage.Root()), expected);
    for (const char* program :
         {"tavlo", "tavlo-qpk", "tavlo-qim", "tavlo-boardtool", "tavlo-layouttool"})
        EXPECT_EQ(access((Usr() / "bin" / program).c_str(), X_OK), 0) << program;
    for (uint32_t size : {48u, 64u, 128u, 256u}) {
        const std::string box = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(ReadPngFacts(Usr() / "share/icons/hicolor" / box / "apps" / (kAppId + ".png")),
                  (PngFacts{size, size, true}))
            << box;
    }
    // The desktop entry names the icon and the metadata the desktop entry, by the one id.
    const std::string desktop = ReadText(Usr() / "share/applications" / (kAppId + ".desktop"));
    EXPECT_NE(desktop.find("\nIcon=" + kAppId + "\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nExec=tavlo\n"), std::string::npos) << desktop;
    const std::string metainfo = ReadText(Usr() / "share/metainfo" / (kAppId + ".metainfo.xml"));
    EXPECT_NE(metainfo.find("<id>" + kAppId + "</id>"), std::string::npos);
    EXPECT_NE(metainfo.find(">" + kAppId + ".desktop</launchable>"), std::string::npos);
}

TEST_F(InstallTest, DesktopEntryMetadataAndManualPagesPassTheirCheckers)
{
    const std::string desktopCheck = SystemTool("desktop-file-validate");
    const std::string appstream = SystemTool("appstreamcli");
    const std::string man = SystemTool("man");
    if (desktopCheck.empty() || appstream.empty() || man.empty())
        GTEST_SKIP() << "needs desktop-file-validate, appstreamcli and man (scripts/deps.sh)";

    ProcessResult desktop =
        RunProcess(desktopCheck, {(Usr() / "share/applications" / (kAppId + ".desktop")).string()});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out << desktop.err;
    EXPECT_EQ(desktop.out + desktop.err, "");

    ProcessResult metainfo =
        RunProcess(appstream, {"validate", "--no-net",
                               (Usr() / "share/metainfo" / (kAppId + ".metainfo.xml")).string()});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out << metainfo.err;
    // Warnings and errors would be listed as "W: " and "E: " lines; info and pedantic notes are
    // the validator's suggestions.
    EXPECT_EQ(metainfo.out.find("W: "), std::string::npos) << metainfo.out;
    EXPECT_EQ(metainfo.out.find("E: "), std::string::npos) << metainfo.out;

    // groff's every warning, as `groff -ww` gives them, while man formats each page.
    for (const char* page : {"man6/tavlo.6", "man1/tavlo-qpk.1", "man1/tavlo-qim.1",
                             "man1/tavlo-boardtool.1", "man1/tavlo-layouttool.1"}) {
        ProcessResult r = RunProcess(man,
                                     {"--warnings=w", "-E", "UTF-8", "-l", "-Tutf8", "-Z",
                                      (Usr() / "share/man" / page).string()},
                                     {"LC_ALL=C.UTF-8", "MANWIDTH=80"});
        EXPECT_EQ(r.exitCode, 0) << page << r.err;
        EXPECT_EQ(r.err, "") << page;
        EXPECT_GT(r.out.size(), 500u) << page;
    }
}

TEST_F(InstallTest, InstalledGameSavesInTheUsersDataFolderOnly)
{
    if (!GameFolderNotReady().empty())
        GTEST_SKIP() << GameFolderNotReady();
    TempDir user;
    const fs::path home = user.Root() / "home";
    const fs::path xdg = user.Root() / "xdg";
    RunInstalledGame(stage.Root(), {"HOME=" + home.string(), "XDG_DATA_HOME=" + xdg.string()});
    EXPECT_TRUE(fs::is_regular_file(xdg / "tavlo/data.dat"));
    EXPECT_FALSE(fs::exists(home));
    // An empty XDG_DATA_HOME counts as unset: the default below HOME.
    RunInstalledGame(stage.Root(), {"HOME=" + home.string(), "XDG_DATA_HOME="});
    EXPECT_TRUE(fs::is_regular_file(home / ".local/share/tavlo/data.dat"));
    // A windowed run takes its single-instance lock in the runtime folder.
    const fs::path runtime = user.Root() / "run";
    fs::create_directory(runtime);
    RunInstalledGame(stage.Root(),
                     {"HOME=" + home.string(), "XDG_RUNTIME_DIR=" + runtime.string(),
                      "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"},
                     false);
    EXPECT_TRUE(fs::exists(runtime / "Kestrune_00000000.lock"));

    // The installed tools find the installed data the same way.
    const std::string archive = (Usr() / "share/tavlo/data.qpk").string();
    ProcessResult list = RunProcess((Usr() / "bin/tavlo-qpk").string(), {"list", archive});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const size_t board = list.out.find("grids/");
    ASSERT_NE(board, std::string::npos);
    const std::string boardPath = list.out.substr(board, list.out.find('\t', board) - board);
    ProcessResult cat = RunProcess((Usr() / "bin/tavlo-qpk").string(), {"cat", archive, boardPath});
    ASSERT_EQ(cat.exitCode, 0) << cat.err;
    std::ofstream(user.Path("board"), std::ios::binary) << cat.out;
    const auto before = Snapshot(stage.Root());
    ProcessResult render = RunProcess((Usr() / "bin/tavlo-boardtool").string(),
                                      {"render", user.Path("board"), user.Path("board.png")});
    EXPECT_EQ(render.exitCode, 0) << render.err;
    EXPECT_EQ(ReadPngFacts(user.Path("board.png")), (PngFacts{240, 320, false}));
    EXPECT_EQ(Changes(before, Snapshot(stage.Root())), std::vector<std::string>{});
}

TEST(InstalledGame, WithoutItsDataNamesEveryPlaceItLooked)
{
    // A game alone in a folder, with no archive beside it and no share/tavlo above it.
    TempDir dir;
    const fs::path root = fs::canonical(dir.Root());
    fs::create_directories(root / "bin");
    fs::copy_file(GameBinary(), root / "bin/tavlo");
    fs::permissions(root / "bin/tavlo", fs::perms::owner_exec, fs::perm_options::add);
    ProcessResult r = RunProcess((root / "bin/tavlo").string(), {"--headless", "--frames", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "tavlo: game folder '" + (root / "bin").string() +
                         "': no .qpk archive; game folder '" + (root / "share/tavlo").string() +
                         "': no such folder\n");
    EXPECT_EQ(FilesBelow(root), std::vector<std::string>{"bin/tavlo"});
}

TEST(Package, DebianPackageInstallsAndRunsFromItsOwnRoot)
{
    if (!GameFolderNotReady().empty())
        GTEST_SKIP() << GameFolderNotReady();
    const std::string dpkgDeb = SystemTool("dpkg-deb");
    if (dpkgDeb.empty() || SystemTool("dpkg-shlibdeps").empty())
        GTEST_SKIP() << "needs dpkg-deb and dpkg-shlibdeps (scripts/deps.sh)";

    TempDir work;
    ProcessResult pack = RunProcess(TAVLO_CPACK,
                                    {"-G", "DEB", "-B", work.Root().string(), "--config",
                                     std::string(TAVLO_BUILD_DIR) + "/CPackConfig.cmake"},
                                    {}, 300);
    ASSERT_EQ(pack.exitCode, 0) << pack.out << pack.err;
    fs::path deb;
    for (const auto& entry : fs::directory_iterator(work.Root())) {
        if (entry.path().extension() == ".deb")
            deb = entry.path();
    }
    ASSERT_FALSE(deb.empty()) << pack.out;

    const struct
    {
        const char* field;
        std::vector<std::string> contains;
    } fields[] = {
        {"Package", {"tavlo"}},
        {"Section", {"games"}},
        {"Maintainer", {"@"}},
        {"Description", {"puzzle", "\n Tavlo is played"}},
        // Found from the programs: the libraries the game and the tools link.
        {"Depends", {"libc6", "libsdl2-2.0-0", "libpng16-16", "zlib1g", "libstdc++6"}},
    };
    for (const auto& f : fields) {
        ProcessResult r = RunProcess(dpkgDeb, {"-f", deb.string(), f.field});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        for (const std::string& part : f.contains)
            EXPECT_NE(r.out.find(part), std::string::npos) << f.field << ": " << r.out;
    }

    const fs::path root = work.Root() / "root";
    ProcessResult unpack = RunProcess(dpkgDeb, {"-x", deb.string(), root.string()});
    ASSERT_EQ(unpack.exitCode, 0) << unpack.err;
    std::vector<std::string> expected;
    for (const std::string& file : kInstalledFiles)
        expected.push_back("usr/" + file);
    EXPECT_EQ(FilesBelow(root), expected);

    const fs::path home = work.Root() / "home";
    RunInstalledGame(root, {"HOME=" + home.string(), "XDG_DATA_HOME=" + (home / "data").string()});
    EXPECT_TRUE(fs::is_regular_file(home / "data/tavlo/data.dat"));
}
