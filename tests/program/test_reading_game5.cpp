// Reading game 5, "sort the pictures": the two stacks of letters, a picture done by a
// letter of its word lying wholly inside it, kept open while a wrong letter touches it,
// a letter dropped half over a picture going home, the end, and a lesson with fewer
// pictures or a single letter.
#include <gtest/gtest.h>

#include <memory>

#include "reading/LxRGameScr5.h"
#include "test_reading_games_support.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

using namespace reading_test;

namespace {

class Game5 : public ReadingGamesTest {
  protected:
    void SetUp() override {
        ReadingGamesTest::SetUp();
        WriteReadingFont("tnr32p");
        WriteCourse("<session character=\"a\"><game5/></session>\n"
                    "<session character=\"m\"><game5 characters=\"m, s\" "
                    "words=\"maci, sas, alma, m\xE9h\"/></session>\n"
                    "<session character=\"t\"><game5 characters=\"t\" words=\"t\xF6k\"/>"
                    "</session>\n");
    }
    std::unique_ptr<CLxRGameScr5> Open(int entry) {
        Choose(entry);
        return std::make_unique<CLxRGameScr5>("data\\olvfej.xml");
    }
    // Game 5's drops end outside the pressed control's first place.
    static void Drop(CLxScreen* s, const char* name, int x, int y) {
        ReadingGamesTest::Drop(s, name, x, y, kMouseReleasedOut);
    }
    // Inside picture k (8 + 164 k .. + 160, 360 .. 520), a little way in.
    static int X(int k, int in = 40) { return 8 + 164 * k + in; }
};

TEST_F(Game5, TwoStacksOfFourLettersOverFourPictures) {
    auto screen = Open(1);
    EXPECT_STREQ(screen->GetName(), "RGame5");
    ASSERT_EQ(screen->PictureCount(), 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(Back(screen.get(), X(k, 80), 440), PictureColour(k == 3   ? 5
                                                                   : k == 2 ? 1
                                                                            : k * 6))
            << k;
    for (int i = 0; i < 8; ++i) {
        std::string name = "sprites.0" + std::to_string(i);
        RECT r = Where(screen.get(), name.c_str());
        EXPECT_EQ(r.top, 200) << name;
        EXPECT_NEAR((r.left + r.right) / 2, i % 2 ? 440 : 220, 1) << name;
    }
}

TEST_F(Game5, APictureIsDoneByALetterOfItsWordAndNoWrongOneTouchingIt) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, int>> drops; // sprite, x inside picture 0
        bool done;
    } cases[] = {
        {"m inside maci", {{"sprites.00", X(0)}}, true},
        {"s inside maci", {{"sprites.01", X(0)}}, false},
        {"s inside, then m inside", {{"sprites.01", X(0)}, {"sprites.00", X(0, 80)}}, false},
        {"m half over the edge", {{"sprites.00", X(0, 157)}}, false},
        {"m inside sas", {{"sprites.00", X(1)}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto screen = Open(1);
        for (const auto& [name, x] : c.drops)
            Drop(screen.get(), name, x, 400);
        EXPECT_EQ(screen->PictureDone(0), c.done);
        EXPECT_EQ(Back(screen.get(), X(0, 1), 361) == kTick, c.done);
        EXPECT_EQ((Control(screen.get(), c.drops.back().first)->m_nFlags & kEnabled) == 0, c.done);
    }
}

TEST_F(Game5, ALetterDroppedWhereNoOpenPictureTakesItGoesHome) {
    auto screen = Open(1);
    RECT home = Where(screen.get(), "sprites.00");
    Drop(screen.get(), "sprites.00", X(0, 157), 400); // half over
    EXPECT_EQ(Where(screen.get(), "sprites.00").left, home.left);
    Drop(screen.get(), "sprites.01", X(1), 400); // s into sas: done, stays
    EXPECT_EQ(Where(screen.get(), "sprites.01").left, X(1));
    Drop(screen.get(), "sprites.03", X(1, 80), 400); // another s onto the done picture
    EXPECT_EQ(Where(screen.get(), "sprites.03").left, Where(screen.get(), "sprites.05").left);
}

TEST_F(Game5, TheGameEndsWhenEveryPictureIsDone) {
    auto screen = Open(1);
    Drop(screen.get(), "sprites.00", X(0), 400); // maci
    Drop(screen.get(), "sprites.01", X(1), 400); // sas
    Drop(screen.get(), "sprites.02", X(2), 400); // alma
    EXPECT_FALSE(screen->Ended());
    Drop(screen.get(), "sprites.04", X(3), 400); // méh
    EXPECT_TRUE(screen->Ended());
}

TEST_F(Game5, FewerWordsAndASingleLetter) {
    auto screen = Open(3); // t: one letter, one word
    EXPECT_EQ(screen->PictureCount(), 1);
    EXPECT_NE(Control(screen.get(), "sprites.03"), nullptr);
    EXPECT_EQ(Control(screen.get(), "sprites.04"), nullptr);
    Drop(screen.get(), "sprites.02", X(0), 400);
    EXPECT_TRUE(screen->Ended());

    auto empty = Open(0); // a: no material; the first drop ends it
    EXPECT_EQ(empty->PictureCount(), 0);
    CLxMouseEvent e(nullptr, 0, 0, kMouseClick, 1);
    empty->OnMouseEvent(&e);
    EXPECT_TRUE(empty->Ended());
}

} // namespace
