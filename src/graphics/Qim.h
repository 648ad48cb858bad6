// The ".qim" image files of the game: decoding them into surfaces, and encoding surfaces for the
// tools that produce them.
#pragma once

#include "graphics/Surface16.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace IO {
class Stream;
class DirectoryNode;
} // namespace IO

namespace Graphics {

constexpr uint16_t QimMagic = 0xFEB7;
constexpr uint32_t QimHeaderSize = 8;

// The kinds of image a .qim file holds.
namespace QimKind {
constexpr uint8_t WithAlpha = 0; // RGB565 pixels, then an alpha plane
constexpr uint8_t Opaque = 1;    // RGB565 pixels only
constexpr uint8_t Paletted = 2;  // up to 256 RGB565 colours, then one index byte per pixel
} // namespace QimKind

// Results of reading a header.
namespace QimResult {
constexpr int32_t Ok = 0;
constexpr int32_t ShortHeader = -1;
constexpr int32_t BadMagic = -2;
constexpr int32_t UnknownKind = -3;
} // namespace QimResult

struct QimHeader
{
    uint8_t kind = 0;
    uint8_t paletteLast = 0; // paletted images: number of palette entries minus 1
    uint16_t width = 0;
    uint16_t height = 0;
};

// Reads and checks the 8-byte header at the stream's position.
int32_t ReadQimHeader(IO::Stream& stream, QimHeader& header);

// Number of bytes of the planes that follow a header of this shape.
uint64_t QimPlaneBytes(const QimHeader& header);

// Decodes one image from a stream positioned at the start of a .qim file; null on a bad header
// or when the surface cannot be allocated. Planes cut short by the end of the stream leave the
// rest of the image zero.
std::unique_ptr<Surface16> DecodeQim(IO::Stream& stream);

// Opens name (".qim" included) in folder through the folder's file system and decodes it; null
// when the file is missing or does not decode.
std::unique_ptr<Surface16> LoadQim(IO::DirectoryNode* folder, std::u16string_view name);

// The .qim file of a surface: kind 2 for a paletted surface, 0 with an alpha plane, 1 without.
// Empty when the surface cannot be stored (no pixels, a side above 65535, a palette of 0 or
// more than 256 colours).
std::vector<uint8_t> EncodeQim(const Surface16& surface);

} // namespace Graphics
