// Answers from XML attributes and writes what differs from the defaults as binary records.
#include "ui/UIXMLParamsBinary.h"

#include <limits>

namespace UI {

std::u16string UIXMLParamsBinary::getString(std::u16string_view key,
                                            std::u16string_view defaultValue)
{
    std::u16string value = m_attributes.getString(key, defaultValue);
    // A text too long for a record's size field stays unrecorded; no layout comes near it.
    const size_t size = (value.size() + 1) * 2;
    if (value != defaultValue && size <= std::numeric_limits<uint32_t>::max() - 3) {
        appendU32(m_output, m_callIndex);
        appendU32(m_output, static_cast<uint32_t>(size));
        for (const char16_t unit : value) {
            m_output.push_back(static_cast<uint8_t>(unit & 0xFF));
            m_output.push_back(static_cast<uint8_t>(unit >> 8));
        }
        m_output.push_back(0);
        m_output.push_back(0);
        appendPadding(m_output);
        ++m_recordCount;
    }
    ++m_callIndex;
    return value;
}

int32_t UIXMLParamsBinary::getInt(std::u16string_view key, int32_t defaultValue)
{
    const int32_t value = m_attributes.getInt(key, defaultValue);
    if (value != defaultValue) {
        appendU32(m_output, m_callIndex);
        appendU32(m_output, 4);
        appendU32(m_output, static_cast<uint32_t>(value));
        ++m_recordCount;
    }
    ++m_callIndex;
    return value;
}

void UIXMLParamsBinary::appendU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void UIXMLParamsBinary::appendPadding(std::vector<uint8_t>& out)
{
    while (out.size() % 4 != 0)
        out.push_back(0);
}

} // namespace UI
