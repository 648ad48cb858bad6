// The skin read from "uiconfig.xml": styles of named elements, each element a set of states,
// each state a grid of image areas that stretches over any rectangle.
//
//   <UISystem>
//     <UIStyle name="standard">
//       <Element name="panel">
//         <State name="default">
//           <Area imageName="skin" srcX="0" srcY="0" srcW="8" srcH="8" dstX="0" dstY="0"
//                 dstW="*" dstH="*"/>          <!-- a corner at the image's size -->
//           <Area ... dstX="1" dstW="%1"/>     <!-- a share of the width left over -->
//         </State>
//       </Element>
//     </UIStyle>
//   </UISystem>
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace UI {

// How an area's dstW (dstH) sizes it.
enum class SizeMode : uint8_t
{
    Natural,      // "*": the image's own width (height)
    Proportional, // "%N": N shares of what the fixed areas of the row (column) leave over
    Fixed,        // "N": N pixels
};

struct Area
{
    std::u16string imageName;
    int32_t imageIndex = -1; // the renderer's index, -1 until found
    int32_t srcX = 0;
    int32_t srcY = 0;
    int32_t srcW = 0; // -1 ("*"): the whole image width
    int32_t srcH = 0;
    int32_t dstX = 0; // column in the state's grid
    int32_t dstY = 0; // row
    int32_t dstW = -1;
    int32_t dstH = -1;
    SizeMode dstWMode = SizeMode::Natural;
    SizeMode dstHMode = SizeMode::Natural;
};

struct ElementState
{
    std::u16string name;
    std::vector<Area> areas;
};

// The standard states an element's looks ask for.
namespace StateIndex {
constexpr int Default = 0;
constexpr int Active = 1;
constexpr int Disabled = 2;
constexpr int Pressed = 3;
constexpr int Count = 4;
} // namespace StateIndex

struct Element
{
    std::u16string name;
    std::vector<ElementState> states;
    // Position of each standard state in states, -1 until looked up.
    std::array<int32_t, StateIndex::Count> stateCache{-1, -1, -1, -1};

    // The state of a standard index; an element without it gives its "default" state (or its
    // first), and asks again next time. Null without states or for an index out of range.
    ElementState* state(int index);
    // The n-th state in file order, null past the end.
    ElementState* stateAt(size_t n);
};

struct UIStyle
{
    std::u16string name;
    std::vector<Element> elements;
};

struct StyleList
{
    std::vector<UIStyle> styles; // in file order
};

// Parses the skin text (0-terminated). Text that is not well-formed XML, or lacks the
// "UISystem" element, gives an empty list; nameless styles, elements and states are dropped.
std::unique_ptr<StyleList> LoadSkin(const char* text);

// Reads a skin number: optional sign, then decimal, hexadecimal after "0x" or octal after a
// leading 0, as far as the digits go; saturates at the 32-bit limits.
int32_t ParseSkinNumber(std::string_view text);

} // namespace UI
