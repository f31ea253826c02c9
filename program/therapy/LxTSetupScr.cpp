// The level set-up; see LxTSetupScr.h.
#include "therapy/LxTSetupScr.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "reading/LxLetters.h"
#include "shell/LxChildren.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxSettings.h"
#include "shell/LxUserRecords.h"
#include "therapy/LxTPanels.h"
#include "therapy/LxTasks.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxText.h"

namespace {
constexpr int kLevelMask = 0xFFFF;
constexpr int kMaxLevel = 100;
// Colours of the level fields and letters, set and cleared.
constexpr int kNumberOn = 0xF0F000, kNumberOff = 0x404040;
constexpr int kLetterOn = 0x804000, kLetterOff = 0x808080;
const char* const kMinimumText = "Minimális szint:";
const char* const kWatch = "fo.figyel";

std::string Indexed(const char* format, int i) {
    char name[32];
    return RowName(name, format, i);
}

int Level(int value) {
    return value & kLevelMask;
}
} // namespace

CLxTSetupScr::CLxTSetupScr(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "TSetup";
    SetControlText("fo.tf11", "Szintek figyelése:");
    SetControlText("fo.tf00", kMinimumText);
    for (int i = 0; i < kLevels; ++i) {
        if (i > 0)
            SetControlText(Indexed("fo.tf%02d", i).c_str(), EncodeLetter(TaskLetter(i)).c_str());
        ShowLevel(i);
        for (const char* format : {"fo.bm%02d", "fo.bp%02d"})
            SetControlFlag(Indexed(format, i).c_str(), kVisible, HasLevel(i));
    }
    CopyHeader(m_pGUI, {kHeaderTopShort});
    SetControlFlag(kWatch, kSelected, g_Settings.bUseMinLevel);
    for (int k = 1; k < kLevels; ++k) {
        int state = !TaskLetter(k) ? 0 : IsTaskMarked(k) ? 14 : 12;
        SetControlState(Indexed("fo.fa%02d", k).c_str(), state);
    }
    SetControlFlag("fo.beallit", kEnabled, false);
    SetControlFlag("fo.mentes", kEnabled, g_szUserName[0] != 0);
    EnableLevels();
}

bool CLxTSetupScr::HasLevel(int i) {
    return i == 0 || TaskLetter(i) != 0;
}

int CLxTSetupScr::StepLevel(int value, int step) {
    int level = Level(value) + step;
    if (level < 0 || level > kMaxLevel) return value;
    return (value & ~kLevelMask) | level;
}

void CLxTSetupScr::ShowLevel(int i) {
    CLxControl* control = m_pGUI ? m_pGUI->FindControl(Indexed("fo.nf%02d", i).c_str()) : nullptr;
    if (auto* field = dynamic_cast<CLxNumberField*>(control))
        field->SetValue(Level(g_aTaskValues[i]));
}

void CLxTSetupScr::EnableLevels() {
    bool on = g_Settings.bUseMinLevel;
    for (int i = 0; i < kLevels; ++i) {
        for (const char* format : {"fo.bm%02d", "fo.bp%02d"})
            SetControlFlag(Indexed(format, i).c_str(), kEnabled, on);
        struct {
            const char* format;
            int on, off;
        } texts[] = {{"fo.nf%02d", kNumberOn, kNumberOff}, {"fo.tf%02d", kLetterOn, kLetterOff}};
        for (const auto& t : texts) {
            CLxControl* control =
                m_pGUI ? m_pGUI->FindControl(Indexed(t.format, i).c_str()) : nullptr;
            auto* text = dynamic_cast<CLxText*>(control);
            if (!text) continue;
            text->m_nColor = text->m_nHoverColor = on ? t.on : t.off;
            SetControlFlag(Indexed(t.format, i).c_str(), kEnabled, on);
        }
    }
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

int CLxTSetupScr::OnKeyEvent(CLxKeyEvent* event) {
    if (!event || event->m_nType != kKeyChar || !event->m_pControl) return 0;
    int i = RowOf(event->m_pControl->GetFullName().c_str(), "fo.nf%02d");
    auto* field = dynamic_cast<CLxNumberField*>(event->m_pControl);
    if (i < 0 || i >= kLevels || !HasLevel(i) || !field) return 0;
    g_aTaskValues[i] = (g_aTaskValues[i] & ~kLevelMask) | field->GetValue();
    return 0;
}

int CLxTSetupScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || event->m_nType != kMouseClick || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    int state = 0;
    if (name == "al.vissza") {
        LxSendMessage(kMsgTherapySetupDone);
    } else if (name == kWatch) {
        GetControlState(kWatch, &state);
        g_Settings.bUseMinLevel = (state & kSelected) != 0;
        EnableLevels();
    } else if (name == "fo.mentes") {
        SaveTherapyDay();
    } else if (name == "help.sugo") {
        OpenHelpPage(m_szName);
    } else if (int k = RowOf(name.c_str(), "fo.fa%02d"); k > 0) {
        GetControlState(name.c_str(), &state);
        bool marked = (state & kSelected) != 0;
        if (!MarkTask(k, marked, kDefaultAllowedTasks))
            SetControlFlag(name.c_str(), kSelected, false);
    } else {
        int minus = RowOf(name.c_str(), "fo.bm%02d"), plus = RowOf(name.c_str(), "fo.bp%02d");
        int i = minus >= 0 ? minus : plus;
        if (i < 0 || i >= kLevels || !HasLevel(i)) return 0;
        g_aTaskValues[i] = StepLevel(g_aTaskValues[i], minus >= 0 ? -1 : 1);
        ShowLevel(i);
    }
    return 0;
}

int CLxTSetupScr::OnTimerEvent(CLxTimerEvent*) {
    return 0;
}
