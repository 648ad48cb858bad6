// EffectManager: creating, moving and drawing the image and text effects, and the two bursts.
// The bursts draw from the shared random generator in a fixed order: replays depend on it.
#include "game/EffectManager.h"

#include "game/Random.h"
#include "graphics/BitmapFont.h"
#include "graphics/Surface16.h"
#include "graphics/TrigTable.h"
#include "resources/ResourceManager.h"

#include <cmath>
#include <string>
#include <utility>

namespace {

// The velocity, deceleration and lifetime of a particle thrown along a 16-bit angle.
struct Throw
{
    float vx = 0.0f;
    float vy = 0.0f;
    float ax = 0.0f;
    float ay = 0.0f;
    uint32_t lifetime = 0;
};

// Frames until the particle rests: the larger of |v| / a over the two axes, truncated. An axis
// without speed gives 0 / 0 and does not count, so a particle that cannot move (no trigonometry
// table) lives 0 frames instead of converting a NaN.
uint32_t RestingTime(const Throw& t)
{
    float longest = 0.0f;
    for (const auto& [v, a] : {std::pair{t.vx, t.ax}, std::pair{t.vy, t.ay}}) {
        const float frames = std::fabs(v) / a;
        if (frames > longest) {
            longest = frames;
        }
    }
    return longest < 4294967296.0f ? static_cast<uint32_t>(longest) : UINT32_MAX;
}

// speed x (Sin, Cos) of the angle, decelerating by |d x Sin| and |d x Cos| per frame.
Throw ThrowAlong(const Graphics::TrigTable* trig, uint16_t angle, uint32_t speed, float d)
{
    const float sine = trig ? trig->Sin(angle) : 0.0f;
    const float cosine = trig ? trig->Cos(angle) : 0.0f;
    Throw t;
    t.vx = static_cast<float>(speed) * sine;
    t.vy = static_cast<float>(speed) * cosine;
    t.ax = std::fabs(d * sine);
    t.ay = std::fabs(d * cosine);
    t.lifetime = RestingTime(t);
    return t;
}

// The deceleration factor of a particle: 0.1, 0.2 or 0.3, computed in double, kept in float.
float RandomDeceleration()
{
    return static_cast<float>(0.1 * (Random() % 3) + 0.1);
}

// Two different particle images out of "ani1" to "ani5", the second drawn again until it
// differs from the first.
std::pair<uint32_t, uint32_t> TwoParticleImages()
{
    const uint32_t first = Random() % 5 + 1;
    uint32_t second = Random() % 5 + 1;
    while (second == first) {
        second = Random() % 5 + 1;
    }
    return {first, second};
}

std::u16string ParticleName(uint32_t number)
{
    std::u16string name = u"ani";
    name.push_back(static_cast<char16_t>(u'0' + number));
    return name;
}

// A speed component one step closer to 0 by a, stopping at 0.
float Slowed(float v, float a)
{
    if (v > 0.0f) {
        v -= a;
        return v < 0.0f ? 0.0f : v;
    }
    if (v < 0.0f) {
        v += a;
        return v > 0.0f ? 0.0f : v;
    }
    return v;
}

// x + 0.5 in double, truncated, held inside the 32-bit range.
int32_t Nearest(float x)
{
    const double v = static_cast<double>(x) + 0.5;
    if (!(v > -2147483648.0)) {
        return INT32_MIN;
    }
    return v < 2147483647.0 ? static_cast<int32_t>(v) : INT32_MAX;
}

int32_t Truncated(float x)
{
    if (!(x > -2147483648.0f)) {
        return INT32_MIN;
    }
    return x < 2147483647.0f ? static_cast<int32_t>(x) : INT32_MAX;
}

// One of the three channels gets a random level from 130 to 254, the others full.
uint32_t RandomTint()
{
    const uint32_t level = 130 + Random() % 125;
    switch (Random() % 3) {
    case 0:
        return 0xFF00FFFF | level << 16;
    case 1:
        return 0xFFFF00FF | level << 8;
    default:
        return 0xFFFFFF00 | level;
    }
}

} // namespace

EffectManager::EffectManager(const Graphics::TrigTable* trig, const ResourceManager* resources)
    : m_trig(trig), m_resources(resources)
{}

int32_t EffectManager::AddImageEffect(float x, float y, uint32_t frameWidth, uint32_t frameHeight,
                                      float vx, float vy, float ax, float ay, uint32_t lifetime,
                                      uint32_t frameCount, uint32_t framePeriod,
                                      const Graphics::Surface16* image, uint8_t kind,
                                      uint32_t colour)
{
    ImageEffect effect;
    effect.x = x;
    effect.y = y;
    effect.frameWidth = frameWidth;
    effect.frameHeight = frameHeight;
    effect.vx = vx;
    effect.vy = vy;
    effect.ax = ax;
    effect.ay = ay;
    effect.lifetime = lifetime;
    effect.frameCount = frameCount;
    effect.framePeriod = framePeriod;
    effect.colour = colour;
    effect.image = image;
    effect.kind = kind;
    m_images.push_back(effect);
    return static_cast<int32_t>(m_images.size() - 1);
}

int32_t EffectManager::AddTextEffect(float x, float y, float vx, float vy, float ax, float ay,
                                     uint32_t lifetime, std::u16string text,
                                     const Utils::BitmapFont* font)
{
    TextEffect effect;
    effect.x = x;
    effect.y = y;
    effect.vx = vx;
    effect.vy = vy;
    effect.ax = ax;
    effect.ay = ay;
    effect.lifetime = lifetime;
    effect.text = std::move(text);
    effect.font = font;
    m_texts.push_back(std::move(effect));
    return static_cast<int32_t>(m_texts.size() - 1);
}

void EffectManager::SetAllTexts(std::u16string_view text)
{
    for (TextEffect& effect : m_texts) {
        effect.text = text;
    }
}

void EffectManager::RemoveKind(uint8_t kind)
{
    std::erase_if(m_images, [kind](const ImageEffect& e) { return e.kind == kind; });
}

void EffectManager::UpdateImageEffects()
{
    // Removal keeps the order of the rest, as if each removed effect's successors moved down.
    size_t kept = 0;
    for (size_t i = 0; i < m_images.size(); ++i) {
        ImageEffect& e = m_images[i];
        if (e.age >= e.lifetime && e.kind == EffectKind::Ordinary) {
            continue;
        }
        if (e.vx == 0.0f && e.vy == 0.0f) {
            if (e.framePeriod != 0) {
                // A resting animation, such as the bonus animation, cycles through its frames.
                ++e.age;
                e.frame = e.frameCount != 0 ? (e.age / e.framePeriod) % e.frameCount : 0;
            } else if (!(e.ax == 0.0f && e.ay == 0.0f) && e.kind == EffectKind::Ordinary) {
                continue; // a particle that came to rest
            }
        } else {
            e.x += e.vx;
            e.y += e.vy;
            e.vx = Slowed(e.vx, e.ax);
            e.vy = Slowed(e.vy, e.ay);
            ++e.age;
            // Runs from 0 to frameCount - 1 over the lifetime; the first step wraps below 0.
            e.frame = e.lifetime != 0 ? (e.age * e.frameCount) / e.lifetime - 1 : 0;
            if (e.frame >= e.frameCount) {
                e.frame = 0;
            }
        }
        if (kept != i) {
            m_images[kept] = std::move(e);
        }
        ++kept;
    }
    m_images.resize(kept);
}

void EffectManager::UpdateTextEffects()
{
    size_t kept = 0;
    for (size_t i = 0; i < m_texts.size(); ++i) {
        TextEffect& e = m_texts[i];
        // A speed below one pixel per frame counts as stopped.
        const bool resting = std::fabs(e.vx) < 1.0f && std::fabs(e.vy) < 1.0f;
        if (e.age >= e.lifetime || resting) {
            continue;
        }
        e.x += e.vx;
        e.y += e.vy;
        e.vx = Slowed(e.vx, e.ax);
        e.vy = Slowed(e.vy, e.ay);
        ++e.age;
        if (kept != i) {
            m_texts[kept] = std::move(e);
        }
        ++kept;
    }
    m_texts.resize(kept);
}

void EffectManager::DrawImageEffects(Graphics::Surface16& surface) const
{
    for (const ImageEffect& e : m_images) {
        if (!e.image) {
            continue;
        }
        const Graphics::Rect frame{0, static_cast<int32_t>(e.frame * e.frameHeight),
                                   static_cast<int32_t>(e.frameWidth),
                                   static_cast<int32_t>(e.frameHeight)};
        const int32_t x = Nearest(e.x);
        const int32_t y = Nearest(e.y);
        // The colour paints through the image's alpha plane; an image without one has nothing
        // to tint and is copied as it is.
        if (e.image->HasAlpha()) {
            surface.MaskBlit(x, y, *e.image, &frame, e.colour, 255);
        } else {
            surface.Blit(x, y, *e.image, &frame, 255);
        }
    }
}

void EffectManager::DrawTextEffects(Graphics::Surface16& surface) const
{
    for (const TextEffect& e : m_texts) {
        if (e.font) {
            e.font->DrawText(Truncated(e.x), Truncated(e.y), e.text, &surface);
        }
    }
}

void EffectManager::Clear()
{
    m_images.clear();
    m_texts.clear();
}

void EffectManager::ClickBurst(int32_t x, int32_t y, int32_t width, int32_t height)
{
    const auto [first, second] = TwoParticleImages();
    const Graphics::Surface16* images[2] = {Image(ParticleName(first)),
                                            Image(ParticleName(second))};
    constexpr uint32_t Sparks = 50;
    constexpr float Step = static_cast<float>(65535u / Sparks);
    float angle = 0.0f;
    for (uint32_t i = 0; i < Sparks; ++i) {
        angle += Step;
        const double px = (static_cast<double>(Random() % 10) - 5.0) + width / 2 + x;
        const double py = (static_cast<double>(Random() % 10) - 5.0) + height / 2 + y;
        const uint32_t speed = 1 + Random() % 5;
        const float d = RandomDeceleration();
        const Throw t =
            ThrowAlong(m_trig, static_cast<uint16_t>(static_cast<uint32_t>(angle)), speed, d);
        const uint32_t tint = RandomTint();
        const Graphics::Surface16* image = images[i % 2];
        const uint32_t side = image ? image->Width() : 0;
        AddImageEffect(static_cast<float>(px), static_cast<float>(py), side, side, t.vx, t.vy, t.ax,
                       t.ay, t.lifetime, 8, 0, image, EffectKind::Ordinary, tint);
    }
}

void EffectManager::CellBurst(uint32_t sides, float centreX, float centreY)
{
    const auto [first, second] = TwoParticleImages();
    const Graphics::Surface16* images[2] = {Image(ParticleName(first)),
                                            Image(ParticleName(second))};
    const Utils::BitmapFont* digits = m_resources ? m_resources->GetFont(u"digits") : nullptr;
    const uint32_t count = 10 * sides;
    if (count == 0) {
        return;
    }
    const float step = static_cast<float>(65535u / count);
    float angle = 0.0f;
    for (uint32_t i = 0; i < count; ++i) {
        angle += step;
        // The offsets -5 to 4 are signed: an unsigned difference would throw the particle
        // four billion pixels away.
        const float px = static_cast<float>(static_cast<int32_t>(Random() % 10) - 5) + centreX;
        const float py = static_cast<float>(static_cast<int32_t>(Random() % 10) - 5) + centreY;
        const uint32_t speed = Random() % 5 + 1;
        const float d = RandomDeceleration();
        const Throw t =
            ThrowAlong(m_trig, static_cast<uint16_t>(static_cast<uint32_t>(angle)), speed, d);
        if (i % 10 == 0) {
            AddTextEffect(px, py, t.vx, t.vy, t.ax, t.ay, t.lifetime, u"", digits);
            continue;
        }
        const Graphics::Surface16* image = images[i % 2];
        const uint32_t side = image ? image->Width() : 0;
        AddImageEffect(px, py, side, side, t.vx, t.vy, t.ax, t.ay, t.lifetime, 8, 0, image,
                       EffectKind::Ordinary, OpaqueWhite);
    }
}

const Graphics::Surface16* EffectManager::Image(std::u16string_view name) const
{
    return m_resources ? m_resources->GetImage(name) : nullptr;
}
