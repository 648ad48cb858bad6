// The pictures of the help pages: a cell turning by one step, and the bonus icons sorted into
// those that help and those that hurt.
#include "Art.h"
#include "SkinPaint.h"

#include <numbers>

namespace Art {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;
constexpr Rgba Ink = Rgb8(228, 240, 255);
constexpr Rgba InkShadow = Rgb8(0, 0, 16, 0.6f);

// A hexagonal cell of the board centred on c, turned by angle (radians, clockwise on screen):
// a frosted face, its sides in the given colours (side k from corner k to corner k + 1,
// clockwise from the top), and the joints over the corners.
void PaintCell(Canvas& canvas, Vec c, float side, float angle, const int (&colours)[6])
{
    std::vector<Vec> corners;
    for (int k = 0; k < 6; ++k) {
        const float a = -Pi / 2 - Pi / 6 + k * Pi / 3 + angle;
        corners.push_back({c.x + side * std::cos(a), c.y + side * std::sin(a)});
    }
    canvas.FillShape(ConvexPolygon(corners), Radial(c, side, Rgba{0.78f, 0.84f, 0.95f, 0.18f},
                                                    Rgba{0.78f, 0.84f, 0.95f, 0.36f}));
    for (int k = 0; k < 6; ++k)
        PaintBar(canvas, corners[k], corners[(k + 1) % 6], 9, SideColours[colours[k]]);
    for (const Vec& p : corners)
        PaintJoint(canvas, p, 5);
}

// An arrow along the circle of radius r round c from angle a0 to a1 (radians, clockwise on
// screen when a1 > a0), its head at a1, with a soft shadow below it.
Distance ArcArrow(Vec c, float r, float a0, float a1)
{
    constexpr int Steps = 24;
    const float head = 7;
    // The shaft stops where the head begins.
    const float shaftEnd = a1 - (a1 > a0 ? 1 : -1) * (head * 0.8f / r);
    Distance shape = nullptr;
    Vec previous{c.x + r * std::cos(a0), c.y + r * std::sin(a0)};
    for (int i = 1; i <= Steps; ++i) {
        const float a = a0 + (shaftEnd - a0) * i / Steps;
        const Vec next{c.x + r * std::cos(a), c.y + r * std::sin(a)};
        const Distance piece = Segment(previous, next, 1.4f);
        shape = shape ? Union(shape, piece) : piece;
        previous = next;
    }
    const Vec tip{c.x + r * std::cos(a1), c.y + r * std::sin(a1)};
    // The tangent at the tip, pointing the way the arrow runs.
    const float sign = a1 > a0 ? 1.0f : -1.0f;
    const Vec t{-std::sin(a1) * sign, std::cos(a1) * sign};
    const Vec base{tip.x - t.x * head, tip.y - t.y * head};
    const Vec n{-t.y, t.x};
    return Union(shape, ConvexPolygon({tip,
                                       {base.x + n.x * head * 0.6f, base.y + n.y * head * 0.6f},
                                       {base.x - n.x * head * 0.6f, base.y - n.y * head * 0.6f}}));
}

void PaintInk(Canvas& canvas, const Distance& shape)
{
    canvas.FillShape([=](float x, float y) { return shape(x - 0.5f, y - 1.2f); }, Solid(InkShadow));
    canvas.FillShape(shape, Solid(Ink));
}

} // namespace

Canvas HelpTurn()
{
    Canvas canvas(HelpTurnWidth, HelpTurnHeight);
    const float side = 27;
    const float middle = HelpTurnHeight / 2.0f + 3;
    // Six colours, so that each can be followed: after the turn every colour lies one side
    // further clockwise.
    const int before[6] = {1, 0, 3, 2, 4, 5};
    int after[6];
    for (int k = 0; k < 6; ++k)
        after[k] = before[(k + 5) % 6];

    const Vec left{48, middle};
    PaintCell(canvas, left, side, Pi / 10, before);
    PaintInk(canvas, ArcArrow(left, side + 11, -Pi * 0.92f, -Pi * 0.18f));

    const Vec right{HelpTurnWidth - 48.0f, middle};
    PaintCell(canvas, right, side, 0, after);

    // The arrow between the two: "becomes".
    const float y = middle;
    PaintInk(canvas, Union(Segment({88, y}, {106, y}, 1.4f),
                           ConvexPolygon({{114, y}, {105, y - 5.5f}, {105, y + 5.5f}})));
    canvas.BleedColour();
    return canvas;
}

Canvas HelpBonuses(const Fonts& fonts)
{
    const Canvas icons = BonusIcons(HelpBonusSize, fonts);
    Canvas canvas(HelpBonusesWidth, HelpBonusesHeight);
    // The kinds that help, then those that hurt and the shuffle, which is neither.
    const int rows[2][6] = {{1, 4, 6, 8, 9, 10}, {2, 5, 7, 11, 12, 3}};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 6; ++column) {
            const int kind = rows[row][column];
            const Canvas icon =
                Crop(icons, 0, (kind - 1) * HelpBonusSize, HelpBonusSize, HelpBonusSize);
            canvas.Draw(icon, column * (HelpBonusSize + HelpBonusGap),
                        row * (HelpBonusSize + HelpBonusGap));
        }
    }
    canvas.BleedColour();
    return canvas;
}

} // namespace Art
