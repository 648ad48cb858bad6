// The effects: motion frame by frame, the bursts' particles and their draws from the random
// generator, and drawing through an image's alpha plane with the effect's tint.
#include "game/EffectManager.h"

#include "SessionFixture.h"
#include "graphics/Surface16.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace SessionTest;

namespace {

TEST(EffectManager, ParticlesSlowDownStopAndDie)
{
    EffectManager effects;
    // 8 frames over a lifetime of 4: the frame advances two per update after the first.
    effects.AddImageEffect(10, 20, 2, 2, 3, -2, 1, 1, 4, 8, 0, nullptr, EffectKind::Ordinary,
                           OpaqueWhite);
    struct Step
    {
        float x, y, vx, vy;
        uint32_t frame;
    };
    const Step steps[] = {{13, 18, 2, -1, 1}, {15, 17, 1, 0, 3}, {16, 17, 0, 0, 5}};
    for (const Step& s : steps) {
        effects.UpdateImageEffects();
        ASSERT_EQ(effects.ImageEffects().size(), 1u);
        const ImageEffect& e = effects.ImageEffects()[0];
        EXPECT_EQ(e.x, s.x);
        EXPECT_EQ(e.y, s.y);
        EXPECT_EQ(e.vx, s.vx);
        EXPECT_EQ(e.vy, s.vy);
        EXPECT_EQ(e.frame, s.frame);
    }
    effects.UpdateImageEffects();
    EXPECT_FALSE(effects.HasImageEffects()) << "at rest";

    // A speed crossing 0 stops there; the first frame of a long life is 0, not a wrapped -1;
    // the lifetime ends an ordinary effect still moving.
    effects.AddImageEffect(0, 0, 2, 2, 0.5f, 9, 1, 0, 2, 8, 0, nullptr, EffectKind::Ordinary, 0);
    effects.UpdateImageEffects();
    EXPECT_EQ(effects.ImageEffects()[0].vx, 0.0f);
    EXPECT_EQ(effects.ImageEffects()[0].frame, 3u);
    effects.UpdateImageEffects();
    effects.UpdateImageEffects();
    EXPECT_FALSE(effects.HasImageEffects());
    effects.AddImageEffect(0, 0, 2, 2, 9, 9, 0, 0, 10, 8, 0, nullptr, EffectKind::Ordinary, 0);
    effects.UpdateImageEffects();
    EXPECT_EQ(effects.ImageEffects()[0].frame, 0u);
}

TEST(EffectManager, TextsStopBelowOnePixelPerFrame)
{
    EffectManager effects;
    effects.AddTextEffect(0, 0, 2.5f, -0.5f, 1, 0, 50, u"", nullptr);
    effects.AddTextEffect(0, 0, 0.9f, -0.9f, 0, 0, 50, u"", nullptr);
    effects.SetAllTexts(u"12point");
    effects.UpdateTextEffects(); // the second never moves
    ASSERT_EQ(effects.TextEffects().size(), 1u);
    EXPECT_EQ(effects.TextEffects()[0].text, u"12point");
    EXPECT_EQ(effects.TextEffects()[0].x, 2.5f);
    effects.UpdateTextEffects(); // 1.5 pixels per frame
    effects.UpdateTextEffects(); // 0.5: stopped
    EXPECT_FALSE(effects.HasTextEffects());
}

TEST(EffectManager, CellBurstDrawsFourValuesPerParticle)
{
    for (const uint32_t sides : {3u, 6u}) {
        EffectManager effects(&Trig(), nullptr);
        SeedRandom(31);
        effects.CellBurst(sides, 100.5f, 50.0f);
        ASSERT_EQ(effects.TextEffects().size(), sides);
        ASSERT_EQ(effects.ImageEffects().size(), 9 * sides);

        // The two particle images, the second drawn again while it equals the first.
        const std::vector<uint32_t> draws = Draws(31, 2 + 40 * 12 + 20);
        size_t next = 2;
        while (draws[1 + (next - 2)] % 5 == draws[0] % 5) {
            ++next;
        }
        const float step = float(65535 / (10 * sides));
        for (uint32_t i = 0; i < 10 * sides; ++i) {
            const uint32_t* d = &draws[next + 4 * i];
            const float px = float(int(d[0] % 10) - 5) + 100.5f;
            const float py = float(int(d[1] % 10) - 5) + 50.0f;
            const float speed = float(d[2] % 5 + 1);
            const double decel = 0.1 * (d[3] % 3) + 0.1;
            const double angle = double(step) * (i + 1) * 2 * 3.14159265358979 / 65536;
            const bool text = i % 10 == 0;
            const size_t index = text ? i / 10 : i - i / 10 - 1;
            const float x = text ? effects.TextEffects()[index].x : effects.ImageEffects()[index].x;
            const float y = text ? effects.TextEffects()[index].y : effects.ImageEffects()[index].y;
            const float vx =
                text ? effects.TextEffects()[index].vx : effects.ImageEffects()[index].vx;
            const float vy =
                text ? effects.TextEffects()[index].vy : effects.ImageEffects()[index].vy;
            const uint32_t life = text ? effects.TextEffects()[index].lifetime
                                       : effects.ImageEffects()[index].lifetime;
            EXPECT_EQ(x, px) << i;
            EXPECT_EQ(y, py) << i;
            EXPECT_NEAR(vx, speed * std::sin(angle), 1e-4) << i;
            EXPECT_NEAR(vy, speed * std::cos(angle), 1e-4) << i;
            EXPECT_NEAR(double(life), std::floor(speed / decel), 1.0) << i;
        }
        EXPECT_EQ(Random(), draws[next + 40 * sides]) << "nothing drawn after the particles";
    }
}

TEST(EffectManager, WithoutATrigonometryTableBurstsVanishAtOnce)
{
    EffectManager effects;
    effects.CellBurst(5, 40, 40);
    effects.ClickBurst(0, 0, 80, 20);
    EXPECT_EQ(effects.ImageEffects().size(), 45u + 50u);
    EXPECT_EQ(effects.ImageEffects()[0].lifetime, 0u);
    effects.UpdateImageEffects();
    effects.UpdateTextEffects();
    EXPECT_FALSE(effects.HasImageEffects());
    EXPECT_FALSE(effects.HasTextEffects());
}

TEST(EffectManager, ClickBurstThrowsTintedSparksFromTheWindowCentre)
{
    EffectManager effects(&Trig(), nullptr);
    SeedRandom(8);
    effects.ClickBurst(30, 100, 81, 20);
    ASSERT_EQ(effects.ImageEffects().size(), 50u);
    const std::vector<uint32_t> draws = Draws(8, 2 + 20 + 300);
    size_t next = 2;
    while (draws[next - 1] % 5 == draws[0] % 5) {
        ++next;
    }
    for (size_t i = 0; i < 50; ++i) {
        const uint32_t* d = &draws[next + 6 * i];
        const ImageEffect& e = effects.ImageEffects()[i];
        EXPECT_EQ(e.x, float(double(d[0] % 10) - 5.0 + 40 + 30)) << i;
        EXPECT_EQ(e.y, float(double(d[1] % 10) - 5.0 + 10 + 100)) << i;
        const uint32_t level = 130 + d[4] % 125;
        const uint32_t tints[3] = {0xFF00FFFF | level << 16, 0xFFFF00FF | level << 8,
                                   0xFFFFFF00 | level};
        EXPECT_EQ(e.colour, tints[d[5] % 3]) << i;
    }
}

TEST(EffectManager, DrawsTheCurrentFrameThroughTheAlphaPlaneWithTheTint)
{
    // Two frames of 2 x 2 stacked: the first transparent, the second opaque.
    Graphics::Surface16 strip;
    ASSERT_EQ(strip.Create(2, 4, true), 0);
    for (uint32_t i = 0; i < 8; ++i) {
        strip.Pixels()[i] = 0x1234;
        strip.Alpha()[i] = i < 4 ? 0 : 255;
    }
    Graphics::Surface16 target;
    ASSERT_EQ(target.Create(10, 10, false), 0);
    target.Clear();

    EffectManager effects;
    effects.AddImageEffect(3.5f, 1.4f, 2, 2, 0, 0, 0, 0, 10, 2, 1, &strip, EffectKind::Ordinary,
                           0xFFFF0000);
    effects.AddImageEffect(0, 0, 2, 2, 1, 1, 0, 0, 10, 2, 1, nullptr, EffectKind::Ordinary,
                           0xFFFF0000);
    effects.UpdateImageEffects(); // frame 1 of the first; the second moves without an image
    EXPECT_EQ(effects.ImageEffects()[1].x, 1.0f);
    effects.DrawImageEffects(target);
    for (uint32_t y = 0; y < 10; ++y) {
        for (uint32_t x = 0; x < 10; ++x) {
            const bool inside = (x == 4 || x == 5) && (y == 1 || y == 2);
            EXPECT_EQ(target.Pixels()[y * target.Stride() + x], inside ? 0xF800 : 0) << x << y;
        }
    }
}

} // namespace
