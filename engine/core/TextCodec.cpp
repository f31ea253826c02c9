// Latin-2 conversions; see TextCodec.h. Bytes below 0xA0 are their own code point, the
// other 96 come from kUpper, and the reverse mapping searches that table.
#include "core/TextCodec.h"

namespace talvik {

namespace {

// Code points of the bytes 0xA0..0xFF.
// clang-format off
constexpr char16_t kUpper[96] = {
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7,
    0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B,
    0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7,
    0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Decodes the UTF-8 character at the start of s into c and returns its length, or
// returns 0 when s does not start with a complete, shortest-form character.
size_t DecodeUtf8(std::string_view s, char32_t& c) {
    unsigned char lead = s[0];
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    size_t length;
    char32_t smallest;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (size_t i = 1; i < length; i++) {
        unsigned char next = s[i];
        if ((next & 0xC0) != 0x80) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || IsSurrogate(c)) return 0;
    return length;
}

} // namespace

wchar_t Latin2ToWide(unsigned char c) {
    if (c < 0xA0) return c;
    return kUpper[c - 0xA0];
}

int WideToLatin2(wchar_t c) {
    if (c >= 0 && c < 0xA0) return c;
    for (int i = 0; i < 96; i++) {
        if (kUpper[i] == c) return 0xA0 + i;
    }
    return -1;
}

std::wstring Latin2ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (unsigned char c : text)
        out += Latin2ToWide(c);
    return out;
}

std::string WideToLatin2(std::wstring_view text, char replacement) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        int byte = WideToLatin2(c);
        out += byte < 0 ? replacement : static_cast<char>(byte);
    }
    return out;
}

std::string Latin2ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char byte : text) {
        wchar_t c = Latin2ToWide(byte);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        // Every Latin-2 character is below U+0800, so two bytes always suffice.
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string Utf8ToLatin2(std::string_view text, char replacement) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char32_t c;
        size_t length = DecodeUtf8(text.substr(i), c);
        if (length == 0) {
            out += replacement;
            i++;
            continue;
        }
        int byte = WideToLatin2(static_cast<wchar_t>(c));
        out += byte < 0 ? replacement : static_cast<char>(byte);
        i += length;
    }
    return out;
}

bool IsUtf8Text(std::string_view text) {
    bool beyondAscii = false;
    size_t i = 0;
    while (i < text.size()) {
        char32_t c;
        size_t length = DecodeUtf8(text.substr(i), c);
        if (length == 0) return false;
        beyondAscii = beyondAscii || length > 1;
        i += length;
    }
    return beyondAscii;
}

std::wstring Utf16LeToWide(std::string_view bytes) {
    size_t units = bytes.size() / 2;
    auto unit = [bytes](size_t i) -> char32_t {
        return static_cast<unsigned char>(bytes[2 * i]) |
               static_cast<unsigned char>(bytes[2 * i + 1]) << 8;
    };
    std::wstring out;
    out.reserve(units);
    for (size_t i = 0; i < units; i++) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
            char32_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                i++;
                continue;
            }
        }
        out += IsSurrogate(c) ? L'\xFFFD' : static_cast<wchar_t>(c);
    }
    return out;
}

} // namespace talvik
