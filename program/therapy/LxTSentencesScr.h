// The words and sentences list ("TSentences"), pushed over a therapy screen. In words
// mode the practice words (g_aWords) in letter order: typing into "fo.szo" scrolls to
// the typed beginning and Enter adds the word in its place (no duplicates, at most
// kMaxWords), "." or backspace over a row deletes that word, each row has a button to
// record the word's speech sample ("save\speech\<word>.wav") and one to play it. In
// sentences mode the fourteen sentence samples of the automation screen. Choosing a row
// answers 1074 with the word's place in g_aWords (the sentence's index); -1 for none.
#pragma once
#include <string>
#include <vector>

#include "ui/LxScreen.h"

class CLxTSentencesScr : public CLxScreen {
  public:
    static constexpr int kSentences = 14;
    static constexpr int kRecordRows = 16; // rows whose buttons a recording disables

    CLxTSentencesScr(const char* descriptionPath, bool sentences);

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;

    int RowCount() const { return int(m_rows.size()); }
    // The letter codes of row i (0 for the first of the sorted list).
    std::string RowText(int i) const;
    // Adds a word (letter codes) in its sorted place; false for an empty one, a
    // duplicate or a full list.
    bool AddWord(const std::string& codes);
    // Deletes the word of row i from the list and from g_aWords.
    void DeleteRow(int i);

  private:
    void RefreshRows();
    // The row a row control stands for after scrolling; -1 for one beyond the list.
    int RowAt(int control);
    void ScrollTo(const std::string& codes);
    void Record(int control);

    bool m_bSentences;
    std::vector<int> m_rows; // words mode: places in g_aWords, sorted; else 0 .. 13
};
