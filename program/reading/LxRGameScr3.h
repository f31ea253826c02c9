// Reading game 3, "find the right letters". Each row starts with its target letter (the
// lesson's letter in lower case, then in upper case; for a vowel pair both members, so
// four rows) and shows items to tick. In part a the items are the target itself written
// the right way or turned and mirrored; the child ticks the ones written correctly. In
// part b the items are letters; the child ticks the ones that are the target. A row whose
// ticks are exactly right is closed, showing its right items in the letter's colour, and
// the next row opens. After part a's last row a short change-over delay on the window
// timer leads to part b; after the last row of the last part the end sound plays.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

class CLxControl;
class CLxGroup;

// The material of a game of rows: a list of at least groupFrom items serves every row;
// a shorter one is a list of groups, group r for row r, a row without a group of its
// own taking the row before's; for a vowel pair two groups serve rows 0, 1 and 2, 3.
std::vector<std::vector<std::string>>
RowMaterial(const std::vector<std::vector<std::string>>& groups, int rows, bool pair);

class CLxRGameScr3 : public CLxReadingGame {
  public:
    static constexpr int kMaxCodes = 8;    // part a: ways of writing a row
    static constexpr int kMaxLetters = 16; // part b: letters of a row

    explicit CLxRGameScr3(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;

    int RowCount() const { return m_nRows; }
    bool InPartB() const { return m_bPartB; }
    // The row to solve now; RowCount() once the part is done.
    int CurrentRow() const { return m_nRow; }
    int ItemCount(int row) const { return static_cast<int>(m_rows[row].items.size()); }

  protected:
    void ChangeOver() override;

  private:
    struct Item {
        CLxControl* box;
        int code; // part a: the way of writing (0 is right); part b: the letter
    };
    struct Row {
        int y = 0;
        unsigned char target = 0;
        CLxGroup* group = nullptr;
        std::vector<Item> items;
    };

    void BuildBoard();
    void BuildRow(int r, const std::vector<std::string>& material);
    bool IsRightItem(const Row& row, const Item& item) const;
    void CheckRow();

    Row m_rows[4];
    int m_nRows = 0;
    int m_nRow = 0;
    bool m_bPartB = false;
    std::vector<std::vector<std::string>> m_partA, m_partB;
};
