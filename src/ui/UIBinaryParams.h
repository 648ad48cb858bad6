// UIBinaryParams: a widget's parameter source over the records of one window in a layout's
// binary form (see UIXMLParamsBinary.h). Values are matched by the ordinal of the call that
// asks for them, not by key, so a binary form is only valid for the widget code that wrote it.
#pragma once

#include "ui/UIParams.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace UI {

class UIBinaryParams final : public UIParams
{
public:
    // Reads the window's record block at position: recordCount, then the records. Every
    // record is checked to lie inside input before any is used; on success position ends
    // past the whole block, so records no call asks for are skipped, and valid() is true.
    UIBinaryParams(std::span<const uint8_t> input, size_t& position);

    // False when the block runs past the end of input.
    bool valid() const { return m_valid; }

    // When this call's ordinal is the next record's, the record is consumed: its value is
    // returned when its size fits the request (4 for an integer, an even size for a text),
    // otherwise it is skipped and the default returned. Any other call gives the default.
    std::u16string getString(std::u16string_view key, std::u16string_view defaultValue) override;
    int32_t getInt(std::u16string_view key, int32_t defaultValue) override;

    uint32_t recordCount() const { return static_cast<uint32_t>(m_records.size()); }
    uint32_t consumed() const { return m_consumed; }

    // Little-endian u32 at position, advancing it; false (position unchanged) past the end.
    static bool readU32(std::span<const uint8_t> input, size_t& position, uint32_t& value);
    // size rounded up to a multiple of 4.
    static uint64_t padded(uint64_t size) { return (size + 3) & ~uint64_t{3}; }

private:
    struct Record
    {
        uint32_t callIndex;
        uint32_t size;
        size_t payload; // offset in the input
    };

    // The record this call answers from, or null; either way the call is counted.
    const Record* take();

    std::span<const uint8_t> m_input;
    std::vector<Record> m_records;
    uint32_t m_callIndex = 0;
    uint32_t m_consumed = 0;
    bool m_valid = false;
};

} // namespace UI
