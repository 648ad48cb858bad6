// The game screen's heads-up display: the bar across the top of the screen with three sunken
// wells for the board number, the score and the time and lives, and the two small icons drawn
// on the last of them, a clock and a heart.
#include "Art.h"
#include "SkinPaint.h"

namespace Art {

namespace {

// The bar: the panel's dark blue, a little lighter at the top, with the panel's rim colour as
// the highlight along its top edge and a dark lip along its bottom, where it stands over the
// board.
constexpr Rgba BarTop = Rgb8(34, 54, 102);
constexpr Rgba BarBottom = Rgb8(20, 33, 66);
constexpr Rgba TopHighlight = Rgb8(110, 160, 235, 0.75f);
constexpr Rgba UnderHighlight = Rgb8(90, 130, 200, 0.25f);
constexpr Rgba BottomBevel = Rgb8(10, 17, 38);
constexpr Rgba BottomShadow = Rgb8(2, 4, 12);

// The wells: darker than the bar but far from black, with a dim rim, so that white text and
// the score bar read on them without the wells drawing the eye away from the board.
constexpr Frame HudWell{Rgb8(11, 19, 42), -0.40f, Rgb8(56, 84, 138, 0.7f)};
constexpr float WellTop = 3;
constexpr float WellHeight = 34;
constexpr float WellRadius = 5;

// The wells' left edges and widths: the board number, the score with its bar below it, then
// the clock and the lives; one pixel of bar shows between neighbours.
struct Span
{
    float x;
    float width;
};
constexpr Span Wells[3] = {{48, 37}, {86, 103}, {190, 48}};

// The icons: a light steel rim lit from the top left around a dark face, with light hands.
constexpr Rgba RimLight = Rgb8(226, 236, 252);
constexpr Rgba RimDark = Rgb8(126, 152, 198);
constexpr Rgba RimEdge = Rgb8(20, 30, 60);
constexpr Rgba FaceCentre = Rgb8(28, 44, 86);
constexpr Rgba FaceEdge = Rgb8(8, 14, 34);
constexpr Rgba Hands = Rgb8(240, 246, 255);
// The heart: a warm red, lighter at the top left, with a dark edge and a gloss spot.
constexpr Rgba HeartLight = Rgb8(255, 104, 96);
constexpr Rgba HeartDark = Rgb8(196, 26, 44);
constexpr Rgba HeartEdge = Rgb8(90, 8, 22);
constexpr Rgba Gloss = Rgb8(255, 236, 230, 0.85f);

// A shape grown or shrunk by d pixels.
Distance Offset(const Distance& shape, float d)
{
    return [shape, d](float x, float y) { return shape(x, y) - d; };
}

} // namespace

Canvas Hud()
{
    Canvas canvas(HudWidth, HudHeight);
    const float h = HudHeight;
    canvas.Fill([&](float x, float y) {
        Rgba c = Mix(BarTop, BarBottom, y / h);
        // Faintly lighter towards the top left, where the light comes from.
        c = Lighten(c, 0.03f * (1 - x / HudWidth));
        c.a = 1;
        return c;
    });
    const auto row = [&](int y, const Rgba& colour) {
        for (int x = 0; x < HudWidth; ++x)
            canvas.Blend(x, y, colour, 1.0f);
    };
    row(0, TopHighlight);
    row(1, UnderHighlight);
    row(HudHeight - 2, BottomBevel);
    row(HudHeight - 1, BottomShadow);

    for (const Span& well : Wells)
        PaintFrame(canvas, well.x, WellTop, well.width, WellHeight, WellRadius, HudWell);
    return canvas;
}

Canvas HudClock()
{
    Canvas canvas(HudIconSize, HudIconSize);
    const float s = HudIconSize;
    const Vec c{s / 2, s / 2};
    const float outer = s / 2 - 0.4f;
    // A thin dark edge, the light rim, then the face inside it.
    canvas.FillShape(Circle(c, outer), Solid(RimEdge));
    canvas.FillShape(Circle(c, outer - 0.6f), Linear({2, 2}, RimLight, {s - 2, s - 2}, RimDark));
    const float face = outer - 1.8f;
    canvas.FillShape(Circle(c, face), Radial({c.x - 1, c.y - 1}, face, FaceCentre, FaceEdge));
    // The hands at twelve and three, two pixels wide on the pixel grid, so that they stay sharp
    // at this size; the hour hand is the shorter.
    const Distance hands = Union(RoundedRect(c.x - 1, c.y - face + 1.0f, 2, face, 0.5f),
                                 RoundedRect(c.x - 1, c.y - 1, 4, 2, 0.5f));
    canvas.FillShape(hands, Solid(Hands));
    canvas.BleedColour();
    return canvas;
}

Canvas HudLife()
{
    Canvas canvas(HudIconSize, HudIconSize);
    // Two lobes and the point below them, mirrored about the middle of the icon.
    const float mid = HudIconSize / 2.0f;
    const float lobe = 3.35f;
    const Vec left{mid - 2.55f, 4.9f};
    const Vec right{mid + 2.55f, 4.9f};
    // The body joins the lobes' centres, so that no seam shows between them below the notch.
    const Distance heart =
        Union(Union(Circle(left, lobe), Circle(right, lobe)),
              ConvexPolygon({left, right, {mid + 5.75f, 6.3f}, {mid, 12.9f}, {mid - 5.75f, 6.3f}}));
    canvas.FillShape(heart, Solid(HeartEdge));
    canvas.FillShape(Offset(heart, -0.8f), Linear({2, 1}, HeartLight, {10, 12}, HeartDark));
    // The gloss: a small soft spot on the left lobe, where the light falls.
    canvas.FillShape(Circle({left.x - 0.4f, left.y - 0.9f}, 1.15f), Solid(Gloss));
    canvas.BleedColour();
    return canvas;
}

} // namespace Art
