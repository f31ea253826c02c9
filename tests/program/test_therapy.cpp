// The therapy-games screen: clicks and the messages they send, the recorder buttons,
// the child's header, the driver mode a screen puts back when it returns to the front,
// and the name of a game's extra description.
#include <gtest/gtest.h>

#include <memory>

#include "reading/LxLetters.h"
#include "test_therapy_support.h"
#include "therapy/LxTGameScr.h"
#include "therapy/LxTGameScr3.h"
#include "ui/LxText.h"

using namespace therapy_test;

namespace {
class Therapy : public TherapyTest {
  protected:
    std::string Text(CLxScreen* s, const char* name) {
        auto* t = dynamic_cast<CLxText*>(s->GetGUI()->FindControl(name));
        return t ? t->GetText() : "<none>";
    }
    std::vector<UINT> Messages() {
        std::vector<UINT> out;
        for (const Sent& s : sent_)
            out.push_back(s.msg);
        return out;
    }
};

TEST_F(Therapy, ClicksSendTheirMessages) {
    struct Case {
        bool frog; // on the frog game (game button 3 selected) or on the menu
        const char* control;
        std::vector<UINT> messages;
    } cases[] = {
        {false, "jobb.j3", {1084, 1044}},     {true, "jobb.j3", {1044}},
        {true, "jobb.j1", {1084, 1042}},      {false, "fo.kilepes", {16}},
        {false, "jobb.vissza", {1024}},       {false, "fo.bnev", {1053}},
        {false, "fo.elokeszites", {1041}},    {false, "fo.hangfejlesztes", {1084, 1048}},
        {false, "fo.rogzites", {1084, 1049}}, {false, "fo.automatizalas", {1084, 1050}},
        {false, "fo.hangbe", {1084, 1057}},   {true, "fo.sugo", {1084, 1075}},
        {false, "fo.felvetel", {1086}},       {false, "fo.lejatszas", {1085}},
        {false, "fo.megallitas", {1084}},     {false, "fo.pillanatallj", {1087}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CLxScreen> s(c.frog ? new CLxTGameScr3("data\\beszedjavj.xml")
                                            : new CLxTGameScr("data\\beszedjavj.xml"));
        sent_.clear();
        Click(s.get(), c.control);
        EXPECT_EQ(Messages(), c.messages) << c.control << (c.frog ? " on the frog game" : "");
    }
}

TEST_F(Therapy, HelpOnTheFrogGameNamesItsScreen) {
    CLxTGameScr3 s("data\\beszedjavj.xml");
    Click(&s, "fo.sugo");
    ASSERT_EQ(sent_.size(), 2u);
    EXPECT_EQ(sent_[1].text, "TGame3");
}

TEST_F(Therapy, RecorderButtonsMirrorTheRecorder) {
    CLxTGameScr s("data\\beszedjavj.xml");
    auto states = [&] {
        return std::vector<int>{State(&s, "fo.felvetel"), State(&s, "fo.megallitas"),
                                State(&s, "fo.pillanatallj"), State(&s, "fo.lejatszas")};
    };
    EXPECT_EQ(states(), (std::vector<int>{12, 14, 8, 12})) << "stopped";
    Click(&s, "fo.felvetel");
    EXPECT_EQ(states(), (std::vector<int>{14, 12, 8, 12})) << "recording";
    Click(&s, "fo.lejatszas");
    EXPECT_EQ(states(), (std::vector<int>{12, 12, 12, 14})) << "playing";
    Click(&s, "fo.pillanatallj"); // not selected: the buttons keep their bits
    EXPECT_EQ(states(), (std::vector<int>{12, 12, 12, 14}));
    s.SetControlFlag("fo.pillanatallj", kSelected, true);
    Click(&s, "fo.pillanatallj");
    EXPECT_EQ(states(), (std::vector<int>{8, 8, 14, 8})) << "paused";
    Tick(&s, 1084); // the recording played to its end
    EXPECT_EQ(states(), (std::vector<int>{12, 14, 8, 12}));
    // The therapy tabs stop the recorder: the buttons must not go on showing it running.
    for (const char* tab : {"fo.hangfejlesztes", "fo.rogzites", "fo.automatizalas"}) {
        Click(&s, "fo.felvetel");
        Click(&s, tab);
        EXPECT_EQ(states(), (std::vector<int>{12, 14, 8, 12})) << tab;
    }
}

TEST_F(Therapy, GameButtonsShowTheGame) {
    CLxTGameScr menu("data\\beszedjavj.xml");
    EXPECT_EQ(State(&menu, "fo.szoveg"), 8);
    EXPECT_EQ(State(&menu, "jobb.j3") & kSelected, 0);
    CLxTGameScr3 frog("data\\beszedjavj.xml");
    EXPECT_EQ(State(&frog, "jobb.j3"), 14);
    EXPECT_EQ(State(&frog, "jobb.j2"), 12);
    EXPECT_EQ(State(&frog, "fo.szoveg"), 0);
}

TEST_F(Therapy, HeaderSplitsTheNameAndShowsTheLastDay) {
    struct Case {
        const char* name;
        const char* vnev;
        const char* knev;
    } cases[] = {
        {"Anna", "Anna", ""}, {"Kis Anna", "Kis", "Anna"}, {"Nagy Kis Anna", "Nagy Kis", "Anna"}};
    for (const Case& c : cases) {
        std::snprintf(g_szUserName, sizeof g_szUserName, "%s", TextToCodes(c.name).c_str());
        CLxTGameScr s("data\\beszedjavj.xml");
        EXPECT_EQ(Text(&s, "fo.vnev"), c.vnev) << c.name;
        EXPECT_EQ(Text(&s, "fo.knev"), c.knev) << c.name;
    }
    char path[256];
    MakeUserPath(path, g_szUserName, -1);
    WriteFile("save/theraphy/Nagy Kis Anna/settings.xml", "");
    CLxTHistory history(g_szUserName);
    history.AddEntry(20170925, nullptr, "s");
    history.AddEntry(20170926, nullptr, TextToCodes("sz").c_str());
    ASSERT_TRUE(history.Save(path));
    CLxTGameScr s("data\\beszedjavj.xml");
    EXPECT_STREQ(g_szTherapyDate, "2017.09.26");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g_Driver.aScreenLetters)),
              TextToCodes("sz"));
    EXPECT_EQ(g_pHistory->GetCount(), 2);
}

TEST_F(Therapy, AChildWithoutAPageDoesNotInheritThePreviousOne) {
    g_pHistory->AddEntry(20170926, nullptr, "s"); // the previous child's day
    std::snprintf(g_szUserName, sizeof g_szUserName, "%s", "Uj");
    CLxTGameScr s("data\\beszedjavj.xml");
    EXPECT_EQ(g_pHistory->GetCount(), 0);
    EXPECT_STREQ(g_pHistory->GetName(), "Uj");
    EXPECT_STREQ(g_szTherapyDate, "");
}

TEST_F(Therapy, SavingWithoutAChildWritesNothing) {
    CLxTGameScr s("data\\beszedjavj.xml");
    Click(&s, "fo.mentes");
    EXPECT_EQ(g_pHistory->GetCount(), 0);
    std::snprintf(g_szUserName, sizeof g_szUserName, "%s", "Anna");
    WriteFile("save/theraphy/Anna/x", "");
    Click(&s, "fo.mentes");
    EXPECT_EQ(g_pHistory->GetCount(), 1);
    CLxTHistory back;
    EXPECT_TRUE(back.Load("save\\theraphy\\Anna\\history.html"));
}

TEST_F(Therapy, ScreensPutTheDriverBackIntoLevelPlay) {
    CLxTGameScr s("data\\beszedjavj.xml");
    EXPECT_EQ(g_Driver.nPeriod, 10);
    EXPECT_EQ(g_Driver.nSmooth, 4);
    // A pushed screen (the voice set-up) leaves its own mode behind.
    g_Driver.nPeriod = 30;
    g_Driver.nState = 1;
    s.Refresh();
    EXPECT_EQ(g_Driver.nPeriod, 10);
    EXPECT_EQ(g_Driver.nState, 0);
}

TEST_F(Therapy, ExtraDescriptionsSitBesideTheBaseOne) {
    EXPECT_EQ(CLxTGameScr::ExtraDescription("data\\beszedjavj.xml", 3), "data\\beszedjavj_3.xml");
    EXPECT_EQ(CLxTGameScr::ExtraDescription(".\\data\\beszedjavj.xml", 1),
              ".\\data\\beszedjavj_1.xml");
    EXPECT_EQ(CLxTGameScr::ExtraDescription("beszedjavj", 6), "beszedjavj_6.xml");
}
} // namespace
