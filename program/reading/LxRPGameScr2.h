// Reading game 2 for an extra letter ("b-p"): one row per member, each row a line of
// items (letters in part a, words in part b) among which the child marks those that
// contain the row's member. Rows are played one after the other: a row whose boxes are
// ticked exactly on the items with the member closes, shows its right items in the
// member's colour and opens the next row. After the last row part b follows (after the
// change-over delay) when the lesson has words for it; otherwise the end sound plays.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

class CLxControl;

// The letter codes of an item with a "$" before every occurrence of the member (in any
// case), and before its long form too when the member is not a vowel; at most maxCodes
// codes, marks included (a mark cut from its letter is dropped).
std::string MarkMember(const char* item, unsigned char member, size_t maxCodes);

class CLxRPGameScr2 : public CLxReadingGame {
  public:
    static constexpr int kMaxGroups = 3, kMaxItems = 16;
    static constexpr size_t kMaxCodes = 7;
    static constexpr int kMaxRows = 4;

    explicit CLxRPGameScr2(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;

    bool PartB() const { return m_bPartB; }
    int RowCount() const { return m_nRows; }
    // The row being played; RowCount() once every row is solved.
    int CurrentRow() const { return m_nRow; }
    // The items of a row of the part shown, as marked codes.
    const std::vector<std::string>& Items(int row) const { return m_rows[row].items; }

  protected:
    void ChangeOver() override;

  private:
    struct Row {
        std::vector<std::string> items;
        std::vector<CLxControl*> boxes;
    };

    void ReadPart(bool partB, std::vector<std::string> out[kMaxRows]) const;
    void Build();
    void BuildRow(int r);
    bool RowSolved(int r) const;
    void Check();

    Row m_rows[kMaxRows];
    std::vector<std::string> m_partB[kMaxRows];
    int m_nRows = 0;
    int m_nRow = 0;
    bool m_bPartB = false;
};
