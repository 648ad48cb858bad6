// Reading a window's parameter records from a layout's binary form, every read bounded.
#include "ui/UIBinaryParams.h"

namespace UI {

namespace {

// callIndex and size come before every payload.
constexpr size_t RecordHeaderSize = 8;

} // namespace

UIBinaryParams::UIBinaryParams(std::span<const uint8_t> input, size_t& position) : m_input(input)
{
    size_t cursor = position;
    uint32_t count = 0;
    if (!readU32(input, cursor, count))
        return;
    // Each record takes at least its header, so a count beyond that is refused before
    // anything is reserved for it.
    if (count > (input.size() - cursor) / RecordHeaderSize)
        return;
    m_records.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        Record record{};
        if (!readU32(input, cursor, record.callIndex) || !readU32(input, cursor, record.size))
            return;
        const uint64_t stored = padded(record.size);
        if (stored > input.size() - cursor)
            return;
        record.payload = cursor;
        cursor += static_cast<size_t>(stored);
        m_records.push_back(record);
    }
    position = cursor;
    m_valid = true;
}

const UIBinaryParams::Record* UIBinaryParams::take()
{
    const Record* record = nullptr;
    if (m_valid && m_consumed < m_records.size() && m_records[m_consumed].callIndex == m_callIndex)
        record = &m_records[m_consumed++];
    ++m_callIndex;
    return record;
}

std::u16string UIBinaryParams::getString(std::u16string_view /*key*/,
                                         std::u16string_view defaultValue)
{
    const Record* record = take();
    if (!record || record->size % 2 != 0)
        return std::u16string(defaultValue);
    std::u16string value(record->size / 2, u'\0');
    const uint8_t* bytes = m_input.data() + record->payload;
    for (size_t i = 0; i < value.size(); ++i)
        value[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (!value.empty() && value.back() == u'\0')
        value.pop_back();
    return value;
}

int32_t UIBinaryParams::getInt(std::u16string_view /*key*/, int32_t defaultValue)
{
    const Record* record = take();
    if (!record || record->size != 4)
        return defaultValue;
    size_t cursor = record->payload;
    uint32_t value = 0;
    readU32(m_input, cursor, value);
    return static_cast<int32_t>(value);
}

bool UIBinaryParams::readU32(std::span<const uint8_t> input, size_t& position, uint32_t& value)
{
    if (position > input.size() || input.size() - position < 4)
        return false;
    const uint8_t* p = input.data() + position;
    value = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
            static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    position += 4;
    return true;
}

} // namespace UI
