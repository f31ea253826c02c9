// Reading game 1 for an extra letter; see LxRPGameScr1.h. Each member's call picture
// (MakeCallPicture) is scaled into its panel of the background, and the overlay slots
// take the panels' rectangles. A member lights when its recogniser class is among the
// first twenty, the level is above a sixteenth of the minimum and its score is above
// 0.3; the lighter, the lower the score.
#include "reading/LxRPGameScr1.h"

#include <string>

#include "media/LxCallPic.h"
#include "media/LxFontServer.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "reading/LxRGameScr1.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgram.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

namespace {
constexpr uint32_t kVowelColour = 0xFF0000, kConsonantColour = 0x04A820;

float HistoryAt(int row) {
    int at = g_Driver.nWrite;
    if (row < 0 || row >= kHistoryRows || at < 0 || at >= kHistoryMax) return 0.0f;
    return g_Driver.aHistory[row][at];
}

void SetWeight(int slot, int weight) {
    uint32_t rgb = static_cast<uint32_t>(g_Driver.aColors[slot]) & 0xFFFFFF;
    g_Driver.aColors[slot] = static_cast<int>(rgb | static_cast<uint32_t>(weight) << 24);
}
} // namespace

bool CLxRPGameScr1::PanelRect(int n, int i, RECT* out) {
    static const RECT kTwo[2] = {{20, 200, 320, 500}, {340, 200, 640, 500}};
    static const RECT kThree[3] = {{20, 260, 220, 460}, {232, 260, 432, 460}, {444, 260, 644, 460}};
    static const RECT kFour[4] = {
        {40, 160, 240, 360}, {260, 160, 460, 360}, {40, 380, 240, 580}, {260, 380, 460, 580}};
    if (i < 0 || i >= n) return false;
    if (n == 2)
        *out = kTwo[i];
    else if (n == 3)
        *out = kThree[i];
    else if (n == 4)
        *out = kFour[i];
    else
        return false;
    return true;
}

CLxRPGameScr1::CLxRPGameScr1(const char* descriptionPath) : CLxReadingScr(descriptionPath) {
    bool vowels = IsVowel(Member(0)) && IsVowel(Member(1));
    m_szName = vowels ? "RPGame1g" : "RPGame1s";
    SetControlFlag("fo.jatek1", kSelected, true);
    SetControlState("fo.hangero", 12);
    SetControlState("fo.thangero", 12);
    SetUp();
}

CLxRPGameScr1::~CLxRPGameScr1() {
    LxSendMessage(kMsgStop);
}

// With a vowel second member the members light in their panels while the driver
// streams per-phoneme scores; otherwise the panels only place the heard member's key
// word, and the driver waits for an utterance.
void CLxRPGameScr1::SetUp() {
    int n = MemberCount();
    bool lit = IsVowel(Member(1));
    LxOverlaySlot slots[kMaxMembers] = {};
    int count = 0;
    for (int i = 0; i < n && i < kMaxMembers; ++i) {
        RECT panel;
        if (!PanelRect(n, i, &panel)) continue;
        unsigned char member = Member(i);
        uint32_t colour = lit && IsVowel(member) ? kVowelColour : kConsonantColour;
        slots[i] = {lit ? member : static_cast<unsigned char>(0), static_cast<int>(colour), panel};
        count = i + 1;
        CLxSurface* picture = MakeCallPicture(member);
        if (picture && m_pGUI->m_pBackground)
            BltSurface(m_pGUI->m_pBackground, &panel, picture, nullptr, 0);
        FreeSurface(&picture);
    }
    SetDriverMode({lit ? kDriverPhonemes : kDriverWaiting, kListenPeriod, kSmoothFrames,
                   ServedFont(lit ? "data\\fonts\\tnr128.xml" : "data\\fonts\\tnr48.xml"), nullptr,
                   slots, count});
    m_pGUI->DrawBackground(nullptr, nullptr, true);
    LxSendMessage(kMsgStop);
    LxSendMessage(kMsgRecord);
}

int CLxRPGameScr1::OnTimerEvent(CLxTimerEvent* event) {
    if (CLxControl* meter = m_pGUI->FindControl("fo.hangero"); meter && meter->Is(kVisible))
        meter->Draw();
    if (g_Driver.nState == kDriverRecognised) ShowRecognised();
    if (event && event->m_nMessage != static_cast<int>(kMsgTimer) && g_Driver.pOverlayFont)
        LightMembers();
    return 0;
}

void CLxRPGameScr1::ShowRecognised() {
    unsigned char heard = g_Driver.aLetters[0];
    int member = -1;
    for (int i = 0; heard && i < MemberCount() && member < 0; ++i)
        if (Member(i) == heard) member = i;
    std::string word;
    if (member >= 0 && g_pCallPics) {
        int index = g_pCallPics->FindLetter(heard);
        if (index >= 0) word = g_pCallPics->Entry(index).Word();
    }
    SetUp();
    CLxRLEFonts* font = g_Driver.pOverlayFont;
    if (word.empty() || !font || !g_pDrawSurface) return;
    const RECT& slot = g_Driver.aRects[member];
    int x = (slot.left + slot.right - font->RawTextWidth(word.c_str())) / 2;
    int y = (slot.top + slot.bottom - font->Height()) / 2;
    for (unsigned char code : word) {
        const CLxRLEBitmap* glyph = font->Glyph(code);
        if (!glyph) continue;
        glyph->Draw(g_pDrawSurface, x, y, static_cast<uint32_t>(g_Driver.aColors[0]));
        x += glyph->m_nWidth + 2;
    }
}

void CLxRPGameScr1::LightMembers() {
    CLxRLEFonts* font = g_Driver.pOverlayFont;
    bool loud = HistoryAt(kRowLevel) > g_Driver.fMinLevel * 0.0625f;
    for (int i = 0; i < MemberCount() && g_Driver.aLetters[i]; ++i) {
        const RECT& slot = g_Driver.aRects[i];
        if (const CLxRLEBitmap* glyph = font->Glyph(g_Driver.aLetters[i]);
            glyph && g_pDrawSurface && m_pGUI->m_pBackground) {
            int x = (slot.left + slot.right - glyph->m_nWidth) / 2;
            int y = (slot.top + slot.bottom - glyph->m_nHeight) / 2;
            RECT box{x, y, x + glyph->m_nWidth, y + glyph->m_nHeight};
            BltSurface(g_pDrawSurface, &box, m_pGUI->m_pBackground, &box, 0);
        }
        int place = TherapyPlace(ShortForm(g_Driver.aLetters[i]));
        float score = HistoryAt(place);
        bool on = place >= 0 && place < 20 && loud && score > kMinScore;
        SetWeight(i, on ? ScoreWeight(score) : 0xFF);
    }
}
