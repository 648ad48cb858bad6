// UIXMLParams: a layout element's attributes as a widget's parameter source. Names and values
// are decoded from UTF-8 once and kept sorted by name.
#pragma once

#include "ui/UIParams.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace UI {

class UIXMLParams final : public UIParams
{
public:
    // Stores an attribute given in UTF-8, replacing an earlier value of the same name. An
    // attribute whose name or value decodes to nothing is not stored: it counts as absent.
    void setAttribute(std::string_view name, std::string_view value);
    // The stored value of key, or null.
    const std::u16string* find(std::u16string_view key) const;

    std::u16string getString(std::u16string_view key, std::u16string_view defaultValue) override;
    // An absent key, or the value "x", gives the default; anything else is folded by
    // parseInt.
    int32_t getInt(std::u16string_view key, int32_t defaultValue) override;

    // An optional leading '-', then every further unit folds value = value * 10 + (unit - 48),
    // wrapping in 32 bits: only digits give meaningful numbers ("1a" reads as 59).
    static int32_t parseInt(std::u16string_view text);

private:
    std::map<std::u16string, std::u16string, std::less<>> m_attributes;
};

} // namespace UI
