// SurfaceRenderer: the renderer over a target surface, with its own lists of named images and
// fonts. Skin states are laid out as grids and tiled into the target.
#pragma once

#include "graphics/BitmapFont.h"
#include "ui/Renderer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace UI {

class SurfaceRenderer : public Renderer
{
public:
    SurfaceRenderer() = default;
    virtual ~SurfaceRenderer() = default;
    SurfaceRenderer(const SurfaceRenderer&) = delete;
    SurfaceRenderer& operator=(const SurfaceRenderer&) = delete;

    bool drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                  uint8_t opacity) override;
    bool drawImage(int32_t x, int32_t y, int32_t image, int32_t mode, const Graphics::Rect* source,
                   const Size* destination, const Graphics::Rect* clip) override;
    int32_t findImage(std::u16string_view name) override;
    bool getImageSize(int32_t& width, int32_t& height, int32_t image) override;
    bool drawText(int32_t x, int32_t y, std::u16string_view text, uint32_t flags,
                  const Graphics::Rect* clip, int32_t font) override;
    bool drawTextBox(const Graphics::Rect& rect, int32_t marginX, int32_t marginY,
                     std::u16string_view text, int32_t hAlign, int32_t vAlign,
                     int32_t font) override;
    bool measureText(std::u16string_view text, int32_t& width, int32_t& height,
                     int32_t font) override;
    int32_t findFont(std::u16string_view name) override;
    int32_t fontCount() override;
    bool fillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) override;
    bool drawState(int32_t x, int32_t y, int32_t width, int32_t height, ElementState* state,
                   const Graphics::Rect* clip) override;
    bool drawStateOffset(int32_t x, int32_t y, int32_t width, int32_t height, ElementState* state,
                         int32_t originX, int32_t originY, const Graphics::Rect* clip) override;
    void addImage(std::unique_ptr<Graphics::Surface16> image, std::u16string name) override;
    Graphics::Surface16* getImage(int32_t image) override;
    Utils::BitmapFont* getFont(int32_t font) override;

    void addFont(std::unique_ptr<Utils::BitmapFont> font, std::u16string name);

    // Where everything is drawn; not owned. Null draws nothing.
    Graphics::Surface16* target = nullptr;

private:
    // The part of the target a state may draw into, in 64 bits: [left, right) x [top, bottom).
    struct Bounds
    {
        int64_t left;
        int64_t top;
        int64_t right;
        int64_t bottom;
    };
    // drawState and drawStateOffset: a state drawn from an origin (0, 0 for all of it).
    bool drawStateFrom(int32_t x, int32_t y, int32_t width, int32_t height, ElementState* state,
                       int32_t originX, int32_t originY, const Graphics::Rect* clip);
    bool drawStateWithin(int64_t x, int64_t y, int64_t width, int64_t height, ElementState& state,
                         Bounds bounds);

    std::vector<std::unique_ptr<Graphics::Surface16>> m_images;
    std::vector<std::unique_ptr<Utils::BitmapFont>> m_fonts;
    std::vector<std::u16string> m_imageNames;
    std::vector<std::u16string> m_fontNames;
};

} // namespace UI
