// Reading and writing ".qim" images.
//
// A .qim file is an 8-byte header followed by raw pixel planes in the memory layout of a
// Surface16, so that loading is a header check, one allocation and one or two straight reads.
// All values are little-endian:
//
//   offset 0  u16  magic 0xFEB7 (the bytes B7 FE)
//          2  u8   kind: 0 RGB565 with alpha plane, 1 RGB565 without alpha, 2 paletted
//          3  u8   kind 2: number of palette entries minus 1 (1 to 256 entries); else unused
//          4  u16  width
//          6  u16  height
//          8       kind 0: width x height u16 pixels, then width x height alpha bytes
//                  kind 1: width x height u16 pixels
//                  kind 2: paletteLast + 1 u16 colours, then width x height index bytes
//
// Rows run top to bottom without padding. There is no compression; an archive may compress the
// file as a whole. A file that ends inside its planes is still an image: what is missing stays
// zero (black, transparent), as in a freshly created surface.
#include "graphics/Qim.h"

#include "io/FileSystem.h"
#include "io/Stream.h"

#include <algorithm>
#include <bit>

namespace Graphics {
namespace {

uint16_t LoadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void StoreU16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// Reads up to count bytes into dst and returns how many arrived. Stops at the end of the stream
// or at a failed read; a stream reporting more bytes than were asked for has failed (file
// streams signal errors that way), so nothing of that read is counted.
uint64_t ReadUpTo(IO::Stream& stream, uint8_t* dst, uint64_t count)
{
    constexpr uint64_t Chunk = uint64_t{1} << 20;
    uint64_t done = 0;
    while (done < count) {
        const auto want = static_cast<uint32_t>(std::min(Chunk, count - done));
        const uint32_t got = stream.Read(dst + done, 0, want);
        if (got > want) {
            break;
        }
        done += got;
        if (got < want) {
            break;
        }
    }
    return done;
}

// Reads a little-endian plane of 16-bit values.
void ReadU16Plane(IO::Stream& stream, uint16_t* dst, uint64_t count)
{
    const uint64_t bytes = ReadUpTo(stream, reinterpret_cast<uint8_t*>(dst), count * 2);
    if constexpr (std::endian::native == std::endian::big) {
        for (uint64_t i = 0; i < bytes / 2; ++i) {
            dst[i] = static_cast<uint16_t>((dst[i] >> 8) | (dst[i] << 8));
        }
    }
}

} // namespace

int32_t ReadQimHeader(IO::Stream& stream, QimHeader& header)
{
    uint8_t bytes[QimHeaderSize];
    const uint64_t got = ReadUpTo(stream, bytes, QimHeaderSize);
    if (got >= 2 && LoadU16(bytes) != QimMagic) {
        return QimResult::BadMagic;
    }
    if (got < QimHeaderSize) {
        return QimResult::ShortHeader;
    }
    if (bytes[2] > QimKind::Paletted) {
        return QimResult::UnknownKind;
    }
    header.kind = bytes[2];
    header.paletteLast = bytes[3];
    header.width = LoadU16(bytes + 4);
    header.height = LoadU16(bytes + 6);
    return QimResult::Ok;
}

uint64_t QimPlaneBytes(const QimHeader& header)
{
    const uint64_t count = uint64_t{header.width} * header.height;
    switch (header.kind) {
    case QimKind::WithAlpha:
        return count * 3;
    case QimKind::Opaque:
        return count * 2;
    default:
        return (uint64_t{header.paletteLast} + 1) * 2 + count;
    }
}

std::unique_ptr<Surface16> DecodeQim(IO::Stream& stream)
{
    QimHeader header;
    if (ReadQimHeader(stream, header) != QimResult::Ok) {
        return nullptr;
    }
    auto surface = std::make_unique<Surface16>();
    const uint64_t count = uint64_t{header.width} * header.height;
    if (header.kind == QimKind::Paletted) {
        const uint32_t paletteSize = uint32_t{header.paletteLast} + 1;
        if (surface->CreatePaletted(header.width, header.height, paletteSize) !=
            SurfaceResult::Ok) {
            return nullptr;
        }
        // Indices past the palette are kept as they are; drawing leaves such pixels untouched.
        ReadU16Plane(stream, surface->Pixels(), paletteSize);
        ReadUpTo(stream, surface->Alpha(), count);
        return surface;
    }
    const bool withAlpha = header.kind == QimKind::WithAlpha;
    if (surface->Create(header.width, header.height, withAlpha) != SurfaceResult::Ok) {
        return nullptr;
    }
    ReadU16Plane(stream, surface->Pixels(), count);
    if (withAlpha) {
        ReadUpTo(stream, surface->Alpha(), count);
    }
    return surface;
}

std::unique_ptr<Surface16> LoadQim(IO::DirectoryNode* folder, std::u16string_view name)
{
    if (!folder || !folder->owner) {
        return nullptr;
    }
    std::unique_ptr<IO::FileReader> reader = folder->owner->OpenForRead(folder, name);
    if (!reader || !reader->GetStream()) {
        return nullptr;
    }
    std::unique_ptr<Surface16> surface = DecodeQim(*reader->GetStream());
    reader->Close();
    return surface;
}

std::vector<uint8_t> EncodeQim(const Surface16& surface)
{
    const uint32_t width = surface.Width();
    const uint32_t height = surface.Height();
    if (!surface.Pixels() || width > 0xFFFF || height > 0xFFFF) {
        return {};
    }
    const bool paletted = surface.IsPaletted();
    if (paletted &&
        (!surface.Alpha() || surface.PaletteSize() == 0 || surface.PaletteSize() > 256)) {
        return {};
    }
    const bool withAlpha = !paletted && surface.HasAlpha() && surface.Alpha();
    const uint8_t kind = paletted    ? QimKind::Paletted
                         : withAlpha ? QimKind::WithAlpha
                                     : QimKind::Opaque;

    std::vector<uint8_t> out;
    StoreU16(out, QimMagic);
    out.push_back(kind);
    out.push_back(paletted ? static_cast<uint8_t>(surface.PaletteSize() - 1) : 0);
    StoreU16(out, static_cast<uint16_t>(width));
    StoreU16(out, static_cast<uint16_t>(height));

    const uint32_t stride = surface.Stride();
    auto at = [&](uint32_t x, uint32_t y) { return static_cast<size_t>(y) * stride + x; };
    if (paletted) {
        for (uint32_t i = 0; i < surface.PaletteSize(); ++i) {
            StoreU16(out, surface.Pixels()[i]);
        }
    } else {
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                StoreU16(out, surface.Pixels()[at(x, y)]);
            }
        }
    }
    if (paletted || withAlpha) {
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* row = surface.Alpha() + at(0, y);
            out.insert(out.end(), row, row + width);
        }
    }
    return out;
}

} // namespace Graphics
