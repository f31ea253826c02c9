// The automation screen: a sentence index outside 0 ... 13 ignored, a user sentence as
// long as the text area holds cut to what the sentence list keeps, the reading-along
// page marking the practised letter in the text area, and driver ticks moving its caret
// (with no recognised class read as no score).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "reading/LxLetters.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgramData.h"
#include "shell/LxSettings.h"
#include "shell/LxUserRecords.h"
#include "test_children_support.h"
#include "therapy/LxTasks.h"
#include "therapy/LxTheraphyScr4.h"
#include "ui/LxTextArea.h"

using namespace therapy_test;

namespace {

class Automation : public ChildrenTest {
  protected:
    void SetUp() override {
        ChildrenTest::SetUp();
        ui_test::WriteFont("tnr48");
        std::string fo, groups;
        int x = 0;
        for (const char* n : {"felvetel", "megallitas", "pillanatallj", "lejatszas", "szobe",
                              "minta", "automatizalas"})
            fo += Button(n, x += 45, 10);
        for (int k = 0; k <= 9; ++k)
            fo += Button(("fa0" + std::to_string(k)).c_str(), 40 * k, 60);
        fo += "<control type=\"textarea\" name=\"mondatok\" length=\"4095\" font=\"tnr32\" "
              "rect=\"20,200,600,200\"><common rect=\"20,200,600,200\"/></control>\n";
        groups = "<group name=\"mondatok\" position=\"0,0\">\n</group>\n";
        const char* chars = "01234567abcdef";
        for (int i = 0; i < 14; ++i)
            groups += Button((std::string("m") + chars[i]).c_str(), 650, 30 * i);
        groups += "<group name=\"jobb\" position=\"0,0\">\n</group>\n" + Button("m0", 700, 500) +
                  Button("m1", 750, 500);
        WriteFile("data/beszedjav4.xml",
                  "<Lexo background=\"hatter\">\n<group name=\"fo\" position=\"0,0\">\n</group>\n" +
                      fo + groups + "</Lexo>\n");
        std::memset(g_Driver.aScreenLetters, 0, sizeof g_Driver.aScreenLetters);
        ResetTaskValues();
        std::string sentence = Codes("Sas a zsák.");
        std::memset(g_aSentences, 0, sizeof g_aSentences);
        std::memcpy(g_aSentences[0], sentence.c_str(), sentence.size() + 1);
        g_Settings.nTherapy4Sentence = 0;
    }
    static CLxTextArea* Area(CLxScreen* s) {
        return static_cast<CLxTextArea*>(s->GetGUI()->FindControl("fo.mondatok"));
    }
    static void Tick(CLxScreen* s, int ms, bool silence, int bestClass, float score) {
        g_Driver.nWrite = 3;
        g_Driver.nBestClass = bestClass;
        g_Driver.aHistory[kRowSilence][3] = silence ? 1.0f : 0.0f;
        if (bestClass >= 0) g_Driver.aHistory[bestClass][3] = score;
        CLxTimerEvent e(1, 1086, ms);
        s->OnTimerEvent(&e);
    }
};

TEST_F(Automation, SentencesOutsideTheListAreIgnored) {
    CLxTheraphyScr4 s("data\\beszedjav4.xml");
    EXPECT_STREQ(s.GetName(), "Theraphy4");
    Click(&s, "jobb.m0");
    EXPECT_STREQ(Area(&s)->GetText(), "Sas a zsák.");
    for (int n : {-1, 14, 99}) {
        s.SetSentence(n);
        EXPECT_EQ(g_Settings.nTherapy4Sentence, 0) << n;
    }
    EXPECT_TRUE(State(&s, "mondatok.m0") & kSelected);
}

TEST_F(Automation, ALongUserSentenceIsCutToTheList) {
    CLxTheraphyScr4 s("data\\beszedjav4.xml");
    Click(&s, "jobb.m0");
    s.SetSentence(8);
    EXPECT_TRUE(State(&s, "mondatok.ma") & kSelected);
    Area(&s)->SetText(std::string(4095, 'x').c_str());
    Click(&s, "mondatok.m0"); // leaving the user sentence keeps it
    EXPECT_EQ(std::strlen(g_aUserSentences[0]), size_t(kSentenceBytes - 1));
    EXPECT_EQ(g_aUserSentences[0][kSentenceBytes - 1], 0);
    EXPECT_EQ(g_aUserSentences[1][0], 0); // the next sentence untouched
    s.SetSentence(8);
    EXPECT_EQ(std::strlen(Area(&s)->GetText()), size_t(kSentenceBytes - 1));
}

TEST_F(Automation, ReadingAlongMarksAndMovesTheCaret) {
    MarkTask(1, true, 17); // s
    CLxTheraphyScr4 s("data\\beszedjav4.xml");
    Click(&s, "jobb.m1");
    ASSERT_EQ(s.m_nPage, 1);
    EXPECT_STREQ(Area(&s)->GetText(), "$Sa$s a zsák.");
    EXPECT_EQ(s.m_reading.m_nState, CLxReadAlong::kWaiting);
    Tick(&s, 0, false, -1, 0.0f); // sound: listening; no class, no row read
    Tick(&s, 25, false, -1, 0.0f);
    EXPECT_EQ(s.m_reading.m_nCaret, 1);
    EXPECT_EQ(Area(&s)->m_nCaret, 1);
    EXPECT_EQ(g_Driver.aLetters[0], '*');
    Tick(&s, 50, false, 1, 0.1f);
    EXPECT_EQ(Area(&s)->m_nCaret, 2);
}
} // namespace
