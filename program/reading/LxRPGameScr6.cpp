// Reading game 6 for an extra letter; see LxRPGameScr6.h. The words are drawn into the
// background letter by letter in their colours, the missing one as "..." in the colour
// of its kind; each word has a sound box "sprites.sbRK" over it that plays
// data\speech\<word>.wav. A sprite dropped on a word goes into its gap when the missing
// letter is the sprite's member; anywhere else it goes home.
#include "reading/LxRPGameScr6.h"

#include <cstdio>

#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxSoundBox.h"
#include "ui/LxSprite.h"

namespace {
const char* const kFont = "data\\fonts\\tnr32.xml";
constexpr int kSpriteY = 180, kWordsLeft = 24, kWordsWidth = 612;
constexpr uint32_t kSpriteColour = 0x4040F0;
const char* const kGapText = "...";

int CodesWidth(CLxRLEFonts* font, const std::string& codes) {
    return font ? font->RawTextWidth(codes.c_str()) : 0;
}
} // namespace

CLxRPGameScr6::CLxRPGameScr6(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 6, "RPGame") {
    m_szName = "RPGame6";
    auto groups = LessonGroups(m_nLetter, "game6a", "words", 3, kRows, kWords);
    for (int r = 0; r < kRows && r < static_cast<int>(groups.size()); ++r)
        for (const std::string& word : groups[r]) {
            std::string codes = TextToCodes(word.c_str()).substr(0, kMaxCodes);
            if (codes.empty()) continue;
            m_rows[r].push_back(Word{codes, r == 0 ? 0 : codes.size() - 1});
        }
    Build();
}

void CLxRPGameScr6::Build() {
    CLxGroup* group = ClearSprites();
    int k = MemberCount() > 0 ? MemberCount() : 1;
    for (int r = 0; r < kRows; ++r)
        LayOutRow(r, (300 * r + 40) / k + 264);
    // The sound boxes first: controls made later lie in front, and the sprites must.
    char name[16];
    for (int r = 0; r < kRows; ++r)
        for (size_t w = 0; w < m_rows[r].size(); ++w) {
            const Word& word = m_rows[r][w];
            std::string file = "data\\speech\\" + ToDoubledText(word.codes.c_str()) + ".wav";
            std::snprintf(name, sizeof name, "sb%d%d", r, static_cast<int>(w));
            CLxSoundBox::Descriptor d{{m_pGUI, group, name, &word.rect, 1}, file.c_str(), nullptr};
            new CLxSoundBox(&d);
        }
    AddMemberSprites(ServedFont(kFont), kCopies, kSpriteY, kSpriteColour);
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

// Draws row r's words at y, spread over the board, and notes their gaps and rectangles.
void CLxRPGameScr6::LayOutRow(int r, int y) {
    std::vector<Word>& words = m_rows[r];
    CLxRLEFonts* font = ServedFont(kFont);
    int n = static_cast<int>(words.size()), total = 0;
    for (const Word& word : words)
        total += CodesWidth(font, word.codes);
    int gap = n > 1 ? (kWordsWidth - total) / (n - 1) : 0;
    int height = font ? font->Height() : 0;
    CLxFontPen pen(font, m_pGUI->m_pBackground);
    int x = kWordsLeft;
    for (Word& word : words) {
        int width = CodesWidth(font, word.codes);
        word.rect = RECT{x - 4, y - 4, x + width + 8, y + height + 4};
        int at = x;
        for (size_t i = 0; i < word.codes.size(); ++i) {
            auto code = static_cast<unsigned char>(word.codes[i]);
            const CLxRLEBitmap* glyph = font ? font->Glyph(code) : nullptr;
            int letterWidth = glyph ? glyph->m_nWidth : 0;
            if (i == word.hidden) {
                word.gap = POINT{at, y};
                int dots = CodesWidth(font, kGapText);
                if (pen) {
                    SetTextColours(font, LetterColour(code), LetterColour(code));
                    pen->DrawRawText(kGapText, at + (letterWidth - dots) / 2, y);
                }
            } else if (pen) {
                pen->DrawChar(code, LetterColour(code), at, y);
            }
            if (glyph) at += letterWidth + 2;
        }
        x += width + gap;
    }
}

int CLxRPGameScr6::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingScr::OnMouseEvent(event)) return sent;
    if (!TrackDrop(event)) return 0;
    if (const Sprite* sprite = Dropped()) Drop(*sprite);
    return 0;
}

// In each row the first open word under the sprite decides: the sprite goes into its
// gap when the missing letter is its member; otherwise the next row is tried.
void CLxRPGameScr6::Drop(const Sprite& sprite) {
    CLxControl* dropped = sprite.control;
    RECT r;
    if (!dropped->GetDrawRect(&r)) return;
    for (std::vector<Word>& words : m_rows) {
        for (Word& word : words) {
            if (word.filled || !Overlaps(word.rect, r)) continue;
            auto hidden = static_cast<unsigned char>(word.codes[word.hidden]);
            if (ToLower(hidden) != ToLower(sprite.code)) break;
            dropped->m_nFlags &= ~(kHot | kEnabled);
            MoveSprite(dropped, word.gap.x + 2, word.gap.y);
            word.filled = true;
            bool all = true;
            for (const std::vector<Word>& row : m_rows)
                for (const Word& w : row)
                    all &= w.filled;
            m_pGUI->DrawBackground(nullptr, nullptr, true);
            if (all) End();
            return;
        }
    }
    SendHome(sprite);
}
