// The game folder check: what the system says about the folder, and which of the required
// files the merged tree of loose files and archives lacks.
#include "app/GameData.h"

#include "support/QpkBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

namespace fs = std::filesystem;
using namespace Fixture;

const std::vector<std::string> kLooseFiles = {
    "XML/resources.xml", "XML/Strings.xml", "XML/uiconfig.xml", "XML/MainMenu.xml",
    "XML/GameWnd.xml",   "trigo.dat",       "grids/b01.grid",
};

void WriteLoose(const fs::path& root, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        WriteFile(root / path, "x");
}

// An archive holding the same tree as kLooseFiles, each file one byte, stored.
std::string FullArchive()
{
    const std::string toc = Toc(3, {
                                       {u"XML", 0, 5, 0},
                                       {u"resources.xml", 1, 0, 1},
                                       {u"Strings.xml", 1, 1, 1},
                                       {u"uiconfig.xml", 1, 2, 1},
                                       {u"MainMenu.xml", 1, 3, 1},
                                       {u"GameWnd.xml", 1, 4, 1},
                                       {u"grids", 0, 1, 0},
                                       {u"b01.grid", 1, 5, 1},
                                       {u"trigo.dat", 1, 6, 1},
                                   });
    return toc + "abcdefg";
}

} // namespace

TEST(GameData, NamesWhatTheFolderLacks)
{
    const std::string everythingMissing =
        "missing XML/resources.xml, XML/Strings.xml, XML/uiconfig.xml, XML/MainMenu.xml, "
        "XML/GameWnd.xml, trigo.dat and a board file in grids/";
    const struct
    {
        const char* label;
        std::function<std::string(const fs::path&)> prepare; // returns the folder to check
        std::string expected;
    } cases[] = {
        {"no such folder", [](const fs::path& d) { return (d / "absent").string(); },
         "no such folder"},
        {"a file as the folder",
         [](const fs::path& d) {
             WriteFile(d / "data.qpk", FullArchive());
             return (d / "data.qpk").string();
         },
         "not a folder"},
        {"a path through a file",
         [](const fs::path& d) {
             WriteFile(d / "file", "x");
             return (d / "file" / "game").string();
         },
         "not a folder"},
        {"an empty folder", [](const fs::path& d) { return d.string(); }, everythingMissing},
        {"loose files",
         [](const fs::path& d) {
             WriteLoose(d, kLooseFiles);
             return d.string();
         },
         ""},
        {"an archive",
         [](const fs::path& d) {
             WriteFile(d / "data.qpk", FullArchive());
             return d.string() + "/";
         },
         ""},
        {"an archive and loose files together",
         [](const fs::path& d) {
             WriteFile(d / "data.qpk", Toc(1, {{u"trigo.dat", 1, 0, 1}}) + "t");
             WriteLoose(d, {"XML/resources.xml", "XML/Strings.xml", "XML/uiconfig.xml",
                            "XML/MainMenu.xml", "XML/GameWnd.xml", "grids/b01.grid"});
             return d.string();
         },
         ""},
        {"names differing in case",
         [](const fs::path& d) {
             WriteLoose(d, {"xml/resources.xml", "XML/strings.xml", "XML/uiconfig.xml",
                            "XML/MainMenu.xml", "XML/GameWnd.xml", "Trigo.dat", "grids/b01.grid"});
             return d.string();
         },
         "missing XML/resources.xml, XML/Strings.xml and trigo.dat"},
        {"grids holding only a folder",
         [](const fs::path& d) {
             WriteLoose(d,
                        {"XML/resources.xml", "XML/Strings.xml", "XML/uiconfig.xml",
                         "XML/MainMenu.xml", "XML/GameWnd.xml", "trigo.dat", "grids/set/b01.grid"});
             return d.string();
         },
         "missing a board file in grids/"},
        {"a damaged archive",
         [](const fs::path& d) {
             WriteFile(d / "data.qpk", "QPK1" + FullArchive().substr(4));
             return d.string();
         },
         everythingMissing},
    };
    for (const auto& c : cases) {
        TempDir dir;
        EXPECT_EQ(CheckGameData(c.prepare(dir.Root())), c.expected) << c.label;
    }
}

TEST(GameData, NamesEachRequiredFileThatIsMissing)
{
    for (const std::string& left : kLooseFiles) {
        TempDir dir;
        std::vector<std::string> others;
        for (const std::string& path : kLooseFiles) {
            if (path != left)
                others.push_back(path);
        }
        WriteLoose(dir.Root(), others);
        const std::string expected =
            left.starts_with("grids/") ? "missing a board file in grids/" : "missing " + left;
        EXPECT_EQ(CheckGameData(dir.Root().string()), expected) << left;
    }
}
