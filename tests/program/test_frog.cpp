// The frog game on driver steps set by hand: the height for a level, the path of a
// loud, a quiet and an interrupted sound, landing and its print, the restart from the
// far bank, one move per driver step, and the sliders that tune it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "media/LxDraw.h"
#include "test_therapy_support.h"
#include "therapy/LxTGameScr3.h"
#include "ui/LxScrollBar.h"
#include "ui/LxSprite.h"

using namespace therapy_test;

namespace {
class Frog : public TherapyTest {
  protected:
    void SetUp() override {
        TherapyTest::SetUp();
        g_Driver.fMaxLevel = 0.75f;
        g_Driver.nWrite = -1;
    }
    void Sound(CLxTGameScr3* s, int steps, float level) {
        for (int i = 0; i < steps; ++i)
            DriverStep(s, level, false);
    }
    void Quiet(CLxTGameScr3* s, int steps) {
        for (int i = 0; i < steps; ++i)
            DriverStep(s, 0.0f, true);
    }
    static RECT FrogRect(CLxTGameScr3* s) {
        RECT r{};
        s->Frog()->GetDrawRect(&r);
        return r;
    }
    // The red channel of the background in the middle of a print stamped at x.
    static int PrintShade(CLxTGameScr3* s, int x) {
        CLxSurface* b = s->GetGUI()->m_pBackground;
        return static_cast<int>(GetPixel(b, x + 33, CLxTGameScr3::kGroundY + 24) >> 16 & 0xFF);
    }
};

TEST_F(Frog, HeightFollowsTheLevel) {
    struct Case {
        float level, max;
        int high, y;
    } cases[] = {
        {0.0f, 0.75f, 100, 352},  {0.75f, 0.75f, 100, 272},
        {1.5f, 0.75f, 100, 204},  {0.375f, 0.75f, 50, 332},
        {0.75f, 0.75f, 200, 204}, {0.5f, 0.0f, 100, 352}, // no usable maximum: the frog stays down
        {0.5f, -1.0f, 100, 352},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLxTGameScr3::Height(c.level, c.max, c.high), c.y)
            << c.level << " " << c.max << " " << c.high;
    EXPECT_EQ(CLxTGameScr3::Height(std::nanf(""), 0.75f, 100), 352);
}

TEST_F(Frog, PathOfLoudQuietAndInterruptedSounds) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, float>> pieces; // steps of sound at a level, or level < 0: quiet
        float x;
        int top;    // the frog's top at the end
        bool print; // a print under the frog's first landing place
    } cases[] = {
        {"loud", {{5, 0.75f}}, 48.25f, 272, false},
        {"quiet", {{5, 0.1875f}}, 48.25f, 332, false},
        {"loud, then the child stops", {{5, 0.75f}, {4, -1}}, 48.25f, 352, true},
        {"a pause of three steps goes on with the jump",
         {{3, 0.75f}, {3, -1}, {2, 0.75f}},
         48.25f,
         272,
         false},
        {"a pause of four steps starts a new jump",
         {{3, 0.75f}, {4, -1}, {2, 0.75f}},
         64.0f,
         272,
         true},
    };
    for (const Case& c : cases) {
        CLxTGameScr3 s("data\\beszedjavj.xml");
        for (auto [steps, level] : c.pieces)
            level < 0 ? Quiet(&s, steps) : Sound(&s, steps, level);
        EXPECT_FLOAT_EQ(s.X(), c.x) << c.what;
        EXPECT_EQ(FrogRect(&s).left, static_cast<int>(c.x)) << c.what;
        EXPECT_EQ(FrogRect(&s).top, c.top) << c.what;
        int landed = c.pieces.size() > 1 ? (c.print && c.pieces[0].first == 3 ? 40 : 48) : 48;
        EXPECT_EQ(PrintShade(&s, landed) < 0x40, c.print) << c.what;
    }
}

TEST_F(Frog, FourthQuietStepLandsAndStampsOnePrint) {
    CLxTGameScr3 s("data\\beszedjavj.xml");
    Sound(&s, 5, 0.75f);
    Quiet(&s, 3);
    EXPECT_GT(s.V(), 0.0f);
    EXPECT_EQ(PrintShade(&s, 48), 0x80);
    Quiet(&s, 1);
    EXPECT_EQ(s.V(), 0.0f);
    EXPECT_NEAR(PrintShade(&s, 48), 0x20, 1); // a quarter of the grey
    // Landing again without a new jump stamps nothing more.
    Quiet(&s, 4);
    EXPECT_NEAR(PrintShade(&s, 48), 0x20, 1);
    // The drawing surface shows the print where the frog is not.
    EXPECT_EQ(s.Frog()->GetState() & kVisible, kVisible);
}

TEST_F(Frog, FarBankRestartsWithoutMorePrints) {
    CLxTGameScr3 s("data\\beszedjavj.xml");
    while (s.X() < CLxTGameScr3::kFarBank)
        Sound(&s, 1, 0.75f);
    Quiet(&s, 10);
    EXPECT_FALSE(s.Finished());
    EXPECT_GE(s.X(), 600.0f);
    Quiet(&s, 1);
    EXPECT_TRUE(s.Finished());
    EXPECT_FLOAT_EQ(s.X(), 10.0f);
    EXPECT_EQ(s.Frog()->GetState() & kVisible, kVisible);
    Sound(&s, 5, 0.75f);
    Quiet(&s, 4);
    EXPECT_EQ(s.V(), 0.0f);
    EXPECT_EQ(PrintShade(&s, 48), 0x80);
}

// The frog is drawn once: after the restart no second frog stays on the far bank, and a
// long hiss keeps it whole inside the pond instead of carrying it out of sight.
TEST_F(Frog, OneFrogOnTheScreenAtTheFarBankAndAfterTheRestart) {
    constexpr uint32_t kFrogColour = 0x30a030;
    CLxTGameScr3 s("data\\beszedjavj.xml");
    Sound(&s, 200, 0.75f);
    RECT far = FrogRect(&s);
    EXPECT_EQ(far.left, CLxTGameScr3::kFarBank);
    EXPECT_EQ(Pixel((far.left + far.right) / 2, (far.top + far.bottom) / 2), kFrogColour);
    Quiet(&s, 10);
    far = FrogRect(&s); // landed on the far bank
    Quiet(&s, 1);
    ASSERT_TRUE(s.Finished());
    EXPECT_NE(Pixel((far.left + far.right) / 2, (far.top + far.bottom) / 2), kFrogColour);
    RECT start = FrogRect(&s);
    EXPECT_EQ(Pixel((start.left + start.right) / 2, (start.top + start.bottom) / 2), kFrogColour);
}

TEST_F(Frog, OneMovePerDriverStep) {
    CLxTGameScr3 s("data\\beszedjavj.xml");
    Sound(&s, 1, 0.75f);
    EXPECT_FLOAT_EQ(s.X(), 25.0f);
    Tick(&s, 1086); // the step's second event
    Tick(&s, 1085);
    EXPECT_FLOAT_EQ(s.X(), 25.0f);
    DriverStep(&s, 0.75f, false, 275); // the window timer is not a driver step
    EXPECT_FLOAT_EQ(s.X(), 25.0f);
    Tick(&s, 1086);
    EXPECT_FLOAT_EQ(s.X(), 34.0f);
}

TEST_F(Frog, SlidersTuneTheGame) {
    g_Settings.nGame3Speed = 40;
    g_Settings.nGame3High = 120;
    CLxTGameScr3 s("data\\beszedjavj.xml");
    auto* seb = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.seb"));
    auto* mag = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.mag"));
    ASSERT_TRUE(seb && mag);
    EXPECT_EQ(seb->m_nValue, 40);
    EXPECT_EQ(mag->m_nValue, 120);
    seb->SetValue(60);
    Click(&s, "fo.seb");
    mag->SetValue(80);
    CLxMouseEvent drag(mag, 0, 0, kMouseDrag, 1);
    s.OnMouseEvent(&drag);
    EXPECT_EQ(g_Settings.nGame3Speed, 60);
    EXPECT_EQ(g_Settings.nGame3High, 80);
    Sound(&s, 1, 0.75f);
    EXPECT_FLOAT_EQ(s.X(), 40.0f);
}

TEST_F(Frog, MissingPicturesLeaveTheGameRunning) {
    std::remove("data/sprites/breki.bmp");
    std::remove("data/sprites/brekik.rle");
    CLxTGameScr3 s("data\\beszedjavj.xml");
    Sound(&s, 5, 0.75f);
    Quiet(&s, 4);
    EXPECT_FLOAT_EQ(s.X(), 48.25f);
    EXPECT_EQ(PrintShade(&s, 48), 0x80);
}
} // namespace
