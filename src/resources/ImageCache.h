// ImageCache: every image the resource manager knows, by handle, with the queue of handles
// waiting to be read from their files.
#pragma once

#include "graphics/Surface16.h"
#include "io/FileSystem.h"
#include "resources/NameIndex.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct ImageEntry
{
    std::u16string name;
    std::u16string fileName; // relative to directory
    // Null while not loaded, and after a load that found no usable file.
    std::unique_ptr<Graphics::Surface16> surface;
    IO::DirectoryNode* directory = nullptr; // borrowed from the file system
};

class ImageCache
{
public:
    // Entry 0, always present and never loaded: lookups that find nothing land on it.
    static constexpr uint32_t DummyHandle = 0;
    static constexpr std::u16string_view DummyName = u"dummy";

    ImageCache();

    // The lowest handle from 1 upward whose entry has exactly this name; 0 for an empty name,
    // for "dummy" (the name of entry 0) and when no entry has it.
    uint32_t Find(std::u16string_view name) const;
    // Enters an image and queues its handle. A name already present keeps its handle and its
    // old entry, surface included, is freed; a new name is appended under the next handle.
    uint32_t Add(std::u16string name, IO::DirectoryNode* directory, std::u16string fileName);
    // Queues an existing handle for loading; a handle already waiting is not queued twice.
    void Queue(uint32_t handle);
    // Reads every queued entry that has no surface yet, in queue order, and empties the queue.
    void LoadQueued();
    // Frees the surface of an entry; the entry and its handle stay.
    void Unload(uint32_t handle);

    // The entry's surface; null for handle 0, a handle out of range, or an entry not loaded.
    Graphics::Surface16* Get(uint32_t handle) const;
    // Null for a handle out of range.
    const ImageEntry* Entry(uint32_t handle) const;
    size_t Count() const { return m_entries.size(); }
    const std::vector<uint32_t>& Queued() const { return m_queue; }

private:
    std::vector<ImageEntry> m_entries; // indexed by handle
    std::vector<uint32_t> m_queue;
    // The handle of every name Find can answer, and which handles are in the queue: a catalogue
    // of many images enters them in time growing with their number, not its square.
    NameIndex m_handles;
    std::vector<bool> m_queued; // indexed by handle
};
