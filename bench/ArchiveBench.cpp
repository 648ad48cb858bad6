// Opening a compressed archive entry through the file system, against a bare zlib uncompress
// of the same bytes: the file system's own share (open, seek, read, allocate) should stay
// small beside the decompression itself.
#include "io/FileSystem.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// An archive holding one image-like entry (a 240x320 RGB565 picture: smooth gradients with
// some noise, the kind of data the game's archives hold), in a temporary folder.
struct Archive
{
    Archive()
    {
        uint32_t seed = 1;
        for (uint32_t y = 0; y < 320; ++y) {
            for (uint32_t x = 0; x < 240; ++x) {
                seed = seed * 1103515245u + 12345u;
                const uint32_t r = (x / 8 + (seed >> 30)) & 31;
                const uint32_t g = (y / 5 + x / 16) & 63;
                const uint32_t b = ((x + y) / 18) & 31;
                const uint16_t pixel = static_cast<uint16_t>(r << 11 | g << 5 | b);
                plain.push_back(static_cast<char>(pixel & 0xFF));
                plain.push_back(static_cast<char>(pixel >> 8));
            }
        }
        uLongf length = compressBound(plain.size());
        packed.resize(length);
        compress2(reinterpret_cast<Bytef*>(packed.data()), &length,
                  reinterpret_cast<const Bytef*>(plain.data()), plain.size(), 9);
        packed.resize(length);

        std::string pattern = (std::filesystem::temp_directory_path() / "tavlo-bench-XXXXXX");
        folder = mkdtemp(pattern.data()) ? pattern : std::string();
        std::string bytes = "QPK2";
        auto put16 = [&](uint32_t v) { bytes += {char(v & 0xFF), char(v >> 8 & 0xFF)}; };
        auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
        put16(0), put16(0), put32(1), put32(0); // unnamed root holding one entry
        put16(1), put16('p'), put16(0x101), put32(0), put32(uint32_t(plain.size()));
        std::ofstream(folder + "/data.qpk", std::ios::binary) << bytes << packed;
        fs.Mount(std::u16string(folder.begin(), folder.end()));
        entry = IO::FileSystem::FindFile(fs.GetRoot(), u"p");
    }
    ~Archive() { std::filesystem::remove_all(folder); }

    std::string plain, packed, folder;
    IO::FileSystem fs;
    IO::FileEntry* entry = nullptr;
};

Archive& Shared()
{
    static Archive archive;
    return archive;
}

void OpenCompressedEntry(benchmark::State& state)
{
    Archive& a = Shared();
    for (auto _ : state) {
        auto stream = a.fs.OpenEntry(a.entry, 0);
        if (!stream || stream->GetSize() != a.plain.size())
            state.SkipWithError("entry did not open");
        benchmark::DoNotOptimize(stream.get());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(a.plain.size()));
    state.SetLabel(std::to_string(a.plain.size()) + " bytes from " +
                   std::to_string(a.packed.size()));
}
BENCHMARK(OpenCompressedEntry);

void BareUncompress(benchmark::State& state)
{
    Archive& a = Shared();
    std::string out(a.plain.size(), '\0');
    for (auto _ : state) {
        uLongf length = out.size();
        uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                   reinterpret_cast<const Bytef*>(a.packed.data()), a.packed.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(a.plain.size()));
}
BENCHMARK(BareUncompress);

} // namespace
