// Writing QPK2 archives from a folder, deterministically: the same folder always gives the
// same bytes.
#pragma once

#include <string>

namespace Qpk {

// Packs the contents of folder into a new archive at archivePath; files are zlib-compressed
// unless store is set or compression would not shrink them. False with a message in error.
bool PackFolder(const std::string& archivePath, const std::string& folder, bool store,
                std::string& error);

} // namespace Qpk
