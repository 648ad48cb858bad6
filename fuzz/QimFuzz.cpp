// Fuzz target of the .qim reader: decodes arbitrary bytes from memory, draws the image the ways
// the game does, and checks that writing the image out and reading it back gives the same image.
#include "graphics/Qim.h"
#include "io/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Images between this many pixels and what a surface can hold at all are skipped: they decode
// fine, but allocating them on every input would only slow the fuzzer down. Larger ones are
// kept, since they exercise the failed allocation.
constexpr uint64_t MaxFuzzPixels = uint64_t{1} << 16;
constexpr uint64_t MaxSurfacePixels = 0x7FFFFFFF;

bool SamePlanes(const Graphics::Surface16& a, const Graphics::Surface16& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.IsPaletted() != b.IsPaletted() ||
        a.HasAlpha() != b.HasAlpha() || a.PaletteSize() != b.PaletteSize()) {
        return false;
    }
    const size_t count = size_t{a.Width()} * a.Height();
    const size_t colours = a.IsPaletted() ? a.PaletteSize() : count;
    if (std::memcmp(a.Pixels(), b.Pixels(), colours * 2) != 0) {
        return false;
    }
    const bool planes = a.IsPaletted() || a.HasAlpha();
    return !planes || std::memcmp(a.Alpha(), b.Alpha(), count) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= Graphics::QimHeaderSize) {
        const uint64_t pixels = uint64_t(data[4] | data[5] << 8) * (data[6] | data[7] << 8);
        if (pixels > MaxFuzzPixels && pixels <= MaxSurfacePixels) {
            return 0;
        }
    }
    std::vector<uint8_t> bytes(data, data + size);
    IO::MemoryStream stream;
    stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    std::unique_ptr<Graphics::Surface16> image = Graphics::DecodeQim(stream);
    if (!image) {
        return 0;
    }

    Graphics::Surface16 frame;
    frame.Create(16, 12, true);
    const Graphics::Rect part{1, 1, 7, 5};
    const Graphics::Rect clip{2, 2, 9, 7};
    frame.Blit(-3, -2, *image);
    frame.Blit(5, 4, *image, &part, 128,
               Graphics::BlitMirrorHorizontal | Graphics::BlitMirrorVertical,
               Graphics::RopXor | 0x1234, true);
    frame.BlitClipped(1, 1, *image, nullptr, &clip);
    frame.MaskBlit(0, 0, *image, nullptr, 0xFF00FF00, 200);

    const std::vector<uint8_t> encoded = Graphics::EncodeQim(*image);
    if (encoded.empty()) {
        std::abort(); // everything the reader makes, the writer must be able to store
    }
    std::vector<uint8_t> copy = encoded;
    IO::MemoryStream again;
    again.Open(copy.data(), static_cast<uint32_t>(copy.size()));
    std::unique_ptr<Graphics::Surface16> reread = Graphics::DecodeQim(again);
    if (!reread || !SamePlanes(*image, *reread)) {
        std::abort();
    }
    return 0;
}
