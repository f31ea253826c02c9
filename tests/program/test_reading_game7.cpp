// Reading game 7, "words and sentences": where the columns of the word table start, the
// words drawn in rows, the sentences in their place after "t.tovabb", the lists cut to
// eight rows of six words and eight sentences of 63 characters, and the seventh game's
// button opening game 7 only when the lesson's seventh game is reading game 7.
#include <gtest/gtest.h>

#include <memory>

#include "reading/LxRColoringScr.h"
#include "reading/LxRGameScr7.h"
#include "reading/LxReadingScreens.h"
#include "shell/LxScreenSwitch.h"
#include "shell/LxScreenTable.h"
#include "shell/LxWindowProc.h"
#include "test_reading_games_support.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

using namespace reading_test;

namespace {

constexpr uint32_t kTextColour = 0x1020C0;

TEST(Game7Columns, TheSpaceLeftIsSharedBetweenTheColumns) {
    const struct {
        std::vector<int> widths, starts;
    } cases[] = {
        {{100, 150, 90}, {20, 270, 570}}, {{}, {}}, {{200}, {20}}, {{100, 100}, {20, 560}},
        {{400, 400}, {20, 420}}, // wider than the table: side by side, not over each other
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColumnStarts(c.widths), c.starts) << c.widths.size();
}

class Game7 : public ReadingGamesTest {
  protected:
    void SetUp() override {
        ReadingGamesTest::SetUp();
        std::string rows, sentences;
        for (int r = 0; r < 9; ++r)
            rows += std::string(r ? ", " : "") + "'maci, alma, t\xF6k, iglu, sas, m\xE9h, malac'";
        for (int k = 0; k < 9; ++k)
            sentences += std::string(k ? ", " : "") + "Mama " + std::string(k * 10, 'm') + ".";
        WriteCourse("<session character=\"a\"><game7 words=\"alma\" sentences=\"Alma.\"/>"
                    "</session>\n"
                    "<session character=\"m\"><game7 words=\"" +
                    rows + "\" sentences=\"" + sentences +
                    "\"/></session>\n"
                    "<session character=\"i\xED\"><coloring/></session>\n"
                    "<session character=\"t\"><game7/></session>\n");
    }
    std::unique_ptr<CLxRGameScr7> Open(int entry) {
        Choose(entry);
        return std::make_unique<CLxRGameScr7>("data\\olvfej.xml");
    }
    static int Inked(CLxScreen* s, int y) {
        int n = 0;
        for (int x = 0; x < 666; ++x)
            for (int dy = 0; dy < 8; ++dy)
                n += Back(s, x, y + dy) == kTextColour;
        return n;
    }
};

TEST_F(Game7, TheWordsStandInRowsAndTheSentencesReplaceThem) {
    auto screen = Open(1); // m
    EXPECT_STREQ(screen->GetName(), "RGame7");
    EXPECT_TRUE(Control(screen.get(), "fo.jatek7")->m_nFlags & kSelected);
    EXPECT_TRUE(Control(screen.get(), "t.tovabb")->m_nFlags & kVisible);
    // Eight rows of words, the ninth left out; the first word at (20, 168).
    EXPECT_EQ(Back(screen.get(), 20, 168), kTextColour);
    for (int r = 0; r < 8; ++r)
        EXPECT_GT(Inked(screen.get(), 168 + 48 * r), 0) << r;
    EXPECT_EQ(Inked(screen.get(), 168 + 48 * 8), 0);
    // Six columns: the last starts where the table ends less its width.
    int inked = 0;
    for (int x = 600; x < 666; ++x)
        inked += Back(screen.get(), x, 168) == kTextColour;
    EXPECT_GT(inked, 0);

    ASSERT_EQ(screen->Sentences().size(), 8u);
    EXPECT_EQ(screen->Sentences()[7].size(), 63u);
    EXPECT_EQ(screen->Sentences()[1], "Mama mmmmmmmmmm.");
    CLxMouseEvent click(Control(screen.get(), "t.tovabb"), 0, 0, kMouseClick, 1);
    EXPECT_EQ(screen->OnMouseEvent(&click), 0);
    // The area shows the "fo" group's passive picture with the sentences over it.
    EXPECT_EQ(Back(screen.get(), 660, 170), 0x000040u);
    EXPECT_EQ(Back(screen.get(), 20, 168), kTextColour);
    int mama = 0;
    for (int x = 20; x < 20 + 8 * 8; ++x)
        mama += Back(screen.get(), x, 168 + 48 * 7) == kTextColour;
    EXPECT_GT(mama, 0);
}

TEST_F(Game7, ALessonWithoutMaterialShowsAnEmptyTable) {
    auto screen = Open(3); // t
    EXPECT_TRUE(screen->Sentences().empty());
    EXPECT_EQ(Inked(screen.get(), 168), 0);
    CLxMouseEvent click(Control(screen.get(), "t.tovabb"), 0, 0, kMouseClick, 1);
    screen->OnMouseEvent(&click);
    EXPECT_EQ(Inked(screen.get(), 168), 0);
}

class Game7Window : public Game7 {
  protected:
    void SetUp() override {
        Game7::SetUp();
        ClearScreenTable();
        RegisterReadingScreens();
        LxSetMessageHandler(WindowProc);
    }
    void TearDown() override {
        DeleteAllScreens();
        ClearScreenTable();
        Game7::TearDown();
    }
};

TEST_F(Game7Window, TheSeventhButtonOpensGameSevenOnlyForALessonThatHasIt) {
    const struct {
        int entry;
        bool game7, coloring;
    } cases[] = {
        {1, true, false},  // m: game 7
        {2, false, true},  // ií: colouring
        {4, false, false}, // s: no seventh game; the message does nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        DeleteAllScreens();
        Choose(c.entry);
        WindowProc(1032, 0, 0);
        EXPECT_EQ(dynamic_cast<CLxRGameScr7*>(g_pActiveScreen) != nullptr, c.game7);
        EXPECT_EQ(dynamic_cast<CLxRColoringScr*>(g_pActiveScreen) != nullptr, c.coloring);
    }
}

} // namespace
