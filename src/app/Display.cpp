// Orientation handling and the rotated copy shared by the drivers.
#include "app/Display.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

void Display::SetOrientation(uint32_t code)
{
    if (code == m_orientation)
        return;
    m_orientation = code;
    if (code == 0 || code == Orientation::Upright || code == Orientation::HalfTurn) {
        if (m_height < m_width)
            std::swap(m_width, m_height);
    } else if (code == Orientation::QuarterTurn || code == Orientation::ThreeQuarterTurn) {
        if (m_width < m_height)
            std::swap(m_width, m_height);
    }
}

bool Display::AllocateBackBuffer(uint32_t screenWidth, uint32_t screenHeight)
{
    uint64_t count = static_cast<uint64_t>(screenWidth) * screenHeight;
    if (count >= (uint64_t{1} << 31))
        return false;
    m_backBuffer.reset(new (std::nothrow) uint16_t[count]());
    return m_backBuffer != nullptr;
}

void Display::CopyRotated(const uint16_t* buffer, uint16_t* screen, uint32_t screenWidth,
                          uint32_t screenHeight, uint32_t orientation)
{
    const size_t w = screenWidth, h = screenHeight;
    const uint16_t* in = buffer;
    switch (orientation) {
    case 0:
    case Orientation::Upright:
        std::memcpy(screen, buffer, w * h * sizeof(uint16_t));
        break;
    case Orientation::QuarterTurn:
        // The buffer is read in order; the screen is filled column by column, bottom up.
        for (size_t x = 0; x < w; ++x) {
            for (size_t y = h; y-- > 0;)
                screen[y * w + x] = *in++;
        }
        break;
    case Orientation::ThreeQuarterTurn:
        // Columns from the right, each top down.
        for (size_t x = w; x-- > 0;) {
            for (size_t y = 0; y < h; ++y)
                screen[y * w + x] = *in++;
        }
        break;
    case Orientation::HalfTurn:
        // Rows from the bottom, each right to left.
        for (size_t y = h; y-- > 0;) {
            for (size_t x = w; x-- > 0;)
                screen[y * w + x] = *in++;
        }
        break;
    default:
        break;
    }
}
