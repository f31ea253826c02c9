// Reading game 7, "words and sentences": a table of the lesson's words to read, and on
// "t.tovabb" ("next") the lesson's sentences in its place. Nothing to win: the child
// reads aloud to the adult beside them.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

// Where the columns of a table start: the first at 20, the last ending at 660, the
// space left over shared evenly between them; a single column at 20. Columns wider than
// the table together stand side by side.
std::vector<int> ColumnStarts(const std::vector<int>& widths);

class CLxRGameScr7 : public CLxReadingGame {
  public:
    static constexpr int kRows = 8, kWordsPerRow = 6, kSentences = 8, kSentenceBytes = 63;

    explicit CLxRGameScr7(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;

    const std::vector<std::string>& Sentences() const { return m_sentences; }

  private:
    void DrawWords(const std::vector<std::vector<std::string>>& rows);
    void ShowSentences();

    std::vector<std::string> m_sentences;
};
