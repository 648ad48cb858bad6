// Presentation through the display library's begin/end drawing calls.
#include "app/Win32GapiDriver.h"

Win32GapiDriver::~Win32GapiDriver()
{
    if (!m_closed)
        Close();
}

bool Win32GapiDriver::Open(Platform::WindowHandle window)
{
    if (!m_closed)
        return true;
    m_closed = false;
    m_window = window;
    if (!Platform::GXOpenDisplay(window, Platform::GX_FULLSCREEN)) {
        m_window = -1;
        return false;
    }
    m_properties = Platform::GXGetDisplayProperties();
    if (!AllocateBackBuffer(m_properties.cxWidth, m_properties.cyHeight))
        return false;
    Present(0); // the screen turns black
    return true;
}

void Win32GapiDriver::Close()
{
    m_backBuffer.reset();
    Platform::GXCloseDisplay();
    m_closed = true;
}

void Win32GapiDriver::Present(uint32_t)
{
    auto* screen = static_cast<uint16_t*>(Platform::GXBeginDraw());
    if (!screen || !m_backBuffer)
        return;
    const Platform::GXDisplayProperties& p = m_properties;
    if (p.cbxPitch == 2 && p.cbyPitch == static_cast<int32_t>(p.cxWidth * 2)) {
        CopyRotated(m_backBuffer.get(), screen, p.cxWidth, p.cyHeight, m_orientation);
    } else {
        // Any other screen layout: copy without rotation, stepping by the pitches (which may
        // be negative on screens mounted the other way round).
        const uint16_t* in = m_backBuffer.get();
        const ptrdiff_t xStep = p.cbxPitch / 2, yStep = p.cbyPitch / 2;
        uint16_t* row = screen;
        for (uint32_t y = 0; y < p.cyHeight; ++y, row += yStep) {
            uint16_t* out = row;
            for (uint32_t x = 0; x < p.cxWidth; ++x, out += xStep)
                *out = *in++;
        }
    }
    Platform::GXEndDraw();
}
