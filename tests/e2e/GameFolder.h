// The built game folder, and game folders made from it for runs of the real binary: a run
// writes data.dat into its folder, so each test plays in a temporary folder of its own that
// links to the built data.
#pragma once

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

// The built game folder: TAVLO_GAME_DIR (set by ctest), else build/game.
std::string GameDir();
// The game binary in it.
std::string GameBinary();

// Empty when the built game folder can start the game; else why not (a build whose data
// lacks the game screen's layout, which the game refuses to start without).
const std::string& GameFolderNotReady();

// A temporary folder with links to what the built game folder holds (its archives, and any
// loose files a modder might add), but no saved data.
class PlayableFolder : public TempDir
{
public:
    PlayableFolder();
};

// Tests that run the game on a playable folder; skipped while the built data cannot start it.
class GameRunTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!GameFolderNotReady().empty())
            GTEST_SKIP() << GameFolderNotReady();
    }

    PlayableFolder folder;
};
