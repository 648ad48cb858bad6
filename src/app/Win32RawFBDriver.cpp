// Presentation straight into the raw frame buffer.
#include "app/Win32RawFBDriver.h"

Win32RawFBDriver::~Win32RawFBDriver()
{
    if (!m_closed)
        Close();
}

bool Win32RawFBDriver::Open(Platform::WindowHandle window)
{
    if (!m_closed)
        return true;
    m_closed = false;
    m_properties = {};
    if (Platform::GetRawFrameBuffer(m_properties) < 0 || !m_properties.pFramePointer)
        return false;
    if (m_properties.cxPixels <= 0 || m_properties.cyPixels <= 0 ||
        !AllocateBackBuffer(static_cast<uint32_t>(m_properties.cxPixels),
                            static_cast<uint32_t>(m_properties.cyPixels)))
        return false;
    Present(0);
    m_window = window;
    // The platform's task bar would be hidden here; the desktop host has none.
    return true;
}

void Win32RawFBDriver::Close()
{
    m_backBuffer.reset();
    m_closed = true;
}

void Win32RawFBDriver::Present(uint32_t)
{
    if (!m_backBuffer || !m_properties.pFramePointer)
        return;
    // Rows of the frame buffer are taken to be exactly the screen's width, as on the devices
    // this driver is meant for; the strides are not consulted.
    CopyRotated(m_backBuffer.get(), static_cast<uint16_t*>(m_properties.pFramePointer),
                static_cast<uint32_t>(m_properties.cxPixels),
                static_cast<uint32_t>(m_properties.cyPixels), m_orientation);
}
