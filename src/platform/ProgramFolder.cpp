// Finds the executable's folder through /proc/self/exe.
#include "platform/ProgramFolder.h"

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
} // namespace

const std::string& ProgramFolder()
{
    return Folder();
}

void SetProgramFolder(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    Folder() = folder.empty() ? std::string(".") : std::move(folder);
}

} // namespace Platform
