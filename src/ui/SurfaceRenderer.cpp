// The renderer over a target surface: images, fonts and text through the graphics primitives,
// and the grid layout of skin states.
#include "ui/SurfaceRenderer.h"

#include "graphics/Transforms.h"
#include "ui/Skin.h"
#include "ui/WidgetSupport.h"

#include <algorithm>
#include <limits>
#include <span>

namespace UI {

namespace {

constexpr int64_t kMaxSize = std::numeric_limits<int32_t>::max();

// Sizes of the grid are kept between 0 and the largest 32-bit value, whatever the skin says.
int64_t ClampSize(int64_t size)
{
    return std::clamp<int64_t>(size, 0, kMaxSize);
}

int64_t ClampSize(double size)
{
    if (!(size > 0.0))
        return 0;
    return size >= static_cast<double>(kMaxSize) ? kMaxSize : static_cast<int64_t>(size);
}

// An area that takes part in a draw: its image, and the cell the grid gives it relative to the
// state's rectangle.
struct Placed
{
    const Area* area = nullptr;
    const Graphics::Surface16* image = nullptr;
    int64_t x = 0;
    int64_t y = 0;
    int64_t width = 0;
    int64_t height = 0;
};

// What one area asks for along one axis of the grid.
struct Demand
{
    int32_t value;
    SizeMode mode;
    int64_t natural;
};

Demand Along(const Placed& p, bool horizontal)
{
    if (horizontal)
        return {p.area->dstW, p.area->dstWMode, p.image->Width()};
    return {p.area->dstH, p.area->dstHMode, p.image->Height()};
}

// Lays out one row (horizontal) or one column of the grid over length pixels: fixed and
// natural areas take their sizes, proportional ones share what those leave over.
void LayOutLine(std::span<Placed* const> line, int64_t length, bool horizontal)
{
    int64_t shares = 0;
    int64_t fixed = 0;
    for (const Placed* p : line) {
        const Demand d = Along(*p, horizontal);
        if (d.mode == SizeMode::Proportional)
            shares += d.value;
        else if (d.mode == SizeMode::Fixed)
            fixed += d.value;
        else
            fixed += d.natural;
    }
    int64_t offset = 0;
    for (Placed* p : line) {
        const Demand d = Along(*p, horizontal);
        int64_t size = d.natural;
        if (d.mode == SizeMode::Proportional && shares != 0)
            size = ClampSize(static_cast<double>(length - fixed) * d.value /
                             static_cast<double>(shares));
        else if (d.mode == SizeMode::Fixed)
            size = ClampSize(int64_t{d.value});
        (horizontal ? p->x : p->y) = offset;
        (horizontal ? p->width : p->height) = size;
        offset += size;
    }
}

// Lays out every row (horizontal) or column: order holds the areas sorted by line, then by
// their place along it, areas of one cell in list order.
void LayOutLines(std::vector<Placed*>& order, int64_t length, bool horizontal)
{
    const auto line = [horizontal](const Placed* p) {
        return horizontal ? p->area->dstY : p->area->dstX;
    };
    const auto place = [horizontal](const Placed* p) {
        return horizontal ? p->area->dstX : p->area->dstY;
    };
    std::stable_sort(order.begin(), order.end(), [&](const Placed* a, const Placed* b) {
        return line(a) != line(b) ? line(a) < line(b) : place(a) < place(b);
    });
    for (size_t first = 0; first < order.size();) {
        size_t end = first + 1;
        while (end < order.size() && line(order[end]) == line(order[first]))
            ++end;
        LayOutLine(std::span<Placed* const>(order).subspan(first, end - first), length, horizontal);
        first = end;
    }
}

// Cuts [start, start + size) to [0, limit), the way the tiled blit cuts a source rectangle.
void CutToSource(int64_t& start, int64_t& size, int64_t limit)
{
    const int64_t from = std::max<int64_t>(start, 0);
    const int64_t to = std::min(start + size, limit);
    start = from;
    size = std::max<int64_t>(to - from, 0);
}

} // namespace

bool SurfaceRenderer::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                               uint8_t opacity)
{
    if (!target)
        return false;
    Graphics::DrawLineAA(*target, x1, y1, x2, y2, colour, opacity);
    return true;
}

bool SurfaceRenderer::drawImage(int32_t x, int32_t y, int32_t image, int32_t mode,
                                const Graphics::Rect* source, const Size* destination,
                                const Graphics::Rect* clip)
{
    Graphics::Surface16* surface = getImage(image);
    if (!target || !surface)
        return false;
    if (mode == ImageMode::Copy) {
        if (clip)
            target->BlitClipped(x, y, *surface, source, clip);
        else
            target->Blit(x, y, *surface, source);
        return true;
    }
    uint32_t tiling = 0;
    if (mode == ImageMode::TileVertical)
        tiling = Graphics::TileMode::Vertical;
    else if (mode == ImageMode::TileHorizontal)
        tiling = Graphics::TileMode::Horizontal;
    else if (mode == ImageMode::TileBoth)
        tiling = Graphics::TileMode::Both;
    else
        return false; // no such mode: nothing is drawn, and the caller is told
    if (!destination)
        return false;
    Graphics::Rect from{0, 0, static_cast<int32_t>(surface->Width()),
                        static_cast<int32_t>(surface->Height())};
    if (source) {
        from = *source;
        if (from.width == -1)
            from.width = static_cast<int32_t>(surface->Width());
        if (from.height == -1)
            from.height = static_cast<int32_t>(surface->Height());
    }
    Graphics::TileBlitClipped(*target, x, y, destination->width, destination->height, *surface,
                              from.x, from.y, from.width, from.height, tiling, 0, 0, clip);
    return true;
}

int32_t SurfaceRenderer::findImage(std::u16string_view name)
{
    const auto found = std::find(m_imageNames.begin(), m_imageNames.end(), name);
    return found == m_imageNames.end() ? -1 : static_cast<int32_t>(found - m_imageNames.begin());
}

bool SurfaceRenderer::getImageSize(int32_t& width, int32_t& height, int32_t image)
{
    width = 0;
    height = 0;
    const Graphics::Surface16* surface = getImage(image);
    if (!surface)
        return false;
    width = static_cast<int32_t>(surface->Width());
    height = static_cast<int32_t>(surface->Height());
    return true;
}

bool SurfaceRenderer::drawText(int32_t x, int32_t y, std::u16string_view text, uint32_t flags,
                               const Graphics::Rect* clip, int32_t font)
{
    const Utils::BitmapFont* f = getFont(font);
    if (!target || !f)
        return false;
    int32_t width = 0;
    int32_t height = 0;
    f->Measure(text, width, height);
    // Centring wins over right alignment, middle over bottom.
    int64_t left = x;
    int64_t top = y;
    if (flags & FontFlags::CentreX)
        left -= static_cast<uint32_t>(std::max(width, 0)) / 2;
    else if (flags & FontFlags::Right)
        left -= width;
    if (flags & FontFlags::Middle)
        top -= static_cast<uint32_t>(std::max(height, 0)) / 2;
    else if (flags & FontFlags::Bottom)
        top -= height;
    if (clip)
        f->DrawTextClipped(Saturate(left), Saturate(top), text, target, clip);
    else
        f->DrawText(Saturate(left), Saturate(top), text, target);
    return true;
}

bool SurfaceRenderer::drawTextBox(const Graphics::Rect& rect, int32_t marginX, int32_t marginY,
                                  std::u16string_view text, int32_t hAlign, int32_t vAlign,
                                  int32_t font)
{
    const Utils::BitmapFont* f = getFont(font);
    if (!target || !f || text.empty())
        return false;
    f->DrawTextBox(rect, marginX, marginY, text, target, hAlign, vAlign, 255);
    return true;
}

bool SurfaceRenderer::measureText(std::u16string_view text, int32_t& width, int32_t& height,
                                  int32_t font)
{
    width = 0;
    height = 0;
    const Utils::BitmapFont* f = getFont(font);
    if (!f)
        return false;
    f->Measure(text, width, height);
    return true;
}

int32_t SurfaceRenderer::findFont(std::u16string_view name)
{
    const auto found = std::find(m_fontNames.begin(), m_fontNames.end(), name);
    return found == m_fontNames.end() ? -1 : static_cast<int32_t>(found - m_fontNames.begin());
}

int32_t SurfaceRenderer::fontCount()
{
    return static_cast<int32_t>(m_fonts.size());
}

bool SurfaceRenderer::fillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour)
{
    if (!target)
        return false;
    const Graphics::Rect rect{x, y, width, height};
    target->FillRect(&rect, colour, 255);
    return true;
}

bool SurfaceRenderer::drawState(int32_t x, int32_t y, int32_t width, int32_t height,
                                ElementState* state, const Graphics::Rect* clip)
{
    return drawStateFrom(x, y, width, height, state, 0, 0, clip);
}

bool SurfaceRenderer::drawStateOffset(int32_t x, int32_t y, int32_t width, int32_t height,
                                      ElementState* state, int32_t originX, int32_t originY,
                                      const Graphics::Rect* clip)
{
    return drawStateFrom(x, y, width, height, state, originX, originY, clip);
}

bool SurfaceRenderer::drawStateFrom(int32_t x, int32_t y, int32_t width, int32_t height,
                                    ElementState* state, int32_t originX, int32_t originY,
                                    const Graphics::Rect* clip)
{
    if (!target || !state)
        return false;
    // The target, less what lies before the origin, less what the clip leaves out. An empty
    // clip rectangle hides everything: it never stands for "no clip".
    Bounds bounds{std::max<int64_t>(0, originX), std::max<int64_t>(0, originY), target->Width(),
                  target->Height()};
    if (clip) {
        bounds.left = std::max<int64_t>(bounds.left, clip->x);
        bounds.top = std::max<int64_t>(bounds.top, clip->y);
        bounds.right = std::min(bounds.right, int64_t{clip->x} + std::max(clip->width, 0));
        bounds.bottom = std::min(bounds.bottom, int64_t{clip->y} + std::max(clip->height, 0));
    }
    return drawStateWithin(x, y, width, height, *state, bounds);
}

bool SurfaceRenderer::drawStateWithin(int64_t x, int64_t y, int64_t width, int64_t height,
                                      ElementState& state, Bounds bounds)
{
    // Areas whose image is unknown take no part; their lookup is tried again next time.
    std::vector<Placed> placed;
    placed.reserve(state.areas.size());
    for (Area& area : state.areas) {
        if (area.imageIndex < 0) {
            const int32_t found = findImage(area.imageName);
            if (found >= 0)
                area.imageIndex = found;
        }
        const Graphics::Surface16* image =
            area.imageIndex < 0 ? nullptr : getImage(area.imageIndex);
        if (image)
            placed.push_back(Placed{&area, image});
    }

    // Only the rows and columns that hold areas are visited, however far apart their numbers.
    std::vector<Placed*> order(placed.size());
    for (size_t i = 0; i < placed.size(); ++i)
        order[i] = &placed[i];
    LayOutLines(order, width, true);
    LayOutLines(order, height, false);

    if (bounds.right <= bounds.left || bounds.bottom <= bounds.top)
        return true;
    for (const Placed& p : placed) {
        const Area& area = *p.area;
        int64_t sx = area.srcX;
        int64_t sy = area.srcY;
        int64_t sw = area.srcW == -1 ? int64_t{p.image->Width()} : area.srcW;
        int64_t sh = area.srcH == -1 ? int64_t{p.image->Height()} : area.srcH;
        CutToSource(sx, sw, p.image->Width());
        CutToSource(sy, sh, p.image->Height());
        if (sw <= 0 || sh <= 0)
            continue;
        // The cell is clipped here, in 64 bits; the tiles keep their places through the phase.
        const int64_t cellX = x + p.x;
        const int64_t cellY = y + p.y;
        const int64_t left = std::max(cellX, bounds.left);
        const int64_t top = std::max(cellY, bounds.top);
        const int64_t right = std::min(cellX + p.width, bounds.right);
        const int64_t bottom = std::min(cellY + p.height, bounds.bottom);
        if (right <= left || bottom <= top)
            continue;
        Graphics::TileBlit(*target, static_cast<int32_t>(left), static_cast<int32_t>(top),
                           static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top),
                           *p.image, static_cast<int32_t>(sx), static_cast<int32_t>(sy),
                           static_cast<int32_t>(sw), static_cast<int32_t>(sh),
                           Graphics::TileMode::Both, static_cast<int32_t>((left - cellX) % sw),
                           static_cast<int32_t>((top - cellY) % sh), 255);
    }
    return true;
}

void SurfaceRenderer::addImage(std::unique_ptr<Graphics::Surface16> image, std::u16string name)
{
    m_images.push_back(std::move(image));
    m_imageNames.push_back(std::move(name));
}

void SurfaceRenderer::addFont(std::unique_ptr<Utils::BitmapFont> font, std::u16string name)
{
    m_fonts.push_back(std::move(font));
    m_fontNames.push_back(std::move(name));
}

Graphics::Surface16* SurfaceRenderer::getImage(int32_t image)
{
    if (image < 0 || static_cast<size_t>(image) >= m_images.size())
        return nullptr;
    return m_images[static_cast<size_t>(image)].get();
}

Utils::BitmapFont* SurfaceRenderer::getFont(int32_t font)
{
    if (font < 0 || static_cast<size_t>(font) >= m_fonts.size())
        return nullptr;
    return m_fonts[static_cast<size_t>(font)].get();
}

} // namespace UI
