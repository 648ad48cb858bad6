// Lenient UTF-8 decoding for the text of skins and layouts.
#include "ui/Utf8Text.h"

#include <cstdint>

namespace UI {

namespace {

bool IsContinuation(uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::u16string DecodeUtf8(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t lead = static_cast<uint8_t>(text[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        size_t length = 0;
        uint32_t code = 0;
        uint32_t minimum = 0;
        if (lead >= 0xC0 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            minimum = 0x800;
        } else {
            // A stray continuation byte, or the lead of a sequence too long for the program's
            // text: it goes, and its continuation bytes go with it below.
            ++i;
            while (i < text.size() && IsContinuation(static_cast<uint8_t>(text[i])))
                ++i;
            continue;
        }
        size_t k = 1;
        for (; k < length && i + k < text.size(); ++k) {
            const uint8_t next = static_cast<uint8_t>(text[i + k]);
            if (!IsContinuation(next))
                break;
            code = (code << 6) | (next & 0x3F);
        }
        if (k < length) {
            // Truncated: the lead and the continuation bytes it had go; the byte that cut it
            // short is read afresh.
            i += k;
            continue;
        }
        i += length;
        if (code < minimum || (code >= 0xD800 && code <= 0xDFFF))
            continue; // overlong form or surrogate
        out.push_back(static_cast<char16_t>(code));
    }
    return out;
}

} // namespace UI
