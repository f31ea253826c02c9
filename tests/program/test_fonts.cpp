// Bitmap fonts: the description with its base file and per-letter overrides, refusing
// lying glyph records, text drawing with the accent and tab markers, widths of decoded
// and raw text and of pictures, turned glyphs, and the font cache.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/LxFile.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxLetters.h"
#include "support/TempFolder.h"

namespace {
using Bytes = std::vector<uint8_t>;

std::string Le16(int v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
}
std::string Le32(uint32_t v) {
    return Le16(static_cast<int>(v & 0xFFFF)) + Le16(static_cast<int>(v >> 16));
}
std::string Record(int code, int w, int h, const Bytes& rows) {
    return std::string(1, static_cast<char>(code)) + Le32(static_cast<uint32_t>(rows.size())) +
           Le32(0) + Le16(w) + Le16(h) + std::string(rows.begin(), rows.end());
}
std::string RleFile(int w, int h, const Bytes& rows) {
    return Le32(0) + Le16(w) + Le16(h) + std::string(rows.begin(), rows.end());
}

const unsigned char kCs = DecodeLetter("cs");

class Fonts : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots("", "data\\");
        // 'a' 3 x 2 full, 'b' 2 x 2 with only its top-left pixel, a space without rows;
        // "cs" only as an override file, 'A' from its file, 'a' kept from the base.
        WriteFile("fonts/t.fnt", Record('a', 3, 2, {3, 3}) + Record('b', 2, 2, {0, 2, 1, 1}) +
                                     Record(' ', 4, 2, {}));
        WriteFile("fonts/a_u.rle", RleFile(4, 3, {4, 4, 4}));
        WriteFile("fonts/cs_l.rle", RleFile(5, 2, {5, 5}));
        WriteFile("fonts/t.xml", "<Font base=\"t.fnt\">\n"
                                 "<char name=\"a\"><lowercase name=\"a_l\">"
                                 "<uppercase name=\"a_u\"></char>\n"
                                 "<char name=\"cs\"><lowercase name=\"cs_l\"></char>\n"
                                 "<lowercase name=\"b_stray\">\n");
        surface_.Create(40, 6);
        ASSERT_NE(surface_.m_pSurface, nullptr);
        ASSERT_EQ(surface_.Lock(nullptr, &desc_), 0);
    }
    uint32_t At(int x, int y) {
        auto* row =
            static_cast<uint8_t*>(surface_.m_pSurface->pixels) + y * surface_.m_pSurface->pitch;
        return reinterpret_cast<uint32_t*>(row)[x];
    }
    std::string Row(int y, uint32_t value, int width = 40) {
        std::string row;
        for (int x = 0; x < width; ++x)
            row += At(x, y) == value ? '#' : '.';
        return row;
    }
    void Clear() { SDL_FillRect(surface_.m_pSurface, nullptr, 0); }

    CLxSurface surface_;
    LxSurfaceDesc desc_;
};

TEST_F(Fonts, LoadTakesTheBaseAndTheOverridesThatExist) {
    CLxRLEFonts font;
    ASSERT_TRUE(font.Load("fonts\\t.xml"));
    EXPECT_STREQ(font.Path(), "fonts\\t.xml");
    const struct {
        int code, width, height;
    } cases[] = {{'a', 3, 2}, {'A', 4, 3}, {kCs, 5, 2}, {'b', 2, 2}, {' ', 4, 2}, {'c', 0, 0}};
    for (const auto& c : cases) {
        ASSERT_LT(c.code, 256);
        EXPECT_EQ(font.m_glyphs[c.code].m_nWidth, c.width) << c.code;
        EXPECT_EQ(font.m_glyphs[c.code].m_nHeight, c.height) << c.code;
    }
    // The line height is that of the highest code with rows: "cs" (lower case, 224 up).
    EXPECT_EQ(font.Height(), 2);
    EXPECT_EQ(font.Glyph('c'), nullptr);
}

TEST_F(Fonts, UnreadableDescriptionsGiveAFontWithoutGlyphs) {
    for (const std::string& path :
         {std::string("fonts\\none.xml"), "f\\" + std::string(130, 'x')}) {
        CLxRLEFonts font;
        EXPECT_FALSE(font.Load(path.c_str())) << path;
        EXPECT_EQ(font.TextWidth("abc"), 0);
        EXPECT_EQ(font.Height(), 0);
    }
}

TEST_F(Fonts, LyingGlyphRecordsEndTheBaseFile) {
    const std::string good = Record('a', 3, 2, {3, 3});
    const struct {
        const char* title;
        std::string tail;
    } cases[] = {
        {"short header", std::string("b\1\0\0", 4)},
        {"length past the end", "b" + Le32(1000) + Le32(0) + Le16(2) + Le16(1) + "\2"},
        {"length over 16384", Record('b', 2, 1, Bytes(16385, 2))},
    };
    for (const auto& c : cases) {
        WriteFile("f/t.fnt", good + c.tail + Record('d', 1, 1, {1}));
        WriteFile("f/t.xml", "<Font base=\"t.fnt\">");
        CLxRLEFonts font;
        font.Load("f\\t.xml");
        EXPECT_EQ(font.m_glyphs['a'].m_nWidth, 3) << c.title;
        EXPECT_EQ(font.Glyph('b'), nullptr) << c.title;
        EXPECT_EQ(font.Glyph('d'), nullptr) << c.title;
    }
    // A later record for a code replaces the earlier one.
    WriteFile("f/t.fnt", good + Record('a', 7, 1, {7}));
    CLxRLEFonts font;
    font.Load("f\\t.xml");
    EXPECT_EQ(font.m_glyphs['a'].m_nWidth, 7);
}

TEST_F(Fonts, TextWidthCountsWholeLettersThatHaveGlyphs) {
    CLxRLEFonts font;
    font.Load("fonts\\t.xml");
    const struct {
        const char* text;
        int width;
    } cases[] = {
        {"a", 5},  {"ab", 9},   {"csa", 12}, // "cs" is one letter: 5 + 2
        {"cx", 0}, {"a b", 15}, {"$a@", 5},  {"", 0}, {"A\\na", 11},
    };
    for (const auto& c : cases)
        EXPECT_EQ(font.TextWidth(c.text), c.width) << c.text;
    // Without a "cs" glyph the letter takes no room, and neither do its two halves.
    font.m_glyphs[kCs].Clear();
    EXPECT_EQ(font.TextWidth("csa"), 5);
    EXPECT_EQ(font.RawTextWidth("csa"), 5);
}

TEST_F(Fonts, DrawTextPaintsTheAccentAfterADollarAndTabsTo32) {
    CLxRLEFonts font;
    font.Load("fonts\\t.xml");
    font.Attach(&desc_);
    font.SetColors(255, 0, 0, 0, 0, 255);
    const uint32_t red = 0xFF0000, blue = 0x0000FF;
    const struct {
        const char* text;
        int x, advance;
        std::string red, blue; // row 0
    } cases[] = {
        {"aa", 1, 10, ".###..###", "........."},
        {"$aa", 1, 10, "......###", ".###....."},
        {"a$", 0, 5, "###......", "........."},
        {"$$a", 0, 5, ".........", "###......"},
        {"$@a", 0, 37, "", ""},
        {"$xa", 0, 5, "###", "..."}, // the letter without a glyph takes the accent
    };
    for (const auto& c : cases) {
        Clear();
        EXPECT_EQ(font.DrawText(c.text, c.x, 0), c.advance) << c.text;
        EXPECT_EQ(Row(0, red, static_cast<int>(c.red.size())), c.red) << c.text;
        EXPECT_EQ(Row(0, blue, static_cast<int>(c.blue.size())), c.blue) << c.text;
    }
    // "@" at x = 40 moves on to 64, keeping a pending accent.
    EXPECT_EQ(font.DrawText("@", 40, 0), 24);
    EXPECT_EQ(font.DrawText("@", 64, 0), 32);
    Clear();
    font.DrawText("$@a", 0, 0);
    EXPECT_EQ(At(32, 0), blue);
}

TEST_F(Fonts, DrawRawTextTakesBytesAsCodes) {
    CLxRLEFonts font;
    font.Load("fonts\\t.xml");
    font.Attach(&desc_);
    font.SetColors(255, 0, 0, 0, 0, 255);
    const uint32_t blue = 0x0000FF;
    // "x" has no glyph: skipped, the accent kept; "cs" is two bytes without glyphs.
    EXPECT_EQ(font.DrawRawText("$xa", 0, 0), 5);
    EXPECT_EQ(Row(0, blue, 5), "###..");
    Clear();
    EXPECT_EQ(font.DrawRawText("csa@a", 0, 0), 10);
    EXPECT_EQ(Row(0, 0xFF0000, 10), "###..###..");
}

TEST_F(Fonts, RawTextWidthOfAPictureIsItsBitmapWidth) {
    CLxSurface picture;
    picture.Create(37, 5);
    ASSERT_TRUE(SaveBitmap(&picture, "pic.bmp"));
    CLxRLEFonts font;
    font.Load("fonts\\t.xml");
    const struct {
        const char* text;
        int width;
    } cases[] = {{"{{pic}}", 37}, {"{{pic.bmp}}", 37}, {"{{nothing}}", 0}, {"{{}}", 0},
                 {"{{ab", 0},     {"{{", 0},           {"ab", 9}};
    for (const auto& c : cases)
        EXPECT_EQ(font.RawTextWidth(c.text), c.width) << c.text;
}

TEST_F(Fonts, DrawCharPaintsTopLeftAndOpaquePaintsTheClearPixels) {
    CLxRLEFonts font;
    font.Load("fonts\\t.xml");
    Clear();
    EXPECT_EQ(font.DrawChar('b', 0xFFFFFF, 1, 1), 2); // detached: nothing painted
    EXPECT_EQ(Row(1, 0xFFFFFF, 4), "....");
    font.Attach(&desc_);
    EXPECT_EQ(font.DrawChar('c', 0xFFFFFF, 1, 1), 0);
    EXPECT_EQ(font.DrawCharOpaque('b', 0xFFFFFF, 0x00FF00, 1, 1), 2);
    EXPECT_EQ(Row(1, 0xFFFFFF, 4), ".#..");
    EXPECT_EQ(Row(1, 0x00FF00, 4), "..#.");
    EXPECT_EQ(Row(2, 0x00FF00, 4), ".##.");
    // Near every edge the glyph is cut, never written outside.
    for (int x : {-2, 38, 39})
        for (int y : {-1, 5})
            font.DrawCharOpaque('A', 1, 2, x, y);
    font.Attach(nullptr);
    EXPECT_EQ(font.DrawText("a", 0, 0), 5);
}

TEST_F(Fonts, TurnedGlyphsCentreOnThePointAndMirrorFromDirection8) {
    CLxRLEFonts font;
    font.Load("fonts\\t.xml");
    // 'b' is 2 x 2 with only its top-left pixel; a 3 x 1 glyph shows the row direction.
    WriteFile("L.fnt", Record('L', 3, 2, {3, 1, 2}));
    WriteFile("L.xml", "<Font base=\"L.fnt\">");
    CLxRLEFonts l;
    l.Load("L.xml");
    EXPECT_EQ(l.DrawCharRotated('L', 1, 10, 3, 0), 'L'); // detached
    l.Attach(&desc_);
    // Fitted to 3 x 3: bottom row "###", middle "#..", top empty; centred on (10, 3).
    Clear();
    EXPECT_EQ(l.DrawCharRotated('L', 0xFFFFFF, 10, 3, 0), 3);
    EXPECT_EQ(Row(2, 0xFFFFFF, 14), std::string(14, '.'));
    EXPECT_EQ(Row(3, 0xFFFFFF, 14), ".........#....");
    EXPECT_EQ(Row(4, 0xFFFFFF, 14), ".........###..");
    Clear();
    EXPECT_EQ(l.DrawCharRotated('L', 0xFFFFFF, 10, 3, 8), 3);
    EXPECT_EQ(Row(3, 0xFFFFFF, 14), "...........#..");
    EXPECT_EQ(Row(4, 0xFFFFFF, 14), ".........###..");
    // Direction 2 walks the rows upward and steps from row to row leftward.
    Clear();
    EXPECT_EQ(l.DrawCharRotated('L', 0xFFFFFF, 10, 3, 2), 3);
    EXPECT_EQ(Row(2, 0xFFFFFF, 14), "...........#..");
    EXPECT_EQ(Row(3, 0xFFFFFF, 14), "...........#..");
    EXPECT_EQ(Row(4, 0xFFFFFF, 14), "..........##..");
    // A glyph of a lying size is not expanded into a huge square.
    l.m_glyphs['W'].SetData(0, 2000, 1, 1, Bytes{1}.data());
    EXPECT_EQ(l.DrawCharRotated('W', 1, 10, 3, 0), 'W');
    // Odd directions scale the square to three quarters; every direction stays inside
    // the target at its corners.
    font.Attach(&desc_);
    EXPECT_EQ(font.DrawCharRotated('A', 1, 0, 0, 1), 3);
    for (int d = 0; d < 16; ++d)
        for (int x : {0, 39})
            for (int y : {0, 5})
                font.DrawCharRotated('A', 0xFFFFFF, x, y, d);
}

TEST_F(Fonts, TheServerKeepsOneFontPerExactPath) {
    CLxFontServer server;
    testing::internal::CaptureStdout();
    CLxRLEFonts* first = server.GetFont("fonts\\t.xml");
    std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(printed, "fonts\\t.xml\n");
    EXPECT_EQ(first->TextWidth("a"), 5);
    EXPECT_EQ(server.GetFont("fonts\\t.xml"), first);
    EXPECT_EQ(server.UseCount(first), 2);
    CLxRLEFonts* other = server.GetFont("FONTS\\t.xml");
    EXPECT_NE(other, first);
    EXPECT_EQ(other->TextWidth("a"), 5); // the same file, found case-insensitively
    for (int i = server.Count(); i < CLxFontServer::kMaxFonts; ++i)
        EXPECT_NE(server.GetFont(("fonts\\" + std::to_string(i) + ".xml").c_str()), nullptr);
    EXPECT_EQ(server.GetFont("fonts\\17.xml"), nullptr);
    EXPECT_EQ(server.GetFont("fonts\\t.xml"), first);
    EXPECT_EQ(server.Count(), 16);
}
} // namespace
