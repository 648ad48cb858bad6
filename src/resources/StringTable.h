// StringTable: the texts the code shows, by key, from "Strings.xml". Translating the game means
// replacing that file.
#pragma once

#include "io/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

struct StringEntry
{
    std::u16string name;
    std::u16string value;
};

class StringTable
{
public:
    // Reads "Strings.xml" from the folder. A missing or unreadable file, or a root element not
    // named "Strings", leaves the table empty.
    void Load(IO::DirectoryNode* xmlFolder);
    // Appends an entry; duplicates are kept (lookups find the first).
    void Add(std::u16string name, std::u16string value);
    // Index of the first entry with exactly this name; -1 when there is none.
    int32_t FindIndex(std::u16string_view name) const;
    // The entry's text, or "invalid" for an index outside the table.
    const std::u16string& GetByIndex(int32_t index) const;
    // GetByIndex(FindIndex(name)): an unknown key gives "invalid".
    const std::u16string& GetString(std::u16string_view name) const;

    size_t Count() const { return m_entries.size(); }

private:
    std::vector<StringEntry> m_entries;
};
