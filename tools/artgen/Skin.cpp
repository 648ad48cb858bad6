// The UI skin: rounded frames in the game's dark blue with a soft bevel, lit from the top left,
// cut by the skin file into corners, edges and a flat centre that stretch to any size. The
// frame painting here is shared with the widgets' sheet and the keyboard (SkinPaint.h).
#include "Art.h"
#include "SkinPaint.h"

#include <cmath>

namespace Art {

namespace {

float SmoothStep(float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

} // namespace

Paint Bevel(const Distance& shape, const Frame& frame, float bevelWidth)
{
    return [shape, frame, bevelWidth](float x, float y) {
        const float depth = -shape(x, y);
        const float rim = SmoothStep(1.0f - depth / bevelWidth);
        const float gx = shape(x + 0.5f, y) - shape(x - 0.5f, y);
        const float gy = shape(x, y + 0.5f) - shape(x, y - 0.5f);
        const float length = std::hypot(gx, gy);
        const float facing = length > 1e-4f ? (-gx - gy) / (length * std::sqrt(2.0f)) : 0.0f;
        return Lighten(frame.fill, std::clamp(frame.bevel * facing * rim, -1.0f, 1.0f));
    };
}

void PaintFrameShape(Canvas& canvas, const Distance& outer, const Distance& inner,
                     const Frame& frame, float bevelWidth)
{
    canvas.FillShape(inner, Bevel(inner, frame, bevelWidth));
    canvas.FillShape(Subtract(outer, inner), Solid(frame.outline));
}

void PaintFrame(Canvas& canvas, float x, float y, float w, float h, float radius,
                const Frame& frame, float bevelWidth)
{
    PaintFrameShape(canvas, RoundedRect(x, y, w, h, radius),
                    RoundedRect(x + 1, y + 1, w - 2, h - 2, radius - 1), frame, bevelWidth);
}

void PaintCheck(Canvas& canvas, float x, float y, const Rgba& colour)
{
    const Distance mark = Union(Segment({x + 4.0f, y + 8.5f}, {x + 7.0f, y + 11.5f}, 1.1f),
                                Segment({x + 7.0f, y + 11.5f}, {x + 12.0f, y + 4.5f}, 1.1f));
    canvas.FillShape(mark, Solid(colour));
}

Canvas Crop(const Canvas& from, int x, int y, int w, int h)
{
    Canvas out(w, h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i)
            out.At(i, j) = from.At(x + i, y + j);
    }
    return out;
}

Canvas SkinSheet()
{
    Canvas canvas(SkinWidth, SkinHeight);
    PaintFrame(canvas, 0, 0, 24, 24, 6, Panel);
    PaintFrame(canvas, 24, 0, 24, 24, 6, Well);
    PaintFrame(canvas, 0, 24, 24, 24, 5, ButtonDefault);
    PaintFrame(canvas, 24, 24, 24, 24, 5, ButtonPressed);
    PaintFrame(canvas, 0, 48, 24, 24, 5, ButtonDisabled);
    PaintFrame(canvas, 24, 48, 24, 24, 5, ButtonActive);
    const Frame boxes[3] = {BoxDefault, BoxPressed, BoxDisabled};
    for (int i = 0; i < 3; ++i) {
        const float x = 16.0f * i;
        PaintFrame(canvas, x + 1, 73, 14, 14, 3, boxes[i]);
        PaintFrame(canvas, x + 1, 89, 14, 14, 3, boxes[i]);
        PaintCheck(canvas, x, 88, i == 2 ? CheckDisabled : Check);
    }
    return canvas;
}

Canvas PanelCorner(int corner)
{
    const Canvas sheet = SkinSheet();
    return Crop(sheet, corner % 2 == 0 ? 0 : 16, corner < 2 ? 0 : 16, 8, 8);
}

} // namespace Art
