// The game folder check: the folder itself through the system, then its files through the
// same merged tree the loading screen builds.
#include "app/GameData.h"

#include "io/FileSystem.h"
#include "io/Utf8.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// The files the game cannot start without, as "/"-separated paths of the merged tree.
constexpr const char* RequiredFiles[] = {
    "XML/resources.xml", "XML/Strings.xml", "XML/uiconfig.xml",
    "XML/MainMenu.xml",  "XML/GameWnd.xml", "trigo.dat",
};

// The system's reason, in the game's own lowercase words where the usual cases have them.
std::string SystemReason(int error)
{
    switch (error) {
    case ENOENT:
        return "no such folder";
    case ENOTDIR:
        return "not a folder";
    default:
        return std::string("cannot read it (") + std::strerror(error) + ")";
    }
}

// "a", "a and b", "a, b and c".
std::string JoinNames(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

} // namespace

std::string CheckGameData(const std::string& folder)
{
    const std::string host = folder.empty() ? "." : folder;
    struct stat info;
    if (stat(host.c_str(), &info) != 0)
        return SystemReason(errno);
    if (!S_ISDIR(info.st_mode))
        return "not a folder";
    // The tree leaves out a folder it cannot list; say why here rather than call every file
    // missing.
    DIR* dir = opendir(host.c_str());
    if (!dir)
        return SystemReason(errno);
    closedir(dir);

    std::u16string root;
    if (!IO::Utf8ToUtf16(host, root))
        return "cannot read it (its name is not UTF-8)";
    IO::FileSystem files;
    if (files.Mount(root) != IO::StreamResult::Ok)
        return "cannot read it";

    std::vector<std::string> missing;
    for (const char* path : RequiredFiles) {
        std::u16string treePath;
        IO::Utf8ToUtf16(path, treePath);
        for (char16_t& unit : treePath) {
            if (unit == u'/')
                unit = u'\\';
        }
        if (!IO::FileSystem::FindFile(files.GetRoot(), treePath))
            missing.push_back(path);
    }
    const IO::DirectoryNode* grids = IO::FileSystem::FindDirectory(files.GetRoot(), u"grids");
    if (!grids || grids->files.empty())
        missing.push_back("a board file in grids/");
    if (missing.empty())
        return {};
    return "missing " + JoinNames(missing);
}
