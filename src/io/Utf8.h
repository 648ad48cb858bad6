// Conversions between the UTF-8 of the host (file names, command lines) and the program's
// UTF-16 strings.
#pragma once

#include <string>
#include <string_view>

namespace IO {

// False when text is not valid UTF-8 (overlong forms, surrogates and values above U+10FFFF
// included); out then holds nothing useful.
bool Utf8ToUtf16(std::string_view text, std::u16string& out);
// An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace IO
