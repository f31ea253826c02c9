// Reading game 2 for an extra letter; see LxRPGameScr2.h. Each row's strip is darkened
// and shows its member at the left; its group "c<row>" holds the six state pictures with
// the items drawn in the state colours (traced with the outline font when hot), and one
// check box "NN" per item over it. The disabled selected picture shows only the items
// with the member, so a solved row (boxes selected and disabled) keeps just those.
#include "reading/LxRPGameScr2.h"

#include <cstdio>

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "ui/LxButton.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"

namespace {
constexpr int kRowY[CLxRPGameScr2::kMaxRows] = {240, 304, 368, 464};
constexpr int kItemsLeft = 76, kItemsWidth = 580;
constexpr uint32_t kRightItemColour = 0x1020C0;
constexpr int kSolvedState = kSelected | kVisible;

bool HasMark(const std::string& codes) {
    return codes.find('$') != std::string::npos;
}
} // namespace

std::string MarkMember(const char* item, unsigned char member, size_t maxCodes) {
    std::string codes;
    unsigned char lower = ToLower(member), longForm = ToLower(LongForm(member));
    bool markLong = !IsVowel(member) && longForm != lower;
    for (unsigned char code : TextToCodes(item)) {
        unsigned char c = ToLower(code);
        bool marked = c == lower || (markLong && c == longForm);
        if (codes.size() + (marked ? 2 : 1) > maxCodes) break;
        if (marked) codes += '$';
        codes += static_cast<char>(code);
    }
    return codes;
}

CLxRPGameScr2::CLxRPGameScr2(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 2, "RPGame") {
    m_nRows = MemberCount() < kMaxRows ? MemberCount() : kMaxRows;
    std::vector<std::string> partA[kMaxRows];
    ReadPart(false, partA);
    ReadPart(true, m_partB);
    for (int r = 0; r < m_nRows; ++r)
        m_rows[r].items = partA[r];
    Build();
}

// Part a's letters ("game2a" "characters") or part b's words ("game2b" "words"), one
// group per member, each item marked for its row's member.
void CLxRPGameScr2::ReadPart(bool partB, std::vector<std::string> out[kMaxRows]) const {
    auto groups =
        LessonGroups(m_nLetter, partB ? "game2b" : "game2a", partB ? "words" : "characters",
                     kMaxItems + 1, kMaxGroups, kMaxItems);
    for (int r = 0; r < m_nRows && r < static_cast<int>(groups.size()); ++r)
        for (const std::string& item : groups[r])
            out[r].push_back(MarkMember(item.c_str(), Member(r), kMaxCodes));
}

void CLxRPGameScr2::Build() {
    m_szName = m_bPartB ? "RPGame2b" : "RPGame2a";
    ReloadBoard();
    for (int r = 0; r < m_nRows; ++r)
        BuildRow(r);
    m_nRow = 0;
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

void CLxRPGameScr2::BuildRow(int r) {
    Row& row = m_rows[r];
    int y = kRowY[r];
    CLxRLEFonts* font = ServedFont(kRowFont);
    CLxRLEFonts* outline = ServedFont(kRowOutlineFont);
    unsigned char member = Member(r);
    uint32_t memberColour = LetterColour(member);
    DrawRowHead(y, member, memberColour);
    CLxSurface* pictures[kRowStates];
    MakeRowPictures(m_pGUI->m_pBackground, y, kRowHeight, pictures);

    int n = static_cast<int>(row.items.size()), total = 0;
    std::vector<int> widths;
    for (const std::string& item : row.items) {
        widths.push_back(font ? font->RawTextWidth(item.c_str()) : 0);
        total += widths.back();
    }
    int gap = n > 1 ? (kItemsWidth - total) / (n - 1) : 0;
    int top = font ? (kRowHeight - font->Height()) / 2 : 0;
    std::vector<int> lefts;
    for (int j = 0, x = kItemsLeft; j < n; x += widths[j] + gap, ++j)
        lefts.push_back(x);
    for (int s = 0; s < kRowStates; ++s) {
        CLxFontPen pen(font, pictures[s]);
        if (!pen) continue;
        for (int j = 0; j < n; ++j) {
            const std::string& item = row.items[j];
            if (s == kRowDisabledSelected && !HasMark(item)) continue;
            if (s == kRowDisabledSelected)
                SetTextColours(font, kRightItemColour, memberColour);
            else
                SetTextColours(font, kRowColours[s], kRowColours[s]);
            pen->DrawRawText(item.c_str(), lefts[j], top);
        }
    }
    for (int s = 0; s < kRowStates; ++s) {
        if (!kRowOutlineColours[s]) continue;
        CLxFontPen pen(outline, pictures[s]);
        if (!pen) continue;
        SetTextColours(outline, kRowOutlineColours[s], kRowOutlineColours[s]);
        for (int j = 0; j < n; ++j)
            pen->DrawRawText(row.items[j].c_str(), lefts[j], top);
    }
    CLxGroup* group = AddRowGroup(r, y, pictures);
    row.boxes.clear();
    for (int j = 0; j < n; ++j) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d", j);
        RECT rect{lefts[j], 0, lefts[j] + widths[j], kRowHeight};
        CLxControl::Descriptor d{m_pGUI, group, name, &rect, 1};
        CLxControl* box = new CLxCheckBox(&d);
        if (r != 0) box->m_nFlags &= ~kEnabled;
        row.boxes.push_back(box);
    }
}

bool CLxRPGameScr2::RowSolved(int r) const {
    const Row& row = m_rows[r];
    for (size_t j = 0; j < row.boxes.size(); ++j)
        if (row.boxes[j]->Is(kSelected) != HasMark(row.items[j])) return false;
    return true;
}

int CLxRPGameScr2::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingScr::OnMouseEvent(event)) return sent;
    if (event && event->m_nType == kMouseClick) Check();
    return 0;
}

// Closes the current row when it is solved and opens the next; after the last row the
// game goes on to part b or ends.
void CLxRPGameScr2::Check() {
    if (m_nRow >= m_nRows || !RowSolved(m_nRow)) return;
    for (CLxControl* box : m_rows[m_nRow].boxes)
        box->m_nFlags = kSolvedState;
    if (++m_nRow < m_nRows) {
        for (CLxControl* box : m_rows[m_nRow].boxes)
            box->m_nFlags |= kEnabled;
    }
    m_pGUI->DrawBackground(nullptr, nullptr, true);
    if (m_nRow < m_nRows) return;
    bool partBHasItems = false;
    for (const auto& items : m_partB)
        partBHasItems |= !items.empty();
    if (!m_bPartB && partBHasItems)
        StartChangeOver();
    else
        End();
}

void CLxRPGameScr2::ChangeOver() {
    m_bPartB = true;
    for (int r = 0; r < m_nRows; ++r)
        m_rows[r].items = m_partB[r];
    Build();
}
