// The reading screen under reading game 1 and the letter selection screen: what the
// screen shows for a vowel, a consonant, an extra letter and a letter outside the
// course; the buttons' messages and the steps through the course; the lesson number
// field; the letter card of extra letters; the choice of game class by the letter; and
// the selection screen's pictures and messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "media/LxSoundDevice.h"
#include "media/LxSoundServer.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "reading/LxRGameScr1.h"
#include "reading/LxRGameScr2.h"
#include "reading/LxRPGameScr1.h"
#include "reading/LxReadingScreens.h"
#include "reading/LxReadingSelScr.h"
#include "shell/LxScreenSwitch.h"
#include "shell/LxScreenTable.h"
#include "shell/LxWindowProc.h"
#include "test_reading_support.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxText.h"

using namespace reading_test;

namespace {

class Reading : public ReadingTest {
  protected:
    std::unique_ptr<CLxRGameScr1> Open() {
        return std::make_unique<CLxRGameScr1>("data\\olvfej.xml");
    }
    static int Flags(CLxScreen* s, const char* name) {
        CLxControl* c = s->GetGUI()->FindControl(name);
        return c ? c->m_nFlags : -1;
    }
    static int Click(CLxScreen* s, const char* name) {
        CLxControl* c = s->GetGUI()->FindControl(name);
        EXPECT_NE(c, nullptr) << name;
        if (!c) return -1;
        CLxMouseEvent e(c, 0, 0, kMouseClick, 1);
        return s->OnMouseEvent(&e);
    }
    static int Enter(CLxScreen* s, const char* number) {
        s->SetControlText("fo.szam", number);
        CLxKeyEvent e(s->GetGUI()->FindControl("fo.szam"), kKeyChar, 13, 0);
        return s->OnKeyEvent(&e);
    }
    static uint32_t Back(CLxScreen* s, int x, int y) {
        return GetPixel(s->GetGUI()->m_pBackground, x, y);
    }
};

struct ShownCase {
    const char* letter;
    const char* selectedTab;
    bool games[8]; // games 2 to 7 enabled (index 0 and 1 unused)
    const char* number;
};

TEST_F(Reading, TheScreenShowsTheLessonOfTheLetter) {
    const ShownCase cases[] = {
        {"a", "fo.maganhangzok", {false, false, true, false, false, false, false, false}, "1"},
        {"m", "fo.massalhangzok", {false, false, false, true, false, false, false, true}, "2"},
        {"ií", "fo.maganhangzok", {false, false, false, false, false, false, false, false}, "3"},
        {"b-p", "fo.fonemaparok2", {false, false, false, false, false, false, false, false}, "6"},
    };
    for (const ShownCase& c : cases) {
        SCOPED_TRACE(c.letter);
        g_nCourseLetter = Code(c.letter);
        g_nCourseLesson = -1;
        std::unique_ptr<CLxReadingScr> screen;
        if (IsExtraLetter(Code(c.letter)))
            screen = std::make_unique<CLxRPGameScr1>("data\\olvfej.xml");
        else
            screen = Open();
        EXPECT_TRUE(Flags(screen.get(), c.selectedTab) & kSelected);
        EXPECT_TRUE(Flags(screen.get(), "fo.jatek1") & kSelected);
        for (int game = 2; game <= 7; ++game) {
            std::string name = "fo.jatek" + std::to_string(game);
            EXPECT_EQ((Flags(screen.get(), name.c_str()) & kEnabled) != 0, c.games[game]) << name;
        }
        auto* number = dynamic_cast<CLxText*>(screen->GetGUI()->FindControl("fo.szam"));
        ASSERT_NE(number, nullptr);
        EXPECT_STREQ(number->GetText(), c.number);
        EXPECT_FALSE(Flags(screen.get(), "t.tovabb") & kVisible);
    }
}

// The mended fault: a letter without a course entry was looked up at entry -1.
// The games take their material from the course read at start-up, the lesson that
// comes first for the letter, and the element named exactly.
TEST_F(Reading, LessonMaterialComesFromTheLoadedCourse) {
    std::remove("data/olvfej_tem.xml");
    std::vector<std::string> words = LessonList(DecodeLetter("t"), "game1", "words", 8);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0], "tök");
    EXPECT_EQ(words[2], "ott");
    EXPECT_TRUE(LessonList(DecodeLetter("t"), "game", "words", 8).empty());
    EXPECT_TRUE(LessonList(DecodeLetter("a"), "game1", "words", 8).empty());
}

TEST_F(Reading, ALetterOutsideTheCourseHasNoLessonAndNoGames) {
    g_nCourseLetter = Code("e");
    g_nCourseLesson = -1;
    auto screen = Open();
    EXPECT_EQ(g_nCourseLesson, -1);
    for (int game = 2; game <= 7; ++game) {
        std::string name = "fo.jatek" + std::to_string(game);
        EXPECT_FALSE(Flags(screen.get(), name.c_str()) & kEnabled) << name;
    }
    EXPECT_STREQ(dynamic_cast<CLxText*>(screen->GetGUI()->FindControl("fo.szam"))->GetText(), "");
    EXPECT_EQ(Enter(screen.get(), "0"), 0);
}

TEST_F(Reading, ButtonsStopTheRecorderAndSendTheirMessage) {
    const struct {
        const char* name;
        UINT msg;
    } cases[] = {{"fo.kilepes", 16},         {"fo.vissza", 1024},       {"fo.maganhangzok", 1035},
                 {"fo.massalhangzok", 1034}, {"fo.fonemaparok3", 1038}, {"fo.jatek1", 1026},
                 {"fo.jatek3", 1028},        {"fo.jatek7", 1032},       {"fo.jatek8", 1033}};
    Choose(1);
    auto screen = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_sent.clear();
        g_Driver.aLetters[0] = 'x';
        EXPECT_EQ(Click(screen.get(), c.name), static_cast<int>(c.msg));
        EXPECT_EQ(SentMessages(), (std::vector<UINT>{1084, c.msg}));
        EXPECT_EQ(g_Driver.aLetters[0], 0);
    }
    g_sent.clear();
    EXPECT_EQ(Click(screen.get(), "t.tovabb"), 0);
    EXPECT_TRUE(g_sent.empty());
}

TEST_F(Reading, StepsMoveThroughTheCourseAndStopAtItsEnds) {
    const struct {
        int from;
        const char* button;
        int to;
    } cases[] = {{1, "fo.elore", 2}, {1, "fo.hatra", 0}, {0, "fo.hatra", 0}, {6, "fo.elore", 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + c.button);
        Choose(c.from);
        auto screen = Open();
        g_sent.clear();
        EXPECT_EQ(Click(screen.get(), c.button), 1026);
        EXPECT_EQ(SentMessages(), (std::vector<UINT>{1084, 1026}));
        EXPECT_EQ(g_nCourseLesson, c.to);
        // The letter is taken from the entry when the next screen resolves it.
        ResolveCoursePosition();
        EXPECT_EQ(g_nCourseLetter, g_aCourse[c.to][0]);
    }
}

TEST_F(Reading, EnterOnTheLessonNumberOpensThatLessonsLetter) {
    auto screen = Open();
    const struct {
        const char* text;
        int result;
    } cases[] = {{"0", 0}, {"8", 0}, {"", 0}, {"1", 1039}, {"7", 1039}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        g_sent.clear();
        EXPECT_EQ(Enter(screen.get(), c.text), c.result);
        EXPECT_EQ(g_sent.size(), c.result ? 1u : 0u);
    }
    EXPECT_EQ(g_sent.back(), (std::pair<UINT, WPARAM>{1039, Code("s-sz-zs")}));
    // Another key or another control does nothing.
    CLxKeyEvent other(screen->GetGUI()->FindControl("fo.szam"), kKeyChar, 'x', 0);
    EXPECT_EQ(screen->OnKeyEvent(&other), 0);
    CLxKeyEvent elsewhere(screen->GetGUI()->FindControl("fo.vissza"), kKeyChar, 13, 0);
    EXPECT_EQ(screen->OnKeyEvent(&elsewhere), 0);
}

TEST_F(Reading, AConsonantsCardIsItsCallPictureAndAMissingOneIsLeftOut) {
    Choose(1); // m
    auto m = Open();
    EXPECT_EQ(Back(m.get(), 380, 82), kPictureM);
    EXPECT_EQ(Back(m.get(), 380 - 37, 82), kBackground);
    Choose(4); // s has no call picture
    testing::internal::CaptureStdout();
    auto s = Open();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Error: ReadingScr: Call pic. not found. 's' 73"), std::string::npos) << out;
    EXPECT_EQ(Back(s.get(), 380, 82), kBackground);
}

TEST_F(Reading, AnExtraLettersCardIsLaidOutInRowsByItsHyphens) {
    CLxRLEFonts* font = g_pFontServer->GetFont("data\\fonts\\tnr32.xml");
    // b-p: one row at y = 72, nothing above it.
    Choose(5);
    auto pair = std::make_unique<CLxRPGameScr1>("data\\olvfej.xml");
    std::string row = "b-p";
    int x = 612 - font->RawTextWidth(row.c_str()) / 2;
    EXPECT_EQ(Back(pair.get(), x, 73), 0x04A820u);
    EXPECT_EQ(Back(pair.get(), x + GlyphWidth('b') + 2, 73), 0x808080u);
    EXPECT_EQ(Back(pair.get(), x, 33), kBackground);
    // s-sz-zs: "s-" above at y = 32, "sz-zs" below at y = 72.
    pair.reset();
    Choose(6);
    pair = std::make_unique<CLxRPGameScr1>("data\\olvfej.xml");
    std::string top = "s-", bottom = TextToCodes("sz") + "-" + TextToCodes("zs");
    int xTop = 612 - font->RawTextWidth(top.c_str()) / 2;
    int xBottom = 612 - font->RawTextWidth(bottom.c_str()) / 2;
    EXPECT_EQ(Back(pair.get(), xTop, 33), 0x04A820u);
    EXPECT_EQ(Back(pair.get(), xTop + GlyphWidth('s') + 2, 33), 0x808080u);
    EXPECT_EQ(Back(pair.get(), xBottom, 73), 0x04A820u);
    EXPECT_EQ(Back(pair.get(), xBottom + GlyphWidth(Code("sz")) + 2, 73), 0x808080u);
    EXPECT_EQ(pair->MemberCount(), 3);
    EXPECT_EQ(pair->Member(1), Code("sz"));
}

// The help sound is held only between entering and leaving the help button, and the
// screen gives back what it holds exactly once.
TEST_F(Reading, TheHelpSpeaksWhileTheMouseIsOnItsButton) {
    std::string wave = "RIFF" + Le32(36 + 200) + "WAVEfmt " + Le32(16) + Le16(1) + Le16(1) +
                       Le32(22050) + Le32(44100) + Le16(2) + Le16(16) + "data" + Le32(200) +
                       std::string(200, '\0');
    WriteFile("data/help/RGame1g.wav", wave);
    WritePicture("data/help/RGame1g.bmp", 0x00FFFF, 66, 12);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    g_pPlayer = new CLxSoundDevice(false);
    ASSERT_TRUE(g_pPlayer->OpenPlayer(-1, -1));
    g_pSoundServer = new CLxSoundServer;
    {
        auto screen = Open();
        CLxControl* help = screen->GetGUI()->FindControl("fo.help");
        CLxMouseEvent enter(help, 0, 0, kMouseEnter, 0), leave(help, 0, 0, kMouseLeave, 0);
        screen->OnMouseEvent(&enter);
        ASSERT_NE(screen->m_pHelpSound, nullptr);
        EXPECT_TRUE(help->m_nFlags & kSelected);
        EXPECT_EQ(GetPixel(g_pDrawSurface, 300, 60), 0x00FFFFu);
        screen->OnMouseEvent(&enter); // entered again: the first one is given back
        EXPECT_EQ(g_pSoundServer->GetUseCount(screen->m_pHelpSound), 1);
        screen->OnMouseEvent(&leave);
        EXPECT_EQ(screen->m_pHelpSound, nullptr);
        EXPECT_FALSE(help->m_nFlags & kSelected);
        EXPECT_EQ(GetPixel(g_pDrawSurface, 300, 60), kBackground);
        screen->OnMouseEvent(&enter);
        EXPECT_NE(screen->m_pHelpSound, nullptr);
    } // destroyed while holding it
    delete g_pSoundServer;
    g_pSoundServer = nullptr;
    delete g_pPlayer;
    g_pPlayer = nullptr;
}

class ReadingWindow : public Reading {
  protected:
    void SetUp() override {
        Reading::SetUp();
        ClearScreenTable();
        RegisterReadingScreens();
        LxSetMessageHandler(WindowProc);
    }
    void TearDown() override {
        DeleteAllScreens();
        ClearScreenTable();
        Reading::TearDown();
    }
};

// The class comes from the chosen letter: after 1039 there is no course entry yet, and
// a letter outside the course never gets one.
TEST_F(ReadingWindow, TheChosenLetterDecidesTheGameClass) {
    WindowProc(1039, Code("b-p"), 1034);
    EXPECT_NE(dynamic_cast<CLxRPGameScr1*>(g_pActiveScreen), nullptr);
    EXPECT_EQ(g_nCourseLesson, 5);
    WindowProc(1039, Code("e"), 1035);
    EXPECT_NE(dynamic_cast<CLxRGameScr1*>(g_pActiveScreen), nullptr);
    EXPECT_EQ(g_nCourseLesson, -1);
    WindowProc(1026, 0, 0);
    EXPECT_NE(dynamic_cast<CLxRGameScr1*>(g_pActiveScreen), nullptr);
    EXPECT_STREQ(g_pActiveScreen->GetName(), "RGame1g");
}

// Game 2's button opens game 2 of a single letter; an extra letter, whose pair
// variant is not there, gets its game 1 rather than no screen at all.
TEST_F(ReadingWindow, EachGameOpensItsPairVariantForAPair) {
    Choose(0); // a
    WindowProc(1027, 0, 0);
    EXPECT_NE(dynamic_cast<CLxRGameScr2*>(g_pActiveScreen), nullptr);
    Choose(5); // b-p
    const struct {
        UINT msg;
        const char* name;
    } games[] = {{1026, "RPGame1s"}, {1027, "RPGame2a"}, {1028, "RPGame3"},
                 {1029, "RPGame4"},  {1030, "RPGame5s"}, {1031, "RPGame6"}};
    for (const auto& game : games) {
        WindowProc(game.msg, 0, 0);
        ASSERT_NE(g_pActiveScreen, nullptr) << game.msg;
        EXPECT_STREQ(g_pActiveScreen->GetName(), game.name);
    }
}

TEST_F(Reading, SelectionButtonsShowTheirLettersPicturesAndOpenTheLetter) {
    WritePicture("data/sel/betuk/sz0.bmp", 0xFF00FF, 200, 150);
    WritePicture("data/sel/betuk/öö0.bmp", 0x00C000, 200, 150);
    WritePicture("data/sel/betuk/öö1.bmp", 0x00E000, 200, 150);
    WriteFile(
        "data/sel/consel.xml",
        "<Lexo background=\"..\\olvbg\" path=\"betuk\">\n<group name=\"fo\" position=\"0,0\">\n"
        "<unselected disabled=\"..\\fo_0\" passive=\"..\\fo_4\" active=\"..\\fo_5\"/>\n</group>\n" +
            Button("01sz", 100, 100) + Button("02ő", 400, 100) + Button("vissza", 700, 500) +
            "</Lexo>\n");
    CLxReadingSelScr screen("data\\sel\\consel.xml", 1034);
    EXPECT_EQ(screen.PictureFolder(), "data\\sel\\betuk\\");
    CLxGroup* group = screen.GetGUI()->FindGroup("fo");
    ASSERT_NE(group, nullptr);
    // Button 02ő is 60 x 30 at (400, 100): the box is centred on (430, 115).
    EXPECT_EQ(GetPixel(group->m_aPictures[4], 430, 115), 0x00C000u);
    EXPECT_EQ(GetPixel(group->m_aPictures[5], 430, 115), 0x00E000u);
    // sz0 is all magenta: nothing shows.
    EXPECT_EQ(GetPixel(group->m_aPictures[4], 130, 115), 0x000040u);
    EXPECT_EQ(SelectionLetter("fo.02ő"), Code("ő"));
    EXPECT_EQ(SelectionLetter("fo.vissza"), 0);
    CLxMouseEvent click(screen.GetGUI()->FindControl("fo.01sz"), 0, 0, kMouseClick, 1);
    EXPECT_EQ(screen.OnMouseEvent(&click), 1039);
    ASSERT_EQ(g_sent.size(), 1u);
    EXPECT_EQ(g_sent[0], (std::pair<UINT, WPARAM>{1039, Code("sz")}));
    EXPECT_EQ(g_sentL[0], 1034);
}

} // namespace
