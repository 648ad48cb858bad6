// Lookups of a directory's files and subdirectories by exact, case-sensitive name.
#include "io/FileSystem.h"

namespace IO {

FileEntry* DirectoryNode::FindFileNamed(std::u16string_view wanted) const
{
    for (const auto& file : files) {
        if (file->name == wanted)
            return file.get();
    }
    return nullptr;
}

DirectoryNode* DirectoryNode::FindSubdirNamed(std::u16string_view wanted) const
{
    for (const auto& dir : subdirs) {
        if (dir->name == wanted)
            return dir.get();
    }
    return nullptr;
}

} // namespace IO
