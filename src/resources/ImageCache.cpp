// The image cache: registration under stable handles and the loading of queued images.
#include "resources/ImageCache.h"

#include "graphics/Qim.h"

ImageCache::ImageCache()
{
    m_entries.push_back({std::u16string(DummyName), {}, nullptr, nullptr});
}

uint32_t ImageCache::Find(std::u16string_view name) const
{
    if (name.empty() || name == DummyName)
        return DummyHandle;
    const auto found = m_handles.find(name);
    return found != m_handles.end() ? found->second : DummyHandle;
}

uint32_t ImageCache::Add(std::u16string name, IO::DirectoryNode* directory, std::u16string fileName)
{
    ImageEntry entry{std::move(name), std::move(fileName), nullptr, directory};
    uint32_t handle = Find(entry.name);
    if (handle != DummyHandle) {
        m_entries[handle] = std::move(entry);
    } else {
        handle = static_cast<uint32_t>(m_entries.size());
        // Names Find never answers (empty, "dummy") get a handle of their own every time.
        if (!entry.name.empty() && entry.name != DummyName)
            m_handles.emplace(entry.name, handle);
        m_entries.push_back(std::move(entry));
    }
    Queue(handle);
    return handle;
}

void ImageCache::Queue(uint32_t handle)
{
    if (handle == DummyHandle || handle >= m_entries.size())
        return;
    if (m_queued.size() <= handle)
        m_queued.resize(m_entries.size());
    if (!m_queued[handle]) {
        m_queued[handle] = true;
        m_queue.push_back(handle);
    }
}

void ImageCache::LoadQueued()
{
    for (uint32_t handle : m_queue) {
        ImageEntry& entry = m_entries[handle];
        // A surface already present stays: another group may be drawing with it.
        if (!entry.surface)
            entry.surface = Graphics::LoadQim(entry.directory, entry.fileName);
        m_queued[handle] = false;
    }
    m_queue.clear();
}

void ImageCache::Unload(uint32_t handle)
{
    if (handle < m_entries.size())
        m_entries[handle].surface.reset();
}

Graphics::Surface16* ImageCache::Get(uint32_t handle) const
{
    return handle < m_entries.size() ? m_entries[handle].surface.get() : nullptr;
}

const ImageEntry* ImageCache::Entry(uint32_t handle) const
{
    return handle < m_entries.size() ? &m_entries[handle] : nullptr;
}
