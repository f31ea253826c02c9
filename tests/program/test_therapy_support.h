// What the therapy-game tests share: a data folder with the games' description (group
// "fo" with the recorder buttons and the header, group "jobb" with the game buttons),
// the frog game's extra description with its two sliders, a grey background, a frog
// picture and its print mask; a recorder of the messages screens send; a clock that
// moves only when a test says; and driver steps set by hand.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PictureWriter.h"
#include "shell/LxClock.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgram.h"
#include "shell/LxSettings.h"
#include "shell/LxTHistory.h"
#include "shell/LxUserRecords.h"
#include "test_controls_support.h"
#include "ui/LxScreen.h"

namespace therapy_test {

struct Sent {
    UINT msg;
    std::string text; // the lParam as a text, for 1075
    WPARAM wParam = 0;
};

inline std::vector<Sent>* g_sent = nullptr;
inline int g_clock = 0;

inline LRESULT Record(UINT msg, WPARAM wParam, LPARAM lParam) {
    std::string text = msg == 1075 && lParam ? reinterpret_cast<const char*>(lParam) : "";
    g_sent->push_back({msg, text, wParam});
    return 0;
}

constexpr uint32_t kGrey = 0x808080;

inline std::string Button(const char* name, int x, int y) {
    return std::string("<control type=\"button\" name=\"") + name + "\"><common rect=\"" +
           std::to_string(x) + "," + std::to_string(y) + ",40,30\"/></control>\n";
}

class TherapyTest : public ui_test::UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        std::memset(&g_Driver, 0, sizeof g_Driver);
        ResetSettings();
        g_szUserName[0] = 0;
        g_szTherapyDate[0] = 0;
        g_pHistory = new CLxTHistory;
        g_sent = &sent_;
        LxSetMessageHandler(Record);
        g_clock = 0;
        LxSetClock([] { return g_clock; });
        WriteData();
    }
    void TearDown() override {
        LxSetClock(nullptr);
        LxSetMessageHandler(nullptr);
        g_sent = nullptr;
        delete g_pHistory;
        g_pHistory = nullptr;
        g_szUserName[0] = 0;
        std::memset(&g_Driver, 0, sizeof g_Driver);
        ResetSettings();
        UiTest::TearDown();
    }

    static void WriteData() {
        ui_test::WritePicture("data/hatter.bmp", kGrey);
        for (const char* state : {"fo_0", "fo_4", "fo_5", "fo_6", "fo_7"})
            ui_test::WritePicture(std::string("data/") + state + ".bmp", 0x204060, 800, 600);
        std::string fo, jobb;
        const char* names[] = {"fo.felvetel",      "fo.megallitas",     "fo.pillanatallj",
                               "fo.lejatszas",     "fo.sugo",           "fo.kilepes",
                               "fo.bnev",          "fo.hangfejlesztes", "fo.rogzites",
                               "fo.automatizalas", "fo.hangbe",         "fo.elokeszites",
                               "fo.mentes"};
        int x = 0;
        for (const char* n : names)
            fo += Button(n + 3, x += 50, 560);
        for (const char* n : {"vnev", "knev", "szoveg"})
            fo += std::string("<control type=\"text\" name=\"") + n +
                  "\" length=\"40\" text=\"\" rect=\"" + std::to_string(x += 50) +
                  ",10,40,20\"><common/></control>\n";
        for (int i = 1; i <= 6; ++i)
            jobb += Button(("j" + std::to_string(i)).c_str(), 700, 40 * i);
        jobb += Button("vissza", 700, 300);
        WriteFile("data/beszedjavj.xml",
                  "<Lexo background=\"hatter\">\n<group name=\"fo\" position=\"0,0\">\n"
                  "<unselected disabled=\"fo_0\" passive=\"fo_4\" active=\"fo_5\"/>\n"
                  "<selected passive=\"fo_6\" active=\"fo_7\"/>\n</group>\n" +
                      fo + "<group name=\"jobb\" position=\"0,0\">\n</group>\n" + jobb +
                      "</Lexo>\n");
        WriteFile("data/beszedjavj_3.xml",
                  "<Lexo>\n<group name=\"fo\">\n</group>\n"
                  "<control type=\"slider\" name=\"seb\" range=\"0,100\"><common "
                  "rect=\"680,420,100,20\"/></control>\n"
                  "<control type=\"slider\" name=\"mag\" range=\"0,200\"><common "
                  "rect=\"680,460,100,20\"/></control>\n"
                  "</Lexo>\n");
        ui_test::WritePicture("data/sprites/breki.bmp", 0x30a030, 66, 48);
        LxImage print;
        print.width = 66;
        print.height = 48;
        print.pixels.assign(66 * 48, 0xFF000000u);
        WriteFile("data/sprites/brekik.rle", EncodeMask(print, 128, false));
    }

    // One driver step: the histories at a new write index, then the driver's event.
    void DriverStep(CLxScreen* screen, float level, bool silent, int message = 1086) {
        VoiceStep(screen, {level, silent, 0.0f, 0.0f}, message);
    }
    // What the driver measured in one step, for the games that read more than the level.
    struct Voice {
        float level;
        bool silent;
        float voicing; // ten times the periodicity
        float pitch;   // (500 - Hz) / 500
    };
    void VoiceStep(CLxScreen* screen, Voice v, int message = 1086) {
        g_Driver.nWrite = (g_Driver.nWrite + 1) % kHistoryMax;
        g_Driver.aHistory[kRowLevel][g_Driver.nWrite] = v.level;
        g_Driver.aHistory[kRowSilence][g_Driver.nWrite] = v.silent ? 1.0f : 0.0f;
        g_Driver.aHistory[kRowVoicing][g_Driver.nWrite] = v.voicing;
        g_Driver.aHistory[kRowPitch][g_Driver.nWrite] = v.pitch;
        Tick(screen, message);
    }
    void Tick(CLxScreen* screen, int message) {
        g_clock += 10;
        CLxTimerEvent event(1, message, LxClock());
        static_cast<ILxTimerListener*>(screen)->OnTimerEvent(&event);
    }
    static void Click(CLxScreen* screen, const char* name) {
        CLxControl* c = screen->GetGUI()->FindControl(name);
        ASSERT_NE(c, nullptr) << name;
        CLxMouseEvent event(c, 0, 0, kMouseClick, 0);
        static_cast<ILxMouseListener*>(screen)->OnMouseEvent(&event);
    }
    static int State(CLxScreen* screen, const char* name) {
        int state = -1;
        screen->GetControlState(name, &state);
        return state;
    }

    std::vector<Sent> sent_;
};

} // namespace therapy_test
