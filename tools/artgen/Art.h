// The pictures of the game, each drawn from code: side strips, joints, cell pictures, bonus
// icons and animations, particles, backgrounds, the loading screen, the menu screens' backdrop,
// title and help pictures, the UI skin and the game screen's heads-up display.
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
// The menu screens' backdrop, 240x320: the title screen's, calmer, without the title.
Canvas MenuBackground();
// The main menu's title, the emblem beside the word "Tavlo", on transparent ground.
constexpr int MenuTitleWidth = 184;
constexpr int MenuTitleHeight = 60;
Canvas MenuTitle(const Fonts& fonts);
// The application icon, size x size on transparent ground: the title's emblem on a rounded
// dark-blue tile.
Canvas AppIcon(int size);

// The pictures of the help pages, on transparent ground. The turn: a cell caught turning
// clockwise, an arrow, and the same cell after the step, every colour one side further on.
constexpr int HelpTurnWidth = 200;
constexpr int HelpTurnHeight = 92;
Canvas HelpTurn();
// The bonus icons in two rows: the six that help above, the five that hurt and the shuffle
// below.
constexpr int HelpBonusSize = 26;
constexpr int HelpBonusGap = 8;
constexpr int HelpBonusesWidth = 6 * HelpBonusSize + 5 * HelpBonusGap;
constexpr int HelpBonusesHeight = 2 * HelpBonusSize + HelpBonusGap;
Canvas HelpBonuses(const Fonts& fonts);

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

// The widgets' skin sheet, cut by XML/uiconfig.xml:
//   row y 0 (12 high): the arrow button's default, pressed and disabled frames (12x12 at x 0,
//     12, 24); the scroll thumb (12x11 at x 36); the list selection (12x12 at x 48); the
//     slider's fill, default (12x6 at 60,0) and disabled (12x6 at 60,6);
//   row y 12 (6 high): the arrow glyphs, 9x6: up at x 0, 9, 18 and down at x 27, 36, 45, each
//     default, pressed and disabled;
//   row y 18: the text field's default and disabled frames (24x24 at x 0 and 24) and the scroll
//     bar's track (18x18 at x 48);
//   row y 42: the slider's groove, default and disabled (12x12 at x 0 and 12).
// Frames of 12 have 4-pixel corners, those of 24 and 18 corners of 8 and 6.
constexpr int WidgetsWidth = 72;
constexpr int WidgetsHeight = 54;
Canvas WidgetSheet();

// The game screen's heads-up display across the top of the screen, opaque: a dark-blue bar
// with three sunken wells, for the board number (x 48 to 84), the score and its bar (x 86 to
// 188) and the time and lives (x 190 to 237), each from y 3 to 36; the left 48 pixels, under
// the menu button, stay plain.
constexpr int HudWidth = 240;
constexpr int HudHeight = 40;
Canvas Hud();
// The HUD's icons, HudIconSize square on transparent ground: a clock face beside the time and
// a heart beside the lives.
constexpr int HudIconSize = 14;
Canvas HudClock();
Canvas HudLife();

// The on-screen keyboard: 4 rows of 12 cells of KeyWidth x KeyHeight. Rows 0-1 hold the digits
// and Q to P in columns 0-9, row 2 A to L in columns 0-8, row 3 the minus and Z to M in columns
// 0-7; backspace spans columns 10-11 of row 0, space columns 8-11 of row 3, and the L-shaped
// enter columns 10-11 of row 1 and 9-11 of row 2.
constexpr int KeyWidth = 19;
constexpr int KeyHeight = 17;
constexpr int KeyboardWidth = 12 * KeyWidth;
constexpr int KeyboardHeight = 4 * KeyHeight;
// The caps without labels, opaque.
Canvas KeyboardButtons();
// The labels alone, on transparent ground.
Canvas KeyboardKeys(const Fonts& fonts);
// A pressed cap, drawn between the two over a touched key: 1 a letter or digit key (one cell),
// 2 backspace (2x1 cells), 3 enter (3x2 cells, transparent outside its L), 4 space (4x1 cells).
Canvas PressedKey(int kind);

} // namespace Art
