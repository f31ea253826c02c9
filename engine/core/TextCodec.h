// The engine's one text codec. All text inside the engine is single-byte ISO 8859-2
// (Latin-2); these functions convert it to and from wide strings and UTF-8, and read
// UTF-16LE. They use their own table, never the C locale.
#pragma once
#include <string>
#include <string_view>

namespace talvik {

// The Unicode code point of a Latin-2 byte.
wchar_t Latin2ToWide(unsigned char c);
// The Latin-2 byte (0..255) of a code point, or -1 when Latin-2 has no such character.
int WideToLatin2(wchar_t c);

std::wstring Latin2ToWide(std::string_view text);
// Characters Latin-2 cannot hold become replacement.
std::string WideToLatin2(std::wstring_view text, char replacement = '?');

std::string Latin2ToUtf8(std::string_view text);
// Each valid character Latin-2 cannot hold becomes one replacement, and so does each
// byte that does not start a valid UTF-8 sequence (truncated, overlong, surrogate, or
// above U+10FFFF).
std::string Utf8ToLatin2(std::string_view text, char replacement = '?');
// True when text has characters beyond ASCII and every byte belongs to a valid UTF-8
// sequence: text that editors wrote in UTF-8 rather than in Latin-2, where a letter
// such as "ö" is one byte that never starts a valid sequence with its neighbours.
bool IsUtf8Text(std::string_view text);

// Combines surrogate pairs; a lone surrogate becomes U+FFFD and an odd last byte is
// ignored. A byte order mark is kept as U+FEFF.
std::wstring Utf16LeToWide(std::string_view bytes);

} // namespace talvik
