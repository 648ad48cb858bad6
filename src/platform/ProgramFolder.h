// The program's own folder: where its data archives lie and where it saves its data.
#pragma once

#include <string>

namespace Platform {

// The folder of the running executable, or the one set by SetProgramFolder. Ends without a
// separator; "." when the executable's path cannot be read.
const std::string& ProgramFolder();
// Overrides the folder (the --data option of the game, or a test's fixture folder).
void SetProgramFolder(std::string folder);

} // namespace Platform
