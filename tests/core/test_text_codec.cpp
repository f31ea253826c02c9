// Tests of the Latin-2 text codec: the Hungarian letters through every form, the whole
// byte table round trip, replacements for what Latin-2 cannot hold, malformed UTF-8, and
// UTF-16LE surrogates. Strings are written with explicit bytes because the engine is
// compiled with an ISO 8859-2 execution character set.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/TextCodec.h"

using namespace std::literals;

namespace talvik {
namespace {

struct Letter {
    unsigned char latin2;
    wchar_t wide;
    const char* utf8;
};

// á é í ó ö ő ú ü ű and their capitals.
// clang-format off
constexpr Letter kHungarian[] = {
    {0xE1, 0x00E1, "\xC3\xA1"}, {0xC1, 0x00C1, "\xC3\x81"},
    {0xE9, 0x00E9, "\xC3\xA9"}, {0xC9, 0x00C9, "\xC3\x89"},
    {0xED, 0x00ED, "\xC3\xAD"}, {0xCD, 0x00CD, "\xC3\x8D"},
    {0xF3, 0x00F3, "\xC3\xB3"}, {0xD3, 0x00D3, "\xC3\x93"},
    {0xF6, 0x00F6, "\xC3\xB6"}, {0xD6, 0x00D6, "\xC3\x96"},
    {0xF5, 0x0151, "\xC5\x91"}, {0xD5, 0x0150, "\xC5\x90"},
    {0xFA, 0x00FA, "\xC3\xBA"}, {0xDA, 0x00DA, "\xC3\x9A"},
    {0xFC, 0x00FC, "\xC3\xBC"}, {0xDC, 0x00DC, "\xC3\x9C"},
    {0xFB, 0x0171, "\xC5\xB1"}, {0xDB, 0x0170, "\xC5\xB0"},
};
// clang-format on

TEST(TextCodec, HungarianLettersConvertEveryWay) {
    for (const Letter& letter : kHungarian) {
        SCOPED_TRACE(static_cast<int>(letter.latin2));
        std::string latin2(1, static_cast<char>(letter.latin2));
        EXPECT_EQ(Latin2ToWide(letter.latin2), letter.wide);
        EXPECT_EQ(WideToLatin2(letter.wide), letter.latin2);
        EXPECT_EQ(Latin2ToWide(latin2), std::wstring(1, letter.wide));
        EXPECT_EQ(WideToLatin2(std::wstring(1, letter.wide)), latin2);
        EXPECT_EQ(Latin2ToUtf8(latin2), letter.utf8);
        EXPECT_EQ(Utf8ToLatin2(letter.utf8), latin2);
    }
}

TEST(TextCodec, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; b++)
        all += static_cast<char>(b);
    for (int b = 0; b < 256; b++) {
        EXPECT_EQ(WideToLatin2(Latin2ToWide(static_cast<unsigned char>(b))), b);
    }
    EXPECT_EQ(WideToLatin2(Latin2ToWide(all)), all);
    EXPECT_EQ(Utf8ToLatin2(Latin2ToUtf8(all)), all);
}

TEST(TextCodec, TableEdges) {
    const struct {
        unsigned char latin2;
        wchar_t wide;
    } cases[] = {
        {0x00, 0x0000}, {0x7F, 0x007F}, {0x9F, 0x009F}, {0xA0, 0x00A0},
        {0xA1, 0x0104}, {0xB9, 0x0161}, {0xD7, 0x00D7}, {0xFF, 0x02D9},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Latin2ToWide(c.latin2), c.wide) << static_cast<int>(c.latin2);
    }
    EXPECT_EQ(Latin2ToUtf8("\xFF"), "\xCB\x99");
}

TEST(TextCodec, UnrepresentableCharacters) {
    // Latin-1 has o and O with tilde at 0xF5 and 0xD5, where Latin-2 has o and O with
    // double acute; code page 1250 has the euro sign at 0x80. Latin-2 holds none of them.
    const wchar_t missing[] = {0x00F5, 0x00D5, 0x20AC, 0x4E2D, 0x1F600, 0x110000, -1};
    for (wchar_t c : missing)
        EXPECT_EQ(WideToLatin2(c), -1) << static_cast<long>(c);

    EXPECT_EQ(WideToLatin2(L"x\x20ACz\x0151"), "x?z\xF5");
    EXPECT_EQ(WideToLatin2(L"\x4E2D", '_'), "_");
    // One replacement per character, however many bytes it takes.
    EXPECT_EQ(Utf8ToLatin2("\xE2\x82\xAC"), "?");
    EXPECT_EQ(Utf8ToLatin2("x\xF0\x9F\x98\x80z"), "x?z");
    EXPECT_EQ(Utf8ToLatin2("\xC3\xB5", '#'), "#");
}

TEST(TextCodec, MalformedUtf8GivesOneReplacementPerByte) {
    const struct {
        std::string_view utf8;
        std::string_view latin2;
    } cases[] = {
        {"\x80"sv, "?"sv},                // stray continuation byte
        {"a\xC5"sv, "a?"sv},              // truncated at the end
        {"\xC5z"sv, "?z"sv},              // continuation missing
        {"\xE2\x82"sv, "??"sv},           // truncated three-byte form
        {"\xC0\xAF"sv, "??"sv},           // overlong '/'
        {"\xE0\x80\xAF"sv, "???"sv},      // overlong '/'
        {"\xED\xA0\x80"sv, "???"sv},      // encoded surrogate
        {"\xF4\x90\x80\x80"sv, "????"sv}, // above U+10FFFF
        {"\xFE\xFF"sv, "??"sv},           // never valid
        {"x\0y"sv, "x\0y"sv},             // NUL is an ordinary character
        {"\xC5\x91\xC5"sv, "\xF5?"sv},    // valid, then truncated
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToLatin2(c.utf8), c.latin2) << testing::PrintToString(c.utf8);
    }
}

TEST(TextCodec, Utf8DecodingStopsAtTheEndOfTheView) {
    std::string_view text = "\xC5\x91"sv;
    EXPECT_EQ(Utf8ToLatin2(text.substr(0, 1)), "?");
    std::string_view three = "\xE2\x82\xAC"sv;
    EXPECT_EQ(Utf8ToLatin2(three.substr(0, 2)), "??");
}

TEST(TextCodec, Utf16Le) {
    const struct {
        std::string_view bytes;
        std::wstring_view wide;
    } cases[] = {
        {""sv, L""sv},
        {"A\0"sv, L"A"sv},
        {"A\0B"sv, L"A"sv},                                 // odd last byte ignored
        {"\x51\x01\x70\x01"sv, L"\x0151\x0170"sv},          // ő Ű
        {"\xFF\xFEZ\0"sv, L"\xFEFFZ"sv},                    // byte order mark kept
        {"\x3D\xD8\x00\xDE"sv, L"\x1F600"sv},               // surrogate pair
        {"\xFF\xDB\xFF\xDF"sv, L"\x10FFFF"sv},              // highest pair
        {"\x3D\xD8Z\0"sv, L"\xFFFDZ"sv},                    // high without low
        {"\x00\xDEZ\0"sv, L"\xFFFDZ"sv},                    // low without high
        {"A\0\x3D\xD8"sv, L"A\xFFFD"sv},                    // high at the end
        {"\x3D\xD8\x3D\xD8\x00\xDE"sv, L"\xFFFD\x1F600"sv}, // high, then a pair
        {"\x3D\xD8\x00\xDE\x00\xDE"sv, L"\x1F600\xFFFD"sv}, // pair, then low
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16LeToWide(c.bytes), c.wide) << testing::PrintToString(c.bytes);
    }
}

} // namespace
} // namespace talvik
