// Reading game 2, "mark the letter": four pictures of words stand in a row (two rows for
// a vowel pair, one per member), and under each picture a line of boxes, one per letter
// of the word, shaped by where the letter stands in its syllable. The child ticks the
// boxes of the lesson's letter; a word whose boxes are ticked exactly there gets a tick
// over its picture and is closed. When every word is right the end sound plays.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

class CLxControl;
class CLxSurface;

// The shape of the box under letter j of a syllabified word ("ma|ci", codes): 1 the first
// letter of a syllable, 2 the last, 3 a letter alone, 0 one inside.
int SyllableShape(const std::string& codes, size_t j);

class CLxRGameScr2 : public CLxReadingGame {
  public:
    static constexpr int kWordsShown = 4;
    static constexpr int kMaxWords = 16;
    static constexpr int kBox = 16;

    explicit CLxRGameScr2(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;

    int RowCount() const { return m_nRows; }
    // Whether word k of row r is right and closed.
    bool WordDone(int row, int k) const { return m_rows[row].words[k].done; }

  private:
    struct Box {
        CLxControl* control;
        unsigned char code;
    };
    struct Word {
        std::vector<Box> boxes;
        RECT picture{};
        bool done = false;
    };
    struct Row {
        int y = 0;
        unsigned char target = 0;
        Word words[kWordsShown];
    };

    void DrawLetters();
    void BuildRow(int r, const std::vector<std::string>& words);
    void PaintBoxes(CLxSurface* const pictures[kRowStates], const std::string& codes, int x);
    bool IsRight(const Word& word, unsigned char target) const;
    void Check();

    Row m_rows[2];
    int m_nRows = 0;
};
