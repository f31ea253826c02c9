// Reading game 3; see LxRGameScr3.h. Each row is a group "c0" ... "c3" at the row's top
// whose six state pictures (disabled, disabled ticked, passive, hot, ticked, hot ticked)
// hold the row's items drawn over the darkened background strip, each in the colour of
// its state; the items are check boxes "00", "01", ... of the group. A closed row's boxes
// are ticked and disabled, and the disabled ticked picture shows only its right items,
// in the letter's colour. Part b builds the groups again from the part b letters.
#include "reading/LxRGameScr3.h"

#include <cstdio>
#include <cstdlib>

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxLetters.h"
#include "shell/LxProgram.h"
#include "ui/LxButton.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"

namespace {
const char* const kMirroredFont = "data\\fonts\\tnr32r.xml";
constexpr int kRowY[] = {300, 364}, kPairRowY[] = {240, 304, 400, 464};
constexpr int kSpan = 520, kItemX = 100, kCodeBoxHalf = 24;
} // namespace

std::vector<std::vector<std::string>>
RowMaterial(const std::vector<std::vector<std::string>>& groups, int rows, bool pair) {
    std::vector<std::vector<std::string>> material(rows);
    if (groups.empty()) return material;
    for (int r = 0; r < rows; ++r) {
        if (pair && groups.size() == 2)
            material[r] = groups[r / 2];
        else if (r < static_cast<int>(groups.size()))
            material[r] = groups[r];
        else
            material[r] = material[r - 1];
    }
    return material;
}

CLxRGameScr3::CLxRGameScr3(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 3, "RGame") {
    m_szName = "RGame3";
    bool pair = IsVowelPair(m_nLetter);
    m_nRows = pair ? 4 : 2;
    for (int r = 0; r < m_nRows; ++r) {
        m_rows[r].y = pair ? kPairRowY[r] : kRowY[r];
        unsigned char member = ToLower(r < 2 ? PairShort(m_nLetter) : PairLong(m_nLetter));
        m_rows[r].target = r % 2 ? ToUpper(member) : member;
    }
    m_partA = RowMaterial(LessonGroups(m_nLetter, "game3a", "characters", 5, 4, kMaxCodes), m_nRows,
                          pair);
    m_partB = RowMaterial(LessonGroups(m_nLetter, "game3b", "characters", 5, 4, kMaxLetters),
                          m_nRows, pair);
    bool partA = false;
    for (const auto& row : m_partA)
        partA = partA || !row.empty();
    m_bPartB = !partA;
    BuildBoard();
}

// Darkens the rows, draws their targets and builds their groups for the current part.
void CLxRGameScr3::BuildBoard() {
    for (int r = 0; r < m_nRows; ++r)
        DrawRowHead(m_rows[r].y, m_rows[r].target, LetterColour(m_nLetter));
    m_nRow = 0;
    for (int r = 0; r < m_nRows; ++r)
        BuildRow(r, (m_bPartB ? m_partB : m_partA)[r]);
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

void CLxRGameScr3::BuildRow(int r, const std::vector<std::string>& material) {
    Row& row = m_rows[r];
    row.items.clear();
    CLxSurface* pictures[kRowStates];
    MakeRowPictures(m_pGUI->m_pBackground, row.y, kRowHeight, pictures);
    row.group = AddRowGroup(r, row.y, pictures);
    int n = static_cast<int>(material.size());
    uint32_t letterColour = LetterColour(m_nLetter);
    for (int k = 0; k < n; ++k) {
        Item item{nullptr, 0};
        RECT box;
        if (m_bPartB) {
            unsigned char letter = DecodeLetter(material[k].c_str());
            if (r % 2) letter = ToUpper(letter);
            item.code = letter;
            int w = GlyphWidth(kRowFont, letter);
            int v = kItemX + Spread(k, n, kSpan) - w / 2;
            box = RECT{v, 0, v + w, kRowHeight};
        } else {
            item.code = std::atoi(material[k].c_str()) & 15;
            int u = Spread(k, n, kSpan);
            box = RECT{u + kItemX - kCodeBoxHalf, 0, u + kItemX + kCodeBoxHalf, kRowHeight};
        }
        bool right = IsRightItem(row, item);
        // The disabled ticked picture shows the right items only, in the letter's colour.
        for (int p = 0; p < kRowStates; ++p) {
            if (p == kRowDisabledSelected && !right) continue;
            uint32_t colour = p == kRowDisabledSelected ? letterColour : kRowColours[p];
            if (m_bPartB) {
                if (CLxFontPen font{ServedFont(kRowFont), pictures[p]})
                    font->DrawChar(item.code, colour, box.left, 0);
                if (!kRowOutlineColours[p]) continue; // traced only when hot
                if (CLxFontPen outline{ServedFont(kRowOutlineFont), pictures[p]})
                    outline->DrawChar(item.code, kRowOutlineColours[p], box.left, 0);
                continue;
            }
            // An odd code is a mirrored way of writing: the mirrored font, turned so
            // that the eight odd codes give the eight mirrored directions.
            int c = item.code;
            bool mirrored = c & 1;
            int direction = mirrored ? (c & 8) + ((c + 2) & 7) - 1 : c;
            if (CLxFontPen font{ServedFont(mirrored ? kMirroredFont : kRowFont), pictures[p]})
                font->DrawCharRotated(row.target, colour, (box.left + box.right) / 2,
                                      kRowHeight / 2, direction);
        }
        char name[16];
        std::snprintf(name, sizeof name, "%02d", k);
        CLxControl::Descriptor control{m_pGUI, row.group, m_pGUI->StoreText(name), &box, 1};
        item.box = new CLxCheckBox(&control);
        if (r != 0) item.box->m_nFlags &= ~kEnabled;
        row.items.push_back(item);
    }
}

bool CLxRGameScr3::IsRightItem(const Row& row, const Item& item) const {
    if (m_bPartB) return ToLower(static_cast<unsigned char>(item.code)) == ToLower(row.target);
    return item.code == 0;
}

int CLxRGameScr3::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingGame::OnMouseEvent(event)) return sent;
    if (event && event->m_nType == kMouseClick) CheckRow();
    return 0;
}

// Closes the current row when its ticks are exactly its right items, and opens the
// next one; after the last row the part is done.
void CLxRGameScr3::CheckRow() {
    if (m_nRow >= m_nRows || ChangeOverDelay() > 0) return;
    Row& row = m_rows[m_nRow];
    for (const Item& item : row.items)
        if (item.box->Is(kSelected) != IsRightItem(row, item)) return;
    for (Item& item : row.items) {
        item.box->m_nFlags = kSelected | kVisible;
        item.box->Draw();
    }
    if (++m_nRow < m_nRows) {
        for (Item& item : m_rows[m_nRow].items) {
            item.box->m_nFlags |= kEnabled;
            item.box->Draw();
        }
        return;
    }
    bool partB = false;
    for (const auto& material : m_partB)
        partB = partB || !material.empty();
    if (!m_bPartB && partB)
        StartChangeOver();
    else
        End();
}

void CLxRGameScr3::ChangeOver() {
    for (int r = 0; r < m_nRows; ++r) {
        delete m_rows[r].group;
        m_rows[r].group = nullptr;
        m_rows[r].items.clear();
    }
    m_bPartB = true;
    BuildBoard();
}
