// The font cache: registration under stable handles, and loading and tinting queued fonts.
#include "resources/FontCache.h"

#include <algorithm>

uint32_t FontCache::Find(std::u16string_view name) const
{
    if (name.empty())
        return 0;
    for (size_t handle = 1; handle < m_entries.size(); ++handle) {
        if (m_entries[handle].name == name)
            return static_cast<uint32_t>(handle);
    }
    return 0;
}

uint32_t FontCache::Add(std::u16string name, IO::DirectoryNode* directory, std::u16string fileName,
                        uint16_t color)
{
    if (m_entries.empty())
        m_entries.emplace_back();
    FontEntry entry{std::move(name), std::move(fileName), directory, color, nullptr};
    uint32_t handle = Find(entry.name);
    if (handle != 0) {
        m_entries[handle] = std::move(entry);
    } else {
        handle = static_cast<uint32_t>(m_entries.size());
        m_entries.push_back(std::move(entry));
    }
    Queue(handle);
    return handle;
}

void FontCache::Queue(uint32_t handle)
{
    if (handle == 0 || handle >= m_entries.size())
        return;
    if (std::find(m_queue.begin(), m_queue.end(), handle) == m_queue.end())
        m_queue.push_back(handle);
}

void FontCache::LoadQueued()
{
    for (uint32_t handle : m_queue) {
        FontEntry& entry = m_entries[handle];
        // A font already present stays: another group may be drawing with it.
        if (entry.font)
            continue;
        auto font = std::make_unique<Utils::BitmapFont>();
        if (!font->Load(entry.directory, entry.fileName))
            continue;
        // The default colour leaves the sheet as drawn, so it needs no pass over the pixels.
        if (entry.color != DefaultColor)
            font->Tint(entry.color);
        entry.font = std::move(font);
    }
    m_queue.clear();
}

void FontCache::Unload(uint32_t handle)
{
    if (handle < m_entries.size())
        m_entries[handle].font.reset();
}

Utils::BitmapFont* FontCache::Get(uint32_t handle) const
{
    if (handle == 0)
        handle = 1;
    return handle < m_entries.size() ? m_entries[handle].font.get() : nullptr;
}

const FontEntry* FontCache::Entry(uint32_t handle) const
{
    return handle < m_entries.size() ? &m_entries[handle] : nullptr;
}
