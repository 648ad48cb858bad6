// Reading and writing "data.dat", and the rules of a player's progress and the high scores.
//
// The data.dat format. Little-endian, no header, no checksum. A string is a u32 length L in
// UTF-16 code units followed by L + 1 code units, the last of them 0. In order:
//
//   u32  player count N
//   i32  index of the selected player, -1 for none
//   N player records: the name (string), then for Arcade, Classic and Survival in turn
//        u8 lives, u16 grid, u16 bestGrid, u16 score, u16 bestScore
//   three high-score tables, Arcade, Classic, Survival, each a u8 entry count (at most 10)
//        and per entry the name (string) and a u16 score
//   u8 soundOn, u32 soundVolume, u8 musicOn, u32 musicVolume, u8 stylus, u8 antialiasing,
//   u8 underCells
//
// and nothing after. The fields are narrower than the values in memory: a value too wide for
// its field is written as the field's largest value. A file is taken whole or not at all: a
// length or count the rest of the file cannot hold, a string without its 0 unit, a table of
// more than 10 entries or bytes left after the options reject it.
#include "resources/ProfileStore.h"

#include "io/Utf8.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

// The smallest player record: an empty name (length and 0 unit) and three modes of 9 bytes.
constexpr uint64_t MinPlayerRecord = 4 + 2 + GameModeCount * (1 + 2 + 2 + 2 + 2);

bool ValidMode(uint32_t mode)
{
    return mode >= 1 && mode <= GameModeCount;
}

template <typename Field>
Field Saturated(uint64_t value)
{
    return static_cast<Field>(std::min<uint64_t>(value, std::numeric_limits<Field>::max()));
}

uint32_t SaturatedAdd(uint32_t a, uint32_t b)
{
    return Saturated<uint32_t>(uint64_t{a} + b);
}

// Reads little-endian fields from a block, failing instead of reading past its end.
class ByteCursor
{
public:
    explicit ByteCursor(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    size_t Remaining() const { return m_bytes.size() - m_position; }

    bool U8(uint8_t& out) { return Unsigned(out); }
    bool U16(uint16_t& out) { return Unsigned(out); }
    bool U32(uint32_t& out) { return Unsigned(out); }

    bool String(std::u16string& out)
    {
        uint32_t length;
        // The units and the 0 unit must all lie in the block before anything is allocated.
        if (!U32(length) || (uint64_t{length} + 1) * 2 > Remaining())
            return false;
        out.assign(length, u'\0');
        for (char16_t& unit : out) {
            uint16_t value = 0;
            U16(value); // cannot fail: the length was checked above
            unit = static_cast<char16_t>(value);
        }
        uint16_t terminator;
        return U16(terminator) && terminator == 0;
    }

private:
    template <typename T>
    bool Unsigned(T& out)
    {
        if (Remaining() < sizeof(T))
            return false;
        uint64_t value = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            value |= uint64_t{m_bytes[m_position + i]} << (8 * i);
        m_position += sizeof(T);
        out = static_cast<T>(value);
        return true;
    }

    std::span<const uint8_t> m_bytes;
    size_t m_position = 0;
};

// Appends little-endian fields to a block.
class ByteSink
{
public:
    void U8(uint8_t value) { m_bytes.push_back(value); }
    void U16(uint16_t value) { Unsigned(value, 2); }
    void U32(uint32_t value) { Unsigned(value, 4); }
    void String(const std::u16string& text)
    {
        U32(Saturated<uint32_t>(text.size()));
        for (size_t i = 0; i < text.size() && i < UINT32_MAX; ++i)
            U16(text[i]);
        U16(0);
    }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    void Unsigned(uint32_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }

    std::vector<uint8_t> m_bytes;
};

bool ReadPlayer(ByteCursor& in, PlayerProfile& player)
{
    if (!in.String(player.name))
        return false;
    for (uint32_t m = 0; m < GameModeCount; ++m) {
        uint8_t lives;
        uint16_t grid, bestGrid, score, bestScore;
        if (!in.U8(lives) || !in.U16(grid) || !in.U16(bestGrid) || !in.U16(score) ||
            !in.U16(bestScore))
            return false;
        player.lives[m] = lives;
        player.grid[m] = grid;
        player.bestGrid[m] = bestGrid;
        player.score[m] = score;
        player.bestScore[m] = bestScore;
    }
    return true;
}

bool ReadTable(ByteCursor& in, std::vector<ScoreEntry>& table)
{
    uint8_t count;
    if (!in.U8(count) || count > ProfileStore::TableSize)
        return false;
    for (uint8_t i = 0; i < count; ++i) {
        ScoreEntry entry;
        uint16_t score;
        if (!in.String(entry.name) || !in.U16(score))
            return false;
        entry.score = score;
        table.push_back(std::move(entry));
    }
    return true;
}

bool ReadSettings(ByteCursor& in, GameSettings& settings)
{
    return in.U8(settings.soundOn) && in.U32(settings.soundVolume) && in.U8(settings.musicOn) &&
           in.U32(settings.musicVolume) && in.U8(settings.stylus) && in.U8(settings.antialiasing) &&
           in.U8(settings.underCells);
}

// The whole file behind reader, read in pieces so that memory follows the bytes actually
// there. False on a read error.
bool ReadWhole(IO::FileReader& reader, std::vector<uint8_t>& bytes)
{
    constexpr uint32_t Piece = 64 * 1024;
    bytes.clear();
    for (;;) {
        const size_t used = bytes.size();
        bytes.resize(used + Piece);
        const uint32_t got = reader.Read(bytes.data() + used, Piece);
        if (got > Piece) // the streams report a failure as more than was asked for
            return false;
        bytes.resize(used + got);
        if (got < Piece)
            return true;
    }
}

// Damaged files are kept beside the store's file as name.bad, then name.bad.1 to name.bad.9:
// each new one takes the first free name, so an older copy is never replaced.
constexpr char16_t KeptCopies = 10;

// The first of those names that no file of the folder has; empty when all are taken.
std::u16string FreeCopyName(IO::DirectoryNode* folder, const std::u16string& fileName)
{
    for (char16_t n = 0; n < KeptCopies; ++n) {
        std::u16string name = fileName + u".bad";
        if (n > 0)
            name += {u'.', static_cast<char16_t>(u'0' + n)};
        if (!IO::FileSystem::FindFile(folder, name))
            return name;
    }
    return {};
}

// The host path of a file in folder: the mounted root, then the folder names, then name.
void Report(const char* what, const std::u16string& name, const char* why)
{
    std::fprintf(stderr, "tavlo: %s %s: %s\n", what, IO::Utf16ToUtf8(name).c_str(), why);
}

} // namespace

ProfileStore::ProfileStore(GameSettings& settings) : m_settings(settings) {}

ProfileStore::~ProfileStore()
{
    if (m_saveOnExit)
        Save();
}

bool ProfileStore::Load(IO::DirectoryNode* root, const std::u16string& fileName)
{
    m_saveOnExit = true;
    m_keepOldFile = false;
    m_refusalSaid = false;
    m_root = root;
    m_fileName = fileName;
    if (!root || !root->owner)
        return false;
    std::unique_ptr<IO::FileReader> reader = root->owner->OpenForRead(root, fileName);
    if (!reader) {
        // Missing: the store starts empty and the file is written at the end. Present but
        // unopenable: it may hold the player's progress, so it is left alone.
        if (IO::FileSystem::FindFile(root, fileName)) {
            KeepOldFile();
            Report("cannot read", fileName, "it will not be overwritten");
        }
        return false;
    }
    std::vector<uint8_t> bytes;
    const bool complete = ReadWhole(*reader, bytes);
    reader.reset();
    if (!complete) {
        KeepOldFile();
        Report("cannot read", fileName, "it will not be overwritten");
        return false;
    }
    if (Decode(bytes))
        return true;

    const std::u16string keptName = FreeCopyName(root, fileName);
    const char* why = keptName.empty() ? "its ten kept copies, .bad to .bad.9, are all taken"
                                       : WriteAtomically(keptName, bytes);
    if (why) {
        KeepOldFile();
        std::fprintf(stderr,
                     "tavlo: %s is damaged and cannot be copied (%s); it will not be "
                     "overwritten\n",
                     IO::Utf16ToUtf8(fileName).c_str(), why);
    } else {
        std::fprintf(stderr, "tavlo: %s is damaged; kept as %s, starting afresh\n",
                     IO::Utf16ToUtf8(fileName).c_str(), IO::Utf16ToUtf8(keptName).c_str());
    }
    return false;
}

void ProfileStore::KeepOldFile()
{
    m_saveOnExit = false;
    m_keepOldFile = true;
}

bool ProfileStore::Save()
{
    if (m_keepOldFile) {
        if (!m_refusalSaid)
            Report("not saving", m_fileName,
                   "the game could not read or back up the one already there");
        m_refusalSaid = true;
        return false;
    }
    if (const char* why = WriteAtomically(m_fileName, Encode())) {
        Report("cannot save", m_fileName, why);
        return false;
    }
    return true;
}

const char* ProfileStore::WriteAtomically(const std::u16string& name,
                                          std::span<const uint8_t> bytes)
{
    if (!m_root || !m_root->owner)
        return "no folder to save in";
    if (bytes.size() > UINT32_MAX)
        return "too large";
    IO::FileSystem& files = *m_root->owner;
    const std::u16string tempName = name + u".tmp";
    std::unique_ptr<IO::FileWriter> writer = files.OpenForWrite(m_root, tempName);
    if (!writer)
        return "cannot create the temporary file";

    const uint32_t size = static_cast<uint32_t>(bytes.size());
    bool written =
        writer->Write(bytes.data(), size) == size && writer->Flush() == IO::StreamResult::Ok;
    written = writer->Close() == IO::StreamResult::Ok && written;
    writer.reset();

    const char* why = nullptr;
    if (!written)
        why = "cannot write the temporary file";
    else if (!files.ReplacePlainFile(m_root, tempName, name))
        why = "cannot replace the old file";
    if (why)
        files.RemovePlainFile(m_root, tempName);
    return why;
}

std::vector<uint8_t> ProfileStore::Encode() const
{
    ByteSink out;
    const uint32_t playerCount = Saturated<uint32_t>(m_players.size());
    out.U32(playerCount);
    out.U32(static_cast<uint32_t>(m_current));
    for (uint32_t i = 0; i < playerCount; ++i) {
        const PlayerProfile& player = *m_players[i];
        out.String(player.name);
        for (uint32_t m = 0; m < GameModeCount; ++m) {
            out.U8(Saturated<uint8_t>(player.lives[m]));
            out.U16(Saturated<uint16_t>(player.grid[m]));
            out.U16(Saturated<uint16_t>(player.bestGrid[m]));
            out.U16(Saturated<uint16_t>(player.score[m]));
            out.U16(Saturated<uint16_t>(player.bestScore[m]));
        }
    }
    for (const std::vector<ScoreEntry>& table : m_tables) {
        // Never more than a reader accepts.
        const size_t count = std::min(table.size(), TableSize);
        out.U8(static_cast<uint8_t>(count));
        for (size_t i = 0; i < count; ++i) {
            out.String(table[i].name);
            out.U16(Saturated<uint16_t>(table[i].score));
        }
    }
    out.U8(m_settings.soundOn);
    out.U32(m_settings.soundVolume);
    out.U8(m_settings.musicOn);
    out.U32(m_settings.musicVolume);
    out.U8(m_settings.stylus);
    out.U8(m_settings.antialiasing);
    out.U8(m_settings.underCells);
    return out.Take();
}

bool ProfileStore::Decode(std::span<const uint8_t> bytes)
{
    // Everything is read into temporaries and committed only when the whole image is valid.
    ByteCursor in(bytes);
    uint32_t playerCount, current;
    if (!in.U32(playerCount) || !in.U32(current) ||
        uint64_t{playerCount} * MinPlayerRecord > in.Remaining())
        return false;
    std::vector<std::unique_ptr<PlayerProfile>> players;
    for (uint32_t i = 0; i < playerCount; ++i) {
        auto player = std::make_unique<PlayerProfile>();
        if (!ReadPlayer(in, *player))
            return false;
        players.push_back(std::move(player));
    }
    std::array<std::vector<ScoreEntry>, GameModeCount> tables;
    for (std::vector<ScoreEntry>& table : tables) {
        if (!ReadTable(in, table))
            return false;
    }
    GameSettings settings;
    if (!ReadSettings(in, settings) || in.Remaining() != 0)
        return false;

    m_players = std::move(players);
    m_tables = std::move(tables);
    m_settings = settings;
    // A selection outside the list selects nobody.
    m_current = -1;
    SetCurrent(static_cast<int32_t>(current));
    return true;
}

void ProfileStore::AddPlayer(std::u16string name)
{
    auto player = std::make_unique<PlayerProfile>();
    player->name = std::move(name);
    m_players.push_back(std::move(player));
}

void ProfileStore::RemovePlayer(int32_t index)
{
    if (!Player(index))
        return;
    m_players.erase(m_players.begin() + index);
    if (m_current == index)
        m_current = -1;
    else if (m_current > index)
        --m_current;
}

PlayerProfile* ProfileStore::Player(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_players.size())
        return nullptr;
    return m_players[static_cast<size_t>(index)].get();
}

const PlayerProfile* ProfileStore::Player(int32_t index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_players.size())
        return nullptr;
    return m_players[static_cast<size_t>(index)].get();
}

void ProfileStore::SetCurrent(int32_t index)
{
    m_current = Player(index) ? index : -1;
}

const std::vector<ScoreEntry>& ProfileStore::Table(uint32_t mode) const
{
    static const std::vector<ScoreEntry> none;
    return ValidMode(mode) ? m_tables[mode - 1] : none;
}

uint32_t ProfileStore::RecordWin(PlayerProfile& player, uint32_t mode, uint32_t boardScore,
                                 uint32_t lives)
{
    if (!ValidMode(mode))
        return 0;
    const uint32_t m = mode - 1;
    const uint32_t previous = player.grid[m];
    player.grid[m] = SaturatedAdd(previous, 1);
    player.score[m] = SaturatedAdd(player.score[m], boardScore);
    player.lives[m] = lives;
    return previous;
}

bool ProfileStore::TakeLife(PlayerProfile& player, uint32_t mode)
{
    if (!ValidMode(mode))
        return false;
    uint32_t& lives = player.lives[mode - 1];
    if (lives == 0)
        return false;
    --lives;
    return true;
}

void ProfileStore::EndRun(PlayerProfile& player, uint32_t mode)
{
    if (!ValidMode(mode))
        return;
    const uint32_t m = mode - 1;
    InsertHighScore(player, mode);
    player.bestScore[m] = std::max(player.bestScore[m], player.score[m]);
    player.bestGrid[m] = std::max(player.bestGrid[m], player.grid[m]);
    player.grid[m] = 1;
    player.score[m] = 0;
    player.lives[m] = StartLives;
}

bool ProfileStore::InsertHighScore(const PlayerProfile& player, uint32_t mode)
{
    if (!ValidMode(mode))
        return false;
    std::vector<ScoreEntry>& table = m_tables[mode - 1];
    const uint32_t score = player.score[mode - 1];
    const auto lower = std::find_if(table.begin(), table.end(),
                                    [&](const ScoreEntry& entry) { return entry.score < score; });
    if (lower == table.end() && table.size() >= TableSize)
        return false;
    table.insert(lower, ScoreEntry{player.name, score});
    if (table.size() > TableSize)
        table.pop_back();
    return true;
}
