// Reading game 2; see LxRGameScr2.h. The board is drawn once: the members in the corner,
// the pictures into the background, and per row a group "c0" (or "c1") whose four state
// pictures (normal, hot, ticked, hot ticked) hold the box shapes of
// data\buttons\game1_01r.bmp (a vowel) or game1_01g.bmp over the background's strip.
// Each letter of a word is a check box "s_k_j" (word k, place j in the syllabified
// word) on that strip; the screen checks the words after every click.
#include "reading/LxRGameScr2.h"

#include <cstdio>

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxLetters.h"
#include "shell/LxProgram.h"
#include "ui/LxButton.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"

namespace {
const char* const kLetterFont = "data\\fonts\\tnr32.xml";
constexpr int kSingleRowY = 400, kPairRowY[2] = {340, 576}, kLongLetterY = 368;
constexpr int kPictureSize = 160, kPictureStep = 164, kPictureLeft = 8;
constexpr uint32_t kShapeKey = 0xFFFFFF;
// The rows are never disabled: their pictures are those of the row states from normal on
// (normal, hot, selected, hot selected), and the box shapes have a row for each.
constexpr int kFirstState = 2;
} // namespace

int SyllableShape(const std::string& codes, size_t j) {
    bool first = j == 0 || codes[j - 1] == '|';
    bool last = j + 1 >= codes.size() || codes[j + 1] == '|';
    if (first && last) return 3;
    if (first) return 1;
    return last ? 2 : 0;
}

CLxRGameScr2::CLxRGameScr2(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 2, "RGame") {
    m_szName = "RGame2";
    bool pair = IsVowelPair(m_nLetter);
    m_nRows = pair ? 2 : 1;
    auto groups = LessonGroups(m_nLetter, "game2", "words", 3, 2, kMaxWords);
    for (int r = 0; r < m_nRows; ++r) {
        m_rows[r].y = pair ? kPairRowY[r] : kSingleRowY;
        m_rows[r].target = ToLower(r == 0 ? PairShort(m_nLetter) : PairLong(m_nLetter));
    }
    DrawLetters();
    for (int r = 0; r < m_nRows; ++r)
        BuildRow(r, r < static_cast<int>(groups.size()) ? groups[r] : std::vector<std::string>{});
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

// Each member in lower and upper case, the upper one right of the lower one.
void CLxRGameScr2::DrawLetters() {
    CLxRLEFonts* font = ServedFont(kLetterFont);
    CLxFontPen pen(font, m_pGUI->m_pBackground);
    if (!pen) return;
    uint32_t colour = LetterColour(m_nLetter);
    for (int r = 0; r < m_nRows; ++r) {
        unsigned char member = m_rows[r].target;
        int y = r == 0 ? m_rows[0].y - 208 : kLongLetterY;
        pen->DrawChar(member, colour, 16, y);
        pen->DrawChar(ToUpper(member), colour, GlyphWidth(font, member) + 32, y);
    }
}

void CLxRGameScr2::BuildRow(int r, const std::vector<std::string>& words) {
    Row& row = m_rows[r];
    CLxSurface* pictures[kRowStates];
    MakeRowPictures(m_pGUI->m_pBackground, row.y, kBox, pictures, kFirstState);
    CLxGroup* group = AddRowGroup(r, row.y, pictures);
    for (int k = 0; k < kWordsShown && k < static_cast<int>(words.size()); ++k) {
        Word& word = row.words[k];
        int x = kPictureLeft + kPictureStep * k;
        word.picture = RECT{x, row.y - 164, x + kPictureSize, row.y - 4};
        std::string syllables;
        DrawWordPicture(words[k], word.picture, &syllables);
        std::string codes = TextToCodes(syllables.c_str());
        int letters = 0;
        for (unsigned char code : codes)
            letters += code != '|';
        int bx = x + 80 - 8 * letters;
        PaintBoxes(pictures, codes, bx);
        for (size_t j = 0; j < codes.size(); ++j) {
            if (codes[j] == '|') continue;
            char name[16];
            std::snprintf(name, sizeof name, "s_%d_%d", k, static_cast<int>(j));
            RECT rect{bx, 0, bx + kBox, kBox};
            CLxControl::Descriptor box{m_pGUI, group, m_pGUI->StoreText(name), &rect, 1};
            word.boxes.push_back({new CLxCheckBox(&box), static_cast<unsigned char>(codes[j])});
            bx += kBox;
        }
    }
}

// The box shapes of a word, starting at x, into the row's state pictures.
void CLxRGameScr2::PaintBoxes(CLxSurface* const pictures[kRowStates], const std::string& codes,
                              int x) {
    CLxSurface* shapes = LoadBitmap(IsVowel(m_nLetter) ? "data\\buttons\\game1_01r.bmp"
                                                       : "data\\buttons\\game1_01g.bmp");
    if (shapes->m_pSurface) {
        shapes->SetColorKey(ColorToPixel(shapes, kShapeKey));
        for (size_t j = 0; j < codes.size(); ++j) {
            if (codes[j] == '|') continue;
            int shape = SyllableShape(codes, j);
            for (int s = kFirstState; s < kRowStates; ++s) {
                int top = kBox * (s - kFirstState);
                RECT from{kBox * shape, top, kBox * shape + kBox, top + kBox};
                RECT to{x, 0, x + kBox, kBox};
                BltSurface(pictures[s], &to, shapes, &from, 0);
            }
            x += kBox;
        }
    }
    FreeSurface(&shapes);
}

bool CLxRGameScr2::IsRight(const Word& word, unsigned char target) const {
    for (const Box& box : word.boxes)
        if (box.control->Is(kSelected) != (ToLower(box.code) == target)) return false;
    return true;
}

int CLxRGameScr2::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingScr::OnMouseEvent(event)) return sent;
    if (event && event->m_nType == kMouseClick) Check();
    return 0;
}

// Closes every word that became right; all right ends the game.
void CLxRGameScr2::Check() {
    bool all = true;
    for (int r = 0; r < m_nRows; ++r) {
        for (Word& word : m_rows[r].words) {
            if (word.done) continue;
            if (!IsRight(word, m_rows[r].target)) {
                all = false;
                continue;
            }
            word.done = true;
            for (Box& box : word.boxes)
                box.control->m_nFlags &= ~(kHot | kEnabled);
            if (!word.boxes.empty()) DrawTick(kSmallTick, word.picture);
        }
    }
    if (all) End();
}
