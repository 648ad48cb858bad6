// Full-screen pictures: the backgrounds of the boards (dark gradients with a faint geometric
// pattern, one family in eight hues), the loading screen with the game's title, and the menu
// screens' backdrop and title; and the application icon, which shares the title's emblem.
#include "Art.h"
#include "Text.h"

#include <numbers>

namespace Art {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;
constexpr int ScreenWidth = 240;
constexpr int ScreenHeight = 320;

enum class Pattern
{
    Hexagons,
    Triangles,
    Diamonds,
    Bubbles,
    Stripes,
    Squares,
    Rings,
    Waves
};

struct Theme
{
    Rgba top;
    Rgba bottom;
    Pattern pattern;
};

constexpr Theme Themes[BackgroundCount] = {
    {Rgb8(24, 38, 72), Rgb8(7, 11, 27), Pattern::Hexagons},
    {Rgb8(14, 50, 62), Rgb8(5, 17, 25), Pattern::Triangles},
    {Rgb8(54, 26, 66), Rgb8(17, 8, 27), Pattern::Diamonds},
    {Rgb8(32, 42, 62), Rgb8(9, 13, 22), Pattern::Bubbles},
    {Rgb8(34, 30, 82), Rgb8(10, 8, 30), Pattern::Stripes},
    {Rgb8(16, 46, 44), Rgb8(5, 15, 16), Pattern::Squares},
    {Rgb8(60, 22, 40), Rgb8(19, 6, 14), Pattern::Rings},
    {Rgb8(38, 44, 52), Rgb8(11, 13, 18), Pattern::Waves},
};

// Distance to the cell walls of the lattice spanned by e1 and e2 (the cells are the regions
// nearest to each lattice point).
float LatticeWalls(float x, float y, Vec e1, Vec e2)
{
    const float det = e1.x * e2.y - e1.y * e2.x;
    const float i = (x * e2.y - y * e2.x) / det;
    const float j = (y * e1.x - x * e1.y) / det;
    const int i0 = static_cast<int>(std::floor(i));
    const int j0 = static_cast<int>(std::floor(j));
    std::vector<Vec> points;
    for (int di = -1; di <= 2; ++di) {
        for (int dj = -1; dj <= 2; ++dj) {
            points.push_back(
                {(i0 + di) * e1.x + (j0 + dj) * e2.x, (i0 + di) * e1.y + (j0 + dj) * e2.y});
        }
    }
    auto dist2 = [&](const Vec& p) { return (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y); };
    const Vec nearest =
        *std::min_element(points.begin(), points.end(),
                          [&](const Vec& a, const Vec& b) { return dist2(a) < dist2(b); });
    float wall = 1e9f;
    for (const Vec& p : points) {
        const float gap = std::hypot(p.x - nearest.x, p.y - nearest.y);
        if (gap < 1e-3f) {
            continue;
        }
        wall = std::min(wall, (dist2(p) - dist2(nearest)) / (2 * gap));
    }
    return wall;
}

// Distance to the nearest line of a family of parallel lines, spacing apart, normal (nx, ny).
float Lines(float x, float y, float nx, float ny, float spacing)
{
    const float d = (x * nx + y * ny) / spacing;
    return std::fabs(d - std::round(d)) * spacing;
}

// A line of about 1.2 pixels at distance d.
float Stroke(float d)
{
    return std::clamp(1.1f - std::fabs(d), 0.0f, 1.0f);
}

// Strength 0 to 1 of the pattern at a point.
float PatternAt(Pattern pattern, float x, float y)
{
    switch (pattern) {
    case Pattern::Hexagons:
        return Stroke(LatticeWalls(x - 120, y - 160, {34, 0}, {17, 29.445f}));
    case Pattern::Triangles: {
        const float s = 30;
        float d = Lines(x, y - 160, 0, 1, s * 0.8660254f);
        d = std::min(d, Lines(x - 120, y - 160, 0.8660254f, 0.5f, s * 0.8660254f));
        d = std::min(d, Lines(x - 120, y - 160, -0.8660254f, 0.5f, s * 0.8660254f));
        return Stroke(d);
    }
    case Pattern::Diamonds:
        return Stroke(LatticeWalls(x - 120, y - 160, {20, 20}, {20, -20}));
    case Pattern::Squares:
        return Stroke(LatticeWalls(x - 120, y - 160, {30, 0}, {0, 30}));
    case Pattern::Stripes:
        return 0.35f + 0.35f * std::sin(2 * Pi * (x + y) / 36);
    case Pattern::Rings: {
        const float r = std::sqrt((x + 40) * (x + 40) + (y - 380) * (y - 380));
        return Stroke(std::fabs(r / 22 - std::round(r / 22)) * 22);
    }
    case Pattern::Waves: {
        float d = 1e9f;
        const float spacing = 22;
        const int k0 = static_cast<int>(std::floor(y / spacing));
        for (int k = k0 - 1; k <= k0 + 2; ++k) {
            const float line = k * spacing + 7 * std::sin(x / 34 + k * 0.9f);
            d = std::min(d, std::fabs(y - line));
        }
        return Stroke(d);
    }
    case Pattern::Bubbles: {
        // Soft out-of-focus discs from a fixed little generator.
        uint32_t seed = 20240611;
        auto next = [&seed]() {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<float>((seed >> 8) & 0xFFFF) / 65535.0f;
        };
        float light = 0;
        for (int k = 0; k < 28; ++k) {
            const float cx = next() * 260 - 10;
            const float cy = next() * 340 - 10;
            const float r = 6 + 26 * next() * next();
            const float strength = 0.45f + 0.55f * next();
            const float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) - r;
            light += strength * std::clamp(0.5f - d / 1.5f, 0.0f, 1.0f) *
                     (0.55f + 0.45f * std::clamp(-d / r, 0.0f, 1.0f));
        }
        return std::min(light, 1.0f);
    }
    }
    return 0;
}

// The shared look of every screen: gradient, a soft light from above, the pattern, and a
// vignette that keeps the eye on the middle.
void PaintBackdrop(Canvas& canvas, const Theme& theme, float patternStrength)
{
    const Rgba line = Lighten(theme.top, 0.55f);
    canvas.Fill([&](float x, float y) {
        Rgba c = Mix(theme.top, theme.bottom, std::pow(y / ScreenHeight, 0.8f));
        const float gx = (x - 120) / 170;
        const float gy = (y - 110) / 200;
        const float glow = std::exp(-(gx * gx + gy * gy));
        c = Lighten(c, 0.09f * glow);
        const float p = PatternAt(theme.pattern, x, y) * patternStrength * (0.55f + 0.45f * glow);
        c = Mix(c, line, p);
        const float vx = (x - 120) / 120;
        const float vy = (y - 160) / 160;
        const float vignette = std::clamp((vx * vx + vy * vy - 0.35f) * 0.3f, 0.0f, 0.35f);
        c = Lighten(c, -vignette);
        c.a = 1;
        return c;
    });
}

// The emblem: a cell of the game, a hexagon with one side of each colour, in a soft halo.
// weight thickens the bars (and the joints a little less, to leave the colours room), for small
// pictures.
void PaintEmblem(Canvas& canvas, Vec centre, float side, float weight = 1)
{
    const float scale = side / 54;
    canvas.FillShape(
        Circle(centre, 92 * scale),
        Radial(centre, 92 * scale, Rgba{0.55f, 0.7f, 1, 0.22f}, Rgba{0.55f, 0.7f, 1, 0}));
    std::vector<Vec> corners;
    for (int k = 0; k < 6; ++k) {
        const float a = -Pi / 2 - Pi / 6 + k * Pi / 3;
        corners.push_back({centre.x + side * std::cos(a), centre.y + side * std::sin(a)});
    }
    canvas.FillShape(ConvexPolygon(corners), Radial(centre, side, Rgba{0.78f, 0.84f, 0.95f, 0.22f},
                                                    Rgba{0.78f, 0.84f, 0.95f, 0.42f}));
    // Sides in the order of the colours, then the joints over their ends.
    const int order[6] = {1, 0, 3, 2, 4, 5};
    for (int k = 0; k < 6; ++k) {
        PaintBar(canvas, corners[k], corners[(k + 1) % 6], 15 * scale * weight,
                 SideColours[order[k]]);
    }
    for (const Vec& p : corners) {
        PaintJoint(canvas, p, 8.5f * scale * std::sqrt(weight));
    }
}

// The title "Tavlo" at (x, y) with a soft shadow below it, white fading to ice blue.
void PaintTitle(Canvas& canvas, const TextMask& title, int x, int y, int drop)
{
    Canvas shadow(canvas.Width(), canvas.Height());
    PaintText(shadow, title, x + 1, y + drop, Solid(Rgb8(0, 0, 10)));
    shadow.Blur(2);
    canvas.Draw(shadow, 0, 0, 0.85f);
    PaintText(canvas, title, x, y,
              Linear({0, static_cast<float>(y)}, Rgb8(255, 255, 255),
                     {0, static_cast<float>(y + title.height)}, Rgb8(160, 196, 255)));
}

} // namespace

Canvas Background(int index)
{
    Canvas canvas(ScreenWidth, ScreenHeight);
    const Theme& theme = Themes[index % BackgroundCount];
    PaintBackdrop(canvas, theme, theme.pattern == Pattern::Bubbles ? 0.10f : 0.085f);
    return canvas;
}

Canvas LoadingScreen(const Fonts& fonts)
{
    Canvas canvas(ScreenWidth, ScreenHeight);
    PaintBackdrop(canvas, Themes[0], 0.07f);
    PaintEmblem(canvas, {120, 112}, 54);

    // The title, then the caption.
    const TextMask title = RenderText(fonts.bold, 62, "Tavlo", -1);
    const int titleX = (ScreenWidth - title.width) / 2;
    const int titleY = 200;
    PaintTitle(canvas, title, titleX, titleY, 4);

    const TextMask caption = RenderText(fonts.regular, 12, "TURN \xC2\xB7 MATCH \xC2\xB7 CHAIN", 1);
    PaintText(canvas, caption, (ScreenWidth - caption.width) / 2, titleY + title.height + 14,
              Solid(Rgb8(150, 172, 214)));
    const TextMask loading = RenderText(fonts.regular, 10, "loading\xE2\x80\xA6");
    PaintText(canvas, loading, (ScreenWidth - loading.width) / 2, 296, Solid(Rgb8(110, 126, 160)));
    return canvas;
}

Canvas MenuBackground()
{
    // The title screen's backdrop with a fainter pattern and a darker floor, so that buttons,
    // panels and text stand out on it; the glow under the title stays.
    Canvas canvas(ScreenWidth, ScreenHeight);
    PaintBackdrop(canvas, Themes[0], 0.045f);
    Canvas floor(ScreenWidth, ScreenHeight);
    floor.Fill(Linear({0, 70}, Rgba{0, 0, 0.03f, 0}, {0, ScreenHeight}, Rgba{0, 0, 0.03f, 0.3f}));
    canvas.Draw(floor, 0, 0);
    return canvas;
}

Canvas MenuTitle(const Fonts& fonts)
{
    Canvas canvas(MenuTitleWidth, MenuTitleHeight);
    const float side = 17;
    PaintEmblem(canvas, {side + 9, MenuTitleHeight / 2.0f}, side);
    const TextMask title = RenderText(fonts.bold, 40, "Tavlo", -1);
    const int titleX = static_cast<int>(2 * side + 24);
    PaintTitle(canvas, title, titleX, (MenuTitleHeight - title.height) / 2 - 1, 3);
    canvas.BleedColour();
    return canvas;
}

Canvas AppIcon(int size)
{
    Canvas canvas(size, size);
    const float s = static_cast<float>(size);
    // The tile leaves a small margin, as desktop icons do, and a little more below for its
    // shadow.
    const float margin = s / 16;
    const float tile = s - 2 * margin;
    const float radius = s * 0.2f;
    Canvas shadow(size, size);
    shadow.FillShape(RoundedRect(margin, margin + s / 48, tile, tile, radius),
                     Solid(Rgba{0, 0, 0.04f, 0.45f}));
    shadow.Blur(std::max(1, size / 48));
    canvas.Draw(shadow, 0, 0);

    // Bluer than the title screen's backdrop, so that the tile stands out on dark panels too.
    canvas.FillShape(RoundedRect(margin, margin, tile, tile, radius),
                     Linear({0, margin}, Rgb8(46, 80, 150), {0, margin + tile}, Rgb8(12, 22, 60)));
    // A light rim along the top edge, fading down the sides, as if lit from above.
    canvas.FillShape(Subtract(RoundedRect(margin, margin, tile, tile, radius),
                              RoundedRect(margin + 1, margin + 1, tile - 2, tile - 2, radius - 1)),
                     Linear({0, margin}, Rgba{0.75f, 0.85f, 1, 0.5f}, {0, margin + tile / 2},
                            Rgba{0.75f, 0.85f, 1, 0}));
    // The emblem's halo is wider than the tile: it is kept inside it.
    Canvas emblem(size, size);
    // Thin bars vanish at the small sizes: they grow thicker there.
    PaintEmblem(emblem, {s / 2, s / 2}, s * 0.3f, std::clamp(80 / s, 1.0f, 1.5f));
    const Distance inside = RoundedRect(margin, margin, tile, tile, radius);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            emblem.At(x, y).a *= std::clamp(0.5f - inside(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
    }
    canvas.Draw(emblem, 0, 0);
    return canvas;
}

} // namespace Art
