// The therapy screens' base on the preparation screen: task marks against the therapy
// letter order and the allowed count, the day's letters, the day list's text with bad
// months, saving a word's recording under today's folder (and not saving an empty
// take), reading it back, listing a day's recordings, and the driver's mode when a
// pushed screen returns.
#include <gtest/gtest.h>

#include "media/LxSoundBuffer.h"
#include "media/LxSoundDevice.h"
#include "shell/LxDriver.h"
#include "shell/LxWords.h"
#include "test_children_support.h"
#include "therapy/LxTheraphyScr1.h"

using namespace therapy_test;

namespace {

class Preparation : public ChildrenTest {
  protected:
    void SetUp() override {
        ChildrenTest::SetUp();
        std::string fo;
        int x = 0;
        for (const char* n :
             {"felvetel", "megallitas", "pillanatallj", "lejatszas", "hangmentes", "hangle",
              "mentes", "sugo", "bnev", "beallit", "hangbe", "bido", "blista", "szolista"})
            fo += Button(n, x += 45, 10);
        for (int k = 0; k <= 9; ++k)
            fo += Button(("fa0" + std::to_string(k)).c_str(), 40 * k, 200);
        fo += TextField("szavak", 20, 300) + TextField("tev", 20, 340) +
              TextField("thonap", 340, 340);
        WriteFile("data/beszedjav1.xml",
                  "<Lexo background=\"hatter\">\n<group name=\"fo\" position=\"0,0\">\n"
                  "<unselected disabled=\"fo_0\" passive=\"fo_4\" active=\"fo_5\"/>\n"
                  "<selected passive=\"fo_6\" active=\"fo_7\"/>\n</group>\n" +
                      fo + "</Lexo>\n");
        std::memset(g_Driver.aScreenLetters, 0, sizeof g_Driver.aScreenLetters);
        CLxTheraphyScr::CurrentWord() = Codes("szavak");
    }
    void TearDown() override {
        delete g_pRecording;
        g_pRecording = nullptr;
        delete g_pPlayer;
        g_pPlayer = nullptr;
        nRecorded = 0;
        ChildrenTest::TearDown();
    }
    void MakeRecording(int samples) {
        g_pPlayer = new CLxSoundDevice(false);
        g_pRecording = new CBSoundBuffer(g_pPlayer);
        ASSERT_TRUE(g_pRecording->Create(22050, 22050, 16));
        nRecorded = samples * 2;
    }
    std::string Letters() { return reinterpret_cast<const char*>(g_Driver.aScreenLetters); }
};

TEST_F(Preparation, MarksFollowTheLetterOrderAndTheAllowedCount) {
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    EXPECT_STREQ(s.GetName(), "Theraphy1");
    s.m_nAllowed = 2;
    const struct {
        int task;
        bool mark, accepted;
        const char* letters; // afterwards, as text
    } cases[] = {
        {1, true, true, "s"},     {3, true, true, "szs"},    {3, true, true, "szs"},
        {5, true, false, "szs"},  {1, false, true, "zs"},    {5, true, true, "zsl"},
        {0, true, false, "zsl"},  {10, true, false, "zsl"},  {20, true, false, "zsl"},
        {-1, true, false, "zsl"}, {31, false, false, "zsl"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(s.UpdateTask(c.task, c.mark), c.accepted) << c.task;
        EXPECT_EQ(CodesToText(Letters().c_str()), c.letters) << c.task;
    }
    EXPECT_FALSE(g_aTaskValues[3] & kTaskNotPractised);
    EXPECT_TRUE(g_aTaskValues[1] & kTaskNotPractised);
}

TEST_F(Preparation, ClickingBeyondTheAllowedCountLeavesTheButtonUnmarked) {
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    s.m_nAllowed = 1;
    Click(&s, "fo.fa02");
    Click(&s, "fo.fa04");
    EXPECT_TRUE(State(&s, "fo.fa02") & kSelected);
    EXPECT_FALSE(State(&s, "fo.fa04") & kSelected);
    Click(&s, "fo.fa02"); // unmarking frees the place
    Click(&s, "fo.fa04");
    EXPECT_FALSE(State(&s, "fo.fa02") & kSelected);
    EXPECT_TRUE(State(&s, "fo.fa04") & kSelected);
    EXPECT_EQ(Letters(), std::string(1, char(TherapyOrder()[4])));
}

TEST_F(Preparation, DayTextsNameTheMonthAndNeverIndexPastIt) {
    const struct {
        int date;
        const char* text;
    } cases[] = {
        {20170926, "2017. szeptember 26."}, {20170101, "2017. január 01."},
        {20171231, "2017. december 31."},   {20170026, "2017. ? 26."},
        {20171326, "2017. ? 26."},          {20179926, "2017. ? 26."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLxTheraphyScr::DayText(c.date), c.text) << c.date;
}

TEST_F(Preparation, SavingAWordWritesTodaysFolderAndAddsTheDayOnce) {
    ASSERT_EQ(CreateChild(Codes("Győző").c_str()), LxChildMade::Created);
    delete g_pHistory;
    g_pHistory = new CLxTHistory(g_szUserName); // no entry for today yet
    MakeRecording(1000);
    CLxTheraphyScr::CurrentWord() = Codes("őz");
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    Click(&s, "fo.hangmentes");
    EXPECT_EQ(g_pHistory->GetCount(), 1);
    std::string wav = ReadAll(Disk("save/theraphy/Gyöözöö/2026.12.10/ööz.wav"));
    EXPECT_EQ(wav.size(), 44u + 2000u);
    Click(&s, "fo.hangmentes");
    EXPECT_EQ(g_pHistory->GetCount(), 1) << "the day is added once";
    EXPECT_EQ(CLxTheraphyScr::DayRecordings("2026.12.10"), std::vector<std::string>{Codes("őz")});
}

TEST_F(Preparation, AnEmptyTakeSavesNothingAndKeepsTheEarlierOne) {
    ASSERT_EQ(CreateChild("Anna"), LxChildMade::Created);
    MakeRecording(500);
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    Click(&s, "fo.hangmentes");
    ASSERT_EQ(ReadAll("save/theraphy/Anna/2026.12.10/szavak.wav").size(), 1044u);
    nRecorded = 0; // a take that captured nothing
    Click(&s, "fo.hangmentes");
    EXPECT_EQ(ReadAll("save/theraphy/Anna/2026.12.10/szavak.wav").size(), 1044u);
    CLxTheraphyScr::CurrentWord() = "nap";
    Click(&s, "fo.hangmentes");
    EXPECT_FALSE(std::filesystem::exists("save/theraphy/Anna/2026.12.10/nap.wav"));
}

TEST_F(Preparation, ASavedWordPlaysBackAndAMissingOneDoesNot) {
    ASSERT_EQ(CreateChild("Anna"), LxChildMade::Created);
    MakeRecording(700);
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    Click(&s, "fo.hangmentes");
    nRecorded = 0;
    sent_.clear();
    Click(&s, "fo.hangle");
    EXPECT_EQ(nRecorded, 1400);
    EXPECT_TRUE(State(&s, "fo.lejatszas") & kSelected);
    ASSERT_FALSE(sent_.empty());
    EXPECT_EQ(sent_.back().msg, kMsgPlayBack);
    CLxTheraphyScr::CurrentWord() = "nincs";
    sent_.clear();
    Click(&s, "fo.hangle");
    EXPECT_FALSE(State(&s, "fo.lejatszas") & kSelected);
    for (const Sent& m : sent_)
        EXPECT_NE(m.msg, kMsgPlayBack);
}

TEST_F(Preparation, TheMarksComeBackFromTheDaysLettersOfTheHistory) {
    ASSERT_EQ(CreateChild("Anna"), LxChildMade::Created);
    {
        CLxTheraphyScr1 s("data\\beszedjav1.xml");
        Click(&s, "fo.fa01");
        Click(&s, "fo.fa05");
        Click(&s, "fo.mentes");
    }
    std::memset(g_Driver.aScreenLetters, 0, sizeof g_Driver.aScreenLetters);
    ResetTaskValues();
    ChooseChild("Anna");
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    EXPECT_TRUE(State(&s, "fo.fa01") & kSelected);
    EXPECT_TRUE(State(&s, "fo.fa05") & kSelected);
    EXPECT_FALSE(State(&s, "fo.fa02") & kSelected);
    EXPECT_FALSE(g_aTaskValues[5] & kTaskNotPractised);
    EXPECT_TRUE(g_aTaskValues[2] & kTaskNotPractised);
    EXPECT_EQ(Shown(&s, "fo.tev"), "2026.");
    EXPECT_EQ(Shown(&s, "fo.thonap"), "12.10.");
}

TEST_F(Preparation, ThePushedScreensReturnPutsTheDriversModeBack) {
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    SetDriverMode({kDriverLevels, 30, 1}); // as the voice set-up leaves it
    s.Refresh();
    EXPECT_EQ(g_Driver.nState, kDriverPhonemes);
    EXPECT_EQ(g_Driver.nPeriod, 25);
    EXPECT_EQ(g_Driver.nSmooth, 4);
}

TEST_F(Preparation, TabsAndButtonsSendTheirMessages) {
    const struct {
        const char* control;
        std::vector<UINT> messages;
    } cases[] = {
        {"fo.bnev", {kMsgUserSelection}},
        {"fo.beallit", {kMsgStop, kMsgTherapySetup}},
        {"fo.hangbe", {kMsgStop, kMsgVoiceSetup}},
        {"fo.felvetel", {kMsgRecord}},
        {"fo.megallitas", {kMsgStop}},
        {"fo.sugo", {kMsgStop, kMsgHelp}},
    };
    for (const auto& c : cases) {
        CLxTheraphyScr1 s("data\\beszedjav1.xml");
        s.SetControlFlag(c.control, kEnabled, true);
        sent_.clear();
        Click(&s, c.control);
        std::vector<UINT> got;
        for (const Sent& m : sent_)
            got.push_back(m.msg);
        EXPECT_EQ(got, c.messages) << c.control;
        if (c.messages.back() == kMsgHelp) {
            EXPECT_EQ(sent_.back().text, "Theraphy10");
        }
    }
}

} // namespace

namespace {

TEST_F(Preparation, AChosenDayShowsItsDateAndMarksAndListsItsRecordings) {
    ASSERT_EQ(CreateChild("Anna"), LxChildMade::Created);
    char letters[2] = {char(TherapyOrder()[4]), 0};
    g_pHistory->AddEntry(20170926, g_aTaskValues, letters);
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    sent_.clear();
    s.OnAnswer(kMsgDayChosen, 1);
    EXPECT_EQ(Shown(&s, "fo.tev"), "2017.");
    EXPECT_EQ(Shown(&s, "fo.thonap"), "09.26.");
    EXPECT_TRUE(State(&s, "fo.fa04") & kSelected);
    EXPECT_FALSE(State(&s, "fo.fa01") & kSelected);
    ASSERT_FALSE(sent_.empty());
    EXPECT_EQ(sent_.back().msg, kMsgRecordingList) << "the day's recordings follow";
    sent_.clear();
    s.OnAnswer(kMsgDayChosen, 7);       // no such day
    s.OnAnswer(kMsgRecordingChosen, 0); // "Nincs hanganyag"
    EXPECT_TRUE(sent_.empty());
}

TEST_F(Preparation, ARecordingChosenFromTheListPlaysAndShowsItsName) {
    ASSERT_EQ(CreateChild("Anna"), LxChildMade::Created);
    MakeRecording(300);
    CLxTheraphyScr::CurrentWord() = Codes("őz");
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    Click(&s, "fo.hangmentes");
    CLxTheraphyScr::CurrentWord() = "x";
    sent_.clear();
    Click(&s, "fo.blista");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgRecordingList);
    s.OnAnswer(kMsgRecordingChosen, 0);
    EXPECT_EQ(Shown(&s, "fo.szavak"), "őz");
    EXPECT_EQ(sent_.back().msg, kMsgPlayBack);
    EXPECT_EQ(nRecorded, 600);
}

} // namespace

namespace {

// A WAV file of n samples of 16-bit mono at 22050 Hz.
std::string Wave(int samples) {
    std::string data(size_t(samples) * 2, '\x10');
    auto u32 = [](uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    return "RIFF" + u32(uint32_t(36 + data.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
           u32(22050) + u32(44100) + u16(2) + u16(16) + "data" + u32(uint32_t(data.size())) + data;
}

TEST_F(Preparation, ARecordingLongerThanTheBufferPlaysItsStartAndKeepsTheBuffer) {
    ASSERT_EQ(CreateChild("Anna"), LxChildMade::Created);
    MakeRecording(10); // a buffer of one second
    WriteFile("save/theraphy/Anna/2026.12.10/hosszu.wav", Wave(3 * 22050));
    CLxTheraphyScr::CurrentWord() = "hosszu";
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    Click(&s, "fo.hangle");
    ASSERT_NE(g_pRecording, nullptr);
    EXPECT_GT(nRecorded, 0);
    EXPECT_LE(nRecorded, 22050 * 2);
    // The buffer still holds what was read: saving writes that second back.
    int read = nRecorded;
    Click(&s, "fo.hangmentes");
    EXPECT_EQ(ReadAll("save/theraphy/Anna/2026.12.10/hosszu.wav").size(), 44u + size_t(read));
}

} // namespace

namespace {

TEST_F(Preparation, DayLettersOutsideTheOrderMarkNothingAndStayInTheirTable) {
    ASSERT_EQ(CreateChild("Anna"), LxChildMade::Created);
    // A hand-edited page: letters that are no task, and more of them than a day holds.
    std::string letters = "xyqwj" + std::string(1, char(TherapyOrder()[9])) + std::string(30, 'x');
    g_pHistory->AddEntry(20260102, g_aTaskValues, letters.c_str());
    int before[kTaskValues];
    std::memcpy(before, g_aTaskValues, sizeof before);
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    EXPECT_TRUE(State(&s, "fo.fa09") & kSelected);
    for (int k = 1; k < 9; ++k)
        EXPECT_FALSE(IsTaskMarked(k)) << k;
    EXPECT_LT(std::strlen(reinterpret_cast<const char*>(g_Driver.aScreenLetters)),
              size_t(kHistoryLetters));
    EXPECT_FALSE(g_aTaskValues[9] & kTaskNotPractised);
    for (int k = 10; k < kTaskValues; ++k)
        EXPECT_EQ(g_aTaskValues[k] & ~kTaskNotPractised, before[k] & ~kTaskNotPractised) << k;
}

TEST_F(Preparation, TheWordListIsSortedAndTheChosenWordBecomesCurrent) {
    const char* words[] = {"zsák", "alma", "cica"};
    for (int i = 0; i < 3; ++i)
        std::snprintf(g_aWords[i], kWordBytes, "%s", Codes(words[i]).c_str());
    g_nWords = 3;
    CLxTheraphyScr1 s("data\\beszedjav1.xml");
    sent_.clear();
    Click(&s, "fo.szolista");
    ASSERT_EQ(sent_.size(), 1u);
    EXPECT_EQ(sent_[0].msg, kMsgWordList);
    EXPECT_EQ(sent_[0].wParam, 3u);
    s.OnAnswer(kMsgWordChosen, 1);
    EXPECT_EQ(CLxTheraphyScr::CurrentWord(), Codes("cica"));
    EXPECT_EQ(Shown(&s, "fo.szavak"), "cica");
    s.OnAnswer(kMsgWordChosen, 3); // past the list
    EXPECT_EQ(CLxTheraphyScr::CurrentWord(), Codes("cica"));
    g_nWords = 0;
}
} // namespace
