// Buttons and check boxes; see LxButton.h.
#include "ui/LxButton.h"

#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"

CLxSurface* LxStatePicture(const CLxControl* control, int state) {
    CLxSurface* picture = control->m_pGroup ? control->m_pGroup->GetPicture(state) : nullptr;
    if (!picture && control->m_pGUI) picture = control->m_pGUI->m_pBackground;
    return picture;
}

CLxButton::CLxButton(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag, int type)
    : CLxControl(gui, group, reader, tag, type) {}

void CLxButton::Draw() {
    BlitRects(LxStatePicture(this, GetState() & 7));
}

void CLxCheckBox::OnClick(CLxMouseEvent*) {
    if (!Is(kEnabled | kVisible)) return;
    m_nFlags ^= kSelected;
    Draw();
}
