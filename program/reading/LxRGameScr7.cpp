// Reading game 7; see LxRGameScr7.h. The words are drawn into the background in columns
// as wide as their widest word; the sentences replace them after the area is restored
// from the "fo" group's passive picture.
#include "reading/LxRGameScr7.h"

#include <algorithm>
#include <climits>

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxCourse.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"

namespace {
const char* const kFont = "data\\fonts\\tnr32.xml";
constexpr int kLeft = 20, kTableWidth = 640, kTop = 168, kRowStep = 48;
constexpr int kTextColour[3] = {16, 32, 192};
const RECT kSentenceArea{20, 168, 666, 562};
constexpr int kPassiveState = kVisible | kEnabled;
} // namespace

std::vector<int> ColumnStarts(const std::vector<int>& widths) {
    int columns = static_cast<int>(widths.size()), all = 0, before = 0;
    for (int w : widths)
        all += w;
    int spare = std::max(0, kTableWidth - all); // words wider than the table never overlap
    std::vector<int> starts;
    for (int c = 0; c < columns; ++c) {
        int gap = columns > 1 ? c * spare / (columns - 1) : 0;
        starts.push_back(kLeft + before + gap);
        before += widths[c];
    }
    return starts;
}

CLxRGameScr7::CLxRGameScr7(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 7, nullptr) {
    m_szName = "RGame7";
    SetControlFlag("t.tovabb", kVisible, true);
    for (std::string sentence : LessonList(m_nLetter, "game7", "sentences", kSentences)) {
        if (sentence.size() > kSentenceBytes) sentence.resize(kSentenceBytes);
        m_sentences.push_back(sentence);
    }
    DrawWords(LessonGroups(m_nLetter, "game7", "words", INT_MAX, kRows, kWordsPerRow));
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

void CLxRGameScr7::DrawWords(const std::vector<std::vector<std::string>>& rows) {
    CLxFontPen font{ServedFont(kFont), m_pGUI->m_pBackground};
    if (!font) return;
    std::vector<int> widths;
    for (const auto& row : rows)
        for (size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], font->TextWidth(row[c].c_str()));
        }
    std::vector<int> starts = ColumnStarts(widths);
    font->SetColors(kTextColour[0], kTextColour[1], kTextColour[2]);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            font->DrawText(rows[r][c].c_str(), starts[c], kTop + kRowStep * static_cast<int>(r));
}

int CLxRGameScr7::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingGame::OnMouseEvent(event)) return sent;
    if (event && event->m_nType == kMouseClick && event->m_pControl &&
        event->m_pControl->GetFullName() == "t.tovabb")
        ShowSentences();
    return 0;
}

void CLxRGameScr7::ShowSentences() {
    CLxGroup* fo = m_pGUI->FindGroup("fo");
    CLxSurface* clean = fo ? fo->GetPicture(kPassiveState) : nullptr;
    if (clean && m_pGUI->m_pBackground) {
        RECT from = kSentenceArea;
        OffsetRect(&from, -fo->m_nX, -fo->m_nY);
        BltSurface(m_pGUI->m_pBackground, &kSentenceArea, clean, &from, 0);
    }
    if (CLxFontPen font{ServedFont(kFont), m_pGUI->m_pBackground}) {
        font->SetColors(kTextColour[0], kTextColour[1], kTextColour[2]);
        for (size_t k = 0; k < m_sentences.size(); ++k)
            font->DrawText(m_sentences[k].c_str(), kLeft, kTop + kRowStep * static_cast<int>(k));
    }
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}
