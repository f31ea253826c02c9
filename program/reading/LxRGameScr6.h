// Reading game 6, "read the table": letters or syllables in a table to read aloud. For a
// vowel the table holds the lesson's vowels in lower and upper case (a row per member of
// a vowel pair); for any other letter it holds syllables, the letter before each of the
// lesson's letters in the first row and after it in the second. While the mouse is over
// a letter or a syllable, its recording from the sound bank plays. There is nothing to
// win: the child reads, the screen listens to nothing.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

// The table's rows from the lesson's list: two quoted groups fill a row each; a plain
// list (or a single group) fills both.
std::vector<std::vector<std::string>> TableRows(const std::vector<std::string>& items,
                                                int maxItems);

class CLxRGameScr6 : public CLxReadingGame {
  public:
    static constexpr int kMaxItems = 16;

    explicit CLxRGameScr6(const char* descriptionPath);

  private:
    void DrawTable();
    void AddSyllable(int row, int k, const std::string& codes, int centre, int y);
};
