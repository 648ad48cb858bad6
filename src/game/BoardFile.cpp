// Reading board files.
//
// A board file describes one board of the game: the size class of its cells, its name, its
// score target, the corner points of the cells and the cells as lists of those points. There
// is no header, magic number or checksum. Integers are 32-bit unsigned and floats IEEE-754
// single precision, both little-endian:
//
//   offset 0       f32   cellSize, 30 or 40 (it selects the sets of images)
//          4       u32   L, the length of the name in UTF-16 code units
//          8       2L    the name, UTF-16LE, without terminator
//          8+2L    u32   target, the score goal of the board
//          12+2L   u32   P, the number of points
//          16+2L   8P    P points: x f32, y f32, in screen pixels (y grows downwards)
//          then    u32   the number of cells
//          then          the cells, each: n u32 (its side count), then n u32 point indices,
//                        the corners in clockwise order as seen on the screen
//
// Side i of a cell joins corner i to corner i + 1 (the last joins back to the first); two
// neighbouring cells list their common side's corners in opposite orders and share it. The
// file ends after the last cell.
#include "game/BoardFile.h"

#include <algorithm>
#include <bit>

namespace {

// Reads the stream to its end. A read that reports more bytes than were asked for has failed
// (file streams signal errors that way), so it ends the data.
std::vector<uint8_t> ReadRest(IO::Stream& stream)
{
    constexpr uint32_t Chunk = 1 << 16;
    std::vector<uint8_t> bytes;
    for (;;) {
        const size_t done = bytes.size();
        bytes.resize(done + Chunk);
        const uint32_t got = stream.Read(bytes.data(), static_cast<uint32_t>(done), Chunk);
        if (got > Chunk) {
            bytes.resize(done);
            break;
        }
        bytes.resize(done + got);
        if (got < Chunk) {
            break;
        }
    }
    return bytes;
}

// A cursor over the file's bytes; every read checks that the field fits in what is left.
class Reader
{
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}

    uint32_t Offset() const { return static_cast<uint32_t>(m_at); }
    // True when count items of itemSize bytes fit in the rest of the file.
    bool Holds(uint64_t count, uint64_t itemSize) const
    {
        return count <= (m_bytes.size() - m_at) / itemSize;
    }
    bool U16(uint16_t& value)
    {
        if (!Holds(1, 2)) {
            return false;
        }
        value = static_cast<uint16_t>(m_bytes[m_at] | (m_bytes[m_at + 1] << 8));
        m_at += 2;
        return true;
    }
    bool U32(uint32_t& value)
    {
        if (!Holds(1, 4)) {
            return false;
        }
        value = uint32_t{m_bytes[m_at]} | uint32_t{m_bytes[m_at + 1]} << 8 |
                uint32_t{m_bytes[m_at + 2]} << 16 | uint32_t{m_bytes[m_at + 3]} << 24;
        m_at += 4;
        return true;
    }
    bool F32(float& value)
    {
        uint32_t bits = 0;
        if (!U32(bits)) {
            return false;
        }
        value = std::bit_cast<float>(bits);
        return true;
    }

private:
    const std::vector<uint8_t>& m_bytes;
    size_t m_at = 0;
};

bool ReadCells(Reader& in, BoardFile& board)
{
    uint32_t cellCount = 0;
    // Every cell takes at least its side count.
    if (!in.U32(cellCount) || !in.Holds(cellCount, 4)) {
        return false;
    }
    board.cells.reserve(cellCount);
    for (uint32_t c = 0; c < cellCount; ++c) {
        uint32_t sides = 0;
        if (!in.U32(sides) || !in.Holds(sides, 4)) {
            return false;
        }
        std::vector<uint32_t> corners(sides);
        for (uint32_t& corner : corners) {
            in.U32(corner);
        }
        board.cells.push_back(std::move(corners));
    }
    return true;
}

bool ReadFields(Reader& in, BoardFile& board)
{
    uint32_t nameLength = 0;
    if (!in.F32(board.cellSize) || !in.U32(nameLength) || !in.Holds(nameLength, 2)) {
        return false;
    }
    board.name.resize(nameLength);
    for (char16_t& unit : board.name) {
        uint16_t value = 0;
        in.U16(value);
        unit = static_cast<char16_t>(value);
    }
    uint32_t pointCount = 0;
    if (!in.U32(board.target) || !in.U32(pointCount) || !in.Holds(pointCount, 8)) {
        return false;
    }
    board.points.resize(pointCount);
    for (BoardPoint& point : board.points) {
        in.F32(point.x);
        in.F32(point.y);
    }
    return ReadCells(in, board);
}

} // namespace

bool ReadBoardFile(IO::Stream& stream, BoardFile& board, uint32_t* shortAt)
{
    board = BoardFile{};
    const std::vector<uint8_t> bytes = ReadRest(stream);
    Reader in(bytes);
    const bool whole = ReadFields(in, board);
    if (!whole && shortAt) {
        *shortAt = in.Offset();
    }
    return whole;
}

bool IsSoundCell(const std::vector<uint32_t>& corners, size_t pointCount)
{
    if (corners.size() < MinCellSides || corners.size() > MaxCellSides) {
        return false;
    }
    return std::all_of(corners.begin(), corners.end(),
                       [pointCount](uint32_t corner) { return corner < pointCount; });
}
