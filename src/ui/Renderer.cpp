// The renderer's by-name text helpers: they resolve the font, then use the indexed calls.
#include "ui/Renderer.h"

namespace UI {

bool Renderer::drawTextNamed(int32_t x, int32_t y, std::u16string_view text, uint32_t flags,
                             const Graphics::Rect* clip, std::u16string_view font)
{
    return drawText(x, y, text, flags, clip, findFont(font));
}

bool Renderer::measureTextNamed(std::u16string_view text, int32_t& width, int32_t& height,
                                std::u16string_view font)
{
    return measureText(text, width, height, findFont(font));
}

} // namespace UI
