// UIXMLParamsBinary: answers from a layout element's attributes like UIXMLParams and writes
// each answer that differs from the widget's default as a record of the layout's binary form.
//
// A record: callIndex (u32, the 0-based ordinal of the getString/getInt call that asked for
// the value, counted over every call the window's constructors make), size (u32, 4 for an
// integer, (characters + 1) * 2 for a string), then the payload: the i32, or the UTF-16 text
// with a terminating 0 unit, zero-padded to a multiple of 4. Everything is little-endian.
#pragma once

#include "ui/UIXMLParams.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace UI {

class UIXMLParamsBinary final : public UIParams
{
public:
    // Records are appended to output, which must outlive this object.
    explicit UIXMLParamsBinary(std::vector<uint8_t>& output) : m_output(output) {}

    void setAttribute(std::string_view name, std::string_view value)
    {
        m_attributes.setAttribute(name, value);
    }
    const std::u16string* find(std::u16string_view key) const { return m_attributes.find(key); }

    std::u16string getString(std::u16string_view key, std::u16string_view defaultValue) override;
    int32_t getInt(std::u16string_view key, int32_t defaultValue) override;

    // Records written so far, and calls made so far.
    uint32_t recordCount() const { return m_recordCount; }
    uint32_t callIndex() const { return m_callIndex; }

    // Little-endian u32 at the end of out.
    static void appendU32(std::vector<uint8_t>& out, uint32_t value);
    // Zero bytes up to the next multiple of 4 of out's size.
    static void appendPadding(std::vector<uint8_t>& out);

private:
    UIXMLParams m_attributes;
    std::vector<uint8_t>& m_output;
    uint32_t m_recordCount = 0;
    uint32_t m_callIndex = 0;
};

} // namespace UI
