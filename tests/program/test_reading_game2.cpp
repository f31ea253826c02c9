// Reading game 2, "mark the letter": the box shapes of a syllabified word, the board of
// a single letter and of a vowel pair, right and wrong ticks in a word, the tick over a
// right word, the end once every word is right, a lesson without material, a word the
// catalogue lacks, and lists longer than the board cut to it.
#include <gtest/gtest.h>

#include <memory>

#include "reading/LxRGameScr2.h"
#include "test_reading_games_support.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

using namespace reading_test;

namespace {

class Game2 : public ReadingGamesTest {
  protected:
    std::unique_ptr<CLxRGameScr2> Open(int entry) {
        Choose(entry);
        return std::make_unique<CLxRGameScr2>("data\\olvfej.xml");
    }
    void SetUp() override {
        ReadingGamesTest::SetUp();
        WriteCourse("<session character=\"a\"><game2/></session>\n"
                    "<session character=\"m\"><game2 words=\"maci, alma, t\xF6k, nincs, "
                    "malac\"/></session>\n"
                    "<session character=\"i\xED\"><game2 words=\"'iglu, alma, t\xF6k', "
                    "'\xEDj'\"/></session>\n");
    }
};

TEST(SyllableShapes, StartEndAloneAndInside) {
    const struct {
        const char* word;
        std::vector<int> shapes; // per code; '|' places are skipped (-1)
    } cases[] = {
        {"ma|ci", {1, 2, -1, 1, 2}},
        {"t\xF6k", {1, 0, 2}},
        {"a|lma", {3, -1, 1, 0, 2}},
        {"szem|\xFC|veg", {1, 0, 2, -1, 3, -1, 1, 0, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        std::string codes = TextToCodes(c.word);
        ASSERT_EQ(codes.size(), c.shapes.size());
        for (size_t j = 0; j < codes.size(); ++j)
            if (c.shapes[j] >= 0) {
                EXPECT_EQ(SyllableShape(codes, j), c.shapes[j]) << j;
            }
    }
}

TEST_F(Game2, TheBoardOfASingleLetter) {
    auto screen = Open(1); // m
    EXPECT_STREQ(screen->GetName(), "RGame2");
    EXPECT_EQ(screen->RowCount(), 1);
    EXPECT_TRUE(Control(screen.get(), "fo.jatek2")->m_nFlags & kSelected);
    // "ma|ci": four boxes in a line centred under the first picture (x 8..168).
    const char* boxes[] = {"c0.s_0_0", "c0.s_0_1", "c0.s_0_3", "c0.s_0_4"};
    int x = 8 + 80 - 8 * 4;
    for (const char* name : boxes) {
        CLxControl* box = Control(screen.get(), name);
        ASSERT_NE(box, nullptr) << name;
        RECT r;
        box->GetBounds(&r);
        EXPECT_EQ(r.left, x) << name;
        EXPECT_EQ(r.top, 400) << name;
        x += 16;
    }
    EXPECT_EQ(Control(screen.get(), "c0.s_0_2"), nullptr); // the syllable mark has no box
    // The pictures stand above the row, 164 pixels apart; the fifth word is not shown.
    EXPECT_EQ(Back(screen.get(), 8 + 80, 400 - 84), PictureColour(0));
    EXPECT_EQ(Back(screen.get(), 8 + 164 + 80, 400 - 84), PictureColour(1));
    EXPECT_EQ(Control(screen.get(), "c0.s_4_0"), nullptr);
}

TEST_F(Game2, AWordIsRightWhenExactlyItsLettersAreTicked) {
    const struct {
        std::vector<const char*> ticks;
        bool right;
    } cases[] = {
        {{}, false},
        {{"c0.s_0_0"}, true},
        {{"c0.s_0_1"}, false},
        {{"c0.s_0_3", "c0.s_0_0"}, false}, // a word closes once right: the wrong tick first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks.size());
        auto screen = Open(1);
        for (const char* name : c.ticks)
            Click(screen.get(), name);
        if (c.ticks.empty()) Click(screen.get(), "c0.s_1_3"); // a click elsewhere
        EXPECT_EQ(screen->WordDone(0, 0), c.right);
        EXPECT_EQ(Back(screen.get(), 8 + 80, 400 - 84) == kTick, c.right);
        CLxControl* box = Control(screen.get(), "c0.s_0_0");
        EXPECT_EQ((box->m_nFlags & kEnabled) == 0, c.right);
    }
}

TEST_F(Game2, TheGameEndsWhenEveryWordIsRight) {
    auto screen = Open(1);
    Click(screen.get(), "c0.s_0_0"); // maci
    EXPECT_FALSE(screen->WordDone(0, 1)) << "alma is not ticked";
    EXPECT_FALSE(screen->Ended());
    Click(screen.get(), "c0.s_1_3"); // al|ma: the m; tök and nincs have none
    // The word without a picture still has its boxes, spelt from the word itself.
    EXPECT_NE(Control(screen.get(), "c0.s_3_0"), nullptr);
    EXPECT_TRUE(screen->WordDone(0, 2));
    EXPECT_TRUE(screen->WordDone(0, 3));
    EXPECT_TRUE(screen->Ended());
}

TEST_F(Game2, ALessonWithoutWordsEndsAtTheFirstClick) {
    auto screen = Open(0); // a
    EXPECT_FALSE(screen->Ended());
    CLxMouseEvent e(nullptr, 0, 0, kMouseClick, 1);
    screen->OnMouseEvent(&e);
    EXPECT_TRUE(screen->Ended());
}

TEST_F(Game2, AVowelPairHasARowPerMember) {
    auto screen = Open(2); // ií: groups "iglu, alma, maci" and "íj"
    EXPECT_EQ(screen->RowCount(), 2);
    EXPECT_NE(Control(screen.get(), "c0.s_2_2"), nullptr); // tök in row 0
    CLxControl* ij = Control(screen.get(), "c1.s_0_0");
    ASSERT_NE(ij, nullptr);
    RECT r;
    ij->GetBounds(&r);
    EXPECT_EQ(r.top, 576);
    Click(screen.get(), "c0.s_0_0"); // iglu's i
    Click(screen.get(), "c1.s_0_0"); // íj's í
    EXPECT_TRUE(screen->WordDone(0, 0));
    EXPECT_TRUE(screen->WordDone(1, 0));
    EXPECT_TRUE(screen->Ended());
}

TEST_F(Game2, ListsLongerThanTheirTablesAreCut) {
    std::string many, groups;
    for (int i = 0; i < 40; ++i)
        many += (i ? ", " : "") + std::string("maci");
    WriteCourse("<session character=\"m\"><game2 words=\"" + many + "\"/></session>\n" +
                "<session character=\"t\"><game2 words=\"'" + many + "', '" + many +
                "', 'maci'\"/></session>\n");
    EXPECT_EQ(LessonGroups(Code("m"), "game2", "words", 3, 2, 16),
              (std::vector<std::vector<std::string>>{std::vector<std::string>(16, "maci")}));
    auto cut = LessonGroups(Code("t"), "game2", "words", 5, 2, 16);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0].size(), 16u);
    EXPECT_EQ(cut[1].size(), 16u);
    auto screen = Open(1);
    EXPECT_EQ(Control(screen.get(), "c0.s_4_0"), nullptr);
}

} // namespace

namespace {

// A game with two parts, as games 3 and 4 use the change-over delay.
class TwoParts : public CLxReadingGame {
  public:
    TwoParts() : CLxReadingGame("data\\olvfej.xml", 3, "RGame") {}
    void FinishPartA() { StartChangeOver(); }
    int changes = 0;

  protected:
    void ChangeOver() override { ++changes; }
};

TEST_F(Game2, TheChangeOverComesAfterEightWindowTimerTicks) {
    TwoParts game;
    EXPECT_TRUE(game.GetGUI()->FindControl("fo.jatek3")->m_nFlags & kSelected);
    const struct {
        int message, ticks, delay, changes;
    } steps[] = {
        {275, 3, 0, 0},  // no delay running: the timer does nothing
        {-1, 0, 8, 0},   // part a finished
        {1086, 5, 8, 0}, // the driver's events do not count
        {275, 7, 1, 0},  {275, 1, 0, 1}, {275, 4, 0, 1},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.delay);
        if (s.message < 0) game.FinishPartA();
        for (int i = 0; i < s.ticks; ++i) {
            g_nNow += 100;
            CLxTimerEvent e(0, s.message, g_nNow);
            game.OnTimerEvent(&e);
        }
        EXPECT_EQ(game.ChangeOverDelay(), s.delay);
        EXPECT_EQ(game.changes, s.changes);
    }
}

} // namespace
