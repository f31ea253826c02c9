// Reading game 4, "letters onto pictures": where the sprites stand, a letter dropped
// wholly inside its picture stays and one dropped half over it goes home, a picture is
// done exactly when it holds the sprites of its letter, the change-over to part b after
// eight window-timer ticks, the end, and a lesson with fewer pictures or a word the
// catalogue lacks.
#include <gtest/gtest.h>

#include <memory>

#include "reading/LxRGameScr4.h"
#include "test_reading_games_support.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

using namespace reading_test;

namespace {

TEST(SpriteRects, InsideAndOverlapping) {
    const RECT target{100, 100, 200, 200};
    const struct {
        RECT r;
        bool inside, overlaps;
    } cases[] = {
        {{100, 100, 200, 200}, true, true},  {{120, 120, 130, 130}, true, true},
        {{195, 120, 205, 130}, false, true}, {{200, 120, 210, 130}, false, false},
        {{90, 90, 100, 100}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LiesInside(c.r, target), c.inside) << c.r.left << "," << c.r.top;
        EXPECT_EQ(Overlaps(c.r, target), c.overlaps) << c.r.left << "," << c.r.top;
    }
}

class Game4 : public ReadingGamesTest {
  protected:
    void SetUp() override {
        ReadingGamesTest::SetUp();
        WriteCourse("<session character=\"a\"><game4a/></session>\n"
                    "<session character=\"m\"><game4a characters=\"m, a, m\"/>"
                    "<game4b characters=\"m, t\" words=\"maci, t\xF6k, alma, sas, malac\"/>"
                    "</session>\n"
                    "<session character=\"i\xED\"><game4a characters=\"i, \xED\"/></session>\n"
                    "<session character=\"t\"><game4b characters=\"t\" words=\"xilofon\"/>"
                    "</session>\n");
    }
    std::unique_ptr<CLxRGameScr4> Open(int entry) {
        Choose(entry);
        return std::make_unique<CLxRGameScr4>("data\\olvfej.xml");
    }
};

TEST_F(Game4, TheSpritesOfPartAStandInARowUnderTheCallPicture) {
    auto screen = Open(1); // m
    EXPECT_STREQ(screen->GetName(), "RGame4");
    ASSERT_EQ(screen->TargetCount(), 1);
    RECT target = screen->TargetRect(0);
    EXPECT_EQ(target.left, 230);
    EXPECT_EQ(Back(screen.get(), 330, 300), kPictureM); // the call picture fills the target
    const char* names[] = {"sprites.00", "sprites.01", "sprites.02"};
    const int centres[] = {120, 330, 540};
    for (int i = 0; i < 3; ++i) {
        RECT r = Where(screen.get(), names[i]);
        EXPECT_EQ(r.top, 440) << names[i];
        EXPECT_NEAR((r.left + r.right) / 2, centres[i], 1) << names[i];
    }
    EXPECT_EQ(Control(screen.get(), "sprites.03"), nullptr);
}

TEST_F(Game4, ALetterStaysWhereATargetTakesItWhollyAndGoesHomeOtherwise) {
    const struct {
        const char* name;
        int x, y;
        bool stays;
    } cases[] = {
        {"sprites.00", 300, 300, true},  // m wholly inside
        {"sprites.00", 428, 300, false}, // half over the right edge
        {"sprites.01", 300, 300, true},  // a wrong letter inside stays, the picture not done
        {"sprites.00", 300, 500, false}, // beside the picture
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        auto screen = Open(1);
        RECT home = Where(screen.get(), c.name);
        Drop(screen.get(), c.name, c.x, c.y);
        RECT now = Where(screen.get(), c.name);
        EXPECT_EQ(now.left, c.stays ? c.x : home.left);
        EXPECT_EQ(now.top, c.stays ? c.y : home.top);
        EXPECT_FALSE(screen->TargetDone(0));
    }
}

TEST_F(Game4, APictureIsDoneWithExactlyTheSpritesOfItsLetter) {
    auto screen = Open(1);
    Drop(screen.get(), "sprites.00", 260, 220);
    Drop(screen.get(), "sprites.01", 300, 300); // the a
    Drop(screen.get(), "sprites.02", 340, 260);
    EXPECT_FALSE(screen->TargetDone(0));
    Drop(screen.get(), "sprites.01", 120, 480); // taken out again: home
    EXPECT_TRUE(screen->TargetDone(0));
    EXPECT_EQ(Back(screen.get(), 231, 201), kTick);
    EXPECT_FALSE(Control(screen.get(), "sprites.00")->m_nFlags & kEnabled);
    EXPECT_TRUE(Control(screen.get(), "sprites.01")->m_nFlags & kEnabled);
    EXPECT_EQ(screen->ChangeOverDelay(), 8);
}

TEST_F(Game4, PartBFollowsTheChangeOverAndEndsTheGame) {
    auto screen = Open(1);
    Drop(screen.get(), "sprites.00", 260, 220);
    Drop(screen.get(), "sprites.02", 340, 260);
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(screen->InPartB()) << i;
        g_nNow += 100;
        CLxTimerEvent e(0, 275, g_nNow);
        screen->OnTimerEvent(&e);
    }
    ASSERT_TRUE(screen->InPartB());
    // Four pictures (the fifth word is left out); two sprites on the row at y = 360.
    EXPECT_EQ(screen->TargetCount(), 4);
    EXPECT_EQ(Where(screen.get(), "sprites.00").top, 360);
    EXPECT_EQ(Control(screen.get(), "sprites.02"), nullptr);
    EXPECT_EQ(Back(screen.get(), 330, 300), kBackground); // the call picture is gone
    EXPECT_EQ(Back(screen.get(), 180, 260), PictureColour(0));
    // maci takes the m; alma and sas have no letter here and are done with it.
    Drop(screen.get(), "sprites.00", 150, 200);
    EXPECT_TRUE(screen->TargetDone(0));
    EXPECT_FALSE(screen->TargetDone(1));
    EXPECT_TRUE(screen->TargetDone(2));
    EXPECT_FALSE(screen->Ended());
    Drop(screen.get(), "sprites.01", 150, 200); // onto the done picture: home
    EXPECT_EQ(Where(screen.get(), "sprites.01").top, 360);
    Drop(screen.get(), "sprites.01", 450, 200); // tök
    EXPECT_TRUE(screen->Ended());
}

TEST_F(Game4, AVowelPairHasATargetPerMember) {
    auto screen = Open(2); // ií
    ASSERT_EQ(screen->TargetCount(), 2);
    EXPECT_EQ(screen->TargetRect(0).left, 100);
    EXPECT_EQ(screen->TargetRect(1).left, 360);
    Drop(screen.get(), "sprites.00", 380, 250); // i onto í's picture
    EXPECT_FALSE(screen->TargetDone(1));
    Drop(screen.get(), "sprites.00", 150, 250);
    Drop(screen.get(), "sprites.01", 400, 250);
    EXPECT_TRUE(screen->TargetDone(0));
    EXPECT_TRUE(screen->TargetDone(1));
    EXPECT_TRUE(screen->Ended()); // no part b
}

TEST_F(Game4, FewerWordsGiveFewerPicturesAndAMissingPictureStillTakesItsLetter) {
    auto screen = Open(3); // t: part b only, one word the catalogue lacks
    ASSERT_TRUE(screen->InPartB());
    ASSERT_EQ(screen->TargetCount(), 1);
    EXPECT_EQ(Back(screen.get(), 180, 260), kBackground);
    RECT home = Where(screen.get(), "sprites.00");
    EXPECT_NEAR((home.left + home.right) / 2, 120 + 210, 1); // a single letter in the middle
    Drop(screen.get(), "sprites.00", 150, 200);
    EXPECT_FALSE(screen->TargetDone(0)); // xilofon begins with x: not with t
    EXPECT_EQ(Where(screen.get(), "sprites.00").left, 150);
    Drop(screen.get(), "sprites.00", 150, 380);
    EXPECT_EQ(Where(screen.get(), "sprites.00").left, home.left);
    EXPECT_TRUE(screen->TargetDone(0));
    EXPECT_TRUE(screen->Ended());

    auto empty = Open(0); // a: no letters, no pictures but its call picture
    CLxMouseEvent e(nullptr, 0, 0, kMouseClick, 1);
    empty->OnMouseEvent(&e);
    EXPECT_TRUE(empty->TargetDone(0));
    EXPECT_TRUE(empty->Ended());
}

} // namespace
