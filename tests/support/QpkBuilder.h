// Builders of test fixtures in the game's binary formats: QPK2 archives record by record (so
// tests can also build damaged ones), little-endian fields, and files with a set time stamp.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace Fixture {

// The time stamp fixtures get unless a test sets another.
inline constexpr time_t kTime = 1'600'000'000;

struct Record
{
    std::u16string name;
    uint16_t flags; // 0 directory, 1 file, 0x101 compressed file
    uint32_t a, b;  // directory: count; file: offset, size
};

inline void Put16(std::string& out, uint16_t v)
{
    out += char(v & 0xFF);
    out += char(v >> 8);
}

inline void Put32(std::string& out, uint32_t v)
{
    Put16(out, uint16_t(v));
    Put16(out, uint16_t(v >> 16));
}

inline void PutName(std::string& out, const std::u16string& name)
{
    Put16(out, uint16_t(name.size()));
    for (char16_t unit : name)
        Put16(out, unit);
}

// The table of contents; the data follow it directly.
inline std::string Toc(uint32_t rootCount, const std::vector<Record>& records,
                       const std::u16string& rootName = u"Root", uint16_t rootFlags = 0)
{
    std::string out = "QPK2";
    PutName(out, rootName);
    Put16(out, rootFlags);
    Put32(out, rootCount);
    Put32(out, 0);
    for (const Record& r : records) {
        PutName(out, r.name);
        Put16(out, r.flags);
        Put32(out, r.a);
        Put32(out, r.b);
    }
    return out;
}

inline std::string Zlib(const std::string& plain)
{
    uLongf length = compressBound(plain.size());
    std::string packed(length, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &length,
              reinterpret_cast<const Bytef*>(plain.data()), plain.size(), 9);
    packed.resize(length);
    return packed;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes,
                      time_t time = kTime)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    const timespec times[2] = {{time, 0}, {time, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

} // namespace Fixture
