// The sound-development screen: the nine letters weighed by their class scores (solid at
// 1, half-way to the yellow outline at 0.5, unpractised slots blank), the one big letter
// chosen from the day's letters with and without each letter's own level, the pages a
// machine without camera offers, and the mirror pages running the test-pattern camera
// into the mirror's rectangle while the dark pages stop it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "media/LxCamera.h"
#include "media/LxPatternSource.h"
#include "reading/LxLetters.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxSettings.h"
#include "shell/LxUserRecords.h"
#include "test_children_support.h"
#include "therapy/LxSoundLetters.h"
#include "therapy/LxTheraphyScr2.h"
#include "ui/LxTimeDiagramm.h"

using namespace therapy_test;

namespace {

class SoundDevelopment : public ChildrenTest {
  protected:
    void SetUp() override {
        ChildrenTest::SetUp();
        for (const char* font : {"tnr64", "tnr64o", "tnr256"})
            ui_test::WriteFont(font);
        std::string fo, jobb;
        int x = 0;
        for (const char* n : {"felvetel", "megallitas", "pillanatallj", "lejatszas",
                              "hangfejlesztes", "sugo", "bnev", "szobe", "minta"})
            fo += Button(n, x += 45, 10);
        for (int k = 0; k <= 9; ++k)
            fo += Button(("fa0" + std::to_string(k)).c_str(), 40 * k, 100);
        fo += TextField("szavak", 600, 300) + TextField("szoveg", 600, 340);
        x = 0;
        for (const char* n : {"m0", "m1", "m2", "m3", "m4", "tukor"})
            jobb += Button(n, 620, x += 40);
        for (int k = 0; k <= 5; ++k)
            fo += Button(("ido" + std::to_string(k)).c_str(), 700, 300 + 30 * k);
        std::string al = "<group name=\"al\" position=\"0,150\">\n</group>\n";
        for (int row = 0; row < 9; ++row) {
            std::string r = std::to_string(row);
            al += TextField(("tf" + r).c_str(), 0, 0) + Button(("bm" + r).c_str(), 0, 0) +
                  Button(("bp" + r).c_str(), 0, 0) + "<control type=\"numberfield\" name=\"nf" + r +
                  "\" font=\"tnr32\" rect=\"0,0,30,16\"><common rect=\"0,0,30,16\"/></control>\n"
                  "<control type=\"timediagramm\" name=\"td" +
                  r + "\"><common rect=\"0,0,10,10\"/></control>\n";
        }
        WriteFile("data/beszedjav2.xml",
                  "<Lexo background=\"hatter\">\n<group name=\"fo\" position=\"0,0\">\n"
                  "<unselected disabled=\"fo_0\" passive=\"fo_4\" active=\"fo_5\"/>\n"
                  "<selected passive=\"fo_6\" active=\"fo_7\"/>\n</group>\n" +
                      fo + "<group name=\"jobb\" position=\"0,0\">\n</group>\n" + jobb + al +
                      "</Lexo>\n");
        std::memset(g_Driver.aScreenLetters, 0, sizeof g_Driver.aScreenLetters);
        ResetTaskValues();
        g_Driver.fMinLevel = 100;
    }
    void TearDown() override {
        unsetenv(kCameraVariable);
        ChildrenTest::TearDown();
    }
    // The day's letters, as text.
    static void Practise(const char* letters) {
        std::string codes = Codes(letters);
        std::memset(g_Driver.aScreenLetters, 0, sizeof g_Driver.aScreenLetters);
        std::memcpy(g_Driver.aScreenLetters, codes.data(), codes.size());
        TaskValuesFromLetters();
    }
    static unsigned char Letter(const char* text) { return DecodeLetter(Codes(text).c_str()); }
    // One driver tick with the given level and scores by place.
    static void Tick(CLxScreen* s, float level,
                     std::initializer_list<std::pair<int, float>> scores) {
        g_Driver.nWrite = 5;
        for (auto& row : g_Driver.aHistory)
            row[5] = 0;
        g_Driver.aHistory[kRowLevel][5] = level;
        for (auto [place, score] : scores)
            g_Driver.aHistory[place][5] = score;
        CLxTimerEvent e(1, 1086, 0);
        s->OnTimerEvent(&e);
    }
    static void ChoosePage(CLxScreen* s, int page) {
        Click(s, ("jobb.m" + std::to_string(page)).c_str());
    }
};

TEST_F(SoundDevelopment, NineLettersAreWeighedByTheirScores) {
    setenv(kCameraVariable, kCameraNone, 1);
    Practise("s zs");
    CLxTheraphyScr2 s("data\\beszedjav2.xml");
    ChoosePage(&s, 3);
    ASSERT_EQ(s.m_nPage, 3);
    // s at place 1, sz (not practised) at 2, zs at 3.
    EXPECT_EQ(g_Driver.aLetters[0], Letter("s"));
    EXPECT_EQ(g_Driver.aLetters[1], ' ');
    EXPECT_EQ(g_Driver.aLetters[2], Letter("zs"));
    EXPECT_EQ(g_Driver.aLetters[9], 0);
    Tick(&s, 50, {{1, 1.0f}, {2, 1.0f}, {3, 0.5f}});
    const uint32_t yellow = 0xF0F000;
    struct {
        int slot;
        uint32_t colour, outline;
    } expected[] = {
        {0, yellow, 0xEF000000 | yellow}, // solid; its outline all letter colour, faint
        {2, 0x77000000 | yellow, 0x77000000 | 0xF6F01C},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(uint32_t(g_Driver.aColors[e.slot]), e.colour) << e.slot;
        EXPECT_EQ(uint32_t(g_Driver.aColors2[e.slot]), e.outline) << e.slot;
    }
    EXPECT_EQ(g_Driver.aLetters[1], ' '); // the unpractised slot stays blank
    // Too quiet: hidden, the outline yellow again.
    Tick(&s, 1, {{1, 1.0f}});
    EXPECT_EQ(uint32_t(g_Driver.aColors[0]) >> 24, 0xFFu);
    EXPECT_EQ(uint32_t(g_Driver.aColors2[0]), kOutlineYellow);
}

TEST_F(SoundDevelopment, TheBigLetterIsTheBestCountingDayLetter) {
    setenv(kCameraVariable, kCameraNone, 1);
    Practise("s sz");
    g_aTaskValues[1] = 35; // s: its own level 0.35
    g_aTaskValues[2] = 70; // sz: its own level 0.7; the minimum (task 0) is 0.3
    CLxTheraphyScr2 s("data\\beszedjav2.xml");
    ChoosePage(&s, 1);
    const struct {
        bool useMinLevel;
        float level, s, sz;
        const char* shown; // empty: none
        int weight;
    } cases[] = {
        {false, 50, 0.6f, 0.5f, "s", 95},  // the higher score wins
        {false, 50, 0.5f, 0.6f, "sz", 95}, //
        {false, 50, 0.6f, 0.6f, "s", 95},  // equals: the first day letter
        {true, 50, 0.2f, 0.6f, "", 0},     // sz below its own level, s below the minimum
        {true, 50, 0.4f, 0.6f, "s", 143},  // s above the minimum; sz hidden by its level
        {false, 50, 0.2f, 0.25f, "", 0},   // both below the minimum
        {false, 20, 0.9f, 0.9f, "", 0},    // too quiet (a quarter of the minimum level)
    };
    for (const auto& c : cases) {
        g_Settings.bUseMinLevel = c.useMinLevel;
        Tick(&s, c.level, {{1, c.s}, {2, c.sz}});
        unsigned char want = c.shown[0] ? Letter(c.shown) : 0;
        EXPECT_EQ(g_Driver.aLetters[0], want) << c.shown << " " << c.s << "/" << c.sz;
        if (want) {
            EXPECT_EQ(uint32_t(g_Driver.aColors[0]) >> 24, uint32_t(c.weight)) << c.shown;
        }
    }
}

TEST_F(SoundDevelopment, DayLettersBeyondTheTaskTableAreIgnored) {
    setenv(kCameraVariable, kCameraNone, 1);
    // An order longer than the task table: "x" stands at place 21, beyond its 20 values.
    WriteFile("data/beszedjav.xml", "<character order=\"_, s, sz, zs, r, l, k, g, c, cs, d, t, n, "
                                    "m, p, b, f, v, h, j, ny, x\"/>\n");
    LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
    ASSERT_EQ(TherapyOrder()[21], Letter("x"));
    const char* letters = "x s";
    std::string codes = Codes(letters);
    std::memcpy(g_Driver.aScreenLetters, codes.data(), codes.size());
    CLxTheraphyScr2 s("data\\beszedjav2.xml");
    ChoosePage(&s, 1);
    Tick(&s, 50, {{21, 1.0f}, {1, 0.6f}});
    EXPECT_EQ(g_Driver.aLetters[0], Letter("s"));
    ChoosePage(&s, 4);
    EXPECT_EQ(s.m_diagrams.Rows(), 1);
}

TEST_F(SoundDevelopment, WithoutCameraTheMirrorPagesAreOff) {
    setenv(kCameraVariable, kCameraNone, 1);
    CLxTheraphyScr2 s("data\\beszedjav2.xml");
    EXPECT_STREQ(s.GetName(), "Theraphy2");
    EXPECT_EQ(s.PageMask(), 26);
    for (int page = 0; page < 5; ++page)
        EXPECT_EQ((State(&s, ("jobb.m" + std::to_string(page)).c_str()) & kEnabled) != 0,
                  page == 1 || page == 3 || page == 4)
            << page;
    ChoosePage(&s, 3);
    EXPECT_FALSE(State(&s, "jobb.tukor") & kEnabled);
    EXPECT_EQ(GetPixel(s.GetGUI()->m_pBackground, 300, 300), CLxTheraphyScr2::kDarkPage);
}

TEST_F(SoundDevelopment, MirrorPagesRunTheCameraIntoTheMirror) {
    setenv(kCameraVariable, kCameraPattern, 1);
    CLxTheraphyScr2 s("data\\beszedjav2.xml");
    ASSERT_NE(g_pCamera, nullptr);
    EXPECT_EQ(s.PageMask(), 31);
    ChoosePage(&s, 0);
    EXPECT_TRUE(State(&s, "jobb.tukor") & kEnabled);
    EXPECT_EQ(g_pCamera->m_nState, CLxCamera::kRunning);
    bool drawn = false;
    for (int waited = 0; waited < 5000 && !drawn; waited += 5, SDL_Delay(5))
        drawn = g_pCamera->DrawPendingFrame();
    ASSERT_TRUE(drawn);
    EXPECT_EQ(Pixel(90, 180), CLxPatternSource::kTopLeft);
    EXPECT_EQ(Pixel(566, 536), CLxPatternSource::kBottomRight);
    Click(&s, "jobb.tukor");
    EXPECT_EQ(g_bMirror, 1);
    ChoosePage(&s, 1);
    EXPECT_EQ(g_pCamera->m_nState, CLxCamera::kStopped);
    EXPECT_FALSE(State(&s, "jobb.tukor") & kEnabled);
    g_bMirror = 0;
}
TEST_F(SoundDevelopment, TheDiagramPageHasARowPerKnownDayLetter) {
    setenv(kCameraVariable, kCameraNone, 1);
    g_Driver.nHistoryLen = 512;
    struct {
        const char* letters;
        int rows;
        bool tall;
    } cases[] = {
        {"s zs", 2, true},
        {"s sz zs r l k", 6, false},
        {"s sz zs r l k g c cs", 9, false},
    };
    for (const auto& c : cases) {
        Practise(c.letters);
        CLxTheraphyScr2 s("data\\beszedjav2.xml");
        ChoosePage(&s, 4);
        EXPECT_EQ(s.m_diagrams.Rows(), c.rows) << c.letters;
        CLxCGUI* gui = s.GetGUI();
        RECT r;
        ASSERT_TRUE(gui->FindControl("al.td0")->GetDrawRect(&r));
        // Moved by the group origin (0, 150).
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
                  c.tall ? (std::vector<int>{88, 150, 600, 214})
                         : (std::vector<int>{88, 150, 600, 182}))
            << c.letters;
        EXPECT_EQ((State(&s, "al.bm0") & kVisible) != 0, c.tall) << c.letters;
        for (int row = 0; row < 9; ++row)
            EXPECT_EQ((State(&s, ("al.td" + std::to_string(row)).c_str()) & kVisible) != 0,
                      row < c.rows)
                << c.letters << " row " << row;
        ChoosePage(&s, 3);
        EXPECT_FALSE(State(&s, "al.td0") & kVisible) << c.letters;
    }
}

TEST_F(SoundDevelopment, LevelsAreSteppedDraggedAndKeepTheirPractisedBit) {
    setenv(kCameraVariable, kCameraNone, 1);
    Practise("s zs");
    g_aTaskValues[3] = 40 | kTaskNotPractised; // a stray top bit must stay
    CLxTheraphyScr2 s("data\\beszedjav2.xml");
    ChoosePage(&s, 4);
    Click(&s, "al.bp0");
    EXPECT_EQ(g_aTaskValues[1], 71);
    Click(&s, "al.bm1");
    EXPECT_EQ(g_aTaskValues[3], 39 | kTaskNotPractised);
    auto* diagram = static_cast<CLxTimeDiagramm*>(s.GetGUI()->FindControl("al.td0"));
    diagram->m_nThreshold = CLxTimeDiagramm::kFull; // dragged to the top
    CLxMouseEvent drag(diagram, 100, 150, kMouseDrag, 0);
    s.OnMouseEvent(&drag);
    EXPECT_EQ(g_aTaskValues[1], 100);
    Click(&s, "al.bp0"); // no higher than 100
    EXPECT_EQ(g_aTaskValues[1], 100);
    EXPECT_EQ(diagram->m_nThreshold, CLxTimeDiagramm::kFull);
}

TEST_F(SoundDevelopment, TimeButtonsRestartTheDiagramsWithTheirLength) {
    setenv(kCameraVariable, kCameraNone, 1);
    Practise("s");
    g_Driver.nHistoryLen = 2048;
    g_Driver.nWrite = 700;
    CLxTheraphyScr2 s("data\\beszedjav2.xml");
    ChoosePage(&s, 4);
    Click(&s, "fo.ido2");
    EXPECT_EQ(g_Driver.nHistoryLen, 512);
    EXPECT_EQ(g_Driver.nWrite, 0);
    EXPECT_TRUE(State(&s, "fo.ido2") & kSelected);
    auto* diagram = static_cast<CLxTimeDiagramm*>(s.GetGUI()->FindControl("al.td0"));
    EXPECT_EQ(diagram->m_nValues, 512);
    EXPECT_EQ(diagram->m_pValues, g_Driver.aHistory[1]);
    Click(&s, "fo.ido4");
    EXPECT_EQ(g_Driver.nHistoryLen, 2048);
    EXPECT_FALSE(State(&s, "fo.ido2") & kSelected);
}
} // namespace
