// The mole game on driver steps set by hand: the depth for a pitch measure against the
// norm and its damping, the calibration (the old norm counts as one sample, also when
// the child is already speaking as it starts), digging the tunnel across the ground,
// the second stage's lightning marks above and below the tunnel and none inside, the
// tunnel restored for each new run, measures and norms that give no depth, and the
// sprite that stays the same object when the mole takes its lamp.
#include <gtest/gtest.h>

#include <cmath>

#include "media/LxDraw.h"
#include "media/LxRLEBitmap.h"
#include "test_therapy_support.h"
#include "therapy/LxTGameScr6.h"
#include "ui/LxCGUI.h"
#include "ui/LxScrollBar.h"
#include "ui/LxSprite.h"

using namespace therapy_test;

namespace {
constexpr uint32_t kEarth = 0xa06030, kMoleColour = 0x303030, kLampColour = 0xe0e0e0,
                   kLightning = 0xffff00;

class Mole : public TherapyTest {
  protected:
    void SetUp() override {
        TherapyTest::SetUp();
        g_Driver.nWrite = -1;
        WriteFile("data/beszedjavj_6.xml",
                  "<Lexo>\n<group name=\"fo\">\n</group>\n"
                  "<control type=\"slider\" name=\"kit\" range=\"0,200\"><common "
                  "rect=\"680,480,100,20\"/></control>\n"
                  "<control type=\"slider\" name=\"seb\" range=\"0,200\"><common "
                  "rect=\"680,520,100,20\"/></control>\n"
                  "<control type=\"text\" name=\"debug\" length=\"20\" text=\"\" "
                  "rect=\"680,440,100,20\"><common/></control>\n</Lexo>\n");
        ui_test::WritePicture("data/foldalatt.bmp", kEarth, 640, 420);
        ui_test::WritePicture("data/sprites/vakond.bmp", kMoleColour, 128, 84);
        ui_test::WritePicture("data/sprites/vakondn.bmp", 0x606060, 128, 84);
        ui_test::WritePicture("data/sprites/vakondka.bmp", kLampColour, 96, 60);
        ui_test::WritePicture("data/sprites/vakondkan.bmp", 0xc0c0c0, 96, 60);
        ui_test::WritePicture("data/sprites/villam.bmp", kLightning, 16, 16);
        LxImage shadow;
        shadow.width = 128;
        shadow.height = 112;
        shadow.pixels.assign(128 * 112, 0xFF000000u);
        WriteFile("data/sprites/vakondk.rle", EncodeMask(shadow, 128, false));
    }
    void Voiced(CLxTGameScr6* s, int steps, float c) {
        for (int i = 0; i < steps; ++i)
            VoiceStep(s, {0.5f, false, 0.4f, c});
    }
    void Quiet(CLxTGameScr6* s, int steps) {
        for (int i = 0; i < steps; ++i)
            VoiceStep(s, {0.0f, true, 0.0f, 0.0f});
    }
    // Digs across at the norm and waits at the edge until the second stage begins.
    void DigAcross(CLxTGameScr6* s, float c) {
        while (s->GetPhase() == CLxTGameScr6::kDigging) {
            Voiced(s, s->X() < CLxTGameScr6::kRightEdge ? 1 : 0, c);
            if (s->X() >= CLxTGameScr6::kRightEdge) Quiet(s, 1);
        }
    }
    static uint32_t Background(CLxTGameScr6* s, int x, int y) {
        return GetPixel(s->GetGUI()->m_pBackground, x, y);
    }
    static RECT Rect(CLxControl* c) {
        RECT r{};
        c->GetDrawRect(&r);
        return r;
    }
};

TEST_F(Mole, DepthTable) {
    struct Case {
        float c, norm;
        int high;
        bool given;
        float depth;
    } cases[] = {
        {0.75f, 0.75f, 100, true, 0.0f},
        {0.5f, 0.75f, 100, true, -40.55f}, // row 289 before damping
        {1.5f, 0.75f, 100, true, 86.64f},  // a quarter more below the norm: row 416
        {3.0f, 0.75f, 100, true, 120.0f},  // kept within 120
        {0.05f, 0.75f, 100, true, -120.0f},
        {0.6f, 0.75f, 50, true, -11.16f},
        {0.0f, 0.75f, 100, false, 0.0f},  // a voice of 500 Hz
        {-0.4f, 0.75f, 100, false, 0.0f}, // over 500 Hz
        {0.75f, 0.0f, 100, false, 0.0f},  // a norm of 0 from the settings
        {0.75f, -0.6f, 100, false, 0.0f},
        {std::nanf(""), 0.75f, 100, false, 0.0f},
        {0.75f, std::nanf(""), 100, false, 0.0f},
    };
    for (const Case& c : cases) {
        float depth = 0.0f;
        EXPECT_EQ(CLxTGameScr6::RawDepth(c.c, c.norm, c.high, &depth), c.given)
            << c.c << " " << c.norm;
        if (c.given) {
            EXPECT_NEAR(depth, c.depth, 0.01f) << c.c << " " << c.norm;
        }
    }
    EXPECT_EQ(static_cast<int>(-40.55f + CLxTGameScr6::kSurfaceY), 289);
    EXPECT_EQ(static_cast<int>(86.64f + CLxTGameScr6::kSurfaceY), 416);
}

TEST_F(Mole, DampingOfJumps) {
    struct Case {
        float depth, previous, damped;
    } cases[] = {{100, 0, 10},
                 {30, 0, 3},
                 {10, 0, 10},
                 {-100, 0, -10},
                 {50, 40, 50},
                 {60, 0, 6},
                 // A sustained deep voice goes on towards its depth instead of stopping at
                 // a fifth of it: (100 + 9 x 20) / 10, not (100 + 5 x 20) / 10 = 20.
                 {100, 20, 28}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(CLxTGameScr6::Damp(c.depth, c.previous), c.damped) << c.depth;
}

TEST_F(Mole, CalibrationAveragesTheOldNormAndTenVoicedSteps) {
    CLxTGameScr6 s("data\\beszedjavj.xml");
    Click(&s, "fo.sprite");
    EXPECT_EQ(s.GetPhase(), CLxTGameScr6::kCalibrateDigging);
    EXPECT_EQ(s.Mole()->m_nFlags & kSelected, kSelected);
    Quiet(&s, 1); // seeds the sum with the old norm 0.75
    Voiced(&s, 10, 0.8f);
    Voiced(&s, 3, 0.05f); // no voice: not counted
    EXPECT_EQ(s.CalibrationCount(), 11);
    Quiet(&s, 1);
    EXPECT_NEAR(g_Settings.aGame6Norm[0], 0.795f, 0.001f);
    EXPECT_FLOAT_EQ(g_Settings.aGame6Norm[0], (0.75f + 10 * 0.8f) / 11);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr6::kDigging);
    EXPECT_EQ(s.Mole()->m_nFlags & (kSelected | kEnabled), 0);
    EXPECT_EQ(s.Shadow()->m_nFlags & kVisible, kVisible);
}

// A calibration that starts while the child already speaks: the sum must start from the
// norm being calibrated, not from what the last calibration left in it.
TEST_F(Mole, CalibrationStartingWithVoiceStartsFromTheNorm) {
    CLxTGameScr6 s("data\\beszedjavj.xml");
    Click(&s, "fo.sprite");
    Quiet(&s, 1);
    Voiced(&s, 10, 0.8f);
    Quiet(&s, 1);
    float first = g_Settings.aGame6Norm[0];
    ASSERT_NEAR(first, 0.795f, 0.001f);
    Click(&s, "fo.sprite");
    EXPECT_FLOAT_EQ(s.CalibrationSum(), first);
    Voiced(&s, 10, 0.8f); // no silence first
    Quiet(&s, 1);
    EXPECT_NEAR(g_Settings.aGame6Norm[0], (first + 8.0f) / 11.0f, 1e-5f);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr6::kDigging);
}

TEST_F(Mole, InterruptedCalibrationStartsOver) {
    CLxTGameScr6 s("data\\beszedjavj.xml");
    Click(&s, "fo.sprite");
    Voiced(&s, 5, 0.9f);
    Quiet(&s, 1);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr6::kCalibrateDigging);
    EXPECT_EQ(s.CalibrationCount(), 1);
    EXPECT_NEAR(s.CalibrationSum(), 0.75f, 1e-6f);
    Voiced(&s, 10, 0.9f);
    Quiet(&s, 1);
    EXPECT_NEAR(g_Settings.aGame6Norm[0], (0.75f + 9.0f) / 11.0f, 1e-5f);
}

TEST_F(Mole, DiggingAcrossTheGround) {
    CLxTGameScr6 s("data\\beszedjavj.xml");
    uint32_t before = Background(&s, 50, 360);
    Voiced(&s, 70, 0.75f);
    EXPECT_FLOAT_EQ(s.X(), 712.0f);
    Voiced(&s, 1, 0.75f);
    EXPECT_FLOAT_EQ(s.X(), 722.0f);
    Voiced(&s, 1, 0.75f);
    EXPECT_FLOAT_EQ(s.X(), 718.0f); // it waits at the edge
    EXPECT_EQ(s.Row(), 330);
    // Every column it passed knows the tunnel's row; the tunnel is shaded in.
    for (int x = 12; x < 720; ++x)
        ASSERT_EQ(s.PathAt(x), 330) << x;
    EXPECT_NE(Background(&s, 50, 360), before);
    EXPECT_EQ(Background(&s, 50, 300), before); // above the tunnel the ground is whole
    EXPECT_EQ(Background(&s, 700, 360), GetPixel(s.GetGUI()->m_pBackground, 700, 300))
        << "the tunnel stops at the ground's edge";
    RECT mole = Rect(s.Mole());
    EXPECT_EQ(mole.left, 712 - 66);
    EXPECT_EQ(mole.top, 346);
    Quiet(&s, 20);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr6::kDigging);
    Quiet(&s, 1);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr6::kFollowing);
    EXPECT_FLOAT_EQ(s.X(), 12.0f);
    mole = Rect(s.Mole());
    EXPECT_EQ(mole.left, 12);
    EXPECT_EQ(mole.top, 332);
    EXPECT_EQ(mole.right - mole.left, 96);
    EXPECT_EQ(Pixel(60, 360), kLampColour);
    EXPECT_EQ(s.Shadow()->m_nFlags & kVisible, 0);
}

// The shadow's mask is drawn whole; where it reaches past the ground, the panel beside
// the ground is drawn again without it.
TEST_F(Mole, ShadowStaysOnTheGround) {
    CLxTGameScr6 s("data\\beszedjavj.xml");
    Click(&s, "fo.sprite");
    Quiet(&s, 1);
    Voiced(&s, 10, 0.75f);
    Quiet(&s, 1); // a calibration shows the shadow
    ASSERT_EQ(s.Shadow()->m_nFlags & kVisible, kVisible);
    CLxSurface* background = s.GetGUI()->m_pBackground;
    Voiced(&s, 62, 0.75f); // dug at 622 (the shadow at 558 ... 686), now at 632
    RECT shadow{};
    s.Shadow()->GetDrawRect(&shadow);
    ASSERT_GT(shadow.right, 652);
    for (int x = 652; x < shadow.right; x += 4)
        ASSERT_EQ(Pixel(x, shadow.top + 56), GetPixel(background, x, shadow.top + 56)) << x;
    EXPECT_NE(Pixel(600, shadow.top + 100), GetPixel(background, 600, shadow.top + 100));
    Voiced(&s, 1, 0.75f); // past 630 it is gone
    EXPECT_EQ(s.Shadow()->m_nFlags & kVisible, 0);
}

TEST_F(Mole, DeeperForALowerVoice) {
    CLxTGameScr6 s("data\\beszedjavj.xml");
    Voiced(&s, 30, 1.5f); // damped on the way down to 86.6
    EXPECT_EQ(s.Row(), 416);
    EXPECT_EQ(s.PathAt(300), 416);
    Voiced(&s, 30, 0.5f);
    EXPECT_EQ(s.Row(), 289);
}

TEST_F(Mole, LightningAboveAndBelowTheTunnelNoneInside) {
    struct Case {
        const char* where;
        float c;     // against the second norm 0.6
        int markTop; // the first row of the mark at column 96
    } cases[] = {{"above", 0.4f, 330 - 8}, {"below", 1.5f, 330 + 108}, {"inside", 0.6f, -1}};
    for (const Case& c : cases) {
        CLxTGameScr6 s("data\\beszedjavj.xml");
        DigAcross(&s, 0.75f);
        ASSERT_EQ(s.GetPhase(), CLxTGameScr6::kFollowing);
        Voiced(&s, 12, c.c); // x = 132, past the mark at column 96 (x = 92)
        bool marked = false;
        for (int y = 300; y < 480; ++y)
            marked |= Background(&s, 96, y) == kLightning;
        EXPECT_EQ(marked, c.markTop >= 0) << c.where;
        if (c.markTop >= 0) {
            EXPECT_EQ(Background(&s, 96, c.markTop + 7), kLightning) << c.where;
        }
        // A new run over the saved tunnel removes the marks.
        while (s.X() < CLxTGameScr6::kRightEdge)
            Voiced(&s, 1, 0.6f);
        Quiet(&s, 21);
        EXPECT_FLOAT_EQ(s.X(), 12.0f) << c.where;
        for (int y = 300; y < 480; ++y)
            ASSERT_NE(Background(&s, 96, y), kLightning) << c.where << " " << y;
        EXPECT_EQ(Rect(s.Mole()).left, 12);
        EXPECT_EQ(s.Mole()->m_nFlags & kEnabled, kEnabled);
    }
}

// Measures and norms that give no depth leave the mole where it was: no NaN or
// infinity reaches the path or the sprite.
TEST_F(Mole, NoDepthFromBadMeasuresOrNorms) {
    for (float norm : {0.75f, 0.0f, -1.0f}) {
        g_Settings.aGame6Norm[0] = norm;
        CLxTGameScr6 s("data\\beszedjavj.xml");
        for (float c : {0.0f, -0.4f, std::nanf(""), -INFINITY, 0.0f})
            Voiced(&s, 1, c);
        EXPECT_EQ(s.Depth(), 0.0f) << norm;
        EXPECT_EQ(s.Row(), 330) << norm;
        EXPECT_FLOAT_EQ(s.X(), 62.0f) << norm;
        for (int x = 12; x < 62; ++x)
            ASSERT_EQ(s.PathAt(x), 330) << norm;
        Voiced(&s, 1, INFINITY);
        EXPECT_TRUE(std::isfinite(s.Depth())) << norm;
    }
}

// The mole the mouse is over when the lamp mole takes its place is the same control:
// the dispatcher never holds a freed sprite.
TEST_F(Mole, LampMoleIsTheSameSprite) {
    CLxTGameScr6 s("data\\beszedjavj.xml");
    CLxCGUI* gui = s.GetGUI();
    gui->DispatchMouse(WM_MOUSEMOVE, 0, ui_test::At(70, 380));
    CLxControl* hot = gui->m_pHot;
    ASSERT_EQ(hot, s.Mole());
    DigAcross(&s, 0.75f);
    EXPECT_TRUE(gui->HasControl(hot));
    EXPECT_EQ(gui->m_pHot == nullptr || gui->m_pHot == hot, true);
    gui->DispatchMouse(WM_MOUSEMOVE, 0, ui_test::At(40, 350));
    gui->DispatchMouse(WM_LBUTTONDOWN, 1, ui_test::At(40, 350));
    gui->DispatchMouse(WM_LBUTTONUP, 0, ui_test::At(40, 350));
    EXPECT_EQ(s.GetPhase(), CLxTGameScr6::kCalibrateFollowing); // a click on the lamp mole
    Quiet(&s, 1);
    Voiced(&s, 10, 0.5f);
    Quiet(&s, 1);
    EXPECT_NEAR(g_Settings.aGame6Norm[1], (0.6f + 5.0f) / 11.0f, 1e-5f);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr6::kFollowing);
}

TEST_F(Mole, SlidersAndThePeriod) {
    g_Settings.nGame6Speed = 50;
    CLxTGameScr6 s("data\\beszedjavj.xml");
    EXPECT_EQ(g_Driver.nPeriod, CLxTGameScr6::kPeriod);
    auto* kit = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.kit"));
    auto* seb = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.seb"));
    ASSERT_TRUE(kit && seb);
    EXPECT_EQ(seb->m_nValue, 50);
    kit->SetValue(150);
    Click(&s, "fo.kit");
    EXPECT_EQ(g_Settings.nGame6High, 150);
    seb->SetValue(80);
    Click(&s, "fo.seb");
    Voiced(&s, 1, 0.75f);
    EXPECT_FLOAT_EQ(s.X(), 20.0f);
    EXPECT_EQ(g_Settings.nGame6Speed, 80);
    s.Refresh();
    EXPECT_EQ(g_Driver.nPeriod, CLxTGameScr6::kPeriod);
}

TEST_F(Mole, MissingPicturesLeaveTheGameRunning) {
    for (const char* p :
         {"data/foldalatt.bmp", "data/sprites/vakond.bmp", "data/sprites/vakondka.bmp",
          "data/sprites/villam.bmp", "data/sprites/vakondk.rle"})
        std::remove(p);
    CLxTGameScr6 s("data\\beszedjavj.xml");
    DigAcross(&s, 0.75f);
    Voiced(&s, 12, 0.4f);
    EXPECT_FLOAT_EQ(s.X(), 132.0f);
}
} // namespace
