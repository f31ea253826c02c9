// The time-diagram page; see LxLetterDiagrams.h.
#include "therapy/LxLetterDiagrams.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "media/LxFontServer.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxSettings.h"
#include "shell/LxUserRecords.h"
#include "therapy/LxSoundLetters.h"
#include "therapy/LxTasks.h"
#include "ui/LxCGUI.h"
#include "ui/LxScreen.h"
#include "ui/LxText.h"
#include "ui/LxTimeDiagramm.h"

namespace {
const char* const kKinds[] = {"tf", "nf", "bm", "bp", "td"};
const char* const kSmallFont = "data\\fonts\\tnr24.xml";
const char* const kTallFont = "data\\fonts\\tnr32.xml";
constexpr int kMaxLevel = 100;
constexpr int kLongestHistory = 2048;
constexpr int kLengthButtons = 4;

void Place(CLxControl* control, RECT r) {
    if (control) control->SetRect(&r);
}

int Scaled(int level) {
    return level * CLxTimeDiagramm::kFull / kMaxLevel;
}
} // namespace

CLxControl* CLxLetterDiagrams::Find(const char* kind, int row) const {
    char name[16];
    std::snprintf(name, sizeof name, "al.%s%d", kind, row);
    CLxCGUI* gui = m_pScreen->GetGUI();
    return gui ? gui->FindControl(name) : nullptr;
}

int CLxLetterDiagrams::RowOf(const CLxControl* control, const char* kind) const {
    for (int row = 0; row < m_nRows; ++row)
        if (control == Find(kind, row)) return row;
    return -1;
}

int CLxLetterDiagrams::Level(int row) const {
    return std::clamp(g_aTaskValues[m_aPlaces[row]] & kTaskValueMask, 0, kMaxLevel);
}

void CLxLetterDiagrams::Show(bool shown) {
    m_nRows = 0;
    const unsigned char* day = g_Driver.aScreenLetters;
    for (size_t i = 0; shown && i < sizeof g_Driver.aScreenLetters && day[i] && m_nRows < kRows;
         ++i)
        if (int k = TherapyPlace(day[i]); k > 0 && k < kTaskValues) m_aPlaces[m_nRows++] = k;
    bool tall = m_nRows <= kTallRows;
    CLxRLEFonts* font = ServedFont(tall ? kTallFont : kSmallFont);
    for (int row = 0; row < kRows; ++row) {
        bool used = row < m_nRows;
        for (const char* kind : kKinds) {
            CLxControl* control = Find(kind, row);
            bool button = kind[0] == 'b';
            if (control) control->m_nFlags = used && (tall || !button) ? kEnabled | kVisible : 0;
        }
        if (!used) continue;
        int k = m_aPlaces[row];
        auto* letter = dynamic_cast<CLxText*>(Find("tf", row));
        auto* number = dynamic_cast<CLxNumberField*>(Find("nf", row));
        auto* diagram = dynamic_cast<CLxTimeDiagramm*>(Find("td", row));
        if (tall) {
            int y = 68 + 72 * row;
            Place(letter, {20, y - 68, 64, y - 20});
            Place(number, {24, y - 20, 60, y - 4});
            Place(Find("bm", row), {0, y - 24, 24, y});
            Place(Find("bp", row), {60, y - 24, 84, y});
            Place(diagram, {88, y - 68, 600, y - 4});
        } else {
            int y = 24 + 40 * row;
            Place(letter, {26, y - 24, 56, y});
            Place(number, {24, y, 60, y + 16});
            Place(diagram, {88, y - 24, 600, y + 8});
        }
        if (letter) {
            if (font) letter->m_pFont = font;
            letter->SetText(EncodeLetter(TaskLetter(k)).c_str());
        }
        if (number) {
            number->m_nMax = kMaxLevel;
            number->SetValue(Level(row));
        }
        if (diagram) {
            diagram->SetData(g_Driver.aHistory[k], g_Driver.nHistoryLen);
            if (g_Settings.bUseMinLevel) diagram->m_nFlags |= CLxTimeDiagramm::kLevels;
            diagram->SetLevels(Scaled(Level(row)), Scaled(g_aTaskValues[0] & kTaskValueMask));
        }
    }
}

void CLxLetterDiagrams::DrawTick() {
    int length = g_Driver.nHistoryLen;
    if (length <= 0) return;
    int column = g_Driver.nWrite == 1 ? -1 : (g_Driver.nWrite + length - 1) % length;
    for (int row = 0; row < m_nRows; ++row)
        if (auto* diagram = dynamic_cast<CLxTimeDiagramm*>(Find("td", row)))
            diagram->DrawColumn(column);
}

void CLxLetterDiagrams::SetLevel(int row, int level) {
    int& value = g_aTaskValues[m_aPlaces[row]];
    value = (value & kTaskNotPractised) | std::clamp(level, 0, kMaxLevel);
    Show(true);
}

void CLxLetterDiagrams::SetHistoryLength(int length) {
    g_Driver.nWrite = 0;
    g_Driver.nHistoryLen = length;
    Show(true);
    for (int row = 0; row < m_nRows; ++row)
        if (CLxControl* diagram = Find("td", row)) diagram->Draw();
}

bool CLxLetterDiagrams::OnMouse(CLxMouseEvent* event) {
    CLxControl* control = event ? event->m_pControl : nullptr;
    if (!control) return false;
    bool click = event->m_nType == kMouseClick;
    if (click || event->m_nType == kMouseDrag) {
        int row = RowOf(control, "td");
        if (row >= 0) {
            int threshold = static_cast<CLxTimeDiagramm*>(control)->m_nThreshold;
            SetLevel(row, threshold * kMaxLevel / CLxTimeDiagramm::kFull);
            return true;
        }
    }
    if (!click) return false;
    for (const char* kind : {"bm", "bp"}) {
        int row = RowOf(control, kind);
        if (row < 0) continue;
        SetLevel(row, Level(row) + (kind[1] == 'p' ? 1 : -1));
        return true;
    }
    std::string name = control->GetFullName();
    if (name.size() != 7 || name.compare(0, 6, "fo.ido") != 0) return false;
    int k = name[6] - '0';
    if (k < 1 || k > kLengthButtons || (control->m_nFlags & kSelected)) return false;
    for (int i = 0; i <= kLengthButtons + 1; ++i) {
        char other[16];
        std::snprintf(other, sizeof other, "fo.ido%d", i);
        m_pScreen->SetControlFlag(other, kSelected, i == k);
    }
    SetHistoryLength(kLongestHistory >> (kLengthButtons - k));
    return true;
}

bool CLxLetterDiagrams::OnKey(CLxKeyEvent* event) {
    int row = event ? RowOf(event->m_pControl, "nf") : -1;
    if (row < 0) return false;
    SetLevel(row, static_cast<CLxNumberField*>(event->m_pControl)->GetValue());
    return true;
}
