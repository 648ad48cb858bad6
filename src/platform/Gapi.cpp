// The display library over the current host's screen.
#include "platform/Gapi.h"

namespace Platform {

int GXOpenDisplay(WindowHandle window, uint32_t)
{
    return GetHost().OpenScreen(window) ? 1 : 0;
}

int GXCloseDisplay()
{
    if (!GetHost().IsScreenOpen())
        return 0;
    GetHost().CloseScreen();
    return 1;
}

GXDisplayProperties GXGetDisplayProperties()
{
    ScreenLayout layout = GetHost().GetScreenLayout();
    return {layout.width,
            layout.height,
            layout.xPitch,
            layout.yPitch,
            static_cast<int32_t>(layout.bitsPerPixel),
            layout.format};
}

void* GXBeginDraw()
{
    return GetHost().IsScreenOpen() ? GetHost().BeginScreenDraw() : nullptr;
}

int GXEndDraw()
{
    if (!GetHost().IsScreenOpen())
        return 0;
    GetHost().EndScreenDraw();
    return 1;
}

// Keys reach the window as ordinary key messages on every host; there is nothing to claim.
int GXOpenInput()
{
    return 1;
}
int GXCloseInput()
{
    return 1;
}

int GetRawFrameBuffer(RawFrameBufferInfo& info)
{
    uint16_t* frame = GetHost().RawFrameBuffer();
    if (!frame)
        return -1;
    ScreenLayout layout = GetHost().GetScreenLayout();
    info.wFormat = 0x18; // RGB565
    info.wBPP = 16;
    info.pFramePointer = frame;
    info.cxStride = 2;
    info.cyStride = static_cast<int32_t>(ScreenWidth * 2);
    info.cxPixels = static_cast<int32_t>(layout.width);
    info.cyPixels = static_cast<int32_t>(layout.height);
    return 1;
}

} // namespace Platform
