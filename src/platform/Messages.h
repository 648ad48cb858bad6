// The window messages the program handles, and the virtual-key codes carried by key messages.
// The host back ends translate their native events into these.
#pragma once

#include <cstdint>

namespace Platform {

// Message ids, as the program's window procedure knows them.
namespace MessageId {
constexpr uint32_t Destroy = 2;
constexpr uint32_t Activate = 6;
constexpr uint32_t Close = 16;
constexpr uint32_t Quit = 18;
constexpr uint32_t KeyDown = 256;
constexpr uint32_t KeyUp = 257;
constexpr uint32_t StylusMove = 512;
constexpr uint32_t StylusDown = 513;
constexpr uint32_t StylusUp = 514;
} // namespace MessageId

// lParam bit of a key-down message that says the key was already down (auto-repeat).
constexpr uint32_t KeyRepeatBit = 1u << 30;

struct Message
{
    uint32_t id = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
};

// Stylus messages carry x in the low and y in the high 16 bits of lParam.
constexpr uint32_t MakePointParam(uint32_t x, uint32_t y)
{
    return (x & 0xFFFF) | ((y & 0xFFFF) << 16);
}
constexpr uint32_t PointParamX(uint32_t lParam)
{
    return lParam & 0xFFFF;
}
constexpr uint32_t PointParamY(uint32_t lParam)
{
    return lParam >> 16;
}

// Virtual-key codes (the handheld platform's numbering).
namespace VirtualKey {
constexpr uint32_t Backspace = 8;
constexpr uint32_t Tab = 9;
constexpr uint32_t Enter = 13;
constexpr uint32_t Shift = 16;
constexpr uint32_t Control = 17;
constexpr uint32_t Menu = 18;
constexpr uint32_t Pause = 19;
constexpr uint32_t Escape = 27;
constexpr uint32_t Space = 32;
constexpr uint32_t PageUp = 33;
constexpr uint32_t PageDown = 34;
constexpr uint32_t End = 35;
constexpr uint32_t Home = 36;
constexpr uint32_t Left = 37;
constexpr uint32_t Up = 38;
constexpr uint32_t Right = 39;
constexpr uint32_t Down = 40;
constexpr uint32_t Insert = 45;
constexpr uint32_t Delete = 46;
constexpr uint32_t Digit0 = 48;  // '0'..'9' are 48..57
constexpr uint32_t LetterA = 65; // 'A'..'Z' are 65..90
constexpr uint32_t F1 = 112;     // F1..F12 are 112..123
constexpr uint32_t Semicolon = 186;
constexpr uint32_t Equals = 187;
constexpr uint32_t Comma = 188;
constexpr uint32_t Minus = 189;
constexpr uint32_t Period = 190;
constexpr uint32_t Slash = 191;
constexpr uint32_t Grave = 192;
constexpr uint32_t LeftBracket = 219;
constexpr uint32_t Backslash = 220;
constexpr uint32_t RightBracket = 221;
constexpr uint32_t Quote = 222;
} // namespace VirtualKey

} // namespace Platform
