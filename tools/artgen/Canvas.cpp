// Canvas: anti-aliased shape fills, compositing, blurring and the conversion to RGB565 surfaces.
#include "Canvas.h"

namespace Art {

namespace {

float Clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

float Length(float x, float y)
{
    return std::sqrt(x * x + y * y);
}

} // namespace

Rgba Mix(const Rgba& a, const Rgba& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba Faded(const Rgba& c, float k)
{
    return {c.r, c.g, c.b, c.a * k};
}

Rgba Lighten(const Rgba& c, float amount)
{
    const Rgba target = amount >= 0 ? Rgba{1, 1, 1, c.a} : Rgba{0, 0, 0, c.a};
    return Mix(c, target, std::fabs(amount));
}

Paint Solid(const Rgba& c)
{
    return [c](float, float) { return c; };
}

Paint Linear(Vec p, const Rgba& a, Vec q, const Rgba& b)
{
    const float dx = q.x - p.x;
    const float dy = q.y - p.y;
    const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    return [=](float x, float y) {
        return Mix(a, b, Clamp01(((x - p.x) * dx + (y - p.y) * dy) / len2));
    };
}

Paint Radial(Vec centre, float radius, const Rgba& a, const Rgba& b)
{
    return [=](float x, float y) {
        return Mix(a, b, Clamp01(Length(x - centre.x, y - centre.y) / radius));
    };
}

Distance Circle(Vec centre, float radius)
{
    return [=](float x, float y) { return Length(x - centre.x, y - centre.y) - radius; };
}

Distance Ring(Vec centre, float inner, float outer)
{
    const float mid = (inner + outer) / 2;
    const float half = (outer - inner) / 2;
    return [=](float x, float y) {
        return std::fabs(Length(x - centre.x, y - centre.y) - mid) - half;
    };
}

Distance ConvexPolygon(std::vector<Vec> points)
{
    // Orientation from the signed area, so both windings work.
    float area = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec& a = points[i];
        const Vec& b = points[(i + 1) % points.size()];
        area += a.x * b.y - b.x * a.y;
    }
    const float sign = area > 0 ? 1.0f : -1.0f;
    return [points = std::move(points), sign](float x, float y) {
        float d = -1e9f;
        for (size_t i = 0; i < points.size(); ++i) {
            const Vec& a = points[i];
            const Vec& b = points[(i + 1) % points.size()];
            const float ex = b.x - a.x;
            const float ey = b.y - a.y;
            const float len = Length(ex, ey);
            // Outward normal of the edge.
            const float nx = sign * ey / len;
            const float ny = -sign * ex / len;
            d = std::max(d, (x - a.x) * nx + (y - a.y) * ny);
        }
        return d;
    };
}

Distance RoundedRect(float x, float y, float w, float h, float radius)
{
    const float cx = x + w / 2;
    const float cy = y + h / 2;
    const float hx = w / 2 - radius;
    const float hy = h / 2 - radius;
    return [=](float px, float py) {
        const float qx = std::fabs(px - cx) - hx;
        const float qy = std::fabs(py - cy) - hy;
        return Length(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) -
               radius;
    };
}

Distance Segment(Vec a, Vec b, float halfWidth)
{
    return [=](float x, float y) {
        const float ex = b.x - a.x;
        const float ey = b.y - a.y;
        const float len2 = std::max(ex * ex + ey * ey, 1e-6f);
        const float t = Clamp01(((x - a.x) * ex + (y - a.y) * ey) / len2);
        return Length(x - a.x - ex * t, y - a.y - ey * t) - halfWidth;
    };
}

Distance Union(Distance a, Distance b)
{
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Distance Subtract(Distance a, Distance b)
{
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

void Canvas::Blend(int x, int y, const Rgba& c, float coverage)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    const float sa = Clamp01(c.a * coverage);
    if (sa <= 0) {
        return;
    }
    Rgba& d = At(x, y);
    const float keep = d.a * (1 - sa);
    const float outA = sa + keep;
    d = {(c.r * sa + d.r * keep) / outA, (c.g * sa + d.g * keep) / outA,
         (c.b * sa + d.b * keep) / outA, outA};
}

void Canvas::Fill(const Paint& paint)
{
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            At(x, y) = paint(x + 0.5f, y + 0.5f);
        }
    }
}

void Canvas::FillShape(const Distance& shape, const Paint& paint, float opacity)
{
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const float cx = x + 0.5f;
            const float cy = y + 0.5f;
            const float coverage = Clamp01(0.5f - shape(cx, cy));
            if (coverage > 0) {
                Blend(x, y, paint(cx, cy), coverage * opacity);
            }
        }
    }
}

void Canvas::FillInside(const std::function<bool(float, float)>& inside, const Paint& paint,
                        int samples)
{
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            int hits = 0;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    hits += inside(x + (i + 0.5f) / samples, y + (j + 0.5f) / samples) ? 1 : 0;
                }
            }
            if (hits > 0) {
                Blend(x, y, paint(x + 0.5f, y + 0.5f),
                      static_cast<float>(hits) / static_cast<float>(samples * samples));
            }
        }
    }
}

void Canvas::Draw(const Canvas& other, int x, int y, float opacity)
{
    for (int j = 0; j < other.Height(); ++j) {
        for (int i = 0; i < other.Width(); ++i) {
            Blend(x + i, y + j, other.At(i, j), opacity);
        }
    }
}

void Canvas::Blur(int radius)
{
    if (radius <= 0) {
        return;
    }
    // Premultiplied, so transparent pixels do not darken the edges.
    std::vector<Rgba> pre(m_px.size());
    for (size_t i = 0; i < m_px.size(); ++i) {
        const Rgba& c = m_px[i];
        pre[i] = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
    }
    std::vector<Rgba> tmp(pre.size());
    const float norm = 1.0f / static_cast<float>(2 * radius + 1);
    auto pass = [&](bool horizontal) {
        const int outer = horizontal ? m_height : m_width;
        const int inner = horizontal ? m_width : m_height;
        for (int o = 0; o < outer; ++o) {
            for (int i = 0; i < inner; ++i) {
                Rgba sum;
                for (int k = -radius; k <= radius; ++k) {
                    const int p = std::clamp(i + k, 0, inner - 1);
                    const Rgba& s = horizontal ? pre[static_cast<size_t>(o) * m_width + p]
                                               : pre[static_cast<size_t>(p) * m_width + o];
                    sum = {sum.r + s.r, sum.g + s.g, sum.b + s.b, sum.a + s.a};
                }
                Rgba& t = horizontal ? tmp[static_cast<size_t>(o) * m_width + i]
                                     : tmp[static_cast<size_t>(i) * m_width + o];
                t = {sum.r * norm, sum.g * norm, sum.b * norm, sum.a * norm};
            }
        }
        pre.swap(tmp);
    };
    for (int n = 0; n < 3; ++n) {
        pass(true);
        pass(false);
    }
    for (size_t i = 0; i < m_px.size(); ++i) {
        const Rgba& p = pre[i];
        m_px[i] = p.a > 1e-6f ? Rgba{p.r / p.a, p.g / p.a, p.b / p.a, p.a} : Rgba{};
    }
}

void Canvas::BleedColour()
{
    for (int round = 0; round < 4; ++round) {
        std::vector<Rgba> next = m_px;
        std::vector<uint8_t> painted(m_px.size());
        for (size_t i = 0; i < m_px.size(); ++i) {
            painted[i] = m_px[i].a > 0 || m_px[i].r + m_px[i].g + m_px[i].b > 0 ? 1 : 0;
        }
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const size_t at = static_cast<size_t>(y) * m_width + x;
                if (painted[at]) {
                    continue;
                }
                Rgba sum;
                int count = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx;
                        const int ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= m_width || ny >= m_height) {
                            continue;
                        }
                        const size_t n = static_cast<size_t>(ny) * m_width + nx;
                        if (painted[n]) {
                            sum = {sum.r + m_px[n].r, sum.g + m_px[n].g, sum.b + m_px[n].b, 0};
                            ++count;
                        }
                    }
                }
                if (count > 0) {
                    const float k = 1.0f / static_cast<float>(count);
                    next[at] = {sum.r * k, sum.g * k, sum.b * k, 0};
                }
            }
        }
        m_px.swap(next);
    }
}

std::unique_ptr<Graphics::Surface16> Canvas::ToSurface(bool withAlpha, bool dither) const
{
    // A 4x4 ordered-dither matrix: thresholds in sixteenths of one RGB565 step.
    static constexpr int Bayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    auto surface = std::make_unique<Graphics::Surface16>();
    if (surface->Create(static_cast<uint32_t>(m_width), static_cast<uint32_t>(m_height),
                        withAlpha) != Graphics::SurfaceResult::Ok) {
        return nullptr;
    }
    uint16_t* pixels = surface->Pixels();
    uint8_t* alpha = surface->Alpha();
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            Rgba c = At(x, y);
            if (!withAlpha) {
                // Opaque images show their colour over black.
                c = {c.r * c.a, c.g * c.a, c.b * c.a, 1};
            }
            const float offset = dither ? (Bayer[y & 3][x & 3] + 0.5f) / 16.0f : 0.5f;
            auto quantise = [offset](float v, int levels) {
                return std::clamp(static_cast<int>(Clamp01(v) * levels + offset), 0, levels);
            };
            const int r = quantise(c.r, 31);
            const int g = quantise(c.g, 63);
            const int b = quantise(c.b, 31);
            const size_t at = static_cast<size_t>(y) * surface->Stride() + x;
            pixels[at] = static_cast<uint16_t>((r << 11) | (g << 5) | b);
            if (alpha) {
                alpha[at] = static_cast<uint8_t>(std::lround(Clamp01(c.a) * 255.0f));
            }
        }
    }
    return surface;
}

} // namespace Art
