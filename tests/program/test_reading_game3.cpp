// Reading game 3, "find the right letters": which group serves which row, the board of a
// consonant and of a vowel pair, a row closed exactly when its right items are ticked,
// the change-over to part b after eight window-timer ticks, the end, a lesson without
// part a, and lists longer than a row or a single item.
#include <gtest/gtest.h>

#include <memory>

#include "reading/LxRGameScr3.h"
#include "test_reading_games_support.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"

using namespace reading_test;

namespace {

using Groups = std::vector<std::vector<std::string>>;

TEST(Game3Rows, WhichGroupServesWhichRow) {
    const Groups one{{"0", "1"}}, two{{"0"}, {"1"}}, three{{"0"}, {"1"}, {"2"}};
    const struct {
        const char* name;
        Groups groups;
        int rows;
        bool pair;
        Groups rowsGot;
    } cases[] = {
        {"none", {}, 2, false, {{}, {}}},
        {"one list serves both rows", one, 2, false, {{"0", "1"}, {"0", "1"}}},
        {"a group per row", two, 2, false, {{"0"}, {"1"}}},
        {"a pair's two groups serve two rows each", two, 4, true, {{"0"}, {"0"}, {"1"}, {"1"}}},
        {"a pair's third row is copied", three, 4, true, {{"0"}, {"1"}, {"2"}, {"2"}}},
        {"one group serves a pair's four rows", one, 4, true, {one[0], one[0], one[0], one[0]}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RowMaterial(c.groups, c.rows, c.pair), c.rowsGot);
    }
}

TEST(Game3Rows, ItemsSpreadOverTheRowAndASingleOneStandsInTheMiddle) {
    const struct {
        int k, n, span, x;
    } cases[] = {{0, 3, 520, 0},   {1, 3, 520, 260}, {2, 3, 520, 520},
                 {0, 1, 520, 260}, {3, 8, 420, 180}, {0, 0, 420, 210}};
    for (const auto& c : cases)
        EXPECT_EQ(Spread(c.k, c.n, c.span), c.x) << c.k << " of " << c.n;
}

class Game3 : public ReadingGamesTest {
  protected:
    void SetUp() override {
        ReadingGamesTest::SetUp();
        for (const char* name : {"tnr32r", "tnr32o"})
            WriteReadingFont(name);
        WriteCourse("<session character=\"a\"><game3a/></session>\n"
                    "<session character=\"m\"><game3a characters=\"'0, 4, 0', '2, 0'\"/>"
                    "<game3b characters=\"'m, a, m, t', 'm, s'\"/></session>\n"
                    "<session character=\"i\xED\"><game3a characters=\"'0, 1', '0, 2, 0'\"/>"
                    "</session>\n"
                    "<session character=\"t\"><game3b characters=\"'t, a', 't'\"/></session>\n"
                    "<session character=\"s\"><game3a characters=\"0, 1, 2, 3, 4, 5, 6, 7, 8, 9, "
                    "10, 11, 12, 13, 14, 15, 0, 0, 0, 0\"/><game3b characters=\"'s'\"/>"
                    "</session>\n");
    }
    std::unique_ptr<CLxRGameScr3> Open(int entry) {
        Choose(entry);
        return std::make_unique<CLxRGameScr3>("data\\olvfej.xml");
    }
    static void Ticks(CLxRGameScr3* screen, int n) {
        for (int i = 0; i < n; ++i) {
            g_nNow += 100;
            CLxTimerEvent e(0, 275, g_nNow);
            screen->OnTimerEvent(&e);
        }
    }
    static void ClickNothing(CLxScreen* s) {
        CLxMouseEvent e(nullptr, 0, 0, kMouseClick, 1);
        s->OnMouseEvent(&e);
    }
    static RECT Bounds(CLxScreen* s, const char* name) {
        RECT r{};
        if (CLxControl* c = Control(s, name)) c->GetBounds(&r);
        return r;
    }
};

TEST_F(Game3, TheBoardOfAConsonant) {
    auto screen = Open(1); // m
    EXPECT_STREQ(screen->GetName(), "RGame3");
    EXPECT_TRUE(Control(screen.get(), "fo.jatek3")->m_nFlags & kSelected);
    EXPECT_EQ(screen->RowCount(), 2);
    EXPECT_FALSE(screen->InPartB());
    // Three items spread over 520 pixels: boxes 48 wide centred on 100, 360 and 620.
    const struct {
        const char* name;
        int left, top;
        bool enabled;
    } boxes[] = {{"c0.00", 76, 300, true},
                 {"c0.01", 336, 300, true},
                 {"c0.02", 596, 300, true},
                 {"c1.00", 76, 364, false},
                 {"c1.01", 596, 364, false}};
    for (const auto& b : boxes) {
        RECT r = Bounds(screen.get(), b.name);
        EXPECT_EQ(r.left, b.left) << b.name;
        EXPECT_EQ(r.top, b.top) << b.name;
        EXPECT_EQ(r.bottom - r.top, 48) << b.name;
        EXPECT_EQ((Control(screen.get(), b.name)->m_nFlags & kEnabled) != 0, b.enabled) << b.name;
    }
    EXPECT_EQ(Control(screen.get(), "c0.03"), nullptr);
    // The rows' strips are darkened; the background between them is not.
    EXPECT_EQ(Back(screen.get(), 300, 302), 0x1C1C39u); // 0x202040 × 0.9
    EXPECT_EQ(Back(screen.get(), 300, 356), kBackground);
}

TEST_F(Game3, ARowClosesWhenExactlyItsRightItemsAreTicked) {
    const struct {
        std::vector<const char*> ticks;
        bool closed;
    } cases[] = {
        {{}, false},
        {{"c0.00"}, false},
        {{"c0.00", "c0.02"}, true},
        {{"c0.00", "c0.01", "c0.02"}, false}, // the turned letter is ticked too
        {{"c0.01"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks.size());
        auto screen = Open(1);
        for (const char* name : c.ticks)
            Click(screen.get(), name);
        if (c.ticks.empty()) ClickNothing(screen.get());
        EXPECT_EQ(screen->CurrentRow(), c.closed ? 1 : 0);
        int flags = Control(screen.get(), "c0.00")->m_nFlags;
        if (c.closed)
            EXPECT_EQ(flags, kSelected | kVisible); // ticked for good
        else
            EXPECT_TRUE(flags & kEnabled);
        EXPECT_EQ((Control(screen.get(), "c1.00")->m_nFlags & kEnabled) != 0, c.closed);
    }
}

TEST_F(Game3, AClosedRowShowsOnlyItsRightItemsInTheLetterColour) {
    auto screen = Open(1);
    CLxGroup* row = screen->GetGUI()->FindGroup("c0");
    ASSERT_NE(row, nullptr);
    CLxSurface* closed = row->GetPicture(kSelected | kVisible);
    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(GetPixel(closed, 100, 24), 0x04A820u); // code 0, drawn straight
    EXPECT_EQ(GetPixel(closed, 620, 24), 0x04A820u);
    EXPECT_EQ(GetPixel(closed, 360, 24), 0x1C1C39u); // the turned one is left out
    // The passive picture shows every item in dark blue.
    EXPECT_EQ(GetPixel(row->GetPicture(kEnabled | kVisible), 360, 24), 0x0000A0u);
}

TEST_F(Game3, PartBFollowsEightWindowTimerTicksAfterPartA) {
    auto screen = Open(1);
    Click(screen.get(), "c0.00");
    Click(screen.get(), "c0.02");
    Click(screen.get(), "c1.01"); // the second row: codes 2, 0
    EXPECT_EQ(screen->CurrentRow(), 2);
    EXPECT_FALSE(screen->Ended());
    const struct {
        int ticks, delay;
        bool partB;
    } steps[] = {{0, 8, false}, {7, 1, false}, {1, 0, true}, {3, 0, true}};
    for (const auto& s : steps) {
        Ticks(screen.get(), s.ticks);
        EXPECT_EQ(screen->ChangeOverDelay(), s.delay);
        EXPECT_EQ(screen->InPartB(), s.partB);
    }
    EXPECT_EQ(screen->CurrentRow(), 0);
    EXPECT_EQ(screen->ItemCount(0), 4);
    EXPECT_EQ(screen->ItemCount(1), 2);
    EXPECT_EQ(Control(screen.get(), "c0.04"), nullptr);
    // Part b: the m's of row 0, then the capital M of row 1 (its letters are capitals).
    Click(screen.get(), "c0.00");
    Click(screen.get(), "c0.02");
    EXPECT_EQ(screen->CurrentRow(), 1);
    EXPECT_FALSE(screen->Ended());
    Click(screen.get(), "c1.01"); // S is not M
    EXPECT_EQ(screen->CurrentRow(), 1);
    Click(screen.get(), "c1.01");
    Click(screen.get(), "c1.00");
    EXPECT_TRUE(screen->Ended());
    EXPECT_EQ(screen->ChangeOverDelay(), 0);
}

TEST_F(Game3, ALessonWithoutPartAPlaysPartBAndALessonWithoutBEndsAfterA) {
    auto b = Open(3); // t: part b only
    EXPECT_TRUE(b->InPartB());
    Click(b.get(), "c0.00");
    Click(b.get(), "c1.00"); // row 1 takes its own group: T
    EXPECT_TRUE(b->Ended());
    EXPECT_EQ(b->ChangeOverDelay(), 0);

    auto none = Open(0); // a: an empty part a and no part b
    EXPECT_EQ(Control(none.get(), "c0.00"), nullptr);
    ClickNothing(none.get()); // the empty rows close one click at a time
    ClickNothing(none.get());
    EXPECT_TRUE(none->Ended());
}

TEST_F(Game3, AVowelPairHasFourRowsAndItsSecondGroupServesTheLongMember) {
    auto screen = Open(2); // ií
    EXPECT_EQ(screen->RowCount(), 4);
    const int counts[] = {2, 2, 3, 3};
    const int tops[] = {240, 304, 400, 464};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(screen->ItemCount(r), counts[r]) << r;
        std::string name = "c" + std::to_string(r) + ".00";
        EXPECT_EQ(Bounds(screen.get(), name.c_str()).top, tops[r]) << r;
    }
}

TEST_F(Game3, RowsAreCutToTheirTablesAndASingleItemIsCentred) {
    auto screen = Open(4); // s: twenty codes, one part b letter
    EXPECT_EQ(screen->ItemCount(0), CLxRGameScr3::kMaxCodes);
    EXPECT_EQ(Control(screen.get(), "c0.08"), nullptr);
    // Rows 0 and 1 both take the eight codes: the right ones are 0 only.
    Click(screen.get(), "c0.00");
    Click(screen.get(), "c1.00");
    Ticks(screen.get(), 8);
    ASSERT_TRUE(screen->InPartB());
    EXPECT_EQ(screen->ItemCount(0), 1);
    RECT r = Bounds(screen.get(), "c0.00");
    EXPECT_EQ((r.left + r.right) / 2, 100 + 260); // in the middle of the row
}

} // namespace
