// The twelve bonus icons: a rounded badge whose colour says whether the bonus helps (gold),
// hurts (violet) or mixes the board (blue), and a white or dark symbol for what it does.
#include "Art.h"
#include "Text.h"

#include <numbers>

namespace Art {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

enum class Mood
{
    Good,
    Bad,
    Neutral
};

// Shapes are laid out on a 22-unit grid and scaled to the icon.
struct Icon
{
    Canvas& canvas;
    int top;
    float scale;
    Rgba ink;
    Rgba shadow;

    Vec P(float x, float y) const { return {x * scale, top + y * scale}; }
    float S(float v) const { return v * scale; }
    // A shape with a soft shadow one unit below it.
    void Shape(const Distance& d) const
    {
        const float drop = std::max(1.0f, scale * 0.9f);
        canvas.FillShape([=](float x, float y) { return d(x, y - drop); }, Solid(shadow));
        canvas.FillShape(d, Solid(ink));
    }
    void Line(float x0, float y0, float x1, float y1, float width) const
    {
        Shape(Segment(P(x0, y0), P(x1, y1), S(width / 2)));
    }
    void Dot(float x, float y, float r) const { Shape(Circle(P(x, y), S(r))); }
    void Plus(float x, float y, float arm) const
    {
        Shape(Union(Segment(P(x - arm, y), P(x + arm, y), S(0.95f)),
                    Segment(P(x, y - arm), P(x, y + arm), S(0.95f))));
    }
    void Minus(float x, float y, float arm) const
    {
        Shape(Segment(P(x - arm, y), P(x + arm, y), S(0.95f)));
    }
    void Arrow(float x0, float y0, float x1, float y1) const
    {
        const float dx = x1 - x0;
        const float dy = y1 - y0;
        const float len = std::sqrt(dx * dx + dy * dy);
        const float ux = dx / len;
        const float uy = dy / len;
        const float headLen = 4.2f;
        const float headHalf = 3.0f;
        const float bx = x1 - ux * headLen;
        const float by = y1 - uy * headLen;
        Shape(Union(Segment(P(x0, y0), P(bx, by), S(0.95f)),
                    ConvexPolygon({P(x1, y1), P(bx - uy * headHalf, by + ux * headHalf),
                                   P(bx + uy * headHalf, by - ux * headHalf)})));
    }
    void Text(const TextMask& mask, float cx, float cy) const
    {
        const int x = static_cast<int>(std::lround(cx * scale - mask.width / 2.0f));
        const int y = static_cast<int>(std::lround(top + cy * scale - mask.height / 2.0f));
        const int drop = static_cast<int>(std::max(1.0f, std::round(scale * 0.9f)));
        PaintText(canvas, mask, x, y + drop, Solid(shadow));
        PaintText(canvas, mask, x, y, Solid(ink));
    }
};

void Badge(Canvas& canvas, int top, int size, Mood mood)
{
    Rgba light;
    Rgba dark;
    switch (mood) {
    case Mood::Good:
        light = Rgb8(255, 226, 120);
        dark = Rgb8(222, 150, 30);
        break;
    case Mood::Bad:
        light = Rgb8(128, 96, 176);
        dark = Rgb8(58, 38, 96);
        break;
    case Mood::Neutral:
        light = Rgb8(96, 176, 236);
        dark = Rgb8(28, 84, 160);
        break;
    }
    const float s = static_cast<float>(size);
    const float y = static_cast<float>(top);
    const float radius = s * 0.26f;
    canvas.FillShape(RoundedRect(0, y, s, s, radius), Solid(Lighten(dark, -0.5f)));
    canvas.FillShape(RoundedRect(0.9f, y + 0.9f, s - 1.8f, s - 1.8f, radius - 0.9f),
                     Linear({0, y}, light, {0, y + s}, dark));
    // A soft gloss over the upper half.
    canvas.FillShape(RoundedRect(2, y + 1.6f, s - 4, s * 0.42f, radius - 1.5f),
                     Linear({0, y}, Rgba{1, 1, 1, 0.35f}, {0, y + s * 0.45f}, Rgba{1, 1, 1, 0}));
}

void Clock(const Icon& icon)
{
    icon.Shape(Ring(icon.P(9.0f, 13.0f), icon.S(4.6f), icon.S(6.5f)));
    icon.Line(9.0f, 13.0f, 9.0f, 9.4f, 1.7f);
    icon.Line(9.0f, 13.0f, 11.6f, 13.0f, 1.7f);
}

void Heart(const Icon& icon)
{
    const Vec l = icon.P(7.4f, 10.2f);
    const Vec r = icon.P(12.6f, 10.2f);
    const float rad = icon.S(3.5f);
    icon.Shape(
        Union(Union(Circle(l, rad), Circle(r, rad)),
              ConvexPolygon({icon.P(4.15f, 11.6f), icon.P(15.85f, 11.6f), icon.P(10.0f, 18.2f)})));
}

void Gauge(const Icon& icon, bool fast)
{
    const Vec c = icon.P(11, 14.5f);
    // The upper half of a ring.
    const Distance ring = Ring(c, icon.S(6.2f), icon.S(8.0f));
    icon.Shape([=](float x, float y) { return std::max(ring(x, y), y - c.y - icon.S(0.2f)); });
    const float angle = fast ? -Pi / 5 : -Pi + Pi / 5;
    icon.Line(11, 14.5f, 11 + 6.0f * std::cos(angle), 14.5f + 6.0f * std::sin(angle), 1.8f);
    icon.Dot(11, 14.5f, 2.0f);
}

void Neighbours(const Icon& icon)
{
    std::vector<Vec> hexagon;
    for (int k = 0; k < 6; ++k) {
        const float a = k * Pi / 3;
        hexagon.push_back(icon.P(11 + 3.6f * std::cos(a), 11 + 3.6f * std::sin(a)));
    }
    icon.Shape(ConvexPolygon(hexagon));
    for (int k = 0; k < 6; ++k) {
        const float a = k * Pi / 3 + Pi / 6;
        icon.Dot(11 + 7.4f * std::cos(a), 11 + 7.4f * std::sin(a), 1.7f);
    }
}

} // namespace

Canvas BonusIcons(int size, const Fonts& fonts)
{
    Canvas canvas(size, size * 12);
    const float scale = size / 22.0f;
    // Numbers: condensed on the small icons, where every pixel counts.
    const int numberPixels = static_cast<int>(std::lround(10 * scale));
    const std::string& numberFont = size < 26 ? fonts.condensed : fonts.bold;
    const TextMask fifty = RenderText(numberFont, numberPixels, "50");
    const TextMask two = RenderText(numberFont, static_cast<int>(std::lround(12 * scale)), "2");
    const Rgba white = Rgb8(255, 255, 255);
    const Rgba darkInk = Rgb8(70, 40, 4);

    const Mood moods[12] = {Mood::Good, Mood::Bad,  Mood::Neutral, Mood::Good,
                            Mood::Bad,  Mood::Good, Mood::Bad,     Mood::Good,
                            Mood::Good, Mood::Good, Mood::Bad,     Mood::Bad};
    for (int kind = 1; kind <= 12; ++kind) {
        const int top = (kind - 1) * size;
        const Mood mood = moods[kind - 1];
        Badge(canvas, top, size, mood);
        const Icon icon{canvas, top, scale, mood == Mood::Good ? darkInk : white,
                        mood == Mood::Good ? Rgba{1, 1, 0.8f, 0.45f} : Rgba{0, 0, 0.1f, 0.45f}};
        switch (kind) {
        case 1: // one more minute
            Clock(icon);
            icon.Plus(17.2f, 5.4f, 2.8f);
            break;
        case 2: // one minute less
            Clock(icon);
            icon.Minus(17.2f, 5.4f, 2.8f);
            break;
        case 3: // shuffle
            icon.Arrow(4.5f, 6.5f, 17.5f, 15.5f);
            icon.Arrow(4.5f, 15.5f, 17.5f, 6.5f);
            break;
        case 4: // one more life
            Heart(icon);
            icon.Plus(17.0f, 5.4f, 2.8f);
            break;
        case 5: // one life less
            Heart(icon);
            icon.Minus(17.0f, 5.4f, 2.8f);
            break;
        case 6: // faster turns
            Gauge(icon, true);
            break;
        case 7: // slower turns
            Gauge(icon, false);
            break;
        case 8: // the neighbours complete too
            Neighbours(icon);
            break;
        case 9: // score doubled
            icon.Line(4.4f, 8.4f, 9.4f, 13.4f, 2.0f);
            icon.Line(4.4f, 13.4f, 9.4f, 8.4f, 2.0f);
            icon.Text(two, 14.8f, 11.0f);
            break;
        case 10: // fifty points more
            icon.Plus(4.2f, 11.0f, 2.1f);
            icon.Text(fifty, 14.2f, 11.0f);
            break;
        case 11: // fifty points less
            icon.Minus(4.2f, 11.0f, 2.1f);
            icon.Text(fifty, 14.2f, 11.0f);
            break;
        case 12: // score halved
            icon.Line(3.6f, 11.0f, 9.6f, 11.0f, 1.8f);
            icon.Dot(6.6f, 7.4f, 1.3f);
            icon.Dot(6.6f, 14.6f, 1.3f);
            icon.Text(two, 14.8f, 11.0f);
            break;
        }
    }
    canvas.BleedColour();
    return canvas;
}

} // namespace Art
