// Renderer: what looks draw through. It draws into one target surface (the frame being
// composed) and resolves images and fonts by name or index; -1 is "not found". Every drawing
// call returns false without drawing when there is no target or the index is unknown.
#pragma once

#include "graphics/Surface16.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace Utils {
class BitmapFont;
}

namespace UI {

struct ElementState;

// drawImage modes.
namespace ImageMode {
constexpr int32_t Copy = 0;
constexpr int32_t TileVertical = 2;
constexpr int32_t TileHorizontal = 3;
constexpr int32_t TileBoth = 4;
} // namespace ImageMode

// Text anchor flags (a widget's "fontFlags"); 0 is the top-left corner.
namespace FontFlags {
constexpr uint32_t CentreX = 2;
constexpr uint32_t Middle = 4;
constexpr uint32_t Right = 8;
constexpr uint32_t Bottom = 16;
} // namespace FontFlags

struct Size
{
    int32_t width = 0;
    int32_t height = 0;
};

class Renderer
{
public:
    virtual bool drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                          uint8_t opacity) = 0;
    // Mode Copy blits the image (or its source rectangle) at (x, y); the tiling modes fill
    // the destination size at (x, y) and fail without one.
    virtual bool drawImage(int32_t x, int32_t y, int32_t image, int32_t mode,
                           const Graphics::Rect* source, const Size* destination,
                           const Graphics::Rect* clip) = 0;
    virtual int32_t findImage(std::u16string_view name) = 0;
    virtual bool getImageSize(int32_t& width, int32_t& height, int32_t image) = 0;
    bool drawTextNamed(int32_t x, int32_t y, std::u16string_view text, uint32_t flags,
                       const Graphics::Rect* clip, std::u16string_view font);
    // Aligns the text on (x, y) by the anchor flags, then draws it (clipped when clip is
    // given).
    virtual bool drawText(int32_t x, int32_t y, std::u16string_view text, uint32_t flags,
                          const Graphics::Rect* clip, int32_t font) = 0;
    virtual bool drawTextBox(const Graphics::Rect& rect, int32_t marginX, int32_t marginY,
                             std::u16string_view text, int32_t hAlign, int32_t vAlign,
                             int32_t font) = 0;
    bool measureTextNamed(std::u16string_view text, int32_t& width, int32_t& height,
                          std::u16string_view font);
    // Both sizes are 0 and the result false for an unknown font.
    virtual bool measureText(std::u16string_view text, int32_t& width, int32_t& height,
                             int32_t font) = 0;
    virtual int32_t findFont(std::u16string_view name) = 0;
    virtual int32_t fontCount() = 0;
    virtual bool fillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) = 0;
    // Lays the state's grid over the rectangle and tiles each area into its cell.
    virtual bool drawState(int32_t x, int32_t y, int32_t width, int32_t height, ElementState* state,
                           const Graphics::Rect* clip) = 0;
    // The same layout, drawing only what lies at or right of originX and at or below originY.
    virtual bool drawStateOffset(int32_t x, int32_t y, int32_t width, int32_t height,
                                 ElementState* state, int32_t originX, int32_t originY,
                                 const Graphics::Rect* clip) = 0;
    virtual void addImage(std::unique_ptr<Graphics::Surface16> image, std::u16string name) = 0;
    virtual Graphics::Surface16* getImage(int32_t image) = 0;
    virtual Utils::BitmapFont* getFont(int32_t font) = 0;

protected:
    ~Renderer() = default;
};

} // namespace UI
