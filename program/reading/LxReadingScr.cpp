// The reading screen; see LxReadingScr.h. Building it resolves the course position
// (LxCourse.h), marks the tab of the letter's kind, disables the games the lesson does
// not offer, shows the lesson number, puts the seventh game's pictures on its button
// and draws the letter card into the background, so every redraw keeps the card.
#include "reading/LxReadingScr.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "media/LxCallPic.h"
#include "media/LxFontServer.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxText.h"

namespace {
const char* const kCardFont = "data\\fonts\\tnr32.xml";
constexpr uint32_t kHyphenColour = 0x808080, kVowelColour = 0xFF0000, kConsonantColour = 0x04A820;

bool IsControl(const CLxMouseEvent* event, const char* fullName) {
    return event->m_pControl && event->m_pControl->GetFullName() == fullName;
}

// Draws codes centred on x = 612 at y, code by code, each in the colour of its kind.
void DrawCardRow(CLxRLEFonts* font, const std::string& codes, int y) {
    int x = 612 - font->RawTextWidth(codes.c_str()) / 2;
    for (unsigned char code : codes) {
        uint32_t colour = code == '-'     ? kHyphenColour
                          : IsVowel(code) ? kVowelColour
                                          : kConsonantColour;
        x += font->DrawChar(code, colour, x, y) + 2;
    }
}
} // namespace

CLxReadingScr::CLxReadingScr(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "Reading";
    SetControlState("fo.hangero", 0);
    SetControlState("fo.thangero", 0);
    if (CLxControl* meter = m_pGUI->FindControl("fo.hangero")) {
        RECT bounds;
        if (meter->GetDrawRect(&bounds)) m_pGUI->DrawBackground(&bounds, nullptr, true);
    }
    ResolveCoursePosition();
    m_nLetter = CurrentCourseLetter();
    StoreMembers();
    MarkTabs();
    SetUpGameButtons();
    char number[16] = "";
    if (g_nCourseLesson >= 0) std::snprintf(number, sizeof number, "%d", g_nCourseLesson + 1);
    SetControlText("fo.szam", number);
    SetDriverMode({kDriverPhonemes, kListenPeriod, kSmoothFrames});
    SetControlFlag("t.tovabb", kVisible, false);
    SetUpSeventhGame();
    DrawLetterCard();
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

CLxReadingScr::~CLxReadingScr() {
    ReleaseHelpSound();
}

unsigned char CLxReadingScr::Member(int i) const {
    if (i < 0 || i >= m_nMemberCount) return 0;
    return static_cast<unsigned char>(m_nMembers >> (8 * i));
}

// An extra letter's text form with each "-" a blank decodes to member, blank, member...
void CLxReadingScr::StoreMembers() {
    m_nMembers = m_nLetter;
    m_nMemberCount = m_nLetter ? 1 : 0;
    if (!IsExtraLetter(m_nLetter)) return;
    std::string text = EncodeLetter(m_nLetter);
    for (char& c : text)
        if (c == '-') c = ' ';
    std::string codes = TextToCodes(text.c_str());
    m_nMembers = 0;
    m_nMemberCount = 0;
    for (size_t i = 0; i < codes.size() && m_nMemberCount < kMaxMembers; i += 2)
        m_nMembers |= static_cast<unsigned>(static_cast<unsigned char>(codes[i]))
                      << (8 * m_nMemberCount++);
}

void CLxReadingScr::MarkTabs() {
    if (IsExtraLetter(m_nLetter)) {
        SetControlFlag("fo.fonemaparok1", kSelected, true);
        SetControlFlag("fo.fonemaparok2", kSelected, true);
        SetControlFlag("fo.fonemaparok3", kSelected, true);
    } else {
        SetControlFlag(IsVowel(m_nLetter) ? "fo.maganhangzok" : "fo.massalhangzok", kSelected,
                       true);
    }
}

void CLxReadingScr::SetUpGameButtons() {
    char name[16];
    for (int n = 2; n <= 6; ++n) {
        if (LessonOffers(n)) continue;
        std::snprintf(name, sizeof name, "fo.jatek%d", n);
        SetControlFlag(name, kEnabled, false);
    }
}

// The seventh game's button shows the kind of game in four pictures, one per enabled
// state (4 to 7); with no seventh game the button is disabled and the pictures go to
// the disabled states (0 to 3).
void CLxReadingScr::SetUpSeventhGame() {
    static const char* const kPictures[4] = {"konyv5", "konyv", "puzzle", "domino"};
    int game = LessonSeventhGame();
    if (game < 0 || game > 3) game = 0;
    if (game == 0) SetControlFlag("fo.jatek7", kEnabled, false);
    CLxGroup* group = m_pGUI->FindGroup("fo");
    for (int k = 0; k < 4; ++k) {
        char path[64];
        if (game == 0)
            std::snprintf(path, sizeof path, "data\\buttons\\%s.bmp", kPictures[0]);
        else
            std::snprintf(path, sizeof path, "data\\buttons\\%s%d.bmp", kPictures[game], k + 1);
        CLxSurface* picture = LoadBitmap(path);
        if (!picture->m_pSurface) {
            FreeSurface(&picture);
            continue;
        }
        int state = (game == 0 ? 0 : 4) + k;
        if (group && group->m_aPictures[state])
            BltSurfaceFast(group->m_aPictures[state], 666 - group->m_nX, 556 - group->m_nY, picture,
                           nullptr, 0);
        if (k == 0 && m_pGUI->m_pBackground)
            BltSurfaceFast(m_pGUI->m_pBackground, 666, 556, picture, nullptr, 0);
        FreeSurface(&picture);
    }
}

void CLxReadingScr::DrawLetterCard() {
    if (!m_nLetter || !m_pGUI->m_pBackground) return;
    if (IsExtraLetter(m_nLetter))
        DrawExtraLetterCard();
    else
        DrawCallPictureCard();
}

// One "-": one row at y = 72. Two: the first member and its "-" above, the rest below.
// Three: four codes above, four below. Any other count has no layout and is not drawn.
void CLxReadingScr::DrawExtraLetterCard() {
    CLxRLEFonts* font = ServedFont(kCardFont);
    if (!font) return;
    // Each part between hyphens decodes on its own, so the whole is not read back as the
    // extra letter itself.
    std::string text = EncodeLetter(m_nLetter), codes;
    int hyphens = 0;
    for (size_t start = 0;;) {
        size_t end = text.find('-', start);
        codes += TextToCodes(text.substr(start, end - start).c_str());
        if (end == std::string::npos) break;
        codes += '-';
        ++hyphens;
        start = end + 1;
    }
    if (hyphens < 1 || hyphens > 3) return;
    LxSurfaceDesc locked;
    if (m_pGUI->m_pBackground->Lock(nullptr, &locked) != 0) return;
    font->Attach(&locked);
    if (hyphens == 1) {
        DrawCardRow(font, codes, 72);
    } else {
        size_t split = std::min(hyphens == 2 ? codes.find('-') + 1 : 4, codes.size());
        DrawCardRow(font, codes.substr(0, split), 32);
        DrawCardRow(font, hyphens == 2 ? codes.substr(split) : codes.substr(split, 4), 72);
    }
    font->Attach(nullptr);
    m_pGUI->m_pBackground->Unlock();
}

void CLxReadingScr::DrawCallPictureCard() {
    int index = g_pCallPics ? g_pCallPics->FindLetter(m_nLetter) : -1;
    if (index < 0) {
        std::printf("Error: ReadingScr: Call pic. not found. '%c' %x\n", m_nLetter, m_nLetter);
        std::fflush(stdout);
        return;
    }
    CLxSurface* picture = LoadBitmap(g_pCallPics->PicturePath(index));
    if (picture->m_pSurface) {
        int width = IsVowelPair(m_nLetter) ? 108 : 72;
        CLxSurface* card = CreateSurface(width, 72);
        card->Blt(nullptr, picture, nullptr, 0, 0);
        int centre = IsVowel(m_nLetter) ? 160 : 380;
        BltSurfaceFast(m_pGUI->m_pBackground, centre - width / 2, 46, card, nullptr, 0);
        FreeSurface(&card);
    }
    FreeSurface(&picture);
}

int CLxReadingScr::OnKeyEvent(CLxKeyEvent* event) {
    if (!event || event->m_nType != kKeyChar || event->m_nKey != 13 || !event->m_pControl) return 0;
    if (event->m_pControl->GetFullName() != "fo.szam") return 0;
    auto* field = dynamic_cast<CLxText*>(event->m_pControl);
    if (!field) return 0;
    long n = std::strtol(field->GetText(), nullptr, 10);
    if (n < 1 || n > g_nLastCourseEntry + 1) return 0;
    LxSendMessage(kMsgReadingLetter, g_aCourse[n - 1][0], 0);
    return kMsgReadingLetter;
}

int CLxReadingScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || !event->m_pControl) return 0;
    if (IsControl(event, "fo.help")) {
        if (event->m_nType == kMouseEnter) ShowHelp();
        if (event->m_nType == kMouseLeave) HideHelp();
        return 0;
    }
    if (event->m_nType != kMouseClick) return 0;
    static const struct {
        const char* name;
        UINT msg;
    } kButtons[] = {
        {"fo.kilepes", kMsgClose},
        {"fo.vissza", kMsgMainScreen},
        {"fo.maganhangzok", kMsgVowelSelection},
        {"fo.massalhangzok", kMsgConsonantSelection},
        {"fo.fonemaparok1", kMsgPairSelection1},
        {"fo.fonemaparok2", kMsgPairSelection2},
        {"fo.fonemaparok3", kMsgPairSelection3},
        {"fo.jatek1", kMsgReadingGame1},
        {"fo.jatek2", kMsgReadingGame2},
        {"fo.jatek3", kMsgReadingGame3},
        {"fo.jatek4", kMsgReadingGame4},
        {"fo.jatek5", kMsgReadingGame5},
        {"fo.jatek6", kMsgReadingGame6},
        {"fo.jatek7", kMsgReadingExtraGame},
        {"fo.jatek8", kMsgExtendedMemory},
    };
    UINT msg = 0;
    for (const auto& button : kButtons)
        if (IsControl(event, button.name)) msg = button.msg;
    if (IsControl(event, "fo.elore") || IsControl(event, "fo.hatra")) {
        bool forward = IsControl(event, "fo.elore");
        if (forward && g_nCourseLesson < g_nLastCourseEntry) {
            ++g_nCourseLesson;
            g_nCourseLetter = -1;
        } else if (g_nCourseLesson > 0 && !forward) {
            --g_nCourseLesson;
            g_nCourseLetter = -1;
        }
        msg = kMsgReadingGame1;
    }
    if (!msg) return 0;
    LxSendMessage(kMsgStop);
    g_Driver.aLetters[0] = 0;
    LxSendMessage(msg);
    return static_cast<int>(msg);
}

void CLxReadingScr::ShowHelp() {
    SetControlFlag("fo.help", kSelected, true);
    std::string base = std::string("data\\help\\") + (m_szName ? m_szName : "");
    CLxSurface* picture = LoadBitmap((base + ".bmp").c_str());
    if (picture->m_pSurface && g_pDrawSurface) {
        RECT area{2, 2, 662, 122};
        g_pDrawSurface->Blt(&area, picture, nullptr, 0, 0);
    }
    FreeSurface(&picture);
    ReleaseHelpSound();
    if (!g_pSoundServer) return;
    m_pHelpSound = g_pSoundServer->GetSound((base + ".wav").c_str(), -1, -1);
    if (m_pHelpSound) PlaySound(m_pHelpSound, false, true);
}

void CLxReadingScr::HideHelp() {
    SetControlFlag("fo.help", kSelected | kHot, false);
    ReleaseHelpSound();
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

void CLxReadingScr::ReleaseHelpSound() {
    if (!m_pHelpSound) return;
    StopSound(m_pHelpSound);
    if (g_pSoundServer) g_pSoundServer->ReleaseSound(m_pHelpSound);
    m_pHelpSound = nullptr;
}
