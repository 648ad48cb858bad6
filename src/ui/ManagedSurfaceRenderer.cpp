// The renderer over the resource manager's images and fonts.
#include "ui/ManagedSurfaceRenderer.h"

#include "resources/ResourceManager.h"

#include <algorithm>
#include <limits>

namespace UI {

namespace {

// A handle as an index: handle 0 (nothing found) is -1; handles past the 32-bit range cannot
// be named by an index and count as not found too.
int32_t IndexOf(uint32_t handle)
{
    if (handle == 0 || handle > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
        return -1;
    return static_cast<int32_t>(handle);
}

} // namespace

int32_t ManagedSurfaceRenderer::findImage(std::u16string_view name)
{
    return IndexOf(m_resources.FindImage(name));
}

int32_t ManagedSurfaceRenderer::findFont(std::u16string_view name)
{
    return IndexOf(m_resources.Fonts().Find(name));
}

int32_t ManagedSurfaceRenderer::fontCount()
{
    // Slot 0 of the font cache is empty once any font is entered.
    const size_t slots = m_resources.Fonts().Count();
    const size_t fonts = slots == 0 ? 0 : slots - 1;
    return static_cast<int32_t>(
        std::min<size_t>(fonts, static_cast<size_t>(std::numeric_limits<int32_t>::max())));
}

Graphics::Surface16* ManagedSurfaceRenderer::getImage(int32_t image)
{
    return image < 0 ? nullptr : m_resources.GetImage(static_cast<uint32_t>(image));
}

Utils::BitmapFont* ManagedSurfaceRenderer::getFont(int32_t font)
{
    return font < 0 ? nullptr : m_resources.GetFont(static_cast<uint32_t>(font));
}

} // namespace UI
