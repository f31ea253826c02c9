// The flower game on driver steps set by hand: a flower planted after the counted steps
// in the bed the measures chose, the warm-up of a new sound between flowers, twelve
// flowers ending the first stage, the second stage's bloom for a matching sound and
// wilting and water for the other one, the calibration of each stage's threshold, and
// the slider.
#include <gtest/gtest.h>

#include "media/LxDraw.h"
#include "test_therapy_support.h"
#include "therapy/LxTGameScr5.h"
#include "ui/LxScrollBar.h"
#include "ui/LxSprite.h"

using namespace therapy_test;

namespace {
constexpr uint32_t kBed = 0x6a4020, kRed[3] = {0xc02020, 0xff4040, 0x602020},
                   kBlue[3] = {0x2020c0, 0x4040ff, 0x202060}, kWater = 0x40c0ff, kBucket = 0x909090,
                   kCan = 0x20a020;
constexpr float kHigh = 0.5f; // a higher voice: at or below the threshold 0.78 (and 0.6)
constexpr float kLow = 0.9f;  // a lower voice: above it

class Flowers : public TherapyTest {
  protected:
    void SetUp() override {
        TherapyTest::SetUp();
        g_Driver.nWrite = -1;
        WriteFile("data/beszedjavj_5.xml",
                  "<Lexo>\n<group name=\"fo\">\n</group>\n"
                  "<control type=\"slider\" name=\"ido\" range=\"0,100\"><common "
                  "rect=\"680,500,100,20\"/></control>\n</Lexo>\n");
        ui_test::WritePicture("data/viragagyas.bmp", kBed, 576, 64);
        for (int kind = 0; kind < 3; ++kind) {
            ui_test::WritePicture("data/sprites/piros-virag" + std::to_string(kind) + ".bmp",
                                  kRed[kind], 48, 64);
            ui_test::WritePicture("data/sprites/kek-virag" + std::to_string(kind) + ".bmp",
                                  kBlue[kind], 48, 64);
        }
        ui_test::WritePicture("data/sprites/virag-viz.bmp", kWater, 48, 64);
        ui_test::WritePicture("data/sprites/vodoron.bmp", kBucket, 48, 48);
        ui_test::WritePicture("data/sprites/locsolo.bmp", kCan, 48, 48);
        ui_test::WritePicture("data/sprites/locsolon.bmp", 0x40e040, 48, 48);
    }
    void Voiced(CLxTGameScr5* s, int steps, float c) {
        for (int i = 0; i < steps; ++i)
            VoiceStep(s, {0.5f, false, 0.4f, c});
    }
    void Quiet(CLxTGameScr5* s, int steps) {
        for (int i = 0; i < steps; ++i)
            VoiceStep(s, {0.0f, true, 0.0f, 0.0f});
    }
    // One flower's sound: its warm-up between flowers, then below and above steps, and
    // the pause that ends it.
    void Sound(CLxTGameScr5* s, int below, int above) {
        if (s->GetPhase() == CLxTGameScr5::kBetweenOne ||
            s->GetPhase() == CLxTGameScr5::kBetweenTwo)
            Voiced(s, 6, kHigh);
        Voiced(s, below, kHigh);
        Voiced(s, above, kLow);
        Quiet(s, 1);
    }
    static uint32_t Middle(CLxTGameScr5* s, int k, bool lower) {
        RECT box = CLxTGameScr5::FlowerBox(k, lower);
        return GetPixel(s->GetGUI()->m_pBackground, (box.left + box.right) / 2,
                        (box.top + box.bottom) / 2);
    }
    static RECT Rect(CLxControl* c) {
        RECT r{};
        c->GetDrawRect(&r);
        return r;
    }
};

TEST_F(Flowers, FlowerAfterTheCountedSteps) {
    struct Case {
        const char* what;
        int below, above;
        bool planted, lower;
    } cases[] = {
        {"31 steps, 20 above: blue, lower bed", 11, 20, true, true},
        {"31 steps, 20 below: red, upper bed", 20, 11, true, false},
        {"a tie goes to the upper bed", 16, 16, true, false},
        {"30 steps are not yet a flower", 10, 20, false, false},
    };
    for (const Case& c : cases) {
        CLxTGameScr5 s("data\\beszedjavj.xml");
        Sound(&s, c.below, c.above);
        EXPECT_EQ(s.Flower(), c.planted ? 1 : 0) << c.what;
        EXPECT_EQ(s.GetPhase(), c.planted ? CLxTGameScr5::kBetweenOne : CLxTGameScr5::kFirstOne)
            << c.what;
        EXPECT_EQ(s.Rows() & 1, c.lower ? 1 : 0) << c.what;
        uint32_t upper = Middle(&s, 0, false), lower = Middle(&s, 0, true);
        EXPECT_EQ(upper, c.planted && !c.lower ? kRed[0] : kBed) << c.what;
        EXPECT_EQ(lower, c.planted && c.lower ? kBlue[0] : kBed) << c.what;
        EXPECT_EQ(Rect(s.Can()).left, c.planted ? 108 : 60) << c.what;
    }
}

TEST_F(Flowers, MeasuresOfNoVoiceAreNotCounted) {
    CLxTGameScr5 s("data\\beszedjavj.xml");
    Voiced(&s, 40, 0.05f);
    Voiced(&s, 3, std::nanf(""));
    EXPECT_EQ(s.Below() + s.Above(), 0);
    Quiet(&s, 1);
    EXPECT_EQ(s.Flower(), 0);
}

TEST_F(Flowers, BetweenFlowersANewSoundCountsFromItsSeventhStep) {
    CLxTGameScr5 s("data\\beszedjavj.xml");
    Sound(&s, 31, 0);
    ASSERT_EQ(s.GetPhase(), CLxTGameScr5::kBetweenOne);
    Quiet(&s, 1);
    Voiced(&s, 5, kLow);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kBetweenOne);
    Voiced(&s, 1, kLow);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kCountOne);
    EXPECT_EQ(s.Below() + s.Above(), 0);
    Voiced(&s, 1, kLow);
    EXPECT_EQ(s.Above(), 1);
}

TEST_F(Flowers, TwelveFlowersEndTheFirstStage) {
    CLxTGameScr5 s("data\\beszedjavj.xml");
    for (int k = 0; k < 12; ++k)
        Sound(&s, k % 3 ? 31 : 0, k % 3 ? 0 : 31);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kFirstTwo);
    EXPECT_EQ(s.Flower(), 0);
    EXPECT_EQ(s.Rows(), 0b001001001001);
    EXPECT_EQ(Rect(s.Can()).left, 36);
    EXPECT_EQ(s.Can()->PictureFor(s.Can()->GetState()), s.Can()->m_aPictures[4]);
    EXPECT_EQ(Pixel(60, 314), kCan); // the watering can
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(Middle(&s, k, k % 3 == 0), k % 3 ? kRed[0] : kBlue[0]) << k;
}

TEST_F(Flowers, SecondStageBloomsOnAMatchAndWiltsOtherwise) {
    CLxTGameScr5 s("data\\beszedjavj.xml");
    for (int k = 0; k < 12; ++k)
        Sound(&s, k % 2 ? 31 : 0, k % 2 ? 0 : 31); // even flowers lower and blue
    ASSERT_EQ(s.GetPhase(), CLxTGameScr5::kFirstTwo);
    Sound(&s, 0, 31); // flower 0 is lower: a match
    EXPECT_EQ(Middle(&s, 0, true), kBlue[1]);
    EXPECT_EQ(Middle(&s, 0, false), kBed);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kBetweenTwo);
    EXPECT_EQ(Rect(s.Can()).left, 84);
    Quiet(&s, 1);
    Sound(&s, 0, 31); // flower 1 is upper: a mismatch
    EXPECT_EQ(Middle(&s, 1, false), kRed[2]);
    EXPECT_EQ(Middle(&s, 1, true), kWater);
    // The second stage's threshold is the second split (0.6): 0.7 is above it here.
    Quiet(&s, 1);
    Voiced(&s, 6, 0.7f);
    Voiced(&s, 31, 0.7f);
    Quiet(&s, 1);
    EXPECT_EQ(Middle(&s, 2, true), kBlue[1]);
    for (int k = 3; k < 12; ++k) {
        Quiet(&s, 1);
        Sound(&s, 31, 0);
    }
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kFirstTwo); // a new pass of the second stage
    EXPECT_EQ(Rect(s.Can()).left, 36);
    Sound(&s, 31, 0); // the pass starts with the flowers as they were planted
    EXPECT_EQ(Middle(&s, 1, true), kBed);
    EXPECT_EQ(Middle(&s, 0, true), kBlue[2]); // flower 0 is lower: a mismatch again
    EXPECT_EQ(Middle(&s, 0, false), kWater);
    EXPECT_EQ(Middle(&s, 1, false), kRed[0]);
    EXPECT_EQ(Middle(&s, 3, false), kRed[0]);
}

TEST_F(Flowers, CalibrationOfEachStagesThreshold) {
    CLxTGameScr5 s("data\\beszedjavj.xml");
    Click(&s, "fo.sprite");
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kCalibrateOne);
    EXPECT_EQ(Rect(s.Can()).left, 12);
    EXPECT_FLOAT_EQ(s.CalibrationSum(), 0.78f);
    Voiced(&s, 4, 0.7f);
    Quiet(&s, 1); // too short: starts over
    EXPECT_EQ(s.Count(), 1);
    Voiced(&s, 10, 0.7f);
    Quiet(&s, 1);
    EXPECT_FLOAT_EQ(g_Settings.aGame5Split[0], (0.78f + 7.0f) / 11);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kFirstOne);
    EXPECT_EQ(Rect(s.Can()).left, 60);
    EXPECT_EQ(s.Can()->m_nFlags & kSelected, 0);
    // A click during a calibration ends it and keeps the threshold.
    Click(&s, "fo.sprite");
    Voiced(&s, 12, 0.2f);
    Click(&s, "fo.sprite");
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kFirstOne);
    EXPECT_FLOAT_EQ(g_Settings.aGame5Split[0], (0.78f + 7.0f) / 11);
}

// The second stage's calibration starts from the second threshold, also when the child
// already speaks as it starts (not from the first threshold or an earlier sum).
TEST_F(Flowers, SecondStageCalibrationStartsFromItsOwnThreshold) {
    CLxTGameScr5 s("data\\beszedjavj.xml");
    for (int k = 0; k < 12; ++k)
        Sound(&s, 31, 0);
    ASSERT_EQ(s.GetPhase(), CLxTGameScr5::kFirstTwo);
    Voiced(&s, 5, 0.9f);
    Click(&s, "fo.sprite");
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kCalibrateTwo);
    EXPECT_FLOAT_EQ(s.CalibrationSum(), 0.6f);
    Voiced(&s, 10, 0.5f);
    Quiet(&s, 1);
    EXPECT_FLOAT_EQ(g_Settings.aGame5Split[1], (0.6f + 5.0f) / 11);
    EXPECT_FLOAT_EQ(g_Settings.aGame5Split[0], 0.78f);
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kFirstTwo);
    EXPECT_EQ(Rect(s.Can()).left, 36);
}

TEST_F(Flowers, ClickWhilePlantingStartsAgainWithACalibration) {
    CLxTGameScr5 s("data\\beszedjavj.xml");
    Sound(&s, 0, 31);
    ASSERT_EQ(s.Flower(), 1);
    Click(&s, "fo.sprite");
    EXPECT_EQ(s.GetPhase(), CLxTGameScr5::kCalibrateOne);
    EXPECT_EQ(s.Flower(), 0);
    EXPECT_EQ(s.Rows(), 0);
    EXPECT_EQ(Middle(&s, 0, true), kBed);
}

TEST_F(Flowers, SliderSetsTheTime) {
    CLxTGameScr5 s("data\\beszedjavj.xml");
    auto* ido = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.ido"));
    ASSERT_TRUE(ido);
    EXPECT_EQ(ido->m_nValue, 30);
    ido->SetValue(10);
    Click(&s, "fo.ido");
    EXPECT_EQ(g_Settings.nGame5Time, 10);
    Sound(&s, 0, 11);
    EXPECT_EQ(s.Flower(), 1);
}
} // namespace
