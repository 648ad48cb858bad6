// The built game folder: its readiness is read from its merged tree as the `qpk tree` tool
// beside the game lists it, independently of the check the game makes itself.
#include "e2e/GameFolder.h"

#include "support/Process.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string GameDir()
{
    const char* dir = std::getenv("TAVLO_GAME_DIR");
    return dir ? dir : "build/game";
}

std::string GameBinary()
{
    return GameDir() + "/tavlo";
}

const std::string& GameFolderNotReady()
{
    static const std::string reason = [] {
        const std::string listing = GameDir() + "/qpk";
        ProcessResult tree = RunProcess(listing, {"tree", GameDir()});
        if (tree.exitCode != 0)
            return "cannot list the built game folder with " + listing + ": " + tree.err;
        // One line per file: its path, a tab, its size and its source.
        const std::string line = "XML/GameWnd.xml\t";
        if (!tree.out.starts_with(line) && tree.out.find("\n" + line) == std::string::npos)
            return "the built game folder " + GameDir() +
                   " has no XML/GameWnd.xml, so the game refuses to start on it";
        return std::string();
    }();
    return reason;
}

PlayableFolder::PlayableFolder()
{
    std::error_code error;
    // Everything but the saved data, which each test starts without.
    for (const fs::directory_entry& entry : fs::directory_iterator(GameDir(), error)) {
        if (!entry.path().filename().string().starts_with("data.dat"))
            fs::create_symlink(fs::absolute(entry.path()), Root() / entry.path().filename(), error);
    }
}
