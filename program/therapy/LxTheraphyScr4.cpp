// The automation screen; see LxTheraphyScr4.h.
#include "therapy/LxTheraphyScr4.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "reading/LxLetters.h"
#include "shell/LxClock.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "shell/LxSettings.h"
#include "shell/LxUserRecords.h"
#include "therapy/LxTPanels.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"
#include "ui/LxTextArea.h"

namespace {
const char* const kSentenceArea = "fo.mondatok";
const char* const kSlotFont = "data\\fonts\\tnr48.xml";
constexpr RECT kHeardBox = {20, 500, 60, 540}, kExpectedBox = {120, 500, 180, 560};
constexpr int kPlainPage = 0, kReadingPage = 1;
constexpr int kPageMask = 3;
constexpr int kFirstSelection = 20;
constexpr int kSelectionColour = 0xFFFFFF, kSelectionAccent = 0xFF0000, kSelectionBack = 0xFF8080;
constexpr int kFrame = 8;
constexpr float kLighter = 1.4f;

std::string SampleName(int n) {
    return std::string("mondat") + CLxTheraphyScr4::ButtonCharacter(n);
}

std::string WithoutMarks(std::string text) {
    std::erase(text, '$');
    return text;
}
} // namespace

CLxTheraphyScr4::CLxTheraphyScr4(const char* descriptionPath) : CLxTheraphyScr(descriptionPath) {
    m_szName = "Theraphy4";
    m_nPage = -1;
    m_nAllowed = 10;
    for (int i = 0; i <= 4; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "fo.time%d", i);
        SetControlFlag(name, kVisible, false);
    }
    if (CLxGroup* group = m_pGUI ? m_pGUI->FindGroup("mondatok") : nullptr)
        group->m_nFlags &= ~kVisible;
    SetControlFlag("fo.automatizalas", kSelected, true);
    SetControlFlag("jobb.m0", kEnabled, true);
    SetControlFlag("jobb.m1", kEnabled, false);
    CLxRLEFonts* font = ServedFont(kSlotFont);
    const LxOverlaySlot slots[] = {{0, 0, kHeardBox}, {0, 0, kExpectedBox}};
    SetDriverMode({kDriverPhonemes, kPeriod, kSmooth, font, nullptr, slots, 2});
    SetControlState("fo.szoveg", kVisible);
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

char CLxTheraphyScr4::ButtonCharacter(int n) {
    return n < kUserSentenceFirst ? char('0' + n) : char(n + 89);
}

std::string CLxTheraphyScr4::SentenceCodes(int n) {
    if (n < 0 || n > kLastSentence) return "";
    if (n < kUserSentenceFirst) return reinterpret_cast<const char*>(g_aSentences[n]);
    return g_aUserSentences[n - kUserSentenceFirst];
}

CLxTextArea* CLxTheraphyScr4::Area() const {
    return m_pGUI ? dynamic_cast<CLxTextArea*>(m_pGUI->FindControl(kSentenceArea)) : nullptr;
}

void CLxTheraphyScr4::SaveUserSentence() {
    int n = g_Settings.nTherapy4Sentence;
    CLxTextArea* area = Area();
    if (!area || n < kUserSentenceFirst || n > kLastSentence || m_nPage != kPlainPage) return;
    std::string codes = TextToCodes(area->GetText()).substr(0, kSentenceBytes - 1);
    char* sentence = g_aUserSentences[n - kUserSentenceFirst];
    std::memcpy(sentence, codes.c_str(), codes.size() + 1);
}

void CLxTheraphyScr4::SetSentence(int n) {
    if (n < 0 || n > kLastSentence) return;
    g_Settings.nTherapy4Sentence = n;
    bool user = n >= kUserSentenceFirst;
    SetControlText(kSentenceArea, CodesToText(SentenceCodes(n).c_str()).c_str());
    SetControlFlag(kSentenceArea, kAcceptsChars, user);
    for (int i = 0; i <= kLastSentence; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "mondatok.m%c", ButtonCharacter(i));
        SetControlFlag(name, kSelected, i == n);
    }
    SetControlFlag("fo.minta", kEnabled,
                   !SamplePath(TextToCodes(SampleName(n).c_str()).c_str()).empty());
}

void CLxTheraphyScr4::ShowPage() {
    SetControlState("fo.szoveg", 0);
    CLxTextArea* area = Area();
    CLxGroup* sentences = m_pGUI ? m_pGUI->FindGroup("mondatok") : nullptr;
    if (area && sentences && !(sentences->m_nFlags & kVisible)) {
        sentences->m_nFlags |= kVisible;
        SetControlFlag(kSentenceArea, kVisible, true);
        SetSentence(g_Settings.nTherapy4Sentence);
        area->SetSelection(0, kFirstSelection);
        area->SetSelectionColors(kSelectionColour, kSelectionAccent, kSelectionBack);
        RECT r;
        if (area->GetDrawRect(&r) && m_pGUI->m_pBackground) {
            RECT strips[] = {{r.left - kFrame, r.top - kFrame, r.right + kFrame, r.top},
                             {r.left - kFrame, r.bottom, r.right + kFrame, r.bottom + kFrame},
                             {r.left - kFrame, r.top, r.left, r.bottom},
                             {r.right, r.top, r.right + kFrame, r.bottom}};
            for (const RECT& strip : strips)
                Shade(m_pGUI->m_pBackground, &strip, kLighter);
        }
    }
    std::string codes = SentenceCodes(g_Settings.nTherapy4Sentence);
    if (m_nPage == kReadingPage) {
        std::string marked = CLxReadAlong::MarkText(codes, CLxReadAlong::PractisedLetters());
        m_reading.Start(CodesToText(marked.c_str()), LxClock());
        SetControlText(kSentenceArea, m_reading.m_text.c_str());
        if (area) area->SetSelection(m_reading.m_nSelStart, m_reading.m_nSelEnd);
    } else {
        SetControlText(kSentenceArea, WithoutMarks(CodesToText(codes.c_str())).c_str());
    }
    SetControlFlag(kSentenceArea, kEnabled, m_nPage == kPlainPage);
    SetControlFlag(kSentenceArea, kSelectionColours, m_nPage == kReadingPage);
    SetControlFlag(kSentenceArea, kEditing, true);
    for (int d = 0; d < 10; ++d) {
        char name[16];
        std::snprintf(name, sizeof name, "jobb.m%d", d);
        SetControlFlag(name, kSelected, d == m_nPage);
        SetControlFlag(name, kEnabled, (kPageMask >> d & 1) != 0);
    }
    for (int k = 1; k <= kTasks; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "fo.fa%02d", k);
        int marked = g_aTaskValues[k] > 0 ? kSelected : 0;
        SetControlState(name, (m_nPage == kReadingPage ? 8 : 12) | marked);
    }
    for (const char* name : {"fo.fa00", "fo.fa18", "fo.fa19"})
        SetControlState(name, 0);
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

void CLxTheraphyScr4::ShowReading() {
    CLxTextArea* area = Area();
    if (!area) return;
    area->SetSelection(m_reading.m_nSelStart, m_reading.m_nSelEnd);
    area->SetCaret(m_reading.m_nCaret);
    g_Driver.aLetters[0] = m_reading.m_cHeard ? m_reading.m_cHeard : ' ';
    g_Driver.aLetters[1] = m_reading.m_cExpected ? m_reading.m_cExpected : ' ';
    g_Driver.aLetters[2] = 0;
    g_Driver.aColors[1] = int(m_reading.m_nExpectedColour);
}

int CLxTheraphyScr4::OnTimerEvent(CLxTimerEvent* event) {
    CLxTheraphyScr::OnTimerEvent(event);
    if (!event || event->m_nMessage == int(kMsgTimer) || m_nPage != kReadingPage) return 0;
    if (m_pGUI && g_pDrawSurface && m_pGUI->m_pBackground)
        for (const RECT& box : {kHeardBox, kExpectedBox})
            BltSurface(g_pDrawSurface, &box, m_pGUI->m_pBackground, &box, 0);
    int column = g_Driver.nWrite;
    int best = g_Driver.nBestClass;
    // No class yet (-1) or one beyond the rows: nothing was heard, no row is read.
    float score = best >= 0 && best < kHistoryRows ? g_Driver.aHistory[best][column] : 0.0f;
    bool silence = g_Driver.aHistory[kRowSilence][column] != 0;
    if (m_reading.Step(silence, best, score, int(event->m_nClock)))
        SetControlText(kSentenceArea, m_reading.m_text.c_str());
    ShowReading();
    return 0;
}

int CLxTheraphyScr4::OnMouseEvent(CLxMouseEvent* event) {
    CLxControl* control = event ? event->m_pControl : nullptr;
    if (control && event->m_nType == kMouseClick) {
        std::string name = control->GetFullName();
        if (name.size() == 11 && name.compare(0, 10, "mondatok.m") == 0) {
            SaveUserSentence();
            SetControlFlag(name.c_str(), kSelected, false);
            char c = name[10];
            int n = c >= '0' && c <= '7' ? c - '0' : c - 89;
            SetSentence(n);
            if (m_nPage == kReadingPage) ShowPage();
            return 0;
        }
        if (name == "fo.szobe") {
            LxSendMessage(kMsgSentences, 1);
            return 0;
        }
        if (name == "fo.minta") {
            PlaySample(TextToCodes(SampleName(g_Settings.nTherapy4Sentence).c_str()).c_str(), true,
                       true);
            return 0;
        }
        // Leaving the screen keeps what was typed.
        SaveUserSentence();
    }
    return CLxTheraphyScr::OnMouseEvent(event);
}

void CLxTheraphyScr4::OnAnswer(UINT msg, WPARAM wParam) {
    if (msg == kMsgSentenceChosen) {
        SetSentence(int(wParam));
        if (m_nPage == kReadingPage) ShowPage();
        return;
    }
    CLxTheraphyScr::OnAnswer(msg, wParam);
}
