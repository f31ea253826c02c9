// Reading game 6 for an extra letter: words with a letter missing, the first letter in
// the upper row and the last in the lower row, and above them eight sprites of each
// member. The child drags the missing member into each gap; a word is heard while the
// mouse is over it. When every gap is filled the end sound plays.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

class CLxRPGameScr6 : public CLxReadingGame {
  public:
    static constexpr int kRows = 2, kWords = 8, kCopies = 8;
    static constexpr size_t kMaxCodes = 7;

    explicit CLxRPGameScr6(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;

    int WordCount(int row) const { return static_cast<int>(m_rows[row].size()); }
    // Whether the gap of word k of a row is filled.
    bool Filled(int row, int k) const { return m_rows[row][k].filled; }
    const RECT& WordRect(int row, int k) const { return m_rows[row][k].rect; }
    // The top-left corner of the gap's letter.
    POINT Gap(int row, int k) const { return m_rows[row][k].gap; }

  private:
    struct Word {
        std::string codes;
        size_t hidden = 0; // the place of the missing letter
        POINT gap{};
        RECT rect{};
        bool filled = false;
    };

    void Build();
    void LayOutRow(int r, int y);
    void Drop(const Sprite& sprite);

    std::vector<Word> m_rows[kRows];
};
