// The preparation screen; see LxTheraphyScr1.h.
#include "therapy/LxTheraphyScr1.h"

#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

CLxTheraphyScr1::CLxTheraphyScr1(const char* descriptionPath) : CLxTheraphyScr(descriptionPath) {
    m_szName = "Theraphy1";
    SetControlState("fo.szoveg", kVisible);
    SetControlFlag("fo.elokeszites", kSelected, true);
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

int CLxTheraphyScr1::OnMouseEvent(CLxMouseEvent* event) {
    if (event && event->m_nType == kMouseClick && event->m_pControl &&
        event->m_pControl->GetFullName() == "al.vissza") {
        LxSendMessage(kMsgMainScreen);
        return 0;
    }
    return CLxTheraphyScr::OnMouseEvent(event);
}
