// The on-screen keyboard: 4 rows of 12 key cells, 19x17 each. The key caps (drawn without
// labels), the labels alone on a transparent ground, and the pressed caps the keyboard draws
// between the two over a key being touched.
#include "Art.h"
#include "SkinPaint.h"
#include "Text.h"

#include <string>
#include <vector>

namespace Art {

namespace {

constexpr Rgba Ground = Rgb8(8, 14, 32); // between the caps, the colour of the well
constexpr Frame Cap{Rgb8(46, 88, 166), 0.50f, Rgb8(124, 174, 244)};
// Backspace, enter and space: a darker blue, so that they read as keys of another kind.
constexpr Frame ActionCap{Rgb8(28, 56, 116), 0.50f, Rgb8(110, 158, 232)};
// A touched key lights up and sinks.
constexpr Frame PressedCap{Rgb8(88, 150, 238), -0.45f, Rgb8(206, 230, 255)};
constexpr Rgba Label = Rgb8(242, 247, 255);
constexpr Rgba LabelShadow = Rgb8(0, 6, 26, 0.65f);
constexpr int LabelPixels = 11;

// A key: its first column, row and the number of columns it spans; the enter key is the one
// L-shaped key, given separately.
struct Key
{
    int column;
    int row;
    int span;
    const char* label;
};

constexpr Key Keys[] = {
    {0, 0, 1, "1"}, {1, 0, 1, "2"}, {2, 0, 1, "3"}, {3, 0, 1, "4"}, {4, 0, 1, "5"}, {5, 0, 1, "6"},
    {6, 0, 1, "7"}, {7, 0, 1, "8"}, {8, 0, 1, "9"}, {9, 0, 1, "0"}, {0, 1, 1, "Q"}, {1, 1, 1, "W"},
    {2, 1, 1, "E"}, {3, 1, 1, "R"}, {4, 1, 1, "T"}, {5, 1, 1, "Y"}, {6, 1, 1, "U"}, {7, 1, 1, "I"},
    {8, 1, 1, "O"}, {9, 1, 1, "P"}, {0, 2, 1, "A"}, {1, 2, 1, "S"}, {2, 2, 1, "D"}, {3, 2, 1, "F"},
    {4, 2, 1, "G"}, {5, 2, 1, "H"}, {6, 2, 1, "J"}, {7, 2, 1, "K"}, {8, 2, 1, "L"}, {0, 3, 1, "-"},
    {1, 3, 1, "Z"}, {2, 3, 1, "X"}, {3, 3, 1, "C"}, {4, 3, 1, "V"}, {5, 3, 1, "B"}, {6, 3, 1, "N"},
    {7, 3, 1, "M"},
};
constexpr Key Backspace{10, 0, 2, nullptr};
constexpr Key Space{8, 3, 4, nullptr};

// Caps sit one pixel inside their cells, so neighbouring caps are two pixels apart.
Distance CapOuter(const Key& key)
{
    return RoundedRect(key.column * KeyWidth + 1.0f, key.row * KeyHeight + 1.0f,
                       key.span * KeyWidth - 2.0f, KeyHeight - 2.0f, 3.0f);
}

Distance CapInner(const Key& key)
{
    return RoundedRect(key.column * KeyWidth + 2.0f, key.row * KeyHeight + 2.0f,
                       key.span * KeyWidth - 4.0f, KeyHeight - 4.0f, 2.0f);
}

// The enter key: columns 10-11 of row 1 joined to columns 9-11 of row 2.
Distance EnterShape(float inset)
{
    const float r = 3.0f - inset;
    const Distance upper =
        RoundedRect(10 * KeyWidth + 1 + inset, KeyHeight + 1 + inset, 2 * KeyWidth - 2 - 2 * inset,
                    2 * KeyHeight - 2 - 2 * inset, r);
    const Distance lower = RoundedRect(9 * KeyWidth + 1 + inset, 2 * KeyHeight + 1 + inset,
                                       3 * KeyWidth - 2 - 2 * inset, KeyHeight - 2 - 2 * inset, r);
    return Union(upper, lower);
}

// Every cap of the keyboard in one look for the letter keys and one for the action keys.
Canvas Caps(const Frame& normal, const Frame& action)
{
    Canvas canvas(KeyboardWidth, KeyboardHeight);
    canvas.Fill(Solid(Ground));
    for (const Key& key : Keys)
        PaintFrameShape(canvas, CapOuter(key), CapInner(key), normal, SmallBevelWidth);
    for (const Key& key : {Backspace, Space})
        PaintFrameShape(canvas, CapOuter(key), CapInner(key), action, SmallBevelWidth);
    PaintFrameShape(canvas, EnterShape(0), EnterShape(1), action, SmallBevelWidth);
    return canvas;
}

// A shape painted in the label colour over its shadow, one pixel lower.
void PaintSymbol(Canvas& canvas, const Distance& shape)
{
    canvas.FillShape([shape](float x, float y) { return shape(x, y - 1); }, Solid(LabelShadow));
    canvas.FillShape(shape, Solid(Label));
}

void PaintLabel(Canvas& canvas, const TextMask& mask, int x, int y)
{
    PaintText(canvas, mask, x, y + 1, Solid(LabelShadow));
    PaintText(canvas, mask, x, y, Solid(Label));
}

// A left-pointing arrow: a head of the given length and half height, and a shaft of the given
// half thickness from the head back to tailX.
Distance LeftArrow(float tipX, float y, float headLength, float headHalf, float tailX,
                   float shaftHalf)
{
    const Distance head = ConvexPolygon(
        {{tipX, y}, {tipX + headLength, y - headHalf}, {tipX + headLength, y + headHalf}});
    return Union(head, Segment({tipX + headLength - 1, y}, {tailX, y}, shaftHalf));
}

} // namespace

Canvas KeyboardButtons()
{
    return Caps(Cap, ActionCap);
}

Canvas KeyboardKeys(const Fonts& fonts)
{
    Canvas canvas(KeyboardWidth, KeyboardHeight);
    // Letters and digits share one top line, that of the capitals, whatever their depth (the
    // tail of the Q hangs below it).
    const int capHeight = RenderText(fonts.bold, LabelPixels, "H").height;
    for (const Key& key : Keys) {
        const float cellX = key.column * KeyWidth;
        const float cellY = key.row * KeyHeight;
        if (key.label[0] == '-') {
            // The font's hyphen is a speck at this size: the minus is a bar as wide as a
            // digit's bowl, on the capitals' middle.
            const float y = cellY + (KeyHeight - capHeight) / 2 + capHeight / 2.0f;
            PaintSymbol(canvas, ConvexPolygon({{cellX + 6, y - 1},
                                               {cellX + 13, y - 1},
                                               {cellX + 13, y + 1},
                                               {cellX + 6, y + 1}}));
            continue;
        }
        const TextMask mask = RenderText(fonts.bold, LabelPixels, key.label);
        PaintLabel(canvas, mask, key.column * KeyWidth + (KeyWidth - mask.width + 1) / 2,
                   key.row * KeyHeight + (KeyHeight - capHeight) / 2);
    }

    // Backspace: an arrow pointing left, centred on its cap.
    const float bsX = Backspace.column * KeyWidth;
    const float midY = 8.0f; // the cap's middle row pair, for a crisp 2-pixel shaft
    PaintSymbol(canvas, LeftArrow(bsX + 12.0f, midY, 5.0f, 4.0f, bsX + 26.0f, 1.0f));

    // Enter: a return arrow that follows the key's L, down from the upper part and left along
    // the lower one.
    const float stemX = 11 * KeyWidth + 4.0f;
    const float turnY = 2 * KeyHeight + 8.0f;
    const Distance enter = Union(Segment({stemX, KeyHeight + 6.0f}, {stemX, turnY}, 1.0f),
                                 LeftArrow(9 * KeyWidth + 10.0f, turnY, 5.0f, 4.0f, stemX, 1.0f));
    PaintSymbol(canvas, enter);

    // Space: the open box of the space mark, centred on its cap, its lines along pixel centres
    // so that they stay one crisp pixel wide.
    const float spaceX = Space.column * KeyWidth + Space.span * KeyWidth / 2.0f;
    const float baseY = 3 * KeyHeight + 11.5f;
    const Distance space =
        Union(Segment({spaceX - 10.5f, baseY}, {spaceX + 10.5f, baseY}, 0.5f),
              Union(Segment({spaceX - 10.5f, baseY - 4}, {spaceX - 10.5f, baseY}, 0.5f),
                    Segment({spaceX + 10.5f, baseY - 4}, {spaceX + 10.5f, baseY}, 0.5f)));
    PaintSymbol(canvas, space);
    return canvas;
}

Canvas PressedKey(int kind)
{
    // Cut from a keyboard whose every cap is pressed, so that a pressed cap lines up with the
    // caps and the ground around it exactly.
    const Canvas pressed = Caps(PressedCap, PressedCap);
    switch (kind) {
    case 2:
        return Crop(pressed, 10 * KeyWidth, 0, 2 * KeyWidth, KeyHeight);
    case 3: {
        // Enter covers columns 9-11 of rows 1-2 less the cell of P (column 9, row 1), which
        // stays transparent.
        Canvas enter = Crop(pressed, 9 * KeyWidth, KeyHeight, 3 * KeyWidth, 2 * KeyHeight);
        for (int y = 0; y < KeyHeight; ++y) {
            for (int x = 0; x < KeyWidth; ++x)
                enter.At(x, y) = Rgba{};
        }
        return enter;
    }
    case 4:
        return Crop(pressed, 8 * KeyWidth, 3 * KeyHeight, 4 * KeyWidth, KeyHeight);
    default:
        return Crop(pressed, 0, 0, KeyWidth, KeyHeight);
    }
}

} // namespace Art
