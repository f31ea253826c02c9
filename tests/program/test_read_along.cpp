// Reading along on a clock of the test's own: the practised letters with their long and
// capital forms marked in a sentence (and the marks that would overflow the copy left
// out), the caret passing consonants while the recogniser is unsure and stopping at
// vowels until it is sure, a marked vowel said right losing its mark, 0.3 s of silence
// at a word's end selecting the next word (the first again after the last), a pause
// inside a word going back to its start, and no class (-1) or caret 0 read outside.
#include <gtest/gtest.h>

#include <string>

#include "reading/LxLetters.h"
#include "shell/LxUserRecords.h"
#include "test_children_support.h"
#include "therapy/LxReadAlong.h"
#include "therapy/LxTasks.h"

using namespace therapy_test;

namespace {

class ReadAlong : public ChildrenTest {
  protected:
    void SetUp() override {
        ChildrenTest::SetUp();
        // Vowels in the order, so that the caret stops at them: a at place 1, o at 3.
        WriteFile("data/beszedjav.xml", "<character order=\"_, a, s, o, e\"/>\n");
        LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
        ResetTaskValues();
        std::memset(g_Driver.aScreenLetters, 0, sizeof g_Driver.aScreenLetters);
    }
    static std::string Text(const CLxReadAlong& r) { return CodesToText(r.m_text.c_str()); }
};

TEST_F(ReadAlong, PractisedLettersAreMarkedWithTheirLongAndCapitalForms) {
    MarkTask(2, true, 17); // s
    std::string marked = CLxReadAlong::PractisedLetters();
    unsigned char s = DecodeLetter(Codes("s").c_str());
    for (unsigned char letter : {s, ToUpper(s), LongForm(s), ToUpper(LongForm(s))})
        EXPECT_NE(marked.find(char(letter)), std::string::npos) << int(letter);
    EXPECT_EQ(marked.find(char(DecodeLetter(Codes("a").c_str()))), std::string::npos);
    EXPECT_EQ(CodesToText(CLxReadAlong::MarkText(Codes("Sas assa."), marked).c_str()),
              "$Sa$s a$s$sa.");
}

TEST_F(ReadAlong, MarksNeverOverflowTheCopy) {
    std::string s = Codes("s");
    std::string text(600, s[0]);
    std::string marked = CLxReadAlong::MarkText(text, s);
    EXPECT_LE(int(marked.size()), CLxReadAlong::kMaxText);
    EXPECT_EQ(marked.substr(0, 4), "$" + s + "$" + s);
}

TEST_F(ReadAlong, TheCaretFollowsTheReadingOnAFakeClock) {
    MarkTask(1, true, 17); // a
    CLxReadAlong r;
    r.Start(CLxReadAlong::MarkText(Codes("sa os"), CLxReadAlong::PractisedLetters()), 0);
    EXPECT_EQ(Text(r), "s$a os");
    EXPECT_EQ(r.m_nState, CLxReadAlong::kPause);
    EXPECT_EQ(r.m_nSelStart, 0);
    EXPECT_EQ(r.m_nSelEnd, 2);
    const int a = 1, e = 4;
    struct Step {
        int ms;
        bool silence;
        int bestClass;
        float score;
        int caret, state, selStart, selEnd;
        const char* text;
    } steps[] = {
        {0, false, -1, 0.1f, 0, 2, 0, 2, "s$a os"},   // sound: listening
        {25, false, -1, 0.1f, 1, 2, 0, 2, "s$a os"},  // unsure: past the consonant
        {50, false, -1, 0.1f, 2, 2, 0, 2, "s$a os"},  // and past the mark
        {75, false, a, 0.9f, 2, 3, 0, 1, "sa os"},    // a said right: its mark goes
        {100, false, a, 0.9f, 2, 2, 0, 1, "sa os"},   // heard: listening again
        {125, true, -1, 0.0f, 2, 2, 0, 1, "sa os"},   // a short silence
        {300, true, -1, 0.0f, 2, 0, 0, 1, "sa os"},   // over 0.15 s: a pause
        {500, true, -1, 0.0f, 2, 0, 0, 1, "sa os"},   // not yet 0.3 s
        {650, true, -1, 0.0f, 3, 1, 3, 4, "sa os"},   // at the word's end: the next word
        {700, false, -1, 0.1f, 3, 2, 3, 4, "sa os"},  // sound
        {725, false, -1, 0.1f, 3, 2, 3, 4, "sa os"},  // the vowel o waits for a sure result
        {750, false, e, 0.9f, 4, 3, 3, 4, "sa os"},   // sure of another vowel: on
        {775, false, e, 0.9f, 4, 2, 3, 4, "sa os"},   //
        {1000, true, -1, 0.0f, 4, 0, 3, 4, "sa os"},  // a pause
        {1400, true, -1, 0.0f, 3, 1, 3, 4, "sa os"},  // inside the word: back to its start
        {1425, false, -1, 0.1f, 3, 2, 3, 4, "sa os"}, //
        {1450, false, e, 0.9f, 4, 3, 3, 4, "sa os"},  //
        {1475, false, e, 0.1f, 4, 2, 3, 4, "sa os"},  //
        {1500, false, -1, 0.1f, 5, 2, 3, 4, "sa os"}, // the end of the text
        {1700, true, -1, 0.0f, 5, 0, 3, 4, "sa os"},  //
        {2100, true, -1, 0.0f, 0, 1, 0, 1, "sa os"},  // after the last word: the first
    };
    for (const Step& s : steps) {
        r.Step(s.silence, s.bestClass, s.score, s.ms);
        EXPECT_EQ(r.m_nCaret, s.caret) << s.ms;
        EXPECT_EQ(r.m_nState, s.state) << s.ms;
        EXPECT_EQ(r.m_nSelStart, s.selStart) << s.ms;
        EXPECT_EQ(r.m_nSelEnd, s.selEnd) << s.ms;
        EXPECT_EQ(Text(r), s.text) << s.ms;
    }
}

TEST_F(ReadAlong, AVowelAtTheStartIsNeverReadBeforeIt) {
    CLxReadAlong r;
    r.Start(Codes("as"), 0);
    r.Step(false, -1, 0.0f, 0); // listening
    r.Step(false, 1, 0.9f, 25); // a, said right, has no mark
    EXPECT_EQ(r.m_nCaret, 0);
    EXPECT_EQ(Text(r), "as");
    EXPECT_EQ(r.m_cHeard, DecodeLetter(Codes("a").c_str()));
    r.Step(false, -1, 0.9f, 50); // state 3 back to listening
    r.Step(false, -1, 0.9f, 75); // no class: nothing heard, no row read
    EXPECT_EQ(r.m_cHeard, '*');
}

TEST_F(ReadAlong, ATextThatBeginsWithAMarkWaitsForSound) {
    MarkTask(2, true, 17); // s
    CLxReadAlong r;
    r.Start(CLxReadAlong::MarkText(Codes("sas"), CLxReadAlong::PractisedLetters()), 0);
    EXPECT_EQ(r.m_nState, CLxReadAlong::kWaiting);
    r.Step(true, -1, 0.0f, 500);
    EXPECT_EQ(r.m_nState, CLxReadAlong::kWaiting);
    r.Step(false, -1, 0.0f, 525);
    EXPECT_EQ(r.m_nState, CLxReadAlong::kListening);
}
} // namespace
