// The UI skin: rounded frames in the game's dark blue with a soft bevel, lit from the top left,
// cut by the skin file into corners, edges and a flat centre that stretch to any size.
#include "Art.h"

#include <cmath>

namespace Art {

namespace {

// One framed piece: its fill, how strongly and which way its rim is shaded (positive: raised,
// negative: sunken), and its outline.
struct Frame
{
    Rgba fill;
    float bevel;
    Rgba outline;
};

constexpr Frame Panel{Rgb8(22, 36, 70), 0.40f, Rgb8(110, 160, 235, 0.9f)};
constexpr Frame Well{Rgb8(8, 14, 32), -0.45f, Rgb8(60, 92, 150, 0.9f)};
constexpr Frame ButtonDefault{Rgb8(38, 78, 150), 0.50f, Rgb8(140, 190, 255)};
constexpr Frame ButtonActive{Rgb8(54, 104, 188), 0.50f, Rgb8(190, 220, 255)};
constexpr Frame ButtonPressed{Rgb8(24, 50, 106), -0.40f, Rgb8(140, 190, 255)};
constexpr Frame ButtonDisabled{Rgb8(46, 52, 68), 0.20f, Rgb8(92, 100, 118)};
constexpr Frame BoxDefault{Rgb8(12, 20, 44), -0.45f, Rgb8(120, 170, 240)};
constexpr Frame BoxPressed{Rgb8(30, 52, 100), -0.45f, Rgb8(190, 220, 255)};
constexpr Frame BoxDisabled{Rgb8(30, 34, 44), -0.20f, Rgb8(86, 94, 110)};
constexpr Rgba Check = Rgb8(250, 224, 40);
constexpr Rgba CheckDisabled = Rgb8(120, 120, 110);

// The rim is shaded over this many pixels inside the outline; the pieces' corners are 8 wide,
// so the middle of every piece stays flat and tiles without seams.
constexpr float BevelWidth = 4.0f;

float SmoothStep(float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// The fill of a frame: lighter on rims that face the top left, darker on the others (or the
// reverse when sunken), fading to the plain fill BevelWidth pixels in.
Paint Bevel(const Distance& shape, const Frame& frame)
{
    return [shape, frame](float x, float y) {
        const float depth = -shape(x, y);
        const float rim = SmoothStep(1.0f - depth / BevelWidth);
        const float gx = shape(x + 0.5f, y) - shape(x - 0.5f, y);
        const float gy = shape(x, y + 0.5f) - shape(x, y - 0.5f);
        const float length = std::hypot(gx, gy);
        const float facing = length > 1e-4f ? (-gx - gy) / (length * std::sqrt(2.0f)) : 0.0f;
        return Lighten(frame.fill, std::clamp(frame.bevel * facing * rim, -1.0f, 1.0f));
    };
}

// A frame filling the rectangle (x, y, w, h) of the canvas.
void PaintFrame(Canvas& canvas, float x, float y, float w, float h, float radius,
                const Frame& frame)
{
    const Distance outer = RoundedRect(x, y, w, h, radius);
    const Distance inner = RoundedRect(x + 1, y + 1, w - 2, h - 2, radius - 1);
    canvas.FillShape(inner, Bevel(inner, frame));
    canvas.FillShape(Subtract(outer, inner), Solid(frame.outline));
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

} // namespace

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
