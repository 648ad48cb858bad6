// FontCache: every bitmap font the resource manager knows, by handle, with the colour each is
// tinted with and the queue of handles waiting to be read from their files.
#pragma once

#include "graphics/BitmapFont.h"
#include "io/FileSystem.h"
#include "resources/NameIndex.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct FontEntry
{
    std::u16string name;
    // The font's files are fileName + ".fnt" and fileName + ".qim", relative to directory.
    std::u16string fileName;
    IO::DirectoryNode* directory = nullptr; // borrowed from the file system
    uint16_t color = 0xFFFF;                // RGB565; the sheet is ANDed with it once loaded
    // Null while not loaded, and after a load that failed.
    std::unique_ptr<Utils::BitmapFont> font;
};

class FontCache
{
public:
    // White: ANDing a sheet with it changes nothing.
    static constexpr uint16_t DefaultColor = 0xFFFF;

    // The lowest handle from 1 upward whose entry has exactly this name; 0 for an empty name
    // and when no entry has it. Slot 0 is empty and never holds a font.
    uint32_t Find(std::u16string_view name) const;
    // Enters a font and queues its handle, with the replacement rule of ImageCache::Add. The
    // first font creates the empty slot 0 and takes handle 1.
    uint32_t Add(std::u16string name, IO::DirectoryNode* directory, std::u16string fileName,
                 uint16_t color);
    // Queues an existing handle for loading; a handle already waiting is not queued twice.
    void Queue(uint32_t handle);
    // Loads and tints every queued entry that has no font yet, in queue order, and empties the
    // queue. A font whose files are missing or unreadable stays null.
    void LoadQueued();
    // Frees the font of an entry; the entry and its handle stay.
    void Unload(uint32_t handle);

    // The entry's font; handle 0 stands for handle 1, the first font entered. Null for a
    // handle out of range or an entry not loaded.
    Utils::BitmapFont* Get(uint32_t handle) const;
    // Null for a handle out of range.
    const FontEntry* Entry(uint32_t handle) const;
    size_t Count() const { return m_entries.size(); }
    const std::vector<uint32_t>& Queued() const { return m_queue; }

private:
    std::vector<FontEntry> m_entries; // indexed by handle; empty until the first Add
    std::vector<uint32_t> m_queue;
    // The handle of every name Find can answer, and which handles are in the queue: a catalogue
    // of many images enters them in time growing with their number, not its square.
    NameIndex m_handles;
    std::vector<bool> m_queued; // indexed by handle
};
