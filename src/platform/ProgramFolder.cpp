// Finds the executable's folder through /proc/self/exe, and the user's data folder through
// the environment.
#include "platform/ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace Platform {

namespace {

std::string& Folder()
{
    static std::string folder = [] {
        std::error_code error;
        auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error || !exe.has_parent_path())
            return std::string(".");
        return exe.parent_path().string();
    }();
    return folder;
}

std::string& SaveFolderSetting()
{
    static std::string folder;
    return folder;
}

// A variable holding an absolute path, else empty.
std::string AbsoluteFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

std::string WithoutTrailingSeparators(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

const std::string& ProgramFolder()
{
    return Folder();
}

void SetProgramFolder(std::string folder)
{
    folder = WithoutTrailingSeparators(std::move(folder));
    Folder() = folder.empty() ? std::string(".") : std::move(folder);
}

const std::string& SaveFolder()
{
    return SaveFolderSetting();
}

void SetSaveFolder(std::string folder)
{
    SaveFolderSetting() = WithoutTrailingSeparators(std::move(folder));
}

std::string UserDataFolder()
{
    std::string base = AbsoluteFromEnvironment("XDG_DATA_HOME");
    if (base.empty()) {
        std::string home = AbsoluteFromEnvironment("HOME");
        if (home.empty()) {
            const passwd* account = getpwuid(getuid());
            if (!account || !account->pw_dir || account->pw_dir[0] != '/')
                return {};
            home = account->pw_dir;
        }
        base = WithoutTrailingSeparators(home) + "/.local/share";
    }
    base = WithoutTrailingSeparators(base);
    return (base == "/" ? "" : base) + "/tavlo";
}

} // namespace Platform
