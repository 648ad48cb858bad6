// ManagedSurfaceRenderer: the renderer the game uses. Its images and fonts are those of the
// resource manager, and their indices are the manager's handles.
#pragma once

#include "ui/SurfaceRenderer.h"

class ResourceManager;

namespace UI {

class ManagedSurfaceRenderer final : public SurfaceRenderer
{
public:
    // Borrows the manager, which must outlive every call that draws or looks up.
    explicit ManagedSurfaceRenderer(ResourceManager& resources) : m_resources(resources) {}

    // The image's handle, -1 where the manager has none (handle 0).
    int32_t findImage(std::u16string_view name) override;
    // The font's handle, -1 where the manager has none.
    int32_t findFont(std::u16string_view name) override;
    // The fonts of handles 1 to N.
    int32_t fontCount() override;
    Graphics::Surface16* getImage(int32_t image) override;
    // Index 0 stands for the first font, like handle 1.
    Utils::BitmapFont* getFont(int32_t font) override;

private:
    ResourceManager& m_resources;
};

} // namespace UI
