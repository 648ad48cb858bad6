// The display drivers: the back buffer must reach the screen turned as the orientation says.
#include "app/Win32GapiDriver.h"
#include "app/Win32RawFBDriver.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t W = 240, H = 320;

struct OpenedHost
{
    OpenedHost()
    {
        host.RegisterWindowClass("test", [](Platform::WindowHandle, uint32_t, uint32_t, uint32_t) {
            return int32_t{0};
        });
        window = host.CreateMainWindow("test", "Test");
    }
    FakeHost host;
    Platform::WindowHandle window;
};

// Fills the back buffer with its own pixel indices (mod 2^16) so every pixel is traceable.
void FillWithIndices(Display& display)
{
    uint16_t* buffer = display.GetBuffer();
    for (uint32_t i = 0; i < W * H; ++i)
        buffer[i] = static_cast<uint16_t>(i * 7 + 1);
}

uint16_t BufferPixel(uint32_t bx, uint32_t by, uint32_t logicalWidth)
{
    return static_cast<uint16_t>((by * logicalWidth + bx) * 7 + 1);
}

// Where logical pixel (bx, by) appears on the 240x320 screen for each orientation: upright as
// is; a quarter turn puts logical row 0 on screen column 0, read bottom up; the other quarter
// turn puts it on the rightmost column, top down; the half turn mirrors both axes.
void CheckRotation(const uint16_t* screen, uint32_t orientation)
{
    const bool sideways = orientation == 2 || orientation == 4;
    const uint32_t lw = sideways ? H : W, lh = sideways ? W : H;
    for (uint32_t by = 0; by < lh; ++by) {
        for (uint32_t bx = 0; bx < lw; ++bx) {
            uint32_t sx = bx, sy = by;
            if (orientation == 2) {
                sx = by;
                sy = H - 1 - bx;
            } else if (orientation == 4) {
                sx = W - 1 - by;
                sy = bx;
            } else if (orientation == 8) {
                sx = W - 1 - bx;
                sy = H - 1 - by;
            }
            ASSERT_EQ(screen[sy * W + sx], BufferPixel(bx, by, lw))
                << "orientation " << orientation << " logical (" << bx << ", " << by << ")";
        }
    }
}

} // namespace

TEST(Display, OrientationFixesTheLogicalSize)
{
    OpenedHost h;
    Win32GapiDriver display;
    const struct
    {
        uint32_t code, width, height;
    } steps[] = {{2, 320, 240}, {4, 320, 240}, {8, 240, 320}, {0, 240, 320},
                 {4, 320, 240}, {1, 240, 320}, {77, 240, 320}};
    for (const auto& step : steps) {
        display.SetOrientation(step.code);
        EXPECT_EQ(display.GetWidth(), step.width) << step.code;
        EXPECT_EQ(display.GetHeight(), step.height) << step.code;
    }
}

TEST(Display, GapiPresentTurnsTheBufferForEveryOrientation)
{
    for (uint32_t orientation : {1u, 2u, 4u, 8u}) {
        OpenedHost h;
        Win32GapiDriver display;
        ASSERT_TRUE(display.Open(h.window));
        EXPECT_EQ(h.host.presents, 1); // opening shows a black screen
        display.SetOrientation(orientation);
        FillWithIndices(display);
        display.Present(0);
        EXPECT_EQ(h.host.presents, 2);
        CheckRotation(h.host.ScreenMemory(), orientation);
    }
}

TEST(Display, RawFrameBufferPresentTurnsTheBufferToo)
{
    for (uint32_t orientation : {1u, 2u, 4u, 8u}) {
        OpenedHost h;
        h.host.rawFrameBuffer = true;
        Win32RawFBDriver display;
        ASSERT_TRUE(display.Open(h.window));
        display.SetOrientation(orientation);
        FillWithIndices(display);
        display.Present(0);
        EXPECT_EQ(h.host.presents, 0); // written in place, no begin/end
        CheckRotation(h.host.ScreenMemory(), orientation);
    }
}

TEST(Display, UnknownOrientationCopiesNothing)
{
    OpenedHost h;
    Win32GapiDriver display;
    ASSERT_TRUE(display.Open(h.window));
    display.SetOrientation(3);
    FillWithIndices(display);
    std::fill_n(h.host.ScreenMemory(), W * H, uint16_t{0xBEEF});
    display.Present(0);
    EXPECT_EQ(h.host.ScreenMemory()[0], 0xBEEF);
    EXPECT_EQ(h.host.ScreenMemory()[W * H - 1], 0xBEEF);
}

TEST(Display, OtherPitchesCopyUnturnedByTheirSteps)
{
    // A screen whose pixels lie 4 bytes apart (every other word) and whose rows run bottom up,
    // each a padded 960 words from the next.
    OpenedHost h;
    h.host.layout.xPitch = 4;
    h.host.layout.yPitch = -2 * 480 * 2;
    h.host.customScreen.assign(2 * 480 * H, 0);
    h.host.screenOrigin = (H - 1) * 2 * 480; // the last row holds the first pixels
    Win32GapiDriver display;
    ASSERT_TRUE(display.Open(h.window));
    display.SetOrientation(8); // ignored on this path
    FillWithIndices(display);
    display.Present(0);
    for (uint32_t y = 0; y < H; ++y) {
        for (uint32_t x = 0; x < W; ++x) {
            size_t at = (H - 1 - y) * 2 * 480 + 2 * x;
            ASSERT_EQ(h.host.customScreen[at], BufferPixel(x, y, W)) << x << "," << y;
            ASSERT_EQ(h.host.customScreen[at + 1], 0) << "gap written at " << x << "," << y;
        }
    }
}

TEST(Display, OpenFailsWithoutAScreenAndMarksTheWindow)
{
    OpenedHost h;
    Win32GapiDriver first;
    ASSERT_TRUE(first.Open(h.window));
    EXPECT_TRUE(first.Open(h.window)); // already open: nothing to do
    Win32GapiDriver second;
    EXPECT_FALSE(second.Open(h.window)); // the screen is taken
    EXPECT_EQ(second.GetWindow(), -1);

    Win32RawFBDriver raw; // this host has no raw frame buffer
    EXPECT_FALSE(raw.Open(h.window));
}
