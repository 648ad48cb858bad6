// The painting the skin pictures share: the skin's palette of framed pieces and the bevelled,
// outlined rounded frame they are all drawn as, lit from the top left.
#pragma once

#include "Canvas.h"

namespace Art {

// One framed piece: its fill, how strongly and which way its rim is shaded (positive: raised,
// negative: sunken), and its outline.
struct Frame
{
    Rgba fill;
    float bevel;
    Rgba outline;
};

constexpr Frame Panel{Rgb8(22, 36, 70), 0.40f, Rgb8(110, 160, 235, 0.9f)};
constexpr Frame Well{Rgb8(8, 14, 32), -0.45f, Rgb8(60, 92, 150, 0.9f)};
constexpr Frame ButtonDefault{Rgb8(38, 78, 150), 0.50f, Rgb8(140, 190, 255)};
constexpr Frame ButtonActive{Rgb8(54, 104, 188), 0.50f, Rgb8(190, 220, 255)};
constexpr Frame ButtonPressed{Rgb8(24, 50, 106), -0.40f, Rgb8(140, 190, 255)};
constexpr Frame ButtonDisabled{Rgb8(46, 52, 68), 0.20f, Rgb8(92, 100, 118)};
constexpr Frame BoxDefault{Rgb8(12, 20, 44), -0.45f, Rgb8(120, 170, 240)};
constexpr Frame BoxPressed{Rgb8(30, 52, 100), -0.45f, Rgb8(190, 220, 255)};
constexpr Frame BoxDisabled{Rgb8(30, 34, 44), -0.20f, Rgb8(86, 94, 110)};
constexpr Rgba Check = Rgb8(250, 224, 40);
constexpr Rgba CheckDisabled = Rgb8(120, 120, 110);

// The rim of the large pieces is shaded over this many pixels inside the outline; their
// corners are 8 wide, so the middle of every piece stays flat and tiles without seams. Small
// pieces (4-pixel corners) shade a narrower rim for the same reason.
constexpr float BevelWidth = 4.0f;
constexpr float SmallBevelWidth = 3.0f;

// The fill of a frame: lighter on rims that face the top left, darker on the others (or the
// reverse when sunken), fading to the plain fill bevelWidth pixels in.
Paint Bevel(const Distance& shape, const Frame& frame, float bevelWidth = BevelWidth);
// A frame of any outline shape: the bevelled inside, then the 1-pixel outline between the two.
void PaintFrameShape(Canvas& canvas, const Distance& outer, const Distance& inner,
                     const Frame& frame, float bevelWidth = BevelWidth);
// A rounded frame filling the rectangle (x, y, w, h) of the canvas.
void PaintFrame(Canvas& canvas, float x, float y, float w, float h, float radius,
                const Frame& frame, float bevelWidth = BevelWidth);
// The check mark of a 16x16 box whose top-left corner is (x, y).
void PaintCheck(Canvas& canvas, float x, float y, const Rgba& colour);
// The rectangle (x, y, w, h) of a canvas as a canvas of its own.
Canvas Crop(const Canvas& from, int x, int y, int w, int h);

} // namespace Art
