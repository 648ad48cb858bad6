// Lenient UTF-8 decoding for the text of skins and layouts: what can be read is kept, what
// cannot is dropped, so a damaged file still gives usable names.
#pragma once

#include <string>
#include <string_view>

namespace UI {

// Decodes the complete, well-formed one- to three-byte sequences of text into UTF-16. Stray
// continuation bytes, truncated or overlong sequences, surrogates and bytes that cannot start
// a sequence are dropped; so is every sequence of four or more bytes (lead byte F0 to FF),
// together with its continuation bytes, since the program's text holds no surrogate pairs.
std::u16string DecodeUtf8(std::string_view text);

} // namespace UI
