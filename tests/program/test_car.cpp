// The car game on driver steps set by hand: how far a step at a voicing above and below
// the threshold moves the car, the car kept inside the road's period however long the
// child drives, the picture of the wheels' phase, the redraw where the car went, one
// move per driver step, and the speed slider.
#include <gtest/gtest.h>

#include "media/LxDraw.h"
#include "test_therapy_support.h"
#include "therapy/LxTGameScr1.h"
#include "ui/LxScrollBar.h"
#include "ui/LxSprite.h"

using namespace therapy_test;

namespace {
constexpr uint32_t kCarColour = 0xd03020, kRoadColour = 0x404048;

class Car : public TherapyTest {
  protected:
    void SetUp() override {
        TherapyTest::SetUp();
        g_Driver.nWrite = -1;
        WriteFile("data/beszedjavj_1.xml",
                  "<Lexo>\n<group name=\"fo\">\n</group>\n"
                  "<control type=\"slider\" name=\"seb\" range=\"0,200\"><common "
                  "rect=\"680,500,100,20\"/></control>\n</Lexo>\n");
        ui_test::WritePicture("data/ut.bmp", kRoadColour, 652, 276);
        for (int n = 1; n <= 8; ++n)
            ui_test::WritePicture("data/sprites/auto" + std::to_string(n) + ".bmp", kCarColour, 200,
                                  100);
    }
    void Voiced(CLxTGameScr1* s, int steps, float voicing) {
        for (int i = 0; i < steps; ++i)
            VoiceStep(s, {0.5f, false, voicing, 0.5f});
    }
    static RECT CarRect(CLxTGameScr1* s) {
        RECT r{};
        s->Car()->GetDrawRect(&r);
        return r;
    }
};

TEST_F(Car, StepAtVoicingAboveAndBelowTheThreshold) {
    struct Case {
        float position, voicing;
        bool silent;
        int speed;
        float next;
    } cases[] = {
        {300.0f, 0.56f, false, 100, 304.0f},  // (10 x 0.2)^2
        {300.0f, 0.46f, false, 100, 301.0f},  // (10 x 0.1)^2
        {300.0f, 0.56f, false, 50, 301.0f},   // (5 x 0.2)^2
        {300.0f, 0.36f, false, 100, 300.0f},  // at the threshold the car stands
        {300.0f, 0.20f, false, 100, 300.0f},  // below it too
        {300.0f, 0.56f, true, 100, 300.0f},   // silence stands whatever the voicing
        {798.0f, 0.56f, false, 100, 2.0f},    // past the road's end: back at its start
        {300.0f, 3.00f, false, 200, 687.84f}, // 300 + (20 x 2.64)^2 = 3087.84, less 3 x 800
        {300.0f, 0.56f, false, -100, 304.0f}, // the square does not care for the sign
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CLxTGameScr1::Advance(c.position, c.voicing, c.silent, c.speed), c.next, 0.01f)
            << c.position << " " << c.voicing << " " << c.silent << " " << c.speed;
    EXPECT_EQ(CLxTGameScr1::Advance(300.0f, std::nanf(""), false, 100), 300.0f);
}

TEST_F(Car, PlaceAndPictureFollowThePosition) {
    struct Case {
        float position;
        int left, picture;
    } cases[] = {{300.0f, 140, 0}, {304.0f, 144, 3}, {10.0f, -150, 0}, {799.5f, 639, 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(CLxTGameScr1::CarLeft(c.position), c.left) << c.position;
        EXPECT_EQ(CLxTGameScr1::CarPicture(c.position), c.picture) << c.position;
    }
}

// Hours of driving: the position stays a small number, so each step still moves the car.
TEST_F(Car, PositionStaysInsideTheRoadsPeriod) {
    CLxTGameScr1 s("data\\beszedjavj.xml");
    for (int i = 0; i < 5000; ++i) {
        Voiced(&s, 1, 0.56f);
        ASSERT_GE(s.Position(), 0.0f);
        ASSERT_LT(s.Position(), CLxTGameScr1::kRoadPeriod);
    }
    EXPECT_NEAR(s.Position(), std::fmod(300.0f + 5000 * 4.0f, 800.0f), 0.5f);
    EXPECT_GE(CarRect(&s).left, -160);
    EXPECT_LT(CarRect(&s).left, 640);
}

TEST_F(Car, TheCarIsDrawnWhereItWentAndTheRoadWhereItWas) {
    CLxTGameScr1 s("data\\beszedjavj.xml");
    RECT start = CarRect(&s);
    EXPECT_EQ(start.left, 140);
    EXPECT_EQ(start.top, CLxTGameScr1::kCarY);
    EXPECT_EQ(Pixel(200, 470), kCarColour);
    // 30 steps of (10 x 0.3)^2 = 9 pixels: the car moves 270 pixels to the right.
    Voiced(&s, 30, 0.66f);
    EXPECT_NEAR(s.Position(), 570.0f, 0.01f);
    EXPECT_EQ(CarRect(&s).left, 410);
    EXPECT_EQ(Pixel(500, 470), kCarColour);
    EXPECT_NE(Pixel(200, 470), kCarColour); // the road shows where the car stood
}

// The road picture stretched over its place, and the background's lower part repeating
// the strip above it.
TEST_F(Car, TheRoadLiesOverTheRepeatedStrip) {
    CLxTGameScr1 s("data\\beszedjavj.xml");
    CLxSurface* background = s.GetGUI()->m_pBackground;
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(GetPixel(background, 8, 240), kRoadColour);
    EXPECT_EQ(GetPixel(background, 659, 515), kRoadColour);
    EXPECT_NE(GetPixel(background, 7, 300), kRoadColour);
    EXPECT_EQ(GetPixel(background, 4, 450), GetPixel(background, 4, 250));
}

TEST_F(Car, OneMovePerDriverStep) {
    CLxTGameScr1 s("data\\beszedjavj.xml");
    Voiced(&s, 1, 0.56f);
    EXPECT_FLOAT_EQ(s.Position(), 304.0f);
    Tick(&s, 1086); // the step's second event
    Tick(&s, 275);  // the window timer
    EXPECT_FLOAT_EQ(s.Position(), 304.0f);
}

TEST_F(Car, SpeedSliderSetsTheSetting) {
    g_Settings.nGame1Speed = 100;
    CLxTGameScr1 s("data\\beszedjavj.xml");
    auto* seb = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.seb"));
    ASSERT_TRUE(seb);
    EXPECT_EQ(seb->m_nValue, 100);
    seb->SetValue(50);
    Click(&s, "fo.seb");
    EXPECT_EQ(g_Settings.nGame1Speed, 50);
    Voiced(&s, 1, 0.56f);
    EXPECT_FLOAT_EQ(s.Position(), 301.0f);
}

TEST_F(Car, MissingPicturesLeaveTheGameRunning) {
    std::remove("data/ut.bmp");
    for (int n = 1; n <= 8; ++n)
        std::remove(("data/sprites/auto" + std::to_string(n) + ".bmp").c_str());
    CLxTGameScr1 s("data\\beszedjavj.xml");
    Voiced(&s, 3, 0.56f);
    EXPECT_FLOAT_EQ(s.Position(), 312.0f);
}
} // namespace
