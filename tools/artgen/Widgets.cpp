// The widgets' skin sheet: scroll arrows and their glyphs, the scroll bar's track and thumb,
// the list selection, the text field, and the slider's groove and fill, in the skin's dark blue
// with the same bevel and light as the frames of the main skin sheet.
#include "Art.h"
#include "SkinPaint.h"

namespace Art {

namespace {

// The arrow buttons: small raised buttons, sunk when pressed, greyed when disabled.
constexpr Frame Arrows[3] = {ButtonDefault, ButtonPressed, ButtonDisabled};
constexpr Rgba ArrowGlyph = Rgb8(228, 240, 255);
constexpr Rgba ArrowGlyphPressed = Rgb8(196, 222, 255);
constexpr Rgba ArrowGlyphDisabled = Rgb8(118, 126, 142);
constexpr Rgba GlyphShadow = Rgb8(0, 6, 24, 0.55f);

// The thumb stands out from the dark track with the bright button blue; its middle carries
// grip ridges, one light and one dark line every three rows.
constexpr Frame Thumb = ButtonActive;
constexpr Rgba GripLight = Rgb8(150, 196, 255);
constexpr Rgba GripDark = Rgb8(22, 48, 104);

// The scroll bar's channel: deeper than the well, with a dimmer rim.
constexpr Frame Track{Rgb8(5, 9, 24), -0.50f, Rgb8(50, 80, 138, 0.9f)};
// The selected list row: a see-through lighter blue, so the row's text and the list behind
// it keep their colours under it.
constexpr Frame Selection{Rgb8(60, 136, 255, 0.55f), 0.45f, Rgb8(150, 200, 255, 0.75f)};
// The text field: sunken like the well, with the brighter rim of the check boxes.
constexpr Frame Edit = BoxDefault;
constexpr Frame EditDisabled = BoxDisabled;
// The slider's groove.
constexpr Frame Groove{Rgb8(6, 12, 30), -0.50f, Rgb8(80, 124, 196)};
constexpr Frame GrooveDisabled{Rgb8(24, 28, 36), -0.25f, Rgb8(82, 90, 106)};

// The slider's fill, top to bottom: outline, highlight, body, shade, outline. It has no ends
// of its own: it is cut off at the value, so that a value of 0 draws nothing at all.
constexpr Rgba Progress[5] = {Rgb8(176, 224, 255), Rgb8(120, 196, 255), Rgb8(56, 146, 246),
                              Rgb8(36, 104, 212), Rgb8(18, 56, 136)};
constexpr Rgba ProgressDisabled[5] = {Rgb8(160, 166, 178), Rgb8(134, 140, 152), Rgb8(106, 112, 124),
                                      Rgb8(84, 90, 102), Rgb8(56, 60, 72)};

void Put(Canvas& canvas, int x, int y, const Rgba& colour)
{
    canvas.Blend(x, y, colour, 1.0f);
}

// A 7x4 arrow in crisp pixel rows (1, 3, 5, 7 wide, point first) with its top-left corner
// at (x, y), and a one-pixel shadow below it when shadow is set.
void PaintArrow(Canvas& canvas, int x, int y, bool up, const Rgba& colour, bool shadow)
{
    for (int row = 0; row < 4; ++row) {
        const int half = up ? row : 3 - row;
        for (int i = 3 - half; i <= 3 + half; ++i) {
            if (shadow)
                Put(canvas, x + i, y + row + 1, GlyphShadow);
        }
    }
    for (int row = 0; row < 4; ++row) {
        const int half = up ? row : 3 - row;
        for (int i = 3 - half; i <= 3 + half; ++i)
            canvas.At(x + i, y + row) = colour;
    }
}

void PaintProgress(Canvas& canvas, int x, int y, const Rgba (&rows)[5])
{
    // Rows 0-1 the top cap, 2-3 the body (two rows of one colour), 4-5 the bottom cap.
    const Rgba colours[6] = {rows[0], rows[1], rows[2], rows[2], rows[3], rows[4]};
    for (int j = 0; j < 6; ++j) {
        for (int i = 0; i < 12; ++i)
            canvas.At(x + i, y + j) = colours[j];
    }
}

} // namespace

Canvas WidgetSheet()
{
    Canvas canvas(WidgetsWidth, WidgetsHeight);
    // Row 0: the arrow buttons, the thumb, the selection and the slider's fill.
    for (int i = 0; i < 3; ++i)
        PaintFrame(canvas, 12.0f * i, 0, 12, 12, 3, Arrows[i], SmallBevelWidth);
    PaintFrame(canvas, 36, 0, 12, 11, 3, Thumb, SmallBevelWidth);
    for (int i = 0; i < 12; ++i) {
        // The grip on the middle three rows (4 to 6): only its middle columns reach the
        // edges of the piece, which tile sideways.
        if (i >= 4 && i < 8) {
            canvas.At(36 + i, 4) = GripLight;
            canvas.At(36 + i, 5) = GripDark;
        }
    }
    PaintFrame(canvas, 48, 0, 12, 12, 3, Selection, SmallBevelWidth);
    PaintProgress(canvas, 60, 0, Progress);
    PaintProgress(canvas, 60, 6, ProgressDisabled);

    // Row 1: the arrow glyphs, 9x6 each: up, then down, each default, pressed (one pixel
    // lower and to the right) and disabled.
    for (int i = 0; i < 2; ++i) {
        const bool up = i == 0;
        const int x = 27 * i;
        PaintArrow(canvas, x + 1, 13, up, ArrowGlyph, true);
        PaintArrow(canvas, x + 9 + 2, 14, up, ArrowGlyphPressed, false);
        PaintArrow(canvas, x + 18 + 1, 13, up, ArrowGlyphDisabled, false);
    }

    // Row 2: the text field, default and disabled, and the scroll bar's track.
    PaintFrame(canvas, 0, 18, 24, 24, 5, Edit);
    PaintFrame(canvas, 24, 18, 24, 24, 5, EditDisabled);
    PaintFrame(canvas, 48, 18, 18, 18, 5, Track);

    // Row 3: the slider's groove, default and disabled.
    PaintFrame(canvas, 0, 42, 12, 12, 4, Groove, SmallBevelWidth);
    PaintFrame(canvas, 12, 42, 12, 12, 4, GrooveDisabled, SmallBevelWidth);
    return canvas;
}

} // namespace Art
