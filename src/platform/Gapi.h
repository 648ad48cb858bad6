// The display library the game's display driver is written against: open the full screen,
// read its properties, draw into its memory between begin and end, and claim the keys.
#pragma once

#include "platform/Host.h"

#include <cstdint>

namespace Platform {

struct GXDisplayProperties
{
    uint32_t cxWidth;
    uint32_t cyHeight;
    int32_t cbxPitch; // bytes from one pixel to the next in a row
    int32_t cbyPitch; // bytes from one row to the next
    int32_t cBPP;
    uint32_t ffFormat;
};

constexpr uint32_t GX_FULLSCREEN = 1;
constexpr uint32_t kfDirect = 0x20;
constexpr uint32_t kfDirect565 = 0x80;

// Each returns non-zero on success, as the library does.
int GXOpenDisplay(WindowHandle window, uint32_t flags);
int GXCloseDisplay();
GXDisplayProperties GXGetDisplayProperties();
void* GXBeginDraw();
int GXEndDraw();
int GXOpenInput();
int GXCloseInput();

// The platform's raw frame-buffer description, as the raw frame-buffer escape fills it.
struct RawFrameBufferInfo
{
    uint16_t wFormat;
    uint16_t wBPP;
    void* pFramePointer;
    int32_t cxStride;
    int32_t cyStride;
    int32_t cxPixels;
    int32_t cyPixels;
};

// The raw frame-buffer escape: fills info and returns a positive value, or a negative one when
// the platform has no raw frame buffer.
int GetRawFrameBuffer(RawFrameBufferInfo& info);

} // namespace Platform
