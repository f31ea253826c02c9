// The chooser list; see LxTListScr.h.
#include "therapy/LxTListScr.h"

#include <cstdio>
#include <cstring>

#include "reading/LxLetters.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxUserRecords.h"
#include "therapy/LxTPanels.h"
#include "therapy/LxTheraphyScr.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxScrollBar.h"

CLxTListScr::CLxTListScr(const char* descriptionPath, int count, const char* const* texts,
                         UINT answer)
    : CLxScreen(descriptionPath), m_nCount(texts ? std::max(count, 0) : 0), m_aTexts(texts),
      m_nAnswer(answer) {
    m_szName = "TList";
    LxSendMessage(kMsgStop);
    if (HasPlayButtons()) {
        StartLetterOverlay(m_pGUI);
    } else {
        // No letter beside a plain list.
        SetDriverMode({LxDriverState(g_Driver.nState), g_Driver.nPeriod, g_Driver.nSmooth});
    }
    char name[32];
    int shown = 0;
    for (; shown < kListRows && shown < m_nCount && m_aTexts[shown]; ++shown) {
        CLxControl* row = m_pGUI ? m_pGUI->FindControl(RowName(name, kListRow, shown)) : nullptr;
        if (!row) break;
        if (HasPlayButtons()) DrawPlayButton(m_pGUI, RowName(name, kListPlay, shown), 0);
    }
    for (int i = shown; i < kListRows; ++i) {
        if (!SetControlFlag(RowName(name, kListRow, i), kVisible, false)) break;
        SetControlFlag(RowName(name, kListPlay, i), kVisible, false);
    }
    if (CLxScrollBar* bar = ListScrollBar(this)) {
        if (shown < m_nCount) {
            bar->SetRange(0, m_nCount);
        } else {
            bar->m_nFlags &= ~kVisible;
        }
    }
    FillRows();
    CopyHeader(m_pGUI, {kHeaderTopShort});
    DrawListFrame(m_pGUI);
    std::snprintf(m_szHelp, sizeof m_szHelp, "%s%d", m_szName, HasPlayButtons() ? 1 : 0);
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

bool CLxTListScr::HasPlayButtons() {
    char name[32];
    return m_pGUI && m_pGUI->FindControl(RowName(name, kListPlay, 0));
}

int CLxTListScr::TextAt(int row) {
    int index = row + ListScroll(this);
    return row >= 0 && index < m_nCount && m_aTexts[index] ? index : -1;
}

void CLxTListScr::FillRows() {
    char name[32];
    for (int i = 0; i < kListRows; ++i) {
        int index = TextAt(i);
        CLxControl* row = m_pGUI ? m_pGUI->FindControl(RowName(name, kListRow, i)) : nullptr;
        if (index < 0 || !row) break;
        row->m_nFlags = (row->m_nFlags | kEnabled) & ~kEditing;
        row->SetText(m_aTexts[index]);
    }
}

int CLxTListScr::OnKeyEvent(CLxKeyEvent*) {
    return 0;
}

int CLxTListScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name == kListScrollBar) {
        FillRows();
        return 0;
    }
    if (event->m_nType != kMouseClick) return 0;
    if (name == "al.vissza") {
        LxSendMessage(m_nAnswer, WPARAM(-1));
    } else if (name == "help.sugo") {
        OpenHelpPage(m_szHelp);
    } else if (int chosen = TextAt(RowOf(name.c_str(), kListRow)); chosen >= 0) {
        LxSendMessage(m_nAnswer, WPARAM(chosen));
    } else if (int played = TextAt(RowOf(name.c_str(), kListPlay)); played >= 0) {
        CLxTheraphyScr::CurrentWord() = TextToCodes(m_aTexts[played]);
        CLxTheraphyScr::PlayDayRecording();
    }
    return 0;
}

int CLxTListScr::OnTimerEvent(CLxTimerEvent* event) {
    if (event && event->m_nMessage != int(kMsgTimer)) StepLetterOverlay(m_pGUI);
    return 0;
}
