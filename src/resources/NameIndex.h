// NameIndex: handles by name for the image and font caches, looked up with a string view so that
// a lookup by name neither allocates nor walks every entry.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

struct NameHash
{
    using is_transparent = void;
    size_t operator()(std::u16string_view name) const
    {
        return std::hash<std::u16string_view>{}(name);
    }
};

using NameIndex = std::unordered_map<std::u16string, uint32_t, NameHash, std::equal_to<>>;
