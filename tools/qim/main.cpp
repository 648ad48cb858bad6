// qim: the command-line tool for the game's .qim images. It shows what an image holds and
// converts between PNG and .qim, reading images with the game's own decoder.
#include "Png.h"
#include "ToolSupport.h"
#include "graphics/Qim.h"
#include "io/MemoryStream.h"

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char* const UsageText =
    "usage: qim info FILE                              KIND WIDTH HEIGHT [PALETTE SIZE]\n"
    "       qim topng IN.qim OUT.png                   an RGBA PNG of the image\n"
    "       qim frompng IN.png OUT.qim [--kind 0|1|2]  a .qim of the PNG\n"
    "Kinds: 0 RGB565 with alpha, 1 RGB565 opaque, 2 paletted (at most 256 RGB565 colours).\n"
    "frompng makes kind 0 when the PNG has any alpha below 255 and kind 1 otherwise; colours\n"
    "are reduced to RGB565 by truncation, and kinds 1 and 2 drop the alpha.\n";

int Usage()
{
    std::fputs(UsageText, stderr);
    return ExitUsage;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "qim: %s\n", message.c_str());
    return ExitFailed;
}

void Warn(const std::string& message)
{
    std::fprintf(stderr, "qim: warning: %s\n", message.c_str());
}

// Reads and checks a .qim file's header; the file's bytes stay in `bytes` for decoding.
bool ReadHeader(const std::string& path, std::vector<uint8_t>& bytes, Graphics::QimHeader& header,
                std::string& error)
{
    if (!ReadFile(path, bytes, error)) {
        return false;
    }
    IO::MemoryStream stream;
    stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    switch (Graphics::ReadQimHeader(stream, header)) {
    case Graphics::QimResult::Ok:
        break;
    case Graphics::QimResult::BadMagic:
        error = path + ": not a .qim image";
        return false;
    case Graphics::QimResult::UnknownKind:
        error = path + ": unknown image kind " + std::to_string(bytes[2]);
        return false;
    default:
        error = path + ": too short for a .qim header";
        return false;
    }
    return true;
}

// The game reads a file cut short as an image whose missing part is zero; say so.
void WarnIfShort(const std::string& path, const std::vector<uint8_t>& bytes,
                 const Graphics::QimHeader& header)
{
    const uint64_t expected = Graphics::QimHeaderSize + Graphics::QimPlaneBytes(header);
    if (bytes.size() < expected) {
        Warn(path + ": " + std::to_string(expected - bytes.size()) +
             " bytes of image data are missing; the game reads them as zero");
    }
}

int Info(const std::string& path)
{
    std::vector<uint8_t> bytes;
    Graphics::QimHeader header;
    std::string error;
    if (!ReadHeader(path, bytes, header, error)) {
        return Fail(error);
    }
    WarnIfShort(path, bytes, header);
    std::printf("%u %u %u", unsigned{header.kind}, unsigned{header.width}, unsigned{header.height});
    if (header.kind == Graphics::QimKind::Paletted) {
        std::printf(" %u", header.paletteLast + 1u);
    }
    std::printf("\n");
    return ExitOk;
}

int ToPng(const std::string& in, const std::string& out)
{
    std::vector<uint8_t> bytes;
    Graphics::QimHeader header;
    std::string error;
    if (!ReadHeader(in, bytes, header, error)) {
        return Fail(error);
    }
    IO::MemoryStream stream;
    stream.Open(bytes.data(), static_cast<uint32_t>(bytes.size()));
    std::unique_ptr<Graphics::Surface16> surface = Graphics::DecodeQim(stream);
    if (!surface) {
        return Fail(in + ": " + std::to_string(header.width) + "x" + std::to_string(header.height) +
                    " is too large to load");
    }

    QimTool::RgbaImage image;
    image.width = surface->Width();
    image.height = surface->Height();
    image.pixels.reserve(static_cast<size_t>(image.width) * image.height * 4);
    const uint16_t* colours = surface->Pixels();
    const uint8_t* plane = surface->Alpha();
    const size_t count = static_cast<size_t>(image.width) * image.height;
    for (size_t i = 0; i < count; ++i) {
        uint16_t p = 0;
        uint8_t a = 255;
        if (surface->IsPaletted()) {
            // An index past the palette draws nothing in the game: transparent here.
            const uint8_t index = plane[i];
            p = index < surface->PaletteSize() ? colours[index] : 0;
            a = index < surface->PaletteSize() ? 255 : 0;
        } else {
            p = colours[i];
            a = surface->HasAlpha() ? plane[i] : 255;
        }
        image.pixels.insert(
            image.pixels.end(),
            {QimTool::Widen5(p >> 11), QimTool::Widen6((p >> 5) & 63), QimTool::Widen5(p & 31), a});
    }
    if (!QimTool::WritePng(out, image, error)) {
        return Fail(error);
    }
    return ExitOk;
}

uint16_t Truncate565(const uint8_t* rgba)
{
    return static_cast<uint16_t>(((rgba[0] >> 3) << 11) | ((rgba[1] >> 2) << 5) | (rgba[2] >> 3));
}

int FromPng(const std::string& in, const std::string& out, int kind)
{
    QimTool::RgbaImage image;
    std::string error;
    if (!QimTool::ReadPng(in, image, error)) {
        return Fail(error);
    }
    const size_t count = static_cast<size_t>(image.width) * image.height;
    bool translucent = false;
    for (size_t i = 0; i < count; ++i) {
        translucent = translucent || image.pixels[i * 4 + 3] < 255;
    }
    if (kind < 0) {
        kind = translucent ? Graphics::QimKind::WithAlpha : Graphics::QimKind::Opaque;
    } else if (translucent && kind != Graphics::QimKind::WithAlpha) {
        Warn(in + ": kind " + std::to_string(kind) + " has no alpha; transparency is dropped");
    }

    Graphics::Surface16 surface;
    if (kind == Graphics::QimKind::Paletted) {
        // Palette entries in the order the colours first appear.
        std::vector<uint16_t> palette;
        std::unordered_map<uint16_t, uint8_t> indexOf;
        std::vector<uint8_t> indices(count);
        for (size_t i = 0; i < count; ++i) {
            const uint16_t c = Truncate565(&image.pixels[i * 4]);
            auto found = indexOf.find(c);
            if (found == indexOf.end()) {
                if (palette.size() == 256) {
                    return Fail(in + ": more than 256 colours for a paletted image");
                }
                found = indexOf.emplace(c, static_cast<uint8_t>(palette.size())).first;
                palette.push_back(c);
            }
            indices[i] = found->second;
        }
        if (surface.CreatePaletted(image.width, image.height,
                                   static_cast<uint32_t>(palette.size())) !=
            Graphics::SurfaceResult::Ok) {
            return Fail(in + ": out of memory");
        }
        std::copy(palette.begin(), palette.end(), surface.Pixels());
        std::copy(indices.begin(), indices.end(), surface.Alpha());
    } else {
        const bool withAlpha = kind == Graphics::QimKind::WithAlpha;
        if (surface.Create(image.width, image.height, withAlpha) != Graphics::SurfaceResult::Ok) {
            return Fail(in + ": out of memory");
        }
        for (size_t i = 0; i < count; ++i) {
            surface.Pixels()[i] = Truncate565(&image.pixels[i * 4]);
            if (withAlpha) {
                surface.Alpha()[i] = image.pixels[i * 4 + 3];
            }
        }
    }
    const std::vector<uint8_t> bytes = Graphics::EncodeQim(surface);
    if (bytes.empty()) {
        return Fail(in + ": cannot be stored as a .qim image");
    }
    if (!WriteFile(out, bytes, error)) {
        return Fail(error);
    }
    return ExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(UsageText, stdout);
        return ExitOk;
    }
    // --kind belongs to frompng; take it out wherever it stands.
    int kind = -1;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--kind") {
            continue;
        }
        if (i + 1 >= args.size() || args[i + 1].size() != 1 || args[i + 1][0] < '0' ||
            args[i + 1][0] > '2' || kind >= 0) {
            return Usage();
        }
        kind = args[i + 1][0] - '0';
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        --i;
    }
    for (const std::string& arg : args) {
        if (arg.size() > 1 && arg[0] == '-') {
            return Usage();
        }
    }
    if (args.empty()) {
        return Usage();
    }
    const std::string& command = args[0];
    if (command == "info" && args.size() == 2 && kind < 0) {
        return Info(args[1]);
    }
    if (command == "topng" && args.size() == 3 && kind < 0) {
        return ToPng(args[1], args[2]);
    }
    if (command == "frompng" && args.size() == 3) {
        return FromPng(args[1], args[2], kind);
    }
    return Usage();
}
