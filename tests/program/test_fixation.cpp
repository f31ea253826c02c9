// The fixation screen: a letter's picture group brought up as sprites (the rest hidden),
// a picture dropped 30 pixels outside a frame landing in it while one dropped 50 pixels
// outside goes home and leaves the frame as it was, the word written under the picture
// on page 6, the recognised day letter drawn over the selected frame only, and the
// full-screen view rebuilt from its own description with the camera, the page, the
// selected frame and the running recorder kept.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "media/LxCamera.h"
#include "media/LxCameraSource.h"
#include "media/LxSmallPic.h"
#include "reading/LxLetters.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxSettings.h"
#include "shell/LxUserRecords.h"
#include "test_children_support.h"
#include "therapy/LxTheraphyScr3.h"
#include "ui/LxGroup.h"
#include "ui/LxSprite.h"

using namespace therapy_test;

namespace {
constexpr uint32_t kPictureColour = 0x40A040;
// The first frame, (100, 200)-(300, 400) on the screen.
constexpr RECT kFrame = {100, 200, 300, 400};

class Fixation : public ChildrenTest {
  protected:
    void SetUp() override {
        ChildrenTest::SetUp();
        ui_test::WriteFont("tnr128");
        std::string catalogue = "<Lexo path=\"smallpic\">\n";
        for (int i = 0; i < 3; ++i) {
            catalogue += "<picture name=\"p" + std::to_string(i) + "\" syllable=\"w" +
                         std::to_string(i) + "\" word=\"szo" + std::to_string(i) + "\"/>\n";
            ui_test::WritePicture("data/smallpic/p" + std::to_string(i) + ".bmp", kPictureColour,
                                  96, 96);
        }
        catalogue += "<group name=\"s1\" pictures=\"szo0, szo1, szo2\"/>\n";
        WriteFile("data/smallpic.xml", catalogue);
        g_pSmallPics = new CLxSmallPic("data\\smallpic.xml");
        std::string fo =
            Button("rogzites", 10, 10) + Button("szobe", 60, 10) + Button("minta", 110, 10);
        for (int i = 0; i < 3; ++i)
            fo += "<control type=\"checkbox\" name=\"v0" + std::to_string(i) +
                  "\"><common rect=\"" + std::to_string(100 + 220 * i) +
                  ",200,200,200\"/></control>\n";
        std::string groups = "<group name=\"bv\" position=\"0,150\">\n</group>\n" +
                             Button("b1s", 0, 0) + Button("b1sz", 50, 0);
        for (int n = 1; n <= 4; ++n)
            groups += Button(("c1" + std::to_string(n)).c_str(), 100 + 40 * n, 0);
        groups += "<group name=\"alja\" position=\"0,0\">\n</group>\n" + Button("m5", 700, 100) +
                  Button("m6", 700, 140) + Button("m7", 700, 180) +
                  "<group name=\"jobb\" position=\"0,0\">\n</group>\n" +
                  Button("fullscreen", 700, 220);
        WriteFile("data/beszedjav3.xml",
                  "<Lexo background=\"hatter\">\n<group name=\"fo\" position=\"0,0\">\n"
                  "<unselected disabled=\"fo_0\" passive=\"fo_4\" active=\"fo_5\"/>\n"
                  "<selected passive=\"fo_6\" active=\"fo_7\"/>\n</group>\n" +
                      fo + groups + "</Lexo>\n");
        // The full-screen view: small frames under the mirror, its own recorder and the
        // way back.
        std::string full;
        for (int i = 0; i < 3; ++i)
            full += "<control type=\"checkbox\" name=\"v0" + std::to_string(i) +
                    "\"><common rect=\"" + std::to_string(34 + 240 * i) +
                    ",440,150,150\"/></control>\n";
        full += "<group name=\"fö\" position=\"0,0\">\n</group>\n" + Button("felvetel", 34, 0) +
                Button("megallitas", 80, 0) + Button("pillanatallj", 126, 0) +
                Button("lejatszas", 172, 0) + "<group name=\"also\" position=\"0,0\">\n</group>\n" +
                Button("vissza", 600, 0) + "<group name=\"alja\" position=\"0,0\">\n</group>\n" +
                Button("tukor", 500, 0);
        WriteFile("data/beszedjav3f.xml",
                  "<Lexo background=\"hatter\">\n<group name=\"fo\" position=\"0,0\">\n"
                  "<unselected disabled=\"fo_0\" passive=\"fo_4\" active=\"fo_5\"/>\n"
                  "<selected passive=\"fo_6\" active=\"fo_7\"/>\n</group>\n" +
                      full + "</Lexo>\n");
        setenv(kCameraVariable, kCameraNone, 1);
        std::snprintf(g_Settings.szTherapy3Group, sizeof g_Settings.szTherapy3Group, "s1");
        for (int& p : g_Settings.aTherapy3Pictures)
            p = -1;
    }
    void TearDown() override {
        DriverStopTimer();
        unsetenv(kCameraVariable);
        delete g_pSmallPics;
        g_pSmallPics = nullptr;
        ChildrenTest::TearDown();
    }
    // Moves sprite k so that its top-left corner is at (x, y) and lets it go.
    static int DropAt(CLxTheraphyScr3* s, int k, int x, int y) {
        CLxBMPSprite* sprite = s->m_apSprites[k];
        RECT r{x, y, x + 96, y + 96};
        sprite->m_pRects[0] = r;
        CLxMouseEvent e(sprite, x + 10, y + 10, kMouseClick, 0);
        s->OnMouseEvent(&e);
        return s->m_aFramePictures[0];
    }
};

TEST_F(Fixation, TheGroupComesUpAsSprites) {
    CLxTheraphyScr3 s("data\\beszedjav3.xml");
    EXPECT_STREQ(s.GetName(), "Theraphy3");
    Click(&s, "alja.m5");
    ASSERT_EQ(s.m_nPage, 5);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ((State(&s, ("kepek.s0" + std::to_string(k)).c_str()) & kVisible) != 0, k < 3)
            << k;
    EXPECT_TRUE(State(&s, "bv.b1s") & kSelected);
    EXPECT_EQ(State(&s, "bv.c11"), 14); // the current number
    EXPECT_EQ(State(&s, "bv.c12"), 8);  // no group "s2"
    RECT home;
    ASSERT_TRUE(s.m_apSprites[1]->GetDrawRect(&home));
    EXPECT_EQ(home.left, 16 + 104);
    EXPECT_EQ(home.top, 144 + 344);
}

TEST_F(Fixation, ADropJustOutsideAFrameLandsAndAFarOneGoesHome) {
    CLxTheraphyScr3 s("data\\beszedjav3.xml");
    Click(&s, "alja.m5");
    const struct {
        int x, y;
        int frame; // the picture in frame 0 afterwards
    } drops[] = {
        {kFrame.right + 50 - 96, 250, -1},      // 50 px right of the frame: home
        {kFrame.left - 30, kFrame.top - 30, 1}, // 30 px above and left: lands
        {kFrame.left - 50, 250, 1},             // 50 px left: home, frame kept
    };
    for (const auto& d : drops) {
        EXPECT_EQ(DropAt(&s, 1, d.x, d.y), d.frame) << d.x << "," << d.y;
        RECT r;
        ASSERT_TRUE(s.m_apSprites[1]->GetDrawRect(&r));
        EXPECT_EQ(r.left, 16 + 104) << "home after " << d.x;
        EXPECT_EQ(r.top, 144 + 344) << "home after " << d.x;
    }
    EXPECT_EQ(g_Settings.aTherapy3Pictures[0], 1);
    CLxGroup* fo = s.GetGUI()->FindGroup("fo");
    EXPECT_EQ(GetPixel(fo->m_aPictures[4], 200, 300), kPictureColour);
}

TEST_F(Fixation, TheDayLetterShowsOverTheSelectedFrameOnly) {
    std::string codes = Codes("s");
    std::memcpy(g_Driver.aScreenLetters, codes.c_str(), codes.size() + 1);
    ResetTaskValues();
    g_Driver.fMinLevel = 100;
    CLxTheraphyScr3 s("data\\beszedjav3.xml");
    Click(&s, "alja.m5");
    g_Driver.nWrite = 2;
    g_Driver.aHistory[kRowLevel][2] = 50;
    g_Driver.aHistory[1][2] = 0.9f;
    CLxTimerEvent tick(1, 1086, 0);
    s.OnTimerEvent(&tick);
    EXPECT_EQ(g_Driver.aLetters[0], 0); // no frame selected
    s.GetGUI()->FindControl("fo.v01")->m_nFlags |= kSelected | kVisible;
    s.OnTimerEvent(&tick);
    EXPECT_EQ(g_Driver.aLetters[0], DecodeLetter(codes.c_str()));
    EXPECT_EQ(g_Driver.aRects[0].left, 320);
    EXPECT_EQ(uint32_t(g_Driver.aColors[0]) >> 24, uint32_t((1 - 0.9f) * 255));
}

TEST_F(Fixation, WithoutACameraThereIsNoFullScreenView) {
    CLxTheraphyScr3 s("data\\beszedjav3.xml");
    EXPECT_FALSE(State(&s, "jobb.fullscreen") & kEnabled);
    EXPECT_FALSE(State(&s, "fo.Camera") & kVisible);
}

TEST_F(Fixation, TheFullScreenViewKeepsPageFrameAndRecorder) {
    setenv(kCameraVariable, kCameraPattern, 1);
    CLxTheraphyScr3 s("data\\beszedjav3.xml");
    ASSERT_TRUE(State(&s, "jobb.fullscreen") & kEnabled);
    EXPECT_FALSE(State(&s, "fo.Camera") & kVisible); // the windowed view has no mirror
    Click(&s, "alja.m6");
    s.GetGUI()->FindControl("fo.v01")->m_nFlags |= kSelected;
    DriverStartTimer(kMsgRecord);
    sent_.clear();
    Click(&s, "jobb.fullscreen");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgFixation);
    int view = int(sent_[0].wParam);
    EXPECT_EQ(view, 6 | CLxTheraphyScr3::kFullScreen | CLxTheraphyScr3::kFirstFrameBit << 1);

    CLxTheraphyScr3 full("data\\beszedjav3.xml", view);
    EXPECT_TRUE(full.FullScreen());
    EXPECT_EQ(full.Page(), 6);
    EXPECT_TRUE(State(&full, "fo.v01") & kSelected);
    EXPECT_FALSE(State(&full, "fo.v00") & kSelected);
    EXPECT_EQ(State(&full, "fö.felvetel") & 0xF, 6 | kVisible); // still recording
    ASSERT_EQ(g_pCamera, full.m_pCamera);
    EXPECT_EQ(full.m_pCamera->m_nState, CLxCamera::kRunning);
    EXPECT_TRUE(State(&full, "fo.Camera") & kVisible);
    RECT home;
    ASSERT_TRUE(full.m_apSprites[2]->GetDrawRect(&home));
    EXPECT_EQ(home.left, CLxTheraphyScr3::kFullHomeX);
    EXPECT_EQ(home.top, 2 * CLxTheraphyScr3::kFullHomeStep);
    // A picture dropped on the small frame lands there, drawn shrunk into it.
    EXPECT_EQ(DropAt(&full, 0, 34, 440), 0);
    CLxGroup* fo = full.GetGUI()->FindGroup("fo");
    EXPECT_EQ(GetPixel(fo->m_aPictures[4], 34 + 20, 440 + 20), kPictureColour);

    sent_.clear();
    Click(&full, "also.vissza");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgFixation);
    EXPECT_EQ(int(sent_[0].wParam), 6 | CLxTheraphyScr3::kFirstFrameBit << 1);
}
} // namespace
