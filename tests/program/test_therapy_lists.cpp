// The lists and help pages pushed over the therapy screens: the chooser's rows and
// scroll answer (rows past the end answer nothing), the letter shown beside a list, the
// words list (sorted adding without duplicates, a full list, scrolling to a typed
// beginning, deleting one word per backspace), help pictures and texts, and the
// therapy screen taking a chosen day and recording.
#include <gtest/gtest.h>

#include "shell/LxWords.h"
#include "test_children_support.h"
#include "therapy/LxTHelpScr.h"
#include "therapy/LxTListScr.h"
#include "therapy/LxTSentencesScr.h"
#include "therapy/LxTheraphyScr1.h"
#include "ui/LxTextArea.h"

using namespace therapy_test;

namespace {

std::string Group(const char* name) {
    return std::string("<group name=\"") + name +
           "\" position=\"0,0\">\n<unselected disabled=\"fo_0\" passive=\"fo_4\" "
           "active=\"fo_5\"/>\n"
           "<selected passive=\"fo_6\" active=\"fo_7\"/>\n</group>\n";
}

std::string RowControls(int n, bool play, bool rec) {
    std::string rows;
    for (int i = 0; i < n; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "tf%02d", i);
        rows += TextField(name, 100, 176 + 20 * i);
        std::snprintf(name, sizeof name, "play%02d", i);
        if (play) rows += Button(name, 40, 176 + 20 * i);
        std::snprintf(name, sizeof name, "rec%02d", i);
        if (rec) rows += Button(name, 10, 176 + 20 * i);
    }
    return rows;
}

std::string ScrollBar(int page) {
    return "<control type=\"scrollbar\" name=\"sb\" range=\"0," + std::to_string(page) +
           "\" page=\"" + std::to_string(page) +
           "\" value=\"0\"><common rect=\"630,176,20,400\"/></control>\n";
}

class Lists : public ChildrenTest {
  protected:
    void SetUp() override {
        ChildrenTest::SetUp();
        std::string tail = Group("al") + Button("vissza", 700, 550) + Group("help") +
                           Button("sugo", 700, 500) + "</Lexo>\n";
        WriteFile("data/beszedjavt.xml", "<Lexo background=\"hatter\">\n" + Group("fo") +
                                             RowControls(20, false, false) + ScrollBar(20) + tail);
        WriteFile("data/beszedjavf.xml", "<Lexo background=\"hatter\">\n" + Group("fo") +
                                             RowControls(4, true, false) + ScrollBar(4) + tail);
        WriteFile("data/beszedjavs.xml", "<Lexo background=\"hatter\">\n" + Group("fo") +
                                             RowControls(4, true, true) + ScrollBar(4) +
                                             TextField("szo", 40, 560) + tail);
        WriteFile("data/beszedjavh.xml",
                  "<Lexo background=\"hatter\">\n" + Group("fo") +
                      "<control type=\"textarea\" name=\"szoveg\" length=\"200\" text=\"\" "
                      "rect=\"30,190,600,200\"><common rect=\"30,190,600,200\"/></control>\n" +
                      ScrollBar(20) + tail);
        for (int i = 0; i < 40; ++i) {
            texts_.push_back("text " + std::to_string(i));
        }
        for (const std::string& t : texts_)
            pointers_.push_back(t.c_str());
        g_nWords = 0;
        std::memset(g_aWords, 0, sizeof g_aWords);
    }
    void TearDown() override {
        g_nWords = 0;
        std::memset(g_aWords, 0, sizeof g_aWords);
        ChildrenTest::TearDown();
    }
    std::vector<UINT> Messages() {
        std::vector<UINT> out;
        for (const Sent& s : sent_)
            out.push_back(s.msg);
        return out;
    }
    void SetWords(std::initializer_list<const char*> words) {
        g_nWords = 0;
        for (const char* w : words)
            std::snprintf(g_aWords[g_nWords++], kWordBytes, "%s", Codes(w).c_str());
    }
    static std::vector<std::string> Rows(const CLxTSentencesScr& s) {
        std::vector<std::string> rows;
        for (int i = 0; i < s.RowCount(); ++i)
            rows.push_back(CodesToText(s.RowText(i).c_str()));
        return rows;
    }
    static std::vector<std::string> Words() {
        std::vector<std::string> words;
        for (int i = 0; i < g_nWords; ++i)
            words.push_back(CodesToText(g_aWords[i]));
        return words;
    }
    static void Key(CLxScreen* s, const char* control, int type, int key) {
        CLxKeyEvent event(s->GetGUI()->FindControl(control), type, key, 0);
        static_cast<ILxKeyListener*>(s)->OnKeyEvent(&event);
    }

    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

TEST_F(Lists, TheChooserAnswersWithTheScrolledRowAndNothingPastTheEnd) {
    CLxTListScr s("data\\beszedjavt.xml", 40, pointers_.data(), kMsgDayChosen);
    EXPECT_STREQ(s.GetName(), "TList");
    EXPECT_EQ(Shown(&s, "fo.tf19"), "text 19");
    auto* bar = ListScrollBar(&s);
    EXPECT_EQ(bar->m_nMax, 40);
    bar->SetValue(10);
    Click(&s, "fo.sb");
    EXPECT_EQ(Shown(&s, "fo.tf03"), "text 13");
    sent_.clear();
    Click(&s, "fo.tf03");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgDayChosen);

    // Fewer texts than rows: the rest are hidden and answer nothing.
    CLxTListScr few("data\\beszedjavt.xml", 3, pointers_.data(), kMsgUserChosen);
    EXPECT_FALSE(State(&few, "fo.tf03") & kVisible);
    EXPECT_FALSE(State(&few, "fo.sb") & kVisible);
    sent_.clear();
    Click(&few, "fo.tf05");
    EXPECT_TRUE(sent_.empty());
    Click(&few, "al.vissza");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgUserChosen);
}

LRESULT g_lastWParam = 0;
LRESULT RecordWParam(UINT msg, WPARAM wParam, LPARAM lParam) {
    g_lastWParam = LRESULT(wParam);
    return Record(msg, wParam, lParam);
}

TEST_F(Lists, TheChooserAnswersRow3AtScroll10With13) {
    LxSetMessageHandler(RecordWParam);
    CLxTListScr s("data\\beszedjavt.xml", 40, pointers_.data(), kMsgDayChosen);
    ListScrollBar(&s)->SetValue(10);
    Click(&s, "fo.tf03");
    EXPECT_EQ(g_lastWParam, 13);
    Click(&s, "al.vissza");
    EXPECT_EQ(g_lastWParam, -1);
}

TEST_F(Lists, TheLetterBesideAListIsTheBestScoreAboveTheMinimum) {
    CLxTListScr s("data\\beszedjavf.xml", 3, pointers_.data(), kMsgRecordingChosen);
    EXPECT_EQ(g_Driver.nState, kDriverPhonemes);
    EXPECT_EQ(g_Driver.nPeriod, 30);
    g_aTaskValues[0] = 30;
    g_Driver.fMinLevel = 0.002f;
    const struct {
        float first, second;
        unsigned char letter; // 0 for none; 1 the first letter, 2 the second
        int weight;
    } cases[] = {
        {0.25f, 0.0f, 0, 0},
        {0.9f, 0.6f, 1, 25},
        {0.6f, 0.9f, 2, 25},
        {0.5f, 0.5f, 1, 127},
    };
    for (const auto& c : cases) {
        g_Driver.nWrite = 5;
        g_Driver.aHistory[kRowLevel][5] = 0.5f;
        g_Driver.aHistory[1][5] = c.first;
        g_Driver.aHistory[2][5] = c.second;
        Tick(&s, kMsgRecord);
        unsigned char expected = c.letter ? TherapyOrder()[c.letter] : 0;
        EXPECT_EQ(g_Driver.aLetters[0], expected) << c.first << " " << c.second;
        if (c.letter) {
            EXPECT_EQ(uint32_t(g_Driver.aColors[0]) >> 24, uint32_t(c.weight));
        }
    }
    g_Driver.aHistory[kRowLevel][5] = 0.0001f; // below the noise: nothing
    Tick(&s, kMsgRecord);
    EXPECT_EQ(g_Driver.aLetters[0], 0);
}

TEST_F(Lists, WordsAreAddedInOrderOnceAndNotPastAFullList) {
    SetWords({"körte", "alma"});
    CLxTSentencesScr s("data\\beszedjavs.xml", false);
    EXPECT_STREQ(s.GetName(), "TSentences");
    EXPECT_EQ(Rows(s), (std::vector<std::string>{"alma", "körte"}));
    EXPECT_TRUE(s.AddWord(Codes("bab")));
    EXPECT_TRUE(s.AddWord(Codes("ablak")));
    EXPECT_FALSE(s.AddWord(Codes("ablak"))) << "no duplicate";
    EXPECT_TRUE(s.AddWord(Codes("zsák")));
    EXPECT_EQ(Rows(s), (std::vector<std::string>{"ablak", "alma", "bab", "körte", "zsák"}));
    EXPECT_EQ(Words(), (std::vector<std::string>{"körte", "alma", "bab", "ablak", "zsák"}))
        << "the list keeps its order";
    EXPECT_FALSE(s.AddWord(std::string(100, 'a')) && std::strlen(g_aWords[g_nWords - 1]) > 63);

    g_nWords = kMaxWords;
    EXPECT_FALSE(s.AddWord(Codes("új")));
    EXPECT_EQ(g_nWords, kMaxWords);
}

TEST_F(Lists, EnterInTheNewWordFieldAddsIt) {
    CLxTSentencesScr s("data\\beszedjavs.xml", false);
    EXPECT_EQ(Shown(&s, "fo.szo"), "új szó");
    auto* field = dynamic_cast<CLxText*>(s.GetGUI()->FindControl("fo.szo"));
    field->SetText("dió");
    Key(&s, "fo.szo", kKeyDown, 13); // the key itself: nothing
    EXPECT_EQ(g_nWords, 0);
    Key(&s, "fo.szo", kKeyChar, 13);
    EXPECT_EQ(Words(), std::vector<std::string>{"dió"});
    EXPECT_EQ(Shown(&s, "fo.szo"), "");
    field->SetText("új szó");
    Key(&s, "fo.szo", kKeyChar, 13); // the placeholder is no word
    EXPECT_EQ(g_nWords, 1);
}

TEST_F(Lists, TypingScrollsToTheFirstWordNotBelowTheLetter) {
    SetWords({"alma", "bab", "cica", "sas", "szem", "szél", "tök", "vár", "zab", "zsák"});
    CLxTSentencesScr s("data\\beszedjavs.xml", false);
    auto* field = dynamic_cast<CLxText*>(s.GetGUI()->FindControl("fo.szo"));
    field->SetText("sz");
    Key(&s, "fo.szo", kKeyChar, 'z');
    EXPECT_EQ(CodesToText(s.RowText(ListScroll(&s)).c_str()), "szél") << "the letter sz, not s";
    EXPECT_EQ(Shown(&s, "fo.tf00"), "szél");
}

TEST_F(Lists, BackspaceDeletesOneWordAndKeepsTheOrder) {
    SetWords({"alma", "bab", "cica"});
    CLxTSentencesScr s("data\\beszedjavs.xml", false);
    Key(&s, "fo.tf01", kKeyDown, 8); // the key: nothing
    EXPECT_EQ(g_nWords, 3);
    Key(&s, "fo.tf01", kKeyChar, 8);
    EXPECT_EQ(Words(), (std::vector<std::string>{"alma", "cica"}));
    EXPECT_EQ(Rows(s), (std::vector<std::string>{"alma", "cica"}));
    EXPECT_FALSE(State(&s, "fo.tf02") & kVisible);
    Key(&s, "fo.tf02", kKeyChar, '.'); // past the end: nothing
    EXPECT_EQ(g_nWords, 2);
    Key(&s, "fo.tf00", kKeyChar, '.');
    EXPECT_EQ(Words(), std::vector<std::string>{"cica"});
}

TEST_F(Lists, ChoosingAWordAnswersItsPlaceInTheList) {
    LxSetMessageHandler(RecordWParam);
    SetWords({"körte", "alma"});
    CLxTSentencesScr s("data\\beszedjavs.xml", false);
    Click(&s, "fo.tf00"); // "alma", second in the list
    EXPECT_EQ(sent_.back().msg, kMsgSentenceChosen);
    EXPECT_EQ(g_lastWParam, 1);
    Click(&s, "fo.tf03"); // no row there
    EXPECT_EQ(g_lastWParam, 1);
}

TEST_F(Lists, SentencesModeListsTheFourteenSamples) {
    CLxTSentencesScr s("data\\beszedjavs.xml", true);
    ASSERT_EQ(s.RowCount(), 14);
    EXPECT_EQ(s.RowText(0), "mondat1");
    EXPECT_EQ(s.RowText(8), "mondata");
    EXPECT_EQ(s.RowText(13), "mondatf");
    EXPECT_FALSE(State(&s, "fo.szo") & kVisible);
}

TEST_F(Lists, HelpPicturesScrollWhenTallerAndMissingPagesSaySo) {
    const struct {
        int height;
        bool scrolls;
    } cases[] = {{300, true}, {150, false}};
    for (const auto& c : cases) {
        ui_test::WritePicture("data/help/Page.bmp", 0x336699, 200, c.height);
        CLxTHelpScr s("data\\beszedjavh.xml", "Page");
        EXPECT_STREQ(s.GetName(), "THelp");
        EXPECT_EQ(bool(State(&s, "fo.sb") & kVisible), c.scrolls) << c.height;
        if (c.scrolls) {
            EXPECT_EQ(ListScrollBar(&s)->m_nMax, 300);
        }
    }
    auto text = [](CLxScreen* s) {
        return std::string(
            dynamic_cast<CLxTextArea*>(s->GetGUI()->FindControl("fo.szoveg"))->GetText());
    };
    WriteFile("data/help/Words.xml",
              "<Lexora>\n<help text=\"Első\"/>\n<help text=\"Második\"/>\n</Lexora>\n");
    CLxTHelpScr words("data\\beszedjavh.xml", "Words");
    EXPECT_EQ(text(&words), "Második");
    CLxTHelpScr missing("data\\beszedjavh.xml", "Nothing");
    EXPECT_EQ(text(&missing), "File not found: data/help/Nothing.xml");
    sent_.clear();
    Click(&missing, "al.vissza");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgHelpDone);
}

} // namespace
