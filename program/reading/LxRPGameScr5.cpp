// Reading game 5 for an extra letter; see LxRPGameScr5.h. Each page is drawn into a
// fresh background: item i centred on x = 40 + 580 i / (n - 1) (a single item in the
// middle), lower case at y = 300 and upper case at y = 364; part a in red, part b each
// letter in its own colour, the two letters of a syllable 2 pixels apart.
#include "reading/LxRPGameScr5.h"

#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

namespace {
const char* const kFont = "data\\fonts\\tnr32.xml";
constexpr int kLowerY = 300, kUpperY = 364, kFirstCentre = 40, kSpan = 580;
constexpr uint32_t kPartAColour = 0xFF0000;

std::vector<std::vector<std::string>> ReadGroups(unsigned char letter, const char* game,
                                                 const char* attr, int groups, int items,
                                                 size_t letters) {
    auto read = LessonGroups(letter, game, attr, items + 1, groups, items);
    for (auto& group : read)
        for (std::string& item : group)
            item = TextToCodes(item.c_str()).substr(0, letters);
    return read;
}

int Width(CLxRLEFonts* font, const std::string& codes) {
    int width = 0;
    for (unsigned char code : codes)
        if (const CLxRLEBitmap* glyph = font->Glyph(code)) width += glyph->m_nWidth + 2;
    return width > 0 ? width - 2 : 0;
}
} // namespace

CLxRPGameScr5::CLxRPGameScr5(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 5, "RPGame") {
    m_szName = IsVowel(Member(0)) && IsVowel(Member(1)) ? "RPGame5g" : "RPGame5s";
    m_groupsA = ReadGroups(m_nLetter, "game5a", "characters", kGroupsA, kLettersA, 1);
    m_groupsB = ReadGroups(m_nLetter, "game5b", "words", kGroupsB, kSyllablesB, 2);
    m_bPartB = m_groupsA.empty() || m_groupsA[0].empty();
    ShowPage();
}

const std::vector<std::string>& CLxRPGameScr5::Group(bool partB, int page) const {
    static const std::vector<std::string> kNone;
    const auto& groups = partB ? m_groupsB : m_groupsA;
    return page >= 0 && page < static_cast<int>(groups.size()) ? groups[page] : kNone;
}

void CLxRPGameScr5::ShowPage() {
    ReloadBoard();
    SetControlFlag("t.tovabb", kVisible, true);
    DrawItems(ServedFont(kFont), Group(m_bPartB, m_nPage));
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

// Item i centred on its column, lower case above and upper case below.
void CLxRPGameScr5::DrawItems(CLxRLEFonts* font, const std::vector<std::string>& items) {
    CLxFontPen pen(font, m_pGUI->m_pBackground);
    int n = static_cast<int>(items.size());
    for (int i = 0; pen && i < n; ++i) {
        int centre = n > 1 ? kFirstCentre + kSpan * i / (n - 1) : kFirstCentre + kSpan / 2;
        for (bool upper : {false, true}) {
            std::string codes = items[i];
            for (char& code : codes)
                code = static_cast<char>(upper ? ToUpper(static_cast<unsigned char>(code))
                                               : ToLower(static_cast<unsigned char>(code)));
            int x = centre - Width(font, codes) / 2;
            for (unsigned char code : codes) {
                uint32_t colour = m_bPartB ? LetterColour(code) : kPartAColour;
                x += pen->DrawChar(code, colour, x, upper ? kUpperY : kLowerY) + 2;
            }
        }
    }
}

int CLxRPGameScr5::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingScr::OnMouseEvent(event)) return sent;
    if (event && event->m_nType == kMouseClick && event->m_pControl &&
        event->m_pControl->GetFullName() == "t.tovabb")
        Turn();
    return 0;
}

// Part a's pages are 0 to k, part b's 0 to 2k + 1 (k members); the turn of the last
// page of the game ends it.
void CLxRPGameScr5::Turn() {
    if (Ended()) return;
    int k = MemberCount();
    int last = m_bPartB ? 2 * k + 1 : k;
    if (m_nPage != last) {
        ++m_nPage;
    } else if (!m_bPartB && !m_groupsB.empty()) {
        m_bPartB = true;
        m_nPage = 0;
    } else {
        End();
        return;
    }
    ShowPage();
}
