// Canvas: the floating-point RGBA drawing surface of the art generator, with anti-aliased shape
// fills (signed distances or supersampled inside tests) and the conversion to game surfaces.
#pragma once

#include "graphics/Surface16.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Art {

// A colour with straight (not premultiplied) alpha, every channel 0 to 1.
struct Rgba
{
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;
};

struct Vec
{
    float x = 0;
    float y = 0;
};

// 8-bit sRGB colour to a canvas colour.
constexpr Rgba Rgb8(int r, int g, int b, float a = 1.0f)
{
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Rgba Mix(const Rgba& a, const Rgba& b, float t);
// The colour with its alpha multiplied by k.
Rgba Faded(const Rgba& c, float k);
// Moves a colour towards white (amount > 0) or black (amount < 0).
Rgba Lighten(const Rgba& c, float amount);

// The paint of a fill: the colour at a point (pixel centres are at half-integers).
using Paint = std::function<Rgba(float x, float y)>;
Paint Solid(const Rgba& c);
// A linear gradient from colour a at point p to colour b at point q.
Paint Linear(Vec p, const Rgba& a, Vec q, const Rgba& b);
// A radial gradient from colour a at the centre to colour b at the radius and beyond.
Paint Radial(Vec centre, float radius, const Rgba& a, const Rgba& b);

// A signed distance in pixels: negative inside the shape, positive outside.
using Distance = std::function<float(float x, float y)>;
Distance Circle(Vec centre, float radius);
// The ring between two radii.
Distance Ring(Vec centre, float inner, float outer);
// A convex polygon given clockwise on screen (y down) or counter-clockwise; exact inside and
// along the edges, slightly rounded outside the corners, which anti-aliasing does not notice.
Distance ConvexPolygon(std::vector<Vec> points);
Distance RoundedRect(float x, float y, float w, float h, float radius);
// A thick line segment with round caps.
Distance Segment(Vec a, Vec b, float halfWidth);
Distance Union(Distance a, Distance b);
Distance Subtract(Distance a, Distance b);

class Canvas
{
public:
    Canvas(int width, int height) : m_width(width), m_height(height), m_px(width * height) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgba& At(int x, int y) { return m_px[static_cast<size_t>(y) * m_width + x]; }
    const Rgba& At(int x, int y) const { return m_px[static_cast<size_t>(y) * m_width + x]; }

    // Source-over compositing of one colour weighted by a coverage 0 to 1.
    void Blend(int x, int y, const Rgba& c, float coverage);
    // Fills the whole canvas with a paint, replacing what is there.
    void Fill(const Paint& paint);
    // Paints the shape of a signed distance with one pixel of anti-aliasing; opacity scales it.
    void FillShape(const Distance& shape, const Paint& paint, float opacity = 1.0f);
    // Paints where inside() holds, sampling samples x samples points per pixel.
    void FillInside(const std::function<bool(float, float)>& inside, const Paint& paint,
                    int samples = 4);
    // Composites another canvas over this one with its top-left corner at (x, y).
    void Draw(const Canvas& other, int x, int y, float opacity = 1.0f);
    // Blurs the canvas (premultiplied box blur, three passes, radius in pixels).
    void Blur(int radius);
    // Gives fully transparent pixels the colour of their nearest painted neighbours, so that
    // filtered sampling of the image does not pull dark fringes in from its empty parts.
    void BleedColour();

    // The game surface: RGB565 pixels (rounded, or ordered-dithered) and an alpha plane when
    // withAlpha is set.
    std::unique_ptr<Graphics::Surface16> ToSurface(bool withAlpha, bool dither = false) const;

private:
    int m_width;
    int m_height;
    std::vector<Rgba> m_px;
};

} // namespace Art
