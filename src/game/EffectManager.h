// EffectManager: the moving, decelerating images and texts drawn over the game and the menus:
// the bursts of completed cells and clicked buttons, the floating points and the bonus animation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Graphics {
class Surface16;
class TrigTable;
} // namespace Graphics

namespace Utils {
class BitmapFont;
}

class ResourceManager;

// Kinds of image effect: ordinary ones die with their lifetime; the bonus animation lives until
// it is removed by kind.
namespace EffectKind {
constexpr uint8_t Ordinary = 0;
constexpr uint8_t BonusAnimation = 1;
} // namespace EffectKind

// The colour of an untinted effect: opaque white, all 32 bits set.
constexpr uint32_t OpaqueWhite = 0xFFFFFFFF;

// An animated image: its frames are stacked vertically in the image.
struct ImageEffect
{
    float x = 0.0f; // top-left corner on screen
    float y = 0.0f;
    uint32_t frameWidth = 0;
    uint32_t frameHeight = 0;
    float vx = 0.0f; // pixels per frame
    float vy = 0.0f;
    float ax = 0.0f; // decrease of the speed per frame, never negative
    float ay = 0.0f;
    uint32_t lifetime = 0; // frames
    uint32_t age = 0;
    uint32_t alpha = 255;
    uint32_t frameCount = 0;
    uint32_t frame = 0;
    uint32_t framePeriod = 0; // frames per animation frame of a resting effect, 0 for none
    uint32_t colour = OpaqueWhite;
    const Graphics::Surface16* image = nullptr; // borrowed; null draws nothing
    uint8_t kind = EffectKind::Ordinary;
};

struct TextEffect
{
    float x = 0.0f;
    float y = 0.0f;
    float vx = 0.0f;
    float vy = 0.0f;
    float ax = 0.0f;
    float ay = 0.0f;
    uint32_t lifetime = 0;
    uint32_t age = 0;
    std::u16string text;
    const Utils::BitmapFont* font = nullptr; // borrowed; null draws nothing
};

// One per application, shared by the game screen and the menus. Bursts take their directions
// from the trigonometry table and their images and font from the resource manager; without
// them the effects are still created (and draw from the random generator as usual) but cannot
// move or be drawn.
class EffectManager
{
public:
    EffectManager() = default;
    EffectManager(const Graphics::TrigTable* trig, const ResourceManager* resources);
    EffectManager(const EffectManager&) = delete;
    EffectManager& operator=(const EffectManager&) = delete;

    void SetTrigTable(const Graphics::TrigTable* trig) { m_trig = trig; }
    void SetResources(const ResourceManager* resources) { m_resources = resources; }

    // Each returns the index of the new effect (the last one).
    int32_t AddImageEffect(float x, float y, uint32_t frameWidth, uint32_t frameHeight, float vx,
                           float vy, float ax, float ay, uint32_t lifetime, uint32_t frameCount,
                           uint32_t framePeriod, const Graphics::Surface16* image, uint8_t kind,
                           uint32_t colour);
    int32_t AddTextEffect(float x, float y, float vx, float vy, float ax, float ay,
                          uint32_t lifetime, std::u16string text, const Utils::BitmapFont* font);
    // Gives every existing text effect this text.
    void SetAllTexts(std::u16string_view text);
    // Removes every image effect of the kind.
    void RemoveKind(uint8_t kind);
    bool HasImageEffects() const { return !m_images.empty(); }
    bool HasTextEffects() const { return !m_texts.empty(); }

    // One frame of motion; effects whose time is up are removed, the later ones moving down.
    void UpdateImageEffects();
    void UpdateTextEffects();
    void DrawImageEffects(Graphics::Surface16& surface) const;
    void DrawTextEffects(Graphics::Surface16& surface) const;
    void Clear();

    // Fifty sparks in random tints thrown from the centre of a window at (x, y) (its position
    // in its parent) of the given size.
    void ClickBurst(int32_t x, int32_t y, int32_t width, int32_t height);
    // The burst of a completed cell of n sides centred on (centreX, centreY): 10 x n particles,
    // every tenth a floating text that gets its number when the chain's points are banked.
    void CellBurst(uint32_t sides, float centreX, float centreY);

    const std::vector<ImageEffect>& ImageEffects() const { return m_images; }
    const std::vector<TextEffect>& TextEffects() const { return m_texts; }

private:
    const Graphics::Surface16* Image(std::u16string_view name) const;

    std::vector<ImageEffect> m_images;
    std::vector<TextEffect> m_texts;
    const Graphics::TrigTable* m_trig = nullptr;
    const ResourceManager* m_resources = nullptr;
};
