// The program's own folder, where its data archives lie, and the folder the player's data is
// saved in: the same one, except for an installed game, which keeps it in the user's home.
#pragma once

#include <string>

namespace Platform {

// The folder of the running executable, or the one set by SetProgramFolder. Ends without a
// separator; "." when the executable's path cannot be read.
const std::string& ProgramFolder();
// Overrides the folder (the game folder found at start, or a test's fixture folder).
void SetProgramFolder(std::string folder);

// The folder data.dat is kept in when it is not the program folder; empty (the default) when
// it is.
const std::string& SaveFolder();
void SetSaveFolder(std::string folder);

// The game's folder in the user's data folder: $XDG_DATA_HOME/tavlo, or
// $HOME/.local/share/tavlo when XDG_DATA_HOME is unset, empty or relative (the base directory
// rules ignore a relative one). HOME falls back to the account's home directory; empty when
// there is none.
std::string UserDataFolder();

} // namespace Platform
