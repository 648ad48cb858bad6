// Win32RawFBDriver: the display driver over the platform's raw frame buffer, written directly
// without begin/end calls. Selected only by the start-up flags.
#pragma once

#include "app/Display.h"
#include "platform/Gapi.h"

class Win32RawFBDriver : public Display
{
public:
    Win32RawFBDriver() = default;
    ~Win32RawFBDriver() override;

    bool Open(Platform::WindowHandle window) override;
    void Close() override;
    uint16_t* GetBuffer() override { return m_backBuffer.get(); }
    void Suspend() override {}
    void Resume() override {}
    void Present(uint32_t flags) override;

    const Platform::RawFrameBufferInfo& GetProperties() const { return m_properties; }

private:
    Platform::RawFrameBufferInfo m_properties = {};
};
