// The game folder search and check: the folder itself through the system, then its files
// through the same merged tree the loading screen builds.
#include "app/GameData.h"

#include "io/FileSystem.h"
#include "io/Utf8.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
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

// True when folder directly holds a regular file named "*.qpk", as the file system mounts them.
bool HoldsArchive(const std::string& folder)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename().string().ends_with(".qpk") && entry.is_regular_file(error))
            return true;
    }
    return false;
}

std::string Problem(const std::string& folder, const std::string& reason)
{
    return "game folder '" + folder + "': " + reason;
}

} // namespace

GameDataPlace FindGameData(const std::string& dataOption, const std::string& programFolder)
{
    if (!dataOption.empty()) {
        const std::string reason = CheckGameData(dataOption);
        return {dataOption, false, reason.empty() ? reason : Problem(dataOption, reason)};
    }
    // A folder with an archive is a game folder even when the check fails: its own problem is
    // the one to report, not that of an install elsewhere. One without (a bin folder, which
    // may hold much else) is never scanned as a game folder.
    if (HoldsArchive(programFolder)) {
        const std::string reason = CheckGameData(programFolder);
        return {programFolder, false, reason.empty() ? reason : Problem(programFolder, reason)};
    }
    const std::string shared = (std::filesystem::path(programFolder) / ".." / "share" / "tavlo")
                                   .lexically_normal()
                                   .string();
    const std::string sharedReason = CheckGameData(shared);
    if (sharedReason.empty())
        return {shared, true, {}};
    return {programFolder, false,
            Problem(programFolder, "no .qpk archive") + "; " + Problem(shared, sharedReason)};
}

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
