// UIParams: where a widget's constructor reads its settings, by key, each with the default the
// widget passes. A layout's XML attributes and its binary form both answer through it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace UI {

class UIParams
{
public:
    virtual std::u16string getString(std::u16string_view key, std::u16string_view defaultValue) = 0;
    // Flags are integers, true when non-zero.
    virtual int32_t getInt(std::u16string_view key, int32_t defaultValue) = 0;

protected:
    ~UIParams() = default;
};

} // namespace UI
