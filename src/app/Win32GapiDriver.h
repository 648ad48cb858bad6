// Win32GapiDriver: the display driver over the display library (GX calls), the one the game
// uses.
#pragma once

#include "app/Display.h"
#include "platform/Gapi.h"

class Win32GapiDriver : public Display
{
public:
    Win32GapiDriver() = default;
    ~Win32GapiDriver() override;

    bool Open(Platform::WindowHandle window) override;
    void Close() override;
    uint16_t* GetBuffer() override { return m_backBuffer.get(); }
    void Suspend() override {}
    void Resume() override {}
    void Present(uint32_t flags) override;

    const Platform::GXDisplayProperties& GetProperties() const { return m_properties; }

private:
    Platform::GXDisplayProperties m_properties = {};
};
