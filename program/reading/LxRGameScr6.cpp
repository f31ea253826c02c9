// Reading game 6; see LxRGameScr6.h. The table is drawn into the background; each of
// its letters or syllables is covered by a sound box "szotag.sbRK" (row R, column K)
// from the top of its lower-case form to 128 pixels below, over both forms, whose
// sound is the bank's sound named by the syllable's text ("ma", "am", "a").
#include "reading/LxRGameScr6.h"

#include <algorithm>
#include <cstdio>

#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"
#include "ui/LxSoundBox.h"

namespace {
const char* const kFont = "data\\fonts\\tnr32.xml";
const char* const kBoxGroup = "szotag";
constexpr int kColumnLeft = 40, kColumnSpan = 590, kGap = 2, kBoxHeight = 128;
constexpr int kVowelLowerY = 300, kVowelUpperY = 364;
constexpr int kPairLowerY = 240, kPairUpperY = 312, kPairRowStep = 160;
constexpr int kSyllableLowerY[2] = {240, 400}, kSyllableUpperY[2] = {304, 464};

// The width of codes drawn letter by letter with kGap between them.
int CodesWidth(const std::string& codes) {
    int width = 0;
    for (unsigned char code : codes)
        width += GlyphWidth(kFont, code) + kGap;
    return width > 0 ? width - kGap : 0;
}

// Draws codes centred on x at y, each letter in its own colour.
void DrawCentred(CLxFontPen& font, const std::string& codes, int centre, int y) {
    int x = centre - CodesWidth(codes) / 2;
    for (unsigned char code : codes)
        x += font->DrawChar(code, LetterColour(code), x, y) + kGap;
}

std::string Capitalised(std::string codes) {
    if (!codes.empty()) codes[0] = static_cast<char>(ToUpper(static_cast<unsigned char>(codes[0])));
    return codes;
}
} // namespace

std::vector<std::vector<std::string>> TableRows(const std::vector<std::string>& items,
                                                int maxItems) {
    std::vector<std::vector<std::string>> rows;
    if (items.empty()) return rows;
    std::vector<char*> split(maxItems > 0 ? maxItems : 1);
    bool groups = false;
    for (const std::string& item : items) {
        std::string text = item;
        groups = groups || CLxXMLParser::SplitList(text.data(), split.data(), maxItems) > 1;
    }
    if (!groups) {
        rows.emplace_back(items.begin(), items.begin() + std::min<size_t>(items.size(), maxItems));
    } else {
        for (size_t i = 0; i < items.size() && rows.size() < 2; ++i) {
            std::string text = items[i];
            int n = CLxXMLParser::SplitList(text.data(), split.data(), maxItems);
            rows.emplace_back(split.begin(), split.begin() + n);
        }
    }
    if (rows.size() == 1) rows.push_back(rows[0]);
    return rows;
}

CLxRGameScr6::CLxRGameScr6(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 6, "RGame") {
    bool vowel = IsVowel(m_nLetter);
    m_szName = vowel ? "RGame6g" : "RGame6s";
    DrawTable();
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

void CLxRGameScr6::DrawTable() {
    bool vowel = IsVowel(m_nLetter);
    auto rows = TableRows(LessonList(m_nLetter, "game6", "characters", kMaxItems), kMaxItems);
    int rowCount = vowel && !IsVowelPair(m_nLetter) ? 1 : 2;
    if (rows.empty()) rowCount = 0;
    CLxFontPen font{ServedFont(kFont), m_pGUI->m_pBackground};
    for (int r = 0; r < rowCount && font; ++r) {
        int n = static_cast<int>(rows[r].size());
        for (int k = 0; k < n; ++k) {
            unsigned char letter = ToLower(DecodeLetter(rows[r][k].c_str()));
            if (!letter) continue;
            std::string codes(1, static_cast<char>(letter));
            int lower = kVowelLowerY, upper = kVowelUpperY;
            if (!vowel) {
                std::string own(1, static_cast<char>(ToLower(m_nLetter)));
                codes = r == 0 ? own + codes : codes + own;
                lower = kSyllableLowerY[r];
                upper = kSyllableUpperY[r];
            } else if (rowCount == 2) {
                lower = kPairLowerY + kPairRowStep * r;
                upper = kPairUpperY + kPairRowStep * r;
            }
            int centre = kColumnLeft + Spread(k, n, kColumnSpan);
            DrawCentred(font, codes, centre, lower);
            DrawCentred(font, Capitalised(codes), centre, upper);
            AddSyllable(r, k, codes, centre, lower);
        }
    }
}

void CLxRGameScr6::AddSyllable(int row, int k, const std::string& codes, int centre, int y) {
    CLxGroup* group = m_pGUI->FindGroup(kBoxGroup);
    if (!group) {
        CLxGroup::Descriptor d{m_pGUI, m_pGUI->StoreText(kBoxGroup), {}, 0, 0};
        group = new CLxGroup(&d);
    }
    int width = std::max(CodesWidth(codes), CodesWidth(Capitalised(codes)));
    RECT rect{centre - width / 2, y, centre - width / 2 + width, y + kBoxHeight};
    char name[16];
    std::snprintf(name, sizeof name, "sb%d%d", row, k);
    std::string sound = CodesToText(codes.c_str());
    CLxSoundBox::Descriptor d{
        {m_pGUI, group, m_pGUI->StoreText(name), &rect, 1}, nullptr, sound.c_str()};
    new CLxSoundBox(&d);
}
