// The resource manager: reading the catalogue, and loading and freeing groups of images and
// fonts under handles that never change.
#include "resources/ResourceManager.h"

#include "resources/XmlFile.h"

#include <cstring>
#include <utility>

namespace {

ResourceDesc ReadDesc(const XmlElement& element, uint16_t color)
{
    return {WidenBytes(element.Attribute("name")), WidenBytes(element.Attribute("fileName")),
            color};
}

// "%d" into 16 bits: the number keeps its low 16 bits, so -1 is white like a missing value.
uint16_t ReadColor(const XmlElement& font)
{
    int color = FontCache::DefaultColor;
    font.QueryIntAttribute("color", &color);
    return static_cast<uint16_t>(color);
}

} // namespace

void ResourceManager::LoadCatalogue(IO::DirectoryNode* xmlFolder, IO::DirectoryNode* imagesFolder)
{
    m_imagesFolder = imagesFolder;
    XmlDocument document;
    if (!ReadXmlFile(xmlFolder, u"resources.xml", document))
        return;
    const XmlElement* root = document.RootElement();
    if (!root)
        return;
    for (const XmlElement* groupElement = root->FirstChildElement(); groupElement;
         groupElement = groupElement->NextSiblingElement()) {
        ResourceGroup group;
        group.name = WidenBytes(groupElement->Attribute("name"));
        for (const XmlElement* item = groupElement->FirstChildElement(); item;
             item = item->NextSiblingElement()) {
            if (std::strcmp(item->Name(), "Image") == 0)
                group.imageDescs.push_back(ReadDesc(*item, FontCache::DefaultColor));
            else if (std::strcmp(item->Name(), "Font") == 0)
                group.fontDescs.push_back(ReadDesc(*item, ReadColor(*item)));
        }
        m_groups.push_back(std::move(group));
    }
}

void ResourceManager::LoadGroup(std::u16string_view groupName)
{
    ResourceGroup* group = GroupNamed(groupName);
    if (!group || group->loaded)
        return;
    if (!group->registered) {
        for (const ResourceDesc& desc : group->imageDescs)
            group->imageHandles.push_back(AddImage(desc.name, m_imagesFolder, desc.fileName));
        for (const ResourceDesc& desc : group->fontDescs)
            group->fontHandles.push_back(
                AddFont(desc.name, m_imagesFolder, desc.fileName, desc.color));
        group->registered = true;
    } else {
        for (uint32_t handle : group->imageHandles)
            m_images.Queue(handle);
        for (uint32_t handle : group->fontHandles)
            m_fonts.Queue(handle);
    }
    LoadQueued();
    group->loaded = true;
}

void ResourceManager::UnloadGroup(std::u16string_view groupName)
{
    ResourceGroup* group = GroupNamed(groupName);
    // Unloading twice must not free what another group has loaded since under a shared handle.
    if (!group || !group->loaded)
        return;
    for (uint32_t handle : group->imageHandles)
        m_images.Unload(handle);
    for (uint32_t handle : group->fontHandles)
        m_fonts.Unload(handle);
    group->loaded = false;
}

uint32_t ResourceManager::AddImage(std::u16string name, IO::DirectoryNode* directory,
                                   std::u16string fileName)
{
    return m_images.Add(std::move(name), directory, std::move(fileName));
}

uint32_t ResourceManager::AddFont(std::u16string name, IO::DirectoryNode* directory,
                                  std::u16string fileName, uint16_t color)
{
    return m_fonts.Add(std::move(name), directory, std::move(fileName), color);
}

void ResourceManager::LoadQueued()
{
    m_images.LoadQueued();
    m_fonts.LoadQueued();
}

uint32_t ResourceManager::FindImage(std::u16string_view name) const
{
    return m_images.Find(name);
}

Graphics::Surface16* ResourceManager::GetImage(std::u16string_view name) const
{
    return m_images.Get(m_images.Find(name));
}

Graphics::Surface16* ResourceManager::GetImage(uint32_t handle) const
{
    return m_images.Get(handle);
}

Utils::BitmapFont* ResourceManager::GetFont(std::u16string_view name) const
{
    // Handle 0 would stand for the first font; a name that is not there gives nothing.
    const uint32_t handle = m_fonts.Find(name);
    return handle == 0 ? nullptr : m_fonts.Get(handle);
}

Utils::BitmapFont* ResourceManager::GetFont(uint32_t handle) const
{
    return m_fonts.Get(handle);
}

const ResourceGroup* ResourceManager::FindGroup(std::u16string_view name) const
{
    for (const ResourceGroup& group : m_groups) {
        if (group.name == name)
            return &group;
    }
    return nullptr;
}

ResourceGroup* ResourceManager::GroupNamed(std::u16string_view name)
{
    return const_cast<ResourceGroup*>(std::as_const(*this).FindGroup(name));
}
