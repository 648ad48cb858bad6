// Display: the driver that owns the back buffer the game draws into and copies it to the
// screen once per frame, rotated as the orientation asks.
#pragma once

#include "platform/Host.h"

#include <cstdint>
#include <memory>

// Orientation codes: 0 or 1 upright, 2 and 4 the two quarter turns, 8 the half turn.
namespace Orientation {
constexpr uint32_t Upright = 1;
constexpr uint32_t QuarterTurn = 2;
constexpr uint32_t ThreeQuarterTurn = 4;
constexpr uint32_t HalfTurn = 8;
} // namespace Orientation

class Display
{
public:
    virtual ~Display() = default;
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    virtual bool Open(Platform::WindowHandle window) = 0;
    virtual void Close() = 0;
    virtual uint16_t* GetBuffer() = 0;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
    virtual void Present(uint32_t flags) = 0;
    // Stores the rotation code and fixes the logical width and height to match it.
    virtual void SetOrientation(uint32_t code);
    virtual uint32_t GetWidth() { return m_width; }
    virtual uint32_t GetHeight() { return m_height; }

    uint32_t GetOrientation() const { return m_orientation; }
    Platform::WindowHandle GetWindow() const { return m_window; }
    bool IsClosed() const { return m_closed; }

protected:
    Display() = default;

    // Copies a back buffer of screenWidth x screenHeight pixels to a row-major screen of the
    // same size, rotated by the orientation code; unknown codes copy nothing.
    static void CopyRotated(const uint16_t* buffer, uint16_t* screen, uint32_t screenWidth,
                            uint32_t screenHeight, uint32_t orientation);
    // Allocates and zeroes the back buffer; false when it cannot be had.
    bool AllocateBackBuffer(uint32_t screenWidth, uint32_t screenHeight);

    std::unique_ptr<uint16_t[]> m_backBuffer;
    Platform::WindowHandle m_window = Platform::NoWindow;
    uint32_t m_orientation = Orientation::Upright;
    uint32_t m_width = 240;
    uint32_t m_height = 320;
    bool m_closed = true;
};
