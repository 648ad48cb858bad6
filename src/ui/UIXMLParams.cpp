// Attribute lookups and the integer reading of layout elements.
#include "ui/UIXMLParams.h"

#include "ui/Utf8Text.h"

namespace UI {

void UIXMLParams::setAttribute(std::string_view name, std::string_view value)
{
    std::u16string wideName = DecodeUtf8(name);
    std::u16string wideValue = DecodeUtf8(value);
    if (wideName.empty() || wideValue.empty())
        return;
    m_attributes.insert_or_assign(std::move(wideName), std::move(wideValue));
}

const std::u16string* UIXMLParams::find(std::u16string_view key) const
{
    const auto it = m_attributes.find(key);
    return it == m_attributes.end() ? nullptr : &it->second;
}

std::u16string UIXMLParams::getString(std::u16string_view key, std::u16string_view defaultValue)
{
    const std::u16string* value = find(key);
    return value ? *value : std::u16string(defaultValue);
}

int32_t UIXMLParams::getInt(std::u16string_view key, int32_t defaultValue)
{
    const std::u16string* value = find(key);
    if (!value || *value == u"x")
        return defaultValue;
    return parseInt(*value);
}

int32_t UIXMLParams::parseInt(std::u16string_view text)
{
    const bool negative = !text.empty() && text.front() == u'-';
    if (negative)
        text.remove_prefix(1);
    // Unsigned, so that long or odd texts wrap instead of overflowing.
    uint32_t value = 0;
    for (const char16_t unit : text)
        value = value * 10u + (static_cast<uint32_t>(unit) - 48u);
    return static_cast<int32_t>(negative ? 0u - value : value);
}

} // namespace UI
