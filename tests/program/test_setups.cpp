// The level and voice set-ups: minus and plus keep a level within 0 to 100 and keep its
// "not practised" bit, typed levels, the "useminlevel" check box colouring the fields,
// task marks from the day's letters, the microphone volume bound to its slider (and a
// disabled slider without a mixer), the noise and sensitivity sliders, the meter's
// colours, segments and marks, and the driver's mode while the microphone is tried.
#include <gtest/gtest.h>

#include "media/LxDraw.h"
#include "media/LxVolume.h"
#include "test_children_support.h"
#include "therapy/LxTSetupScr.h"
#include "therapy/LxTasks.h"
#include "therapy/LxVSetupScr.h"

using namespace therapy_test;

namespace {

std::string Control(const char* type, const std::string& name, int x, int y,
                    const char* extra = "") {
    return std::string("<control type=\"") + type + "\" name=\"" + name + "\" " + extra +
           " rect=\"" + std::to_string(x) + "," + std::to_string(y) +
           ",40,24\"><common/></control>\n";
}

std::string Group(const char* name) {
    return std::string("<group name=\"") + name +
           "\" position=\"0,0\">\n<unselected disabled=\"fo_0\" passive=\"fo_4\" "
           "active=\"fo_5\"/>\n"
           "<selected passive=\"fo_6\" active=\"fo_7\"/>\n</group>\n";
}

class Setups : public ChildrenTest {
  protected:
    void SetUp() override {
        ChildrenTest::SetUp();
        std::string fo = Group("fo");
        for (int i = 0; i < 10; ++i) {
            char n[8];
            std::snprintf(n, sizeof n, "%02d", i);
            fo += Control("text", std::string("tf") + n, 60 * i, 200, "length=\"20\" text=\"\"");
            fo += Control("numberfield", std::string("nf") + n, 60 * i, 240,
                          "length=\"3\" text=\"\" range=\"0,100\"");
            fo += Button((std::string("bm") + n).c_str(), 60 * i, 280);
            fo += Button((std::string("bp") + n).c_str(), 60 * i, 320);
            if (i > 0) fo += Control("checkbox", std::string("fa") + n, 60 * i, 360);
        }
        fo += Control("checkbox", "figyel", 400, 180) + Button("mentes", 500, 180) +
              Button("beallit", 560, 180);
        WriteFile("data/beszedjavl.xml", "<Lexo background=\"hatter\">\n" + fo + Group("al") +
                                             Button("vissza", 700, 550) + "</Lexo>\n");
        std::string v = Group("fo");
        for (const char* n : {"felvetel", "megallitas", "pillanatallj", "lejatszas"})
            v += Button(n, 10 + 50 * int(v.size() % 7), 10);
        v += Control("slider", "hangero", 100, 300, "range=\"0,100\"") +
             Control("slider", "zaj", 100, 340, "range=\"0,1000\"") +
             Control("slider", "erzekenyseg", 100, 380, "range=\"0,1000\"");
        WriteFile("data/beszedjavv.xml", "<Lexo background=\"hatter\">\n" + v + Group("al") +
                                             Button("vissza", 700, 550) + "</Lexo>\n");
        std::memset(g_Driver.aScreenLetters, 0, sizeof g_Driver.aScreenLetters);
    }
    void TearDown() override {
        LxSetVolumeFactory(nullptr);
        ChildrenTest::TearDown();
    }
    static int Value(CLxScreen* s, const char* name) {
        auto* field = dynamic_cast<CLxNumberField*>(s->GetGUI()->FindControl(name));
        return field ? field->GetValue() : -1;
    }
};

TEST_F(Setups, PlusAndMinusStayWithin0And100AndKeepTheTopBit) {
    const struct {
        int value, step, result;
    } cases[] = {
        {100, 1, 100},
        {0, -1, 0},
        {50, 1, 51},
        {50, -1, 49},
        {kTaskNotPractised | 100, 1, kTaskNotPractised | 100},
        {kTaskNotPractised | 0, -1, kTaskNotPractised | 0},
        {kTaskNotPractised | 70, -1, kTaskNotPractised | 69},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLxTSetupScr::StepLevel(c.value, c.step), c.result) << c.value << " " << c.step;
}

TEST_F(Setups, TheLevelButtonsChangeTheTaskValuesAndShowThem) {
    g_Settings.bUseMinLevel = true;
    CLxTSetupScr s("data\\beszedjavl.xml");
    EXPECT_STREQ(s.GetName(), "TSetup");
    EXPECT_EQ(Shown(&s, "fo.tf00"), "Minimális szint:");
    EXPECT_EQ(Shown(&s, "fo.tf02"), "sz");
    EXPECT_EQ(Value(&s, "fo.nf03"), 70);
    Click(&s, "fo.bp03");
    Click(&s, "fo.bp03");
    Click(&s, "fo.bm00");
    EXPECT_EQ(g_aTaskValues[3], kTaskNotPractised | 72);
    EXPECT_EQ(Value(&s, "fo.nf03"), 72);
    EXPECT_EQ(g_aTaskValues[0], 29);
    sent_.clear();
    Click(&s, "al.vissza");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgTherapySetupDone);
}

TEST_F(Setups, UseMinLevelEnablesAndColoursTheLevels) {
    g_Settings.bUseMinLevel = false;
    CLxTSetupScr s("data\\beszedjavl.xml");
    auto colour = [&](const char* name) {
        return dynamic_cast<CLxText*>(s.GetGUI()->FindControl(name))->m_nColor;
    };
    EXPECT_FALSE(State(&s, "fo.bp01") & kEnabled);
    EXPECT_EQ(colour("fo.nf01"), 0x404040);
    EXPECT_EQ(colour("fo.tf01"), 0x808080);
    s.SetControlFlag("fo.figyel", kSelected, true); // as the check box's own click does
    Click(&s, "fo.figyel");
    EXPECT_TRUE(g_Settings.bUseMinLevel);
    EXPECT_TRUE(State(&s, "fo.bp01") & kEnabled);
    EXPECT_EQ(colour("fo.nf01"), 0xF0F000);
    EXPECT_EQ(colour("fo.tf01"), 0x804000);
}

TEST_F(Setups, ATypedLevelIsStoredWithItsTopBit) {
    g_Settings.bUseMinLevel = true;
    CLxTSetupScr s("data\\beszedjavl.xml");
    auto* field = dynamic_cast<CLxNumberField*>(s.GetGUI()->FindControl("fo.nf05"));
    ASSERT_NE(field, nullptr);
    field->SetText("42");
    CLxKeyEvent event(field, kKeyChar, '2', 0);
    static_cast<ILxKeyListener*>(&s)->OnKeyEvent(&event);
    EXPECT_EQ(g_aTaskValues[5], kTaskNotPractised | 42);
}

TEST_F(Setups, TaskMarksFollowTheDaysLetters) {
    g_Driver.aScreenLetters[0] = TherapyOrder()[2];
    CLxTSetupScr s("data\\beszedjavl.xml");
    EXPECT_EQ(State(&s, "fo.fa02"), 14);
    EXPECT_EQ(State(&s, "fo.fa01"), 12);
    s.SetControlFlag("fo.fa01", kSelected, true); // the check box's own click
    Click(&s, "fo.fa01");
    EXPECT_TRUE(IsTaskMarked(1));
    EXPECT_FALSE(g_aTaskValues[1] & kTaskNotPractised);
    s.SetControlFlag("fo.fa02", kSelected, false);
    Click(&s, "fo.fa02");
    EXPECT_FALSE(IsTaskMarked(2));
    EXPECT_TRUE(g_aTaskValues[2] & kTaskNotPractised);
}

// A fake mixer for the voice set-up.
struct FakeVolume : IVolume {
    static inline uint32_t volume = 0;
    static inline bool control = true;
    static inline Callback callback = nullptr;
    bool HasVolumeControl() override { return control; }
    void EnableLine() override {}
    void DisableLine() override {}
    uint32_t GetSteps() override { return 64; }
    uint32_t GetMinVolume() override { return 0; }
    uint32_t GetMaxVolume() override { return 63; }
    uint32_t GetVolume() override { return volume; }
    void SetVolume(uint32_t value) override { volume = value; }
    void SetCallback(Callback c, void*) override { callback = c; }
};

TEST_F(Setups, TheVolumeSliderFollowsTheMixerAndIsDisabledWithoutOne) {
    for (bool mixer : {true, false}) {
        FakeVolume::control = mixer;
        FakeVolume::volume = 20;
        LxSetVolumeFactory([]() -> IVolume* { return new FakeVolume; });
        CLxVSetupScr s("data\\beszedjavv.xml");
        EXPECT_EQ(bool(State(&s, "fo.hangero") & kEnabled), mixer);
        if (!mixer) continue;
        auto* slider = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.hangero"));
        EXPECT_EQ(slider->m_nMax, 63);
        EXPECT_EQ(slider->m_nValue, 20);
        slider->SetValue(40);
        Click(&s, "fo.hangero");
        EXPECT_EQ(FakeVolume::volume, 40u);
    }
}

TEST_F(Setups, TheVoiceSetupListensForLevelsAndTheSlidersSetThem) {
    g_Driver.fMinLevel = 0.002f;
    g_Driver.fMaxLevel = 0.75f;
    CLxVSetupScr s("data\\beszedjavv.xml");
    EXPECT_STREQ(s.GetName(), "VSetup");
    EXPECT_EQ(g_Driver.nState, kDriverLevels);
    EXPECT_EQ(g_Driver.nPeriod, 30);
    auto* noise = dynamic_cast<CLxScrollBar*>(s.GetGUI()->FindControl("fo.zaj"));
    EXPECT_EQ(noise->m_nValue, 2);
    noise->SetValue(100);
    Click(&s, "fo.zaj");
    EXPECT_FLOAT_EQ(g_Driver.fMinLevel, 0.1f);
}

TEST_F(Setups, TheMeterShowsColoursSegmentsAndMarks) {
    g_Driver.fMinLevel = 0.002f;
    g_Driver.fMaxLevel = 0.75f;
    CLxVSetupScr s("data\\beszedjavv.xml");
    auto at = [&](int x) { return GetPixel(s.Meter(), x, 12) & 0xFFFFFF; };
    g_Driver.nWrite = 3;
    g_Driver.aHistory[kRowLevel][3] = 0.8f;
    Tick(&s, kMsgRecord);
    EXPECT_EQ(at(1), 0u) << "the noise mark";
    EXPECT_EQ(at(375), 0u) << "the sensitivity mark";
    EXPECT_EQ(at(100), 0x04A820u);
    EXPECT_EQ(at(380), 0xFF0000u);
    EXPECT_EQ(at(398), 0xFF0000u);
    EXPECT_EQ(at(399), kGrey) << "the last gap below the level";
    EXPECT_EQ(at(103), kGrey) << "a gap between segments";
    EXPECT_EQ(at(420), kGrey) << "beyond the level";
    g_Driver.aHistory[kRowLevel][3] = 0.5f;
    Tick(&s, kMsgRecord);
    EXPECT_EQ(at(240), 0x04A820u);
    EXPECT_EQ(at(300), kGrey) << "the bar shrank";
    EXPECT_EQ(at(380), kGrey) << "no red below the sensitivity level";
}

} // namespace
