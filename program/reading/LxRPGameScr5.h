// Reading game 5 for an extra letter: pages to read aloud. Part a shows a group of
// letters per page (lower case above, upper case below), part b a group of two-letter
// syllables; "t.tovabb" turns the page. Part a has a page per member and one more,
// part b twice as many; the last page's turn plays the end sound. Pages whose group the
// lesson does not give stay empty.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

class CLxRPGameScr5 : public CLxReadingGame {
  public:
    static constexpr int kGroupsA = 4, kLettersA = 12, kGroupsB = 8, kSyllablesB = 10;

    explicit CLxRPGameScr5(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;

    bool PartB() const { return m_bPartB; }
    int Page() const { return m_nPage; }
    // The letter codes of a page's items (one letter in part a, two in part b).
    const std::vector<std::string>& Group(bool partB, int page) const;

  private:
    void ShowPage();
    void DrawItems(CLxRLEFonts* font, const std::vector<std::string>& items);
    void Turn();

    std::vector<std::vector<std::string>> m_groupsA, m_groupsB;
    bool m_bPartB = false;
    int m_nPage = 0;
};
