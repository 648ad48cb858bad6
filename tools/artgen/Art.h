// The pictures of the game, each drawn from code: side strips, joints, cell pictures, bonus
// icons and animations, particles, backgrounds, the loading screen and the UI skin.
#pragma once

#include "Canvas.h"
#include "graphics/TrigTable.h"

#include <array>
#include <string>

namespace Art {

// The six side colours and the grey of a finished side, chosen to stay apart for players
// with red-green colour blindness: they differ in lightness as well as in the blue-yellow
// direction, which those players still see.
constexpr std::array<Rgba, 7> SideColours = {
    Rgb8(236, 72, 16),   // 0 vermilion
    Rgb8(250, 224, 40),  // 1 yellow
    Rgb8(40, 112, 250),  // 2 blue
    Rgb8(200, 64, 190),  // 3 magenta
    Rgb8(110, 225, 160), // 4 mint
    Rgb8(232, 240, 246), // 5 white
    Rgb8(128, 128, 128), // 6 grey
};

// Fonts used by the pictures.
struct Fonts
{
    std::string bold;      // title and numbers
    std::string regular;   // small captions
    std::string condensed; // numbers on the small icons
};

// A shaded bar from a to b, thickness pixels across, with round ends: a light highlight above
// its middle line and a darker rim, as if lit from above.
void PaintBar(Canvas& canvas, Vec a, Vec b, float thickness, const Rgba& colour);
// A small metal ball centred on c.
void PaintJoint(Canvas& canvas, Vec c, float radius);

// One bar per colour 0 to 6, stacked vertically, each length x thickness.
Canvas SideStrip(int length, int thickness);
// A joint size x size.
Canvas Joint(int size);
// The translucent regular polygon of n sides of cellSize pixels, first side along the top,
// its centre on the pixel the board drawing pins to the cell's centre.
Canvas CellPicture(int sides, int cellSize, const Graphics::TrigTable& trig);
// Twelve icons size x size stacked vertically, bonus kind 1 at the top.
Canvas BonusIcons(int size, const Fonts& fonts);
// The pulse around a bonus: 11 square frames of frameSize stacked vertically.
Canvas BonusPulse(int frameSize);
// Particle kind 1 to 5: 8 square frames of frameSize stacked vertically, white on transparent.
Canvas Particle(int kind, int frameSize);
// Number of backgrounds and background number index (0-based), 240x320.
constexpr int BackgroundCount = 8;
Canvas Background(int index);
// The title screen, 240x320.
Canvas LoadingScreen(const Fonts& fonts);

// The UI skin sheet: the panel and the sunken well (24x24 each) in the top row; the button's
// default and pressed, then disabled and active states (24x24) in the next two; then the check
// boxes, unchecked and below them checked (16x16: default, pressed, disabled). The skin file
// XML/uiconfig.xml cuts it into corners, edges and centres.
constexpr int SkinWidth = 48;
constexpr int SkinHeight = 104;
Canvas SkinSheet();
// The panel's 8x8 corners as images of their own (0 top-left, 1 top-right, 2 bottom-left,
// 3 bottom-right), so that the skin can give them their natural size.
Canvas PanelCorner(int corner);

} // namespace Art
