// What the reading screens' tests share: a data folder with the reading description
// (group "fo" in one-colour state pictures over a plain background, the game buttons,
// tabs, steps, lesson number and level meter; group "t" with "t.tovabb"), a small
// course (a, m, ií, t, s, b-p, s-sz-zs), a therapy order, a call-picture catalogue
// whose pictures are solid colours, the synthetic fonts, a fake clock and a recorder of
// the program messages the screens send.
#pragma once
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "media/LxCallPic.h"
#include "reading/LxLetters.h"
#include "shell/LxClock.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "test_controls_support.h"

namespace reading_test {

using namespace ui_test;

constexpr uint32_t kBackground = 0x202040;
constexpr uint32_t kPictureA = 0x3070C0, kPictureM = 0x60A0A0, kPictureT = 0xA0A060,
                   kPictureB = 0x806080, kPictureP = 0x608060;

inline int g_nNow = 0;
inline int FakeClock() {
    return g_nNow;
}

inline std::vector<std::pair<UINT, WPARAM>> g_sent;
inline std::vector<LPARAM> g_sentL;
inline LRESULT RecordMessage(UINT msg, WPARAM w, LPARAM l) {
    g_sent.emplace_back(msg, w);
    g_sentL.push_back(l);
    return 0;
}
inline std::vector<UINT> SentMessages() {
    std::vector<UINT> out;
    for (auto& m : g_sent)
        out.push_back(m.first);
    return out;
}

inline std::string Button(const std::string& name, int x, int y) {
    return "<control type=\"button\" name=\"" + name + "\" help=\"\">\n<common rect=\"" +
           std::to_string(x) + "," + std::to_string(y) + ",60,30\"/>\n</control>\n";
}

// The synthetic font of ui_test without a glyph for "$", which marks the accent colour
// in the reading games' texts, as in the real fonts.
inline void WriteReadingFont(const std::string& name) {
    std::string base;
    for (int code = 32; code < 256; ++code) {
        int w = GlyphWidth(code);
        if (!w || code == '$') continue;
        base += std::string(1, static_cast<char>(code)) + Le32(kGlyphHeight) + Le32(0) + Le16(w) +
                Le16(kGlyphHeight) + std::string(kGlyphHeight, static_cast<char>(w));
    }
    WriteFile("data/fonts/" + name + ".fnt", base);
    WriteFile("data/fonts/" + name + ".xml", "<Font base=\"" + name + ".fnt\">\n");
}

inline void WriteReadingDescription() {
    WritePicture("data/olvbg.bmp", kBackground);
    const char* names[] = {"fo_0", "fo_2", "fo_4", "fo_5", "fo_6", "fo_7"};
    const uint32_t colours[] = {0x000001, 0x000020, 0x000040, 0x000050, 0x000060, 0x000070};
    for (int i = 0; i < 6; ++i)
        WritePicture(std::string("data/") + names[i] + ".bmp", colours[i]);
    std::string controls;
    const char* buttons[] = {
        "kilepes",      "vissza", "maganhangzok", "massalhangzok", "fonemaparok1", "fonemaparok2",
        "fonemaparok3", "elore",  "hatra",        "help",          "jatek1",       "jatek2",
        "jatek3",       "jatek4", "jatek5",       "jatek6",        "jatek7",       "jatek8"};
    int i = 0;
    for (const char* b : buttons) {
        controls += Button(b, 680 + (i / 9) * 60, 10 + (i % 9) * 32);
        ++i;
    }
    WriteFile("data/olvfej.xml",
              "<Lexo background=\"olvbg\">\n<group name=\"fo\" position=\"0,0\">\n"
              "<unselected disabled=\"fo_0\" passive=\"fo_4\" active=\"fo_5\"/>\n"
              "<selected disabled=\"fo_2\" passive=\"fo_6\" active=\"fo_7\"/>\n</group>\n" +
                  controls +
                  "<control type=\"textfield\" name=\"szam\" length=\"3\" "
                  "rect=\"680,400,60,30\">\n<common/>\n</control>\n"
                  "<control type=\"text\" name=\"hangero\" length=\"3\" "
                  "rect=\"680,440,60,30\">\n<common/>\n</control>\n"
                  "<control type=\"text\" name=\"thangero\" length=\"3\" "
                  "rect=\"680,480,60,30\">\n<common/>\n</control>\n"
                  "<group name=\"t\" position=\"0,0\">\n</group>\n"
                  "<control type=\"button\" name=\"tovabb\">\n<common "
                  "rect=\"700,540,60,30\"/>\n</control>\n"
                  "</Lexo>\n");
}

class ReadingTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        for (const char* name : {"tnr32", "tnr48", "tnr128"})
            WriteReadingFont(name);
        WriteReadingDescription();
        WriteFile("data/olvfej_tem.xml",
                  "<Lexora>\n<character vowels=\"a, á, e, i, í, ií, ő\" consonants=\"b, m, p, s, "
                  "sz, t, zs\""
                  " pairs=\"ií\" order=\"a, m, ií, t, s, b-p, s-sz-zs\"></character>\n"
                  "<session character=\"a\"><game1/><game2/></session>\n"
                  "<session character=\"m\"><game1/><game3/><coloring/></session>\n"
                  "<session character=\"ií\"><game1/></session>\n"
                  "<session character=\"t\"><game1 words=\"tök, " +
                      std::string(40, 'a') + " " + std::string(40, 'a') +
                      ", ott\"/></session>\n"
                      "<session character=\"s\"><game1/></session>\n"
                      "<session character=\"b-p\"><game1/></session>\n</Lexora>\n");
        WriteFile("data/beszedjav.xml", "<character order=\"_, a, e, i, o, u, á, é, m, s\"/>\n");
        WriteFile("data/callpic.xml",
                  "<Lexora path=\"callpic\">\n"
                  "<character picture=\"a\" name=\"a\"><word word=\"alma\"/></character>\n"
                  "<character picture=\"m\" name=\"m\"><word word=\"mama\"/></character>\n"
                  "<character picture=\"i\" name=\"ií\"><word word=\"iz\"/><word "
                  "word=\"íj\"/></character>\n"
                  "<character picture=\"t\" name=\"t\"><word word=\"tök\"/></character>\n"
                  "<character picture=\"b\" name=\"b\"><word word=\"bab\"/></character>\n"
                  "<character picture=\"p\" name=\"p\"><word word=\"pap\"/></character>\n"
                  "</Lexora>\n");
        WritePicture("data/callpic/a.bmp", kPictureA, 64, 40);
        WritePicture("data/callpic/m.bmp", kPictureM, 64, 40);
        WritePicture("data/callpic/i.bmp", kPictureA, 64, 40);
        WritePicture("data/callpic/t.bmp", kPictureT, 64, 40);
        WritePicture("data/callpic/b.bmp", kPictureB, 64, 40);
        WritePicture("data/callpic/p.bmp", kPictureP, 64, 40);
        LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
        ASSERT_TRUE(LoadCourse("data\\olvfej_tem.xml"));
        g_pCallPics = new CLxCallPic("data\\callpic.xml");
        std::memset(&g_Driver, 0, sizeof g_Driver);
        g_Driver.fMinLevel = 0.002f;
        g_nNow = 1000;
        LxSetClock(FakeClock);
        g_sent.clear();
        g_sentL.clear();
        LxSetMessageHandler(RecordMessage);
        Choose(0);
    }
    void TearDown() override {
        LxSetMessageHandler(nullptr);
        LxSetClock(nullptr);
        delete g_pCallPics;
        g_pCallPics = nullptr;
        UiTest::TearDown();
    }
    // Makes entry i the current lesson, as the course start-up does.
    static void Choose(int entry) {
        g_nCourseLesson = entry;
        g_nCourseLetter = g_aCourse[entry][0];
    }
    static unsigned char Code(const char* text) { return DecodeLetter(text); }
};

} // namespace reading_test
