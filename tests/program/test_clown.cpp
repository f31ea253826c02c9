// The clown game on driver steps set by hand: the ladders' layout for 1 to 4 ladders
// (and for settings outside that), the clown's height for a level, holding the rung's
// band for "time" steps (leaving it once starts the count again), walking on after a
// pause, the rung that lights up, and the sliders, buttons and rungs that set it.
#include <gtest/gtest.h>

#include "media/LxDraw.h"
#include "test_therapy_support.h"
#include "therapy/LxTGameScr2.h"
#include "ui/LxScrollBar.h"
#include "ui/LxSprite.h"

using namespace therapy_test;

namespace {
constexpr uint32_t kClownColour = 0xf0c020, kRungColour = 0x8a5a2a, kHotRungColour = 0xffe040;

class Clown : public TherapyTest {
  protected:
    void SetUp() override {
        TherapyTest::SetUp();
        g_Driver.nWrite = -1;
        g_Driver.fMaxLevel = 0.75f;
        std::string bo;
        for (int n = 1; n <= 4; ++n)
            bo += Button(("k" + std::to_string(n)).c_str(), 40 * n, 120);
        WriteFile("data/beszedjavj_2.xml",
                  "<Lexo>\n<group name=\"fo\">\n</group>\n"
                  "<control type=\"slider\" name=\"ido\" range=\"0,64\"><common "
                  "rect=\"680,480,100,20\"/></control>\n"
                  "<control type=\"slider\" name=\"int\" range=\"-64,-4\"><common "
                  "rect=\"680,520,100,20\"/></control>\n"
                  "<group name=\"bo\" position=\"0,0\">\n</group>\n" +
                      bo + "</Lexo>\n");
        ui_test::WritePicture("data/sprites/bohoc1.bmp", kClownColour, 80, 146);
        ui_test::WritePicture("data/sprites/lec.bmp", kRungColour, 142, 20);
        ui_test::WritePicture("data/sprites/lech.bmp", kHotRungColour, 142, 20);
        ui_test::WritePicture("data/sprites/rud.bmp", 0x6a4a2a, 40, 358);
    }
    // A level that puts the clown's top at row y.
    static float LevelFor(int y) { return (CLxTGameScr2::kGroundY - y) * 0.75f / 240.0f; }
    // Driver steps until the game's next step (every fourth write index) has run.
    void GameStep(CLxTGameScr2* s, float level, bool silent) {
        do
            DriverStep(s, level, silent);
        while (g_Driver.nWrite % CLxTGameScr2::kStepEvery != 0);
    }
    void Quiet(CLxTGameScr2* s, int steps) {
        for (int i = 0; i < steps; ++i)
            GameStep(s, 0.0f, true);
    }
    void Hold(CLxTGameScr2* s, int steps, int y) {
        for (int i = 0; i < steps; ++i)
            GameStep(s, LevelFor(y), false);
    }
    static RECT Rect(CLxControl* c) {
        RECT r{};
        c->GetDrawRect(&r);
        return r;
    }
};

TEST_F(Clown, LayoutOfTheLadders) {
    struct Case {
        int game;  // the setting
        int width; // W
        int first; // d of ladder 0
        int clown; // the clown's left before the first ladder
        int rungs; // visible rungs
    } cases[] = {
        {4, 142, -112, 74, 4},
        {3, 170, -84, 116, 3},
        {2, 228, -56, 173, 2},
        {1, 400, -28, 287, 1},
        // Settings outside 1 ... 4 must not divide by zero or run past the rungs.
        {0, 400, -28, 287, 1},
        {-3, 400, -28, 287, 1},
        {5, 142, -112, 74, 4},
        {99, 142, -112, 74, 4},
    };
    for (const Case& c : cases) {
        g_Settings.nGame2Game = c.game;
        CLxTGameScr2 s("data\\beszedjavj.xml");
        int g = CLxTGameScr2::Ladders();
        EXPECT_EQ(CLxTGameScr2::RungWidth(g), c.width) << c.game;
        EXPECT_EQ(CLxTGameScr2::LadderOffset(0, g), c.first) << c.game;
        EXPECT_EQ(Rect(s.Clown()).left, c.clown) << c.game;
        EXPECT_EQ(Rect(s.Clown()).top, CLxTGameScr2::kGroundY) << c.game;
        int visible = 0;
        for (int r = 0; r < CLxTGameScr2::kMaxLadders; ++r)
            visible += (s.Rung(r)->m_nFlags & kVisible) != 0;
        EXPECT_EQ(visible, c.rungs) << c.game;
        RECT rung = Rect(s.Rung(0));
        EXPECT_EQ(rung.left, c.first + 164) << c.game;
        EXPECT_EQ(rung.right - rung.left, c.width) << c.game;
        EXPECT_EQ(rung.top, g_Settings.aGame2Positions[0]) << c.game;
        // Playing a whole round over every ladder reads no rung beyond them.
        for (int ladder = 0; ladder <= g; ++ladder) {
            Quiet(&s, 5);
            Hold(&s, g_Settings.nGame2Time + 1, g_Settings.aGame2Positions[0]);
        }
    }
}

TEST_F(Clown, HeightFollowsTheLevel) {
    struct Case {
        float level, max;
        int y;
    } cases[] = {{0.0f, 0.75f, 388}, {0.375f, 0.75f, 268}, {0.75f, 0.75f, 160},
                 {1.5f, 0.75f, 160}, {0.5f, 0.0f, 388},    {0.5f, -1.0f, 388}};
    for (const Case& c : cases)
        EXPECT_EQ(CLxTGameScr2::Height(c.level, c.max), c.y) << c.level << " " << c.max;
    EXPECT_EQ(CLxTGameScr2::Height(std::nanf(""), 0.75f), 388);
}

TEST_F(Clown, PauseWalksOntoTheNextLadder) {
    CLxTGameScr2 s("data\\beszedjavj.xml");
    ASSERT_EQ(s.Stage(), 0);
    Quiet(&s, 4);
    EXPECT_EQ(s.Stage(), 0); // four quiet steps are not yet a pause
    EXPECT_EQ(s.Hold(), 4);
    Quiet(&s, 1);
    EXPECT_EQ(s.Stage(), 1);
    EXPECT_EQ(s.Hold(), -16);
    EXPECT_EQ(Rect(s.Clown()).left, 74); // ladder 0's stretch begins where it stood
    EXPECT_EQ(s.Clown()->m_rcClip.right, 222);
}

TEST_F(Clown, HoldingTheBandForTimeStepsFinishesTheLadder) {
    g_Settings.nGame2Time = 5;
    CLxTGameScr2 s("data\\beszedjavj.xml");
    Quiet(&s, 5);
    ASSERT_EQ(s.Stage(), 1);
    ASSERT_EQ(s.Hold(), -5);
    Hold(&s, 3, 230 + 10); // inside the tolerance of 32 around rung 0 at 230
    EXPECT_EQ(s.Hold(), -2);
    EXPECT_EQ(Rect(s.Clown()).top, 240);
    // Leaving the band once starts the count again.
    Hold(&s, 1, 230 + 40);
    EXPECT_EQ(s.Hold(), -5);
    Hold(&s, 5, 230 - 20);
    EXPECT_EQ(s.Hold(), 0);
    EXPECT_EQ(s.Stage(), 1);
    Hold(&s, 2, 230 + 40); // held: the voice may wander now
    EXPECT_EQ(s.Hold(), 0);
    Quiet(&s, 1);
    EXPECT_EQ(s.Stage(), 2);
    Quiet(&s, 5);
    EXPECT_EQ(s.Stage(), 3);
    EXPECT_EQ(s.Clown()->m_rcClip.left, 216); // ladder 1's stretch
}

TEST_F(Clown, AfterTheLastLadderTheClownStartsAgain) {
    g_Settings.nGame2Game = 1;
    g_Settings.nGame2Time = 0;
    CLxTGameScr2 s("data\\beszedjavj.xml");
    Quiet(&s, 5);
    EXPECT_EQ(s.Stage(), 1);
    Quiet(&s, 1); // held for 0 steps: the pause finishes the ladder
    EXPECT_EQ(s.Stage(), 2);
    Quiet(&s, 5);
    EXPECT_EQ(s.Stage(), 1);
}

TEST_F(Clown, OnlyTheCurrentRungLightsUpWhileOnTarget) {
    CLxTGameScr2 s("data\\beszedjavj.xml");
    Hold(&s, 1, 230); // before the first ladder nothing lights up
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(s.Rung(r)->m_nFlags & kHot, 0) << r;
    Quiet(&s, 5);
    Hold(&s, 1, 230);
    EXPECT_EQ(s.Rung(0)->m_nFlags & kHot, kHot);
    EXPECT_EQ(s.Rung(1)->m_nFlags & kHot, 0);
    RECT rung = Rect(s.Rung(0));
    EXPECT_EQ(Pixel(rung.left + 2, rung.top + 10), kHotRungColour);
    Hold(&s, 1, 300);
    EXPECT_EQ(s.Rung(0)->m_nFlags & kHot, 0);
    EXPECT_EQ(Pixel(rung.left + 2, rung.top + 10), kRungColour);
}

TEST_F(Clown, ControlsSetTheSettings) {
    CLxTGameScr2 s("data\\beszedjavj.xml");
    auto* ido = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.ido"));
    auto* tolerance = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.int"));
    ASSERT_TRUE(ido && tolerance);
    EXPECT_EQ(ido->m_nValue, 16);
    EXPECT_EQ(tolerance->m_nValue, -32);
    ido->SetValue(8);
    Click(&s, "fo.ido");
    tolerance->SetValue(-10);
    Click(&s, "fo.int");
    EXPECT_EQ(g_Settings.nGame2Time, 8);
    EXPECT_EQ(g_Settings.nGame2Level, 10);
    Click(&s, "bo.k2");
    EXPECT_EQ(g_Settings.nGame2Game, 2);
    EXPECT_EQ(State(&s, "bo.k2") & kSelected, kSelected);
    EXPECT_EQ(State(&s, "bo.k3") & kSelected, 0);
    EXPECT_EQ(s.Rung(2)->m_nFlags & kVisible, 0);
    // Dragging a rung sets its height.
    s.Rung(1)->MoveTo(Rect(s.Rung(1)).left, 250);
    CLxMouseEvent drag(s.Rung(1), 0, 0, kMouseDrag, 1);
    s.OnMouseEvent(&drag);
    EXPECT_EQ(g_Settings.aGame2Positions[1], 250);
}

TEST_F(Clown, MissingPicturesLeaveTheGameRunning) {
    for (const char* p : {"data/sprites/bohoc1.bmp", "data/sprites/lec.bmp",
                          "data/sprites/lech.bmp", "data/sprites/rud.bmp"})
        std::remove(p);
    CLxTGameScr2 s("data\\beszedjavj.xml");
    Quiet(&s, 5);
    Hold(&s, 2, 230);
    EXPECT_EQ(s.Stage(), 1);
    EXPECT_EQ(s.Hold(), -14);
}
} // namespace
