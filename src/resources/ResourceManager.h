// ResourceManager: the game's images and bitmap fonts by name, in the named groups of
// "resources.xml" that screens load when they are entered and free when they leave.
#pragma once

#include "graphics/BitmapFont.h"
#include "graphics/Surface16.h"
#include "io/FileSystem.h"
#include "resources/FontCache.h"
#include "resources/ImageCache.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One image or font of a group as the catalogue lists it.
struct ResourceDesc
{
    std::u16string name;
    std::u16string fileName;
    uint16_t color = FontCache::DefaultColor; // fonts only
};

struct ResourceGroup
{
    std::u16string name;
    std::vector<ResourceDesc> imageDescs; // in file order
    std::vector<ResourceDesc> fontDescs;
    // Filled by the first LoadGroup, one per descriptor, and never changed afterwards.
    std::vector<uint32_t> imageHandles;
    std::vector<uint32_t> fontHandles;
    bool loaded = false;     // the surfaces and fonts are in memory
    bool registered = false; // the descriptors are in the caches and the handles valid
};

// The catalogue file "resources.xml":
//
//   <AnyRoot>
//     <AnyTag name="Menu">
//       <Image name="Btn_Play" fileName="menu\play.qim"/>
//       <Font name="Font_Small" fileName="small" color="63488"/>
//     </AnyTag>
//   </AnyRoot>
//
// Each child of the root is a group; only "Image" and "Font" children of a group count. File
// names are relative to the images folder, a font's without its ".fnt"/".qim" extension. A
// font's "color" is a decimal RGB565 value, white (65535) when absent or unreadable. Texts are
// widened byte by byte.
//
// The manager borrows the file system's folders: the file system must outlive it.
class ResourceManager
{
public:
    // Reads "resources.xml" from xmlFolder and appends its groups; imagesFolder is where the
    // groups' files are read from. A missing or unparsable file adds no group.
    void LoadCatalogue(IO::DirectoryNode* xmlFolder, IO::DirectoryNode* imagesFolder);

    // Loads every image and font of the group. The first load enters them into the caches; the
    // handles it gets stay the group's for good. A loaded group or an unknown name is left
    // alone.
    void LoadGroup(std::u16string_view groupName);
    // Frees the surfaces and fonts of a loaded group; its entries and handles stay. A group
    // that is not loaded, or an unknown name, is left alone.
    void UnloadGroup(std::u16string_view groupName);

    // Enter an image or font outside the catalogue and queue it for loading (see
    // ImageCache::Add for the replacement of a name already present). LoadQueued, or the next
    // LoadGroup, reads the files.
    uint32_t AddImage(std::u16string name, IO::DirectoryNode* directory, std::u16string fileName);
    uint32_t AddFont(std::u16string name, IO::DirectoryNode* directory, std::u16string fileName,
                     uint16_t color);
    void LoadQueued();

    // Handle of an image by name: 0 for an empty name, "dummy" or an unknown name.
    uint32_t FindImage(std::u16string_view name) const;
    // Borrowed surfaces, valid until their group is unloaded or their name entered again. Null
    // for handle 0, a handle out of range, an unknown name, a missing file or an unloaded group.
    Graphics::Surface16* GetImage(std::u16string_view name) const;
    Graphics::Surface16* GetImage(uint32_t handle) const;
    // Borrowed fonts with the same lifetime. Null for an unknown name; handle 0 gives the font
    // of handle 1, the first font entered; null for a handle out of range.
    Utils::BitmapFont* GetFont(std::u16string_view name) const;
    Utils::BitmapFont* GetFont(uint32_t handle) const;

    // The first group with exactly this name, or null.
    const ResourceGroup* FindGroup(std::u16string_view name) const;
    const std::vector<ResourceGroup>& Groups() const { return m_groups; }
    const ImageCache& Images() const { return m_images; }
    const FontCache& Fonts() const { return m_fonts; }
    IO::DirectoryNode* ImagesFolder() const { return m_imagesFolder; }

private:
    ResourceGroup* GroupNamed(std::u16string_view name);

    ImageCache m_images;
    FontCache m_fonts;
    std::vector<ResourceGroup> m_groups; // in file order
    IO::DirectoryNode* m_imagesFolder = nullptr;
};
