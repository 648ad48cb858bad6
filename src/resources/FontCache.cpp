// The font cache: registration under stable handles, and loading and tinting queued fonts.
#include "resources/FontCache.h"

uint32_t FontCache::Find(std::u16string_view name) const
{
    if (name.empty())
        return 0;
    const auto found = m_handles.find(name);
    return found != m_handles.end() ? found->second : 0;
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
        // An empty name, which Find never answers, gets a handle of its own every time.
        if (!entry.name.empty())
            m_handles.emplace(entry.name, handle);
        m_entries.push_back(std::move(entry));
    }
    Queue(handle);
    return handle;
}

void FontCache::Queue(uint32_t handle)
{
    if (handle == 0 || handle >= m_entries.size())
        return;
    if (m_queued.size() <= handle)
        m_queued.resize(m_entries.size());
    if (!m_queued[handle]) {
        m_queued[handle] = true;
        m_queue.push_back(handle);
    }
}

void FontCache::LoadQueued()
{
    for (uint32_t handle : m_queue) {
        FontEntry& entry = m_entries[handle];
        m_queued[handle] = false;
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
