// The board's pieces: side strips, joints and the translucent cell pictures.
#include "Art.h"
#include "game/BoardDrawing.h"

#include <numbers>

namespace Art {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

// The bar's shading across its thickness, t = 0 at the lit edge to 1 at the shaded one: a
// highlight a quarter of the way in, the plain colour on the middle line, darker below.
Rgba BarShade(const Rgba& colour, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    if (t < 0.5f) {
        const float bump = std::sin(t * 2 * Pi);
        return Lighten(colour, 0.5f * bump * bump);
    }
    const float u = (t - 0.5f) * 2;
    return Lighten(colour, -0.38f * u * std::sqrt(u));
}

} // namespace

void PaintBar(Canvas& canvas, Vec a, Vec b, float thickness, const Rgba& colour)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float len = std::sqrt(dx * dx + dy * dy);
    // The normal pointing to the lit edge (up for a bar drawn left to right).
    const Vec n{dy / len, -dx / len};
    const Vec mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
    const float half = thickness / 2;
    // The round ends sit inside the segment so the bar spans exactly a to b.
    const Vec ia{a.x + dx / len * half, a.y + dy / len * half};
    const Vec ib{b.x - dx / len * half, b.y - dy / len * half};
    const Rgba rim = Lighten(colour, -0.55f);
    canvas.FillShape(Segment(ia, ib, half - 0.2f), Solid(rim));
    canvas.FillShape(Segment(ia, ib, half - 1.0f), [=](float x, float y) {
        const float across = (x - mid.x) * n.x + (y - mid.y) * n.y;
        return BarShade(colour, 0.5f - across / (thickness - 1.6f));
    });
}

void PaintJoint(Canvas& canvas, Vec c, float radius)
{
    canvas.FillShape(Circle(c, radius), Solid(Rgb8(40, 44, 56)));
    const Vec light{c.x - radius * 0.35f, c.y - radius * 0.4f};
    canvas.FillShape(Circle(c, radius - 0.9f),
                     Radial(light, radius * 1.5f, Rgb8(250, 252, 255), Rgb8(96, 104, 122)));
}

Canvas SideStrip(int length, int thickness)
{
    Canvas canvas(length, thickness * 7);
    for (int colour = 0; colour < 7; ++colour) {
        const float y = colour * thickness + thickness / 2.0f;
        PaintBar(canvas, {0, y}, {static_cast<float>(length), y}, static_cast<float>(thickness),
                 SideColours[colour]);
    }
    canvas.BleedColour();
    return canvas;
}

Canvas Joint(int size)
{
    Canvas canvas(size, size);
    const float c = size / 2.0f;
    PaintJoint(canvas, {c, c}, c - 0.3f);
    canvas.BleedColour();
    return canvas;
}

Canvas CellPicture(int sides, int cellSize, const Graphics::TrigTable& trig)
{
    const float side = static_cast<float>(cellSize);
    const float outer = side / (2 * std::sin(Pi / sides));
    const float inner = side / (2 * std::tan(Pi / sides));
    // Corner k, clockwise on screen from the left end of the top side.
    std::vector<Vec> corners;
    float halfWidth = 0;
    for (int k = 0; k < sides; ++k) {
        const float angle = -Pi / 2 - Pi / sides + k * 2 * Pi / sides;
        corners.push_back({outer * std::cos(angle), outer * std::sin(angle)});
        halfWidth = std::max(halfWidth, std::fabs(corners.back().x));
    }
    // Odd sizes, so the middle pixel's centre is the middle of the image.
    const int width = 2 * static_cast<int>(std::ceil(halfWidth + 1)) + 1;
    int height = 2 * static_cast<int>(std::ceil(inner + 1)) + 1;
    const CellPivot pivot =
        CellImagePivot(static_cast<uint32_t>(sides), side, static_cast<uint32_t>(width),
                       static_cast<uint32_t>(height), trig);
    if (sides % 2 == 1) {
        // The centre lies the pivot's distance below the top; the far corner sets the height.
        height = static_cast<int>(std::ceil(pivot.y + 0.5f + outer + 1));
    }
    // The polygon's centre is the centre of the pivot pixel.
    const Vec centre{pivot.x + 0.5f, pivot.y + 0.5f};
    for (Vec& p : corners) {
        p = {p.x + centre.x, p.y + centre.y};
    }

    Canvas canvas(width, height);
    const float top = centre.y - inner;
    const float bottom = centre.y + (sides % 2 == 1 ? outer : inner);
    // Frosted glass: clearer in the middle, denser towards the rim, lit from the top.
    const Rgba tint = Rgb8(200, 214, 240);
    canvas.FillShape(ConvexPolygon(corners), [=](float x, float y) {
        const float dx = x - centre.x;
        const float dy = y - centre.y;
        const float rim = std::min(std::sqrt(dx * dx + dy * dy) / inner, 1.0f);
        const float lit = 1 - std::clamp((y - top) / (bottom - top), 0.0f, 1.0f);
        return Faded(Lighten(tint, 0.25f * lit), 0.36f + 0.12f * rim * rim + 0.06f * lit);
    });
    canvas.BleedColour();
    return canvas;
}

} // namespace Art
