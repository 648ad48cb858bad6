// The animations: the pulse that marks a bonus and the five particle sparks of the bursts.
// Both are tinted by the game through their alpha, so they are drawn white on transparent.
#include "Art.h"

#include <numbers>

namespace Art {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

// Adds white light of the given strength at every pixel, where strength(x, y) is 0 to 1.
void Glow(Canvas& canvas, int top, int size, const std::function<float(float, float)>& strength)
{
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float s = std::clamp(strength(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
            Rgba& p = canvas.At(x, top + y);
            p = {1, 1, 1, 1 - (1 - p.a) * (1 - s)};
        }
    }
}

float Gauss(float d, float width)
{
    return std::exp(-(d * d) / (width * width));
}

} // namespace

Canvas BonusPulse(int frameSize)
{
    constexpr int Frames = 11;
    Canvas canvas(frameSize, frameSize * Frames);
    const float c = frameSize / 2.0f;
    const float inner = frameSize * 0.30f;
    const float outer = frameSize * 0.47f;
    const float width = frameSize / 28.0f;
    for (int f = 0; f < Frames; ++f) {
        const float t = static_cast<float>(f) / Frames;
        Glow(canvas, f * frameSize, frameSize, [=](float x, float y) {
            const float r = std::sqrt((x - c) * (x - c) + (y - c) * (y - c));
            // A steady halo hugging the icon, breathing once per loop.
            float light = (0.30f + 0.12f * std::cos(2 * Pi * t)) * Gauss(r - inner, width * 1.6f);
            // Two rings running outwards half a loop apart, fading as they grow.
            for (int k = 0; k < 2; ++k) {
                const float phase = std::fmod(t + k * 0.5f, 1.0f);
                const float radius = inner + (outer - inner) * phase;
                const float fade = (1 - phase) * std::min(1.0f, phase * 6 + 0.35f);
                light += 0.95f * fade * Gauss(r - radius, width * (1 + phase));
            }
            return light;
        });
    }
    return canvas;
}

Canvas Particle(int kind, int frameSize)
{
    constexpr int Frames = 8;
    Canvas canvas(frameSize, frameSize * Frames);
    const float c = frameSize / 2.0f;
    const float full = frameSize / 2.0f - 0.5f;
    for (int f = 0; f < Frames; ++f) {
        // Over its life a spark shrinks, dims and turns.
        const float age = static_cast<float>(f) / (Frames - 1);
        const float size = full * (1 - 0.55f * age);
        const float bright = 1 - 0.55f * age;
        const float turn = age * Pi / 3;
        Glow(canvas, f * frameSize, frameSize, [=](float x, float y) {
            const float dx = x - c;
            const float dy = y - c;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float u = dx * std::cos(turn) + dy * std::sin(turn);
            const float v = -dx * std::sin(turn) + dy * std::cos(turn);
            const float core = Gauss(r, size * 0.28f);
            float shape = 0;
            switch (kind) {
            case 1: { // four-pointed star
                const float star = std::sqrt(std::fabs(u)) + std::sqrt(std::fabs(v));
                shape = std::clamp((std::sqrt(size) - star) * 2.2f, 0.0f, 1.0f);
                break;
            }
            case 2: // soft round spark
                shape = Gauss(r, size * 0.55f);
                break;
            case 3: // small ring with a bright centre
                shape = Gauss(r - size * 0.62f, std::max(0.7f, size * 0.16f)) + 0.6f * core;
                break;
            case 4: // plus-shaped flare
                shape = std::max(Gauss(u, 0.55f + size * 0.06f) * Gauss(v, size * 0.55f),
                                 Gauss(v, 0.55f + size * 0.06f) * Gauss(u, size * 0.55f));
                break;
            default: { // six-pointed flare
                const float a = std::atan2(v, u);
                const float spokes = std::pow(std::fabs(std::cos(3 * a)), 6.0f);
                shape = Gauss(r, size * (0.25f + 0.55f * spokes));
                break;
            }
            }
            return bright * std::max(shape, core);
        });
    }
    return canvas;
}

} // namespace Art
