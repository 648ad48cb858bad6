// Surface16: the one image type of the game. RGB565 pixels with an optional 8-bit alpha plane,
// or paletted (8-bit indices into at most 256 RGB565 colours), plus the basic software primitives.
#pragma once

#include <cstdint>

namespace Graphics {

// A rectangle of signed 32-bit values. A null rectangle pointer means the whole surface.
struct Rect
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const Rect&) const = default;
};

// Result codes of the surface operations.
namespace SurfaceResult {
constexpr int32_t Ok = 0;
constexpr int32_t InvalidArgument = -1;
constexpr int32_t OutOfMemory = -2;
constexpr int32_t NoPixels = -6;
constexpr int32_t Paletted = -7;
} // namespace SurfaceResult

// Blit flags: mirroring is done on the destination side.
constexpr uint32_t BlitMirrorVertical = 1;
constexpr uint32_t BlitMirrorHorizontal = 2;

// Raster operations: operation in bits 31..24, RGB565 operand in bits 15..0.
constexpr uint32_t RopCopy = 0;
constexpr uint32_t RopAnd = 1u << 24;
constexpr uint32_t RopOr = 2u << 24;
constexpr uint32_t RopNot = 4u << 24;
constexpr uint32_t RopXor = 8u << 24;

class Surface16
{
public:
    Surface16() = default;
    virtual ~Surface16();
    Surface16(const Surface16&) = delete;
    Surface16& operator=(const Surface16&) = delete;

    int32_t Create(uint32_t width, uint32_t height, bool withAlpha);
    int32_t Attach(uint32_t width, uint32_t height, uint16_t* pixels, uint8_t* alpha);
    int32_t CreatePaletted(uint32_t width, uint32_t height, uint32_t paletteSize);
    void Release();
    static int32_t SubSurface(Surface16& target, const Surface16& source, uint32_t x, uint32_t y,
                              uint32_t width, uint32_t height);

    int32_t Clear();
    int32_t FillRect(const Rect* rect, uint32_t colour, uint8_t alpha = 255);
    int32_t Blit(int32_t x, int32_t y, const Surface16& source, const Rect* sourceRect = nullptr,
                 uint8_t alpha = 255, uint32_t flags = 0, uint32_t rasterOp = RopCopy,
                 bool alphaTest = false);
    int32_t BlitClipped(int32_t x, int32_t y, const Surface16& source, const Rect* sourceRect,
                        const Rect* clipRect);
    int32_t MaskBlit(int32_t x, int32_t y, const Surface16& source, const Rect* sourceRect,
                     uint32_t colour, uint8_t alpha = 255, uint32_t flags = 0);

    static void Intersect(Rect& rect, const Rect& other);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    uint32_t Stride() const { return m_stride; }
    uint32_t RowPad() const { return m_rowPad; }
    uint16_t PaletteSize() const { return m_paletteSize; }
    bool OwnsMemory() const { return m_ownsMemory; }
    bool HasAlpha() const { return m_hasAlpha; }
    bool IsPaletted() const { return m_paletted; }
    // RGB565 pixels; for a paletted surface, the palette.
    uint16_t* Pixels() { return m_pixels; }
    const uint16_t* Pixels() const { return m_pixels; }
    // The alpha plane; for a paletted surface, the index plane. Null when absent.
    uint8_t* Alpha() { return m_alpha; }
    const uint8_t* Alpha() const { return m_alpha; }

private:
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint16_t* m_pixels = nullptr;
    uint8_t* m_alpha = nullptr;
    uint32_t m_rowPad = 0;
    uint32_t m_stride = 0;
    uint16_t m_paletteSize = 0;
    bool m_ownsMemory = false;
    bool m_hasAlpha = false;
    bool m_paletted = false;
};

} // namespace Graphics
