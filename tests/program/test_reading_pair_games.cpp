// The reading games 2 to 6 of a phoneme pair ("b-p"): marking items row by row and the
// change-over to part b (game 2), letters dropped on pictures in rounds (game 3), the
// outline fill of the members (game 4), the pages of letters and syllables (game 5) and
// the gaps of words (game 6); each with its right and wrong answers, its end, and lists
// longer than the boards cut to them.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "media/LxDraw.h"
#include "reading/LxRPGameScr2.h"
#include "reading/LxRPGameScr3.h"
#include "reading/LxRPGameScr4.h"
#include "reading/LxRPGameScr5.h"
#include "reading/LxRPGameScr6.h"
#include "test_reading_games_support.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

using namespace reading_test;

namespace {

constexpr int kPair = 5; // the entry of "b-p" in the course
constexpr uint32_t kGreen = 0x04A820, kRed = 0xFF0000;

// A glyph given as rows from the top: each row a list of set column ranges [from, to).
struct GlyphRows {
    int code, width;
    std::vector<std::vector<std::pair<int, int>>> rows;
};

// A font of drawn glyphs (rows are stored bottom row first, runs begin set).
void WriteGlyphFont(const std::string& name, const std::vector<GlyphRows>& glyphs) {
    std::string base;
    for (const GlyphRows& g : glyphs) {
        std::string rows;
        auto run = [&rows](int n) { // longer than a byte: 255, an empty run, the rest
            for (; n > 255; n -= 255)
                rows += std::string{static_cast<char>(255), 0};
            rows += static_cast<char>(n);
        };
        for (auto row = g.rows.rbegin(); row != g.rows.rend(); ++row) {
            bool next = true; // runs alternate, beginning with a set one
            auto emit = [&](bool set, int n) {
                if (set != next) {
                    run(0);
                    next = set;
                }
                run(n);
                next = !next;
            };
            int x = 0;
            for (auto [from, to] : *row) {
                if (from > x) emit(false, from - x);
                emit(true, to - from);
                x = to;
            }
            if (x < g.width) emit(false, g.width - x);
        }
        int height = static_cast<int>(g.rows.size());
        base += std::string(1, static_cast<char>(g.code)) +
                Le32(static_cast<unsigned>(rows.size())) + Le32(0) + Le16(g.width) + Le16(height) +
                rows;
    }
    WriteFile("data/fonts/" + name + ".fnt", base);
    WriteFile("data/fonts/" + name + ".xml", "<Font base=\"" + name + ".fnt\">\n");
}

// An outlined letter 20 wide and 40 high: clear rows 0-3, an accent 4-7 when asked,
// clear to row 11 (9 without accent), a ring from there to row 35 (37), clear below.
GlyphRows Outlined(int code, bool accent, int width = 20) {
    GlyphRows g{code, width, {}};
    int top = accent ? 12 : 10, bottom = accent ? 35 : 37;
    for (int y = 0; y < 40; ++y) {
        if (accent && y >= 4 && y <= 7)
            g.rows.push_back({{0, width}});
        else if (y == top || y == top + 1 || y == bottom || y == bottom - 1)
            g.rows.push_back({{0, width}});
        else if (y > top && y < bottom)
            g.rows.push_back({{0, 2}, {width - 2, width}});
        else
            g.rows.push_back({});
    }
    return g;
}

GlyphRows Solid(int code, int width = 20) {
    GlyphRows g{code, width, {}};
    for (int y = 0; y < 40; ++y)
        g.rows.push_back({{0, width}});
    return g;
}

class PairGames : public ReadingGamesTest {
  protected:
    void SetUp() override {
        ReadingGamesTest::SetUp();
        for (const char* name : {"tnr32o", "tnr32p"})
            WriteReadingFont(name);
        // Pictures of words with b or p.
        const char* words[][2] = {
            {"labda", "lab|da"},       {"p\xF3k", "p\xF3k"},      {"dob", "dob"},
            {"l\xE1mpa", "l\xE1m|pa"}, {"ban\xE1n", "ba|n\xE1n"}, {"szappan", "szap|pan"}};
        std::string catalogue = "<Lexo path=\"\\smallpic\\\">\n";
        for (int i = 0; i < 6; ++i)
            catalogue += "<picture name=\"p" + std::to_string(i) + "\" word=\"" + words[i][0] +
                         "\" syllable=\"" + words[i][1] + "\"/>\n";
        WriteFile("data/smallpic.xml", catalogue + "</Lexo>\n");
        delete g_pSmallPics;
        g_pSmallPics = new CLxSmallPic("data\\smallpic.xml");
    }
    void Lesson(const std::string& material) {
        WriteCourse("<session character=\"b-p\">" + material + "</session>\n");
        Choose(kPair);
    }
    template <class Game> std::unique_ptr<Game> Open() {
        return std::make_unique<Game>("data\\olvfej.xml");
    }
    static void Tick(CLxScreen* s, int n) {
        for (int i = 0; i < n; ++i) {
            g_nNow += 100;
            CLxTimerEvent e(0, 275, g_nNow);
            s->OnTimerEvent(&e);
        }
    }
    // Drops sprite "sprites.<name>" with its top-left corner at (x, y).
    static void Drop(CLxScreen* s, const std::string& name, int x, int y) {
        ReadingGamesTest::Drop(s, ("sprites." + name).c_str(), x, y);
    }
    static RECT Rect(CLxScreen* s, const std::string& name) { return Where(s, name.c_str()); }
};

// ---- game 2 ----

TEST_F(PairGames, Game2ItemsHaveTheirMembersMarkedAndAreCut) {
    const struct {
        const char* item;
        const char* member;
        size_t max;
        const char* marked;
    } cases[] = {
        {"sas", "s", 7, "$sa$s"},
        {"b", "b", 7, "$b"},
        {"p", "b", 7, "p"},
        {"Bab", "b", 7, "$Ba$b"},
        {"kassza", "sz", 7,
         "ka$\xF2"
         "a"},                          // the long form ssz (code 242) too
        {"babababa", "b", 7, "$ba$ba"}, // a mark is never left without its letter
        {"abcdefghij", "x", 7, "abcdefg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        EXPECT_EQ(MarkMember(c.item, DecodeLetter(c.member), c.max), c.marked);
    }
}

TEST_F(PairGames, Game2BoardHasARowPerMember) {
    Lesson("<game2a characters=\"'b, p, d, b', 'p, b'\"/>");
    auto game = Open<CLxRPGameScr2>();
    EXPECT_STREQ(game->GetName(), "RPGame2a");
    EXPECT_EQ(game->RowCount(), 2);
    EXPECT_TRUE(Control(game.get(), "fo.jatek2")->m_nFlags & kSelected);
    EXPECT_EQ(game->Items(0), (std::vector<std::string>{"$b", "p", "d", "$b"}));
    EXPECT_EQ(game->Items(1), (std::vector<std::string>{"$p", "b"}));
    RECT first = Rect(game.get(), "c0.00");
    EXPECT_EQ(first.left, 76);
    EXPECT_EQ(first.top, 240);
    EXPECT_EQ(first.right, 76 + 8); // "$b": the b's 6 pixels and its spacing
    EXPECT_EQ(Rect(game.get(), "c1.00").top, 304);
    EXPECT_TRUE(Control(game.get(), "c0.00")->Is(kEnabled));
    EXPECT_FALSE(Control(game.get(), "c1.00")->Is(kEnabled));
    // The last item of a row ends at the row's right edge (76 + 580).
    EXPECT_EQ(Rect(game.get(), "c1.01").right, 76 + 580);
}

TEST_F(PairGames, Game2RowIsSolvedWhenExactlyTheMarkedItemsAreTicked) {
    const struct {
        std::vector<const char*> ticks;
        int row;
    } cases[] = {
        {{}, 0},
        {{"c0.00"}, 0},
        {{"c0.00", "c0.03"}, 1},
        {{"c0.01", "c0.00", "c0.03"}, 0}, // a wrong tick first
        {{"c0.00", "c0.02", "c0.03"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks.size());
        Lesson("<game2a characters=\"'b, p, d, b', 'p, b'\"/>");
        auto game = Open<CLxRPGameScr2>();
        for (const char* name : c.ticks)
            Click(game.get(), name);
        if (c.ticks.empty()) { // ticked and unticked again
            Click(game.get(), "c0.01");
            Click(game.get(), "c0.01");
        }
        EXPECT_EQ(game->CurrentRow(), c.row);
        EXPECT_EQ(Control(game.get(), "c1.00")->Is(kEnabled), c.row == 1);
        if (c.row == 1) {
            EXPECT_EQ(Control(game.get(), "c0.00")->m_nFlags, kSelected | kVisible);
        }
    }
}

TEST_F(PairGames, Game2GoesOnToPartBAfterTheDelayAndEnds) {
    Lesson("<game2a characters=\"'b, p', 'p'\"/><game2b words=\"'bab, pap', 'pap, dob'\"/>");
    auto game = Open<CLxRPGameScr2>();
    Click(game.get(), "c0.00");
    Click(game.get(), "c1.00");
    EXPECT_EQ(game->CurrentRow(), 2);
    EXPECT_FALSE(game->Ended());
    EXPECT_EQ(game->ChangeOverDelay(), kChangeOverTicks);
    Tick(game.get(), kChangeOverTicks - 1);
    EXPECT_FALSE(game->PartB());
    Tick(game.get(), 1);
    EXPECT_TRUE(game->PartB());
    EXPECT_STREQ(game->GetName(), "RPGame2b");
    EXPECT_EQ(game->CurrentRow(), 0);
    EXPECT_EQ(game->Items(0), (std::vector<std::string>{"$ba$b", "pap"}));
    EXPECT_FALSE(Control(game.get(), "c0.00")->m_nFlags & kSelected);
    Click(game.get(), "c0.00");
    EXPECT_EQ(game->CurrentRow(), 1);
    Click(game.get(), "c1.01"); // wrong: dob has no p
    Click(game.get(), "c1.00");
    EXPECT_FALSE(game->Ended());
    Click(game.get(), "c1.01");
    EXPECT_TRUE(game->Ended());
}

TEST_F(PairGames, Game2WithoutPartBEndsAfterPartA) {
    Lesson("<game2a characters=\"'b', 'p'\"/>");
    auto game = Open<CLxRPGameScr2>();
    Click(game.get(), "c0.00");
    Click(game.get(), "c1.00");
    EXPECT_TRUE(game->Ended());
    EXPECT_EQ(game->ChangeOverDelay(), 0);
}

TEST_F(PairGames, Game2ListsAreCutToTheirTables) {
    std::string many, groups;
    for (int i = 0; i < 20; ++i)
        many += (i ? ", " : "") + std::string("b");
    for (int i = 0; i < 5; ++i)
        groups += (i ? ", '" : "'") + many + "'";
    Lesson("<game2a characters=\"" + groups + "\"/>");
    auto game = Open<CLxRPGameScr2>();
    EXPECT_EQ(game->Items(0).size(), 16u);
    EXPECT_EQ(game->Items(1).size(), 16u);
    EXPECT_NE(Control(game.get(), "c0.15"), nullptr);
    EXPECT_EQ(Control(game.get(), "c0.16"), nullptr);
    EXPECT_EQ(Control(game.get(), "c2.00"), nullptr); // two members, two rows
}

// ---- game 3 ----

TEST_F(PairGames, Game3BoardShowsTwoPicturesAndTwoSpritesPerMember) {
    Lesson("<game3 words=\"labda, p\xF3k\"/>");
    auto game = Open<CLxRPGameScr3>();
    EXPECT_STREQ(game->GetName(), "RPGame3");
    EXPECT_EQ(Back(game.get(), 180, 300), PictureColour(0));
    EXPECT_EQ(Back(game.get(), 500, 300), PictureColour(1));
    // b (6 wide) at (290 + 0) / 2 + 48 - 3, p (5 wide) at (290 + 580) / 2 + 48 - 2.
    EXPECT_EQ(Rect(game.get(), "sprites.00").left, 190);
    EXPECT_EQ(Rect(game.get(), "sprites.01").left, 190);
    EXPECT_EQ(Rect(game.get(), "sprites.10").left, 481);
    EXPECT_EQ(Rect(game.get(), "sprites.10").top, 520);
}

TEST_F(PairGames, Game3DropsOnPictures) {
    const struct {
        std::vector<std::pair<const char*, POINT>> drops;
        bool done0, done1;
        bool homeOfFirst; // the first sprite dropped is back home
    } cases[] = {
        {{{"00", {150, 300}}}, true, false, false},                      // b on labda
        {{{"10", {150, 300}}}, false, false, false},                     // p on labda stays
        {{{"10", {450, 300}}}, false, true, false},                      // p on pók
        {{{"00", {300, 450}}}, false, false, true},                      // on no picture
        {{{"10", {150, 300}}, {"00", {170, 300}}}, false, false, false}, // a wrong one too
        {{{"00", {276, 300}}}, false, false, true},                      // half outside
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drops.size());
        Lesson("<game3 words=\"labda, p\xF3k, dob, l\xE1mpa\"/>");
        auto game = Open<CLxRPGameScr3>();
        for (auto& [name, at] : c.drops)
            Drop(game.get(), name, at.x, at.y);
        EXPECT_EQ(game->PictureDone(0), c.done0);
        EXPECT_EQ(game->PictureDone(1), c.done1);
        EXPECT_EQ(Rect(game.get(), std::string("sprites.") + c.drops[0].first).top == 520,
                  c.homeOfFirst);
        EXPECT_EQ(Back(game.get(), 180, 300) == kTick, c.done0);
    }
}

TEST_F(PairGames, Game3PlaysRoundsOfTwoAndEndsAfterTheLast) {
    // Six words: pages 0, 2 and 4; szappan's picture stands with dob's.
    Lesson("<game3 words=\"labda, p\xF3k, l\xE1mpa, ban\xE1n, dob, szappan\"/>");
    auto game = Open<CLxRPGameScr3>();
    const char* right[3][2] = {{"00", "10"}, {"10", "00"}, {"00", "10"}};
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(game->Page(), 2 * round);
        Drop(game.get(), right[round][0], 150, 300);
        EXPECT_FALSE(game->ChangeOverDelay());
        Drop(game.get(), right[round][1], 450, 300);
        EXPECT_TRUE(game->PictureDone(0) && game->PictureDone(1));
        if (round == 2) break;
        EXPECT_FALSE(game->Ended());
        Tick(game.get(), kChangeOverTicks);
        EXPECT_FALSE(game->PictureDone(0));
        EXPECT_EQ(Rect(game.get(), "sprites.00").top, 520) << "the sprites are new";
    }
    EXPECT_TRUE(game->Ended());
    EXPECT_EQ(game->ChangeOverDelay(), 0);
}

TEST_F(PairGames, Game3WordsPastTwelveAreCutAndUnknownWordsStillPlay) {
    std::string words;
    for (int i = 0; i < 14; ++i)
        words += (i ? ", " : "") + std::string(i == 1 ? "bot" : "labda");
    Lesson("<game3 words=\"" + words + "\"/>");
    auto game = Open<CLxRPGameScr3>();
    // "bot" has no picture: its place is still played with its own letters.
    Drop(game.get(), "00", 450, 300);
    EXPECT_TRUE(game->PictureDone(1));
    Drop(game.get(), "01", 150, 300);
    for (int round = 1; round < 6; ++round) {
        Tick(game.get(), kChangeOverTicks);
        Drop(game.get(), "00", 150, 300);
        Drop(game.get(), "01", 450, 300);
    }
    EXPECT_EQ(game->Page(), 10);
    EXPECT_TRUE(game->Ended());
}

// ---- game 4 ----

TEST(PairGame4Colours, ReadAsHexadecimalOrDecimal) {
    const struct {
        const char* item;
        int colour;
    } cases[] = {
        {"0xFF0000", 0xFF0000}, {"0x1020c0", 0x1020C0}, {"255", 255}, {"-1", -1},
        {"piros", -1},          {"0x1000000", -1},      {"-5", -1},   {"0", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PieceColour(c.item), c.colour) << c.item;
}

class PairGame4 : public PairGames {
  protected:
    void SetUp() override {
        PairGames::SetUp();
        // 256: too wide for the board; 160: none; 144: fits; 128: would fit too.
        WriteGlyphFont("tnr256o", {Outlined('b', true, 400), Outlined('p', false, 400)});
        WriteGlyphFont("tnr144o", {Outlined('b', true), Outlined('p', false)});
        WriteGlyphFont("tnr144", {Solid('b'), Solid('p')});
        WriteGlyphFont("tnr128o", {Outlined('b', true), Outlined('p', false)});
        std::string pieces = "b, p, b, p, b, p, b, p, b, p, b, p, b";
        Lesson("<game4 characters=\"" + pieces + "\" colors=\"0x102030, 123, -1, x\"/>");
    }
    // Drops piece i wholly inside member m's area.
    static void Into(CLxRPGameScr4* game, int piece, int m) {
        RECT area;
        ASSERT_TRUE(game->MemberArea(m, &area));
        char name[16];
        std::snprintf(name, sizeof name, "%02d", piece);
        Drop(game, name, area.left + 4, area.bottom - 12);
    }
};

TEST_F(PairGame4, TheLargestOutlineFontThatExistsAndFitsIsUsed) {
    auto game = Open<CLxRPGameScr4>();
    EXPECT_STREQ(game->GetName(), "RPGame4");
    EXPECT_EQ(game->OutlineFont(), "data\\fonts\\tnr144o.xml");
    // Two members of 20: c = (660 - 40) / 3; b at c, p ending at 660 - c.
    EXPECT_EQ(game->MemberRect(0).left, 206);
    EXPECT_EQ(game->MemberRect(1).right, 660 - 206);
    EXPECT_EQ(game->MemberRect(0).top, 344 - 20);
    EXPECT_EQ(Back(game.get(), 206, 344 - 20 + 5), 0u) << "the accent's outline in black";
    // None fits: the last tried.
    game.reset();
    WriteGlyphFont("tnr144o", {Outlined('b', true, 400), Outlined('p', false, 400)});
    WriteGlyphFont("tnr128o", {Outlined('b', true, 400), Outlined('p', false, 400)});
    delete g_pFontServer;
    g_pFontServer = new CLxFontServer;
    auto none = Open<CLxRPGameScr4>();
    EXPECT_EQ(none->OutlineFont(), "data\\fonts\\tnr128o.xml");
}

TEST_F(PairGame4, BandsOfAnOutline) {
    const struct {
        GlyphRows glyph;
        int bands[4];
    } cases[] = {
        {Outlined('b', true), {3, 7, 11, 35}},
        {Outlined('p', false), {0, 0, 9, 37}},
        {GlyphRows{'x', 20, std::vector<std::vector<std::pair<int, int>>>(40)}, {0, 0, 0, 0}},
        {Solid('y'), {0, 0, 0, 39}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.glyph.code);
        WriteGlyphFont("bands", {c.glyph});
        CLxRLEFonts font;
        ASSERT_TRUE(font.Load("data\\fonts\\bands.xml"));
        CLxSurface* surface = CreateSurface(100, 100);
        FillRectRGB(surface, nullptr, 0xFFFFFF);
        {
            CLxFontPen pen(&font, surface);
            pen->DrawChar(c.glyph.code, 0, 30, 50);
        }
        int bands[4];
        FindBands(surface, RECT{30, 50, 50, 90}, bands);
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(bands[b], c.bands[b] ? 50 + c.bands[b] : 0) << b;
        FreeSurface(&surface);
    }
}

TEST_F(PairGame4, PiecesTakeTheirColours) {
    auto game = Open<CLxRPGameScr4>();
    EXPECT_EQ(game->PieceCount(), 12) << "the thirteenth is cut";
    EXPECT_EQ(game->PieceColourAt(0), 0x102030u);
    EXPECT_EQ(game->PieceColourAt(1), 123u);
    EXPECT_EQ(game->PieceColourAt(2), kGreen) << "-1: its letter's colour";
    EXPECT_EQ(game->PieceColourAt(3), kGreen) << "not a number: its letter's colour";
    const std::set<uint32_t> channels = {31, 63, 95, 127, 159, 191};
    for (int i = 4; i < 12; ++i) {
        uint32_t c = game->PieceColourAt(i);
        EXPECT_TRUE(channels.count(c >> 16) && channels.count(c >> 8 & 0xFF) &&
                    channels.count(c & 0xFF))
            << std::hex << c;
    }
    // Piece i at x = 40 + 640 i / 12 - w / 2, y = 524.
    EXPECT_EQ(Rect(game.get(), "sprites.00").left, 40 - 3);
    EXPECT_EQ(Rect(game.get(), "sprites.06").left, 40 + 320 - 3);
    EXPECT_EQ(Rect(game.get(), "sprites.06").top, 524);
}

TEST_F(PairGame4, DropsOnTheMembers) {
    const struct {
        int piece, member;
        int dx, dy; // moved from a place wholly inside the area
        bool in;
    } cases[] = {
        {0, 0, 0, 0, true},   // b into b
        {1, 1, 0, 0, true},   // p into p
        {1, 0, 0, 0, false},  // p into b
        {0, 0, 16, 0, false}, // half out on the right
        {0, 0, 0, 10, false}, // half out below
        {0, 1, 0, 0, false},  // b into p
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.piece * 10 + c.member);
        auto game = Open<CLxRPGameScr4>();
        RECT area;
        ASSERT_TRUE(game->MemberArea(c.member, &area));
        char name[16];
        std::snprintf(name, sizeof name, "%02d", c.piece);
        RECT home = Rect(game.get(), std::string("sprites.") + name);
        Drop(game.get(), name, area.left + 4 + c.dx, area.bottom - 12 + c.dy);
        EXPECT_EQ(game->Filled(c.member), c.in ? 1 : 0);
        CLxControl* piece = game->Piece(c.piece);
        EXPECT_EQ(piece->Is(kVisible), !c.in);
        if (!c.in) {
            EXPECT_EQ(Rect(game.get(), std::string("sprites.") + name).left, home.left);
        }
    }
}

TEST_F(PairGame4, EachRightPieceFillsTheMemberFurther) {
    auto game = Open<CLxRPGameScr4>();
    const RECT b = game->MemberRect(0);
    int inside = b.left + 10; // within the ring
    uint32_t background = Back(game.get(), inside, b.top + 33);
    // b: B3 = 35, B2 = 11, B1 = 7, B0 = 3; six pieces: 4 rows of the body and about
    // two thirds of a row of the accent each (counted from its top).
    for (int c = 1; c <= 6; ++c) {
        SCOPED_TRACE(c);
        Into(game.get(), 2 * (c - 1), 0);
        ASSERT_EQ(game->Filled(0), c);
        int lowTop = b.top + 35 - 24 * c / 6;
        EXPECT_EQ(Back(game.get(), inside, b.top + 33), kGreen);
        if (lowTop > b.top + 13) {
            EXPECT_EQ(Back(game.get(), inside, lowTop), kGreen);
            EXPECT_EQ(Back(game.get(), inside, lowTop - 1), background);
        }
        EXPECT_EQ(Back(game.get(), inside, b.top + 3), kGreen) << "the accent's first row";
        EXPECT_EQ(Back(game.get(), inside, b.top + 2), background);
    }
    EXPECT_EQ(Back(game.get(), b.left, b.top + 20), 0u) << "the outline stays black";
    EXPECT_FALSE(game->Ended());
}

TEST_F(PairGame4, TwelveRightPiecesEndTheGame) {
    auto game = Open<CLxRPGameScr4>();
    for (int i = 0; i < 12; ++i) {
        EXPECT_FALSE(game->Ended()) << i;
        Into(game.get(), i, i % 2);
    }
    EXPECT_EQ(game->Filled(0), 6);
    EXPECT_EQ(game->Filled(1), 6);
    EXPECT_TRUE(game->Ended());
}

TEST_F(PairGame4, WithoutOutlineFontsTheBoardHasNoMembers) {
    for (const char* name : {"tnr256o", "tnr144o", "tnr128o"})
        std::remove(("data/fonts/" + std::string(name) + ".xml").c_str());
    auto game = Open<CLxRPGameScr4>();
    EXPECT_EQ(game->OutlineFont(), "");
    RECT area;
    EXPECT_FALSE(game->MemberArea(0, &area));
    Drop(game.get(), "00", 200, 300);
    EXPECT_EQ(Rect(game.get(), "sprites.00").top, 524) << "the piece went home";
}

TEST(PairGame4Fill, BandsFromTheBottomAndTheAccentFromTheTop) {
    const struct {
        int c;
        int lowestUnfilled, accentLast; // rows within the 40-row rectangle
    } cases[] = {{1, 30, 3}, {3, 22, 5}, {6, 10, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.c);
        CLxSurface* background = CreateSurface(20, 40);
        FillRectRGB(background, nullptr, 0xFFFFFF);
        CLxSurface* fill = CreateSurface(20, 40);
        FillRectRGB(fill, nullptr, 0x00FF00);
        fill->SetColorKey(ColorToPixel(fill, 0));
        const int bands[4] = {3, 7, 11, 35};
        FillMember(background, RECT{0, 0, 20, 40}, bands, fill, c.c, 6);
        EXPECT_EQ(GetPixel(background, 5, 35), 0x00FF00u);
        EXPECT_EQ(GetPixel(background, 5, 36), 0xFFFFFFu);
        EXPECT_EQ(GetPixel(background, 5, c.lowestUnfilled + 1), 0x00FF00u);
        EXPECT_EQ(GetPixel(background, 5, c.lowestUnfilled), 0xFFFFFFu);
        EXPECT_EQ(GetPixel(background, 5, 3), 0x00FF00u);
        EXPECT_EQ(GetPixel(background, 5, c.accentLast), 0x00FF00u);
        EXPECT_EQ(GetPixel(background, 5, c.accentLast + 1), 0xFFFFFFu);
        EXPECT_EQ(GetPixel(background, 5, 2), 0xFFFFFFu);
        FreeSurface(&background);
        FreeSurface(&fill);
    }
}

// ---- game 5 ----

TEST_F(PairGames, Game5TurnsPagesOfLettersThenSyllables) {
    Lesson("<game5a characters=\"'b, p', 'p, b, b', 'b'\"/>"
           "<game5b words=\"'ba, pa', 'bo, po', 'ab'\"/>");
    auto game = Open<CLxRPGameScr5>();
    EXPECT_STREQ(game->GetName(), "RPGame5s");
    EXPECT_TRUE(Control(game.get(), "t.tovabb")->m_nFlags & kVisible);
    // Two members: part a pages 0 to 2, part b pages 0 to 5, then the end.
    const struct {
        bool partB;
        int page;
    } pages[] = {{false, 0}, {false, 1}, {false, 2}, {true, 0}, {true, 1},
                 {true, 2},  {true, 3},  {true, 4},  {true, 5}};
    for (const auto& p : pages) {
        SCOPED_TRACE(p.page);
        EXPECT_EQ(game->PartB(), p.partB);
        EXPECT_EQ(game->Page(), p.page);
        EXPECT_FALSE(game->Ended());
        Click(game.get(), "t.tovabb");
    }
    EXPECT_TRUE(game->Ended());
}

TEST_F(PairGames, Game5DrawsLettersAndSyllablesInTheirColours) {
    Lesson("<game5a characters=\"'b, p, b'\"/><game5b words=\"'ba, pa'\"/>");
    auto game = Open<CLxRPGameScr5>();
    // b (6 wide) centred on 40, p (5 wide) on 330, lower case at 300, upper at 364.
    EXPECT_EQ(Back(game.get(), 40, 302), kRed);
    EXPECT_EQ(Back(game.get(), 330, 302), kRed);
    EXPECT_EQ(Back(game.get(), 620, 366), kRed);
    EXPECT_EQ(Back(game.get(), 200, 302), kBackground);
    for (int i = 0; i < 3; ++i)
        Click(game.get(), "t.tovabb");
    ASSERT_TRUE(game->PartB());
    // "ba" centred on 40: b (6) 2 pixels apart from a (4 + 97 % 3 = 5): 13 wide.
    EXPECT_EQ(Back(game.get(), 40 - 6 + 1, 302), kGreen);
    EXPECT_EQ(Back(game.get(), 40 - 6 + 8 + 1, 302), kRed);
    EXPECT_EQ(Back(game.get(), 40 - 6 + 1, 366), kGreen) << "B";
}

TEST_F(PairGames, Game5PartsWithoutMaterial) {
    const struct {
        const char* material;
        bool startsInPartB;
        int turns; // to the end
    } cases[] = {
        {"<game5a characters=\"'b'\"/>", false, 3},
        {"<game5b words=\"'ba'\"/>", true, 6},
        {"", true, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.material);
        Lesson(c.material);
        auto game = Open<CLxRPGameScr5>();
        EXPECT_EQ(game->PartB(), c.startsInPartB);
        for (int i = 0; i < c.turns; ++i) {
            EXPECT_FALSE(game->Ended()) << i;
            Click(game.get(), "t.tovabb");
        }
        EXPECT_TRUE(game->Ended());
    }
}

TEST_F(PairGames, Game5ListsAreCutToTheirTables) {
    std::string letters, groups;
    for (int i = 0; i < 15; ++i)
        letters += (i ? ", " : "") + std::string("b");
    for (int i = 0; i < 6; ++i)
        groups += (i ? ", '" : "'") + letters + "'";
    Lesson("<game5a characters=\"" + groups + "\"/><game5b words=\"'bab, p'\"/>");
    auto game = Open<CLxRPGameScr5>();
    EXPECT_EQ(game->Group(false, 0).size(), 12u);
    EXPECT_EQ(game->Group(false, 3).size(), 12u);
    EXPECT_TRUE(game->Group(false, 4).empty());
    EXPECT_EQ(game->Group(true, 0), (std::vector<std::string>{"ba", "p"}));
}

// ---- game 6 ----

TEST_F(PairGames, Game6BoardHasWordsWithGapsAndSpritesAbove) {
    Lesson("<game6a words=\"'bab, pap', 'dob, kap, tip'\"/>");
    auto game = Open<CLxRPGameScr6>();
    EXPECT_STREQ(game->GetName(), "RPGame6");
    EXPECT_EQ(game->WordCount(0), 2);
    EXPECT_EQ(game->WordCount(1), 3);
    // Rows at (300 r + 40) / 2 + 264; the first word from x = 24.
    EXPECT_EQ(game->Gap(0, 0).x, 24);
    EXPECT_EQ(game->Gap(0, 0).y, 284);
    EXPECT_EQ(game->Gap(1, 0).y, 434);
    // The last letter of "dob" is missing in row 1: after d (5) and o (4 + 111 % 3 = 4).
    EXPECT_EQ(game->Gap(1, 0).x, 24 + 7 + 6);
    RECT word = game->WordRect(0, 0);
    EXPECT_EQ(word.left, 20);
    EXPECT_EQ(word.top, 280);
    EXPECT_NE(Control(game.get(), "sprites.sb12"), nullptr);
    EXPECT_EQ(Rect(game.get(), "sprites.07").top, 180);
    EXPECT_EQ(Rect(game.get(), "sprites.17").left, (290 + 580) / 2 + 48 - 2);
    EXPECT_EQ(Control(game.get(), "sprites.08"), nullptr);
}

TEST_F(PairGames, Game6DropsIntoGaps) {
    const struct {
        const char* sprite;
        int row, word;
        bool placed;
    } cases[] = {
        {"00", 0, 0, true},  // b into _ab
        {"10", 0, 0, false}, // p into _ab
        {"10", 0, 1, true},  // p into _ap
        {"00", 0, 2, false}, // b into _ob: it has a b, but p is missing
        {"00", 1, 0, true},  // b into do_
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.sprite) + std::to_string(c.row) + std::to_string(c.word));
        Lesson("<game6a words=\"'bab, pap, pob', 'dob, kap'\"/>");
        auto game = Open<CLxRPGameScr6>();
        RECT word = game->WordRect(c.row, c.word);
        Drop(game.get(), c.sprite, word.left + 6, word.top + 4);
        EXPECT_EQ(game->Filled(c.row, c.word), c.placed);
        RECT r = Rect(game.get(), std::string("sprites.") + c.sprite);
        if (c.placed) {
            EXPECT_EQ(r.left, game->Gap(c.row, c.word).x + 2);
            EXPECT_EQ(r.top, game->Gap(c.row, c.word).y);
            EXPECT_FALSE(game->MemberSprite(c.sprite[0] - '0', 0)->Is(kEnabled));
        } else {
            EXPECT_EQ(r.top, 180);
        }
    }
}

TEST_F(PairGames, Game6EndsWhenEveryGapIsFilled) {
    Lesson("<game6a words=\"'bab, pap', 'dob'\"/>");
    auto game = Open<CLxRPGameScr6>();
    const struct {
        const char* sprite;
        int row, word;
    } drops[] = {{"00", 0, 0}, {"10", 0, 1}, {"01", 1, 0}};
    for (const auto& d : drops) {
        EXPECT_FALSE(game->Ended());
        RECT word = game->WordRect(d.row, d.word);
        Drop(game.get(), d.sprite, word.left + 6, word.top + 4);
        EXPECT_TRUE(game->Filled(d.row, d.word));
    }
    EXPECT_TRUE(game->Ended());
}

TEST_F(PairGames, Game6ListsAreCutToTheirTables) {
    std::string row;
    for (int i = 0; i < 10; ++i)
        row += (i ? ", " : "") + std::string("bababababa");
    Lesson("<game6a words=\"'" + row + "', 'bab'\"/>");
    auto game = Open<CLxRPGameScr6>();
    EXPECT_EQ(game->WordCount(0), 8);
    EXPECT_EQ(game->WordCount(1), 1);
    // A word of ten letters keeps seven: its last gap is the seventh letter.
    RECT first = game->WordRect(0, 0);
    EXPECT_EQ(first.right - first.left, 4 * (6 + 2) + 3 * (5 + 2) + 12);
}

} // namespace
