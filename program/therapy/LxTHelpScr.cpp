// The help page; see LxTHelpScr.h.
#include "therapy/LxTHelpScr.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "media/LxDraw.h"
#include "media/LxSurface.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxXMLParser.h"
#include "therapy/LxTPanels.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxScrollBar.h"

namespace {
const char* const kHelpText = "fo.szoveg";
constexpr uint32_t kPictureKey = 0xFFFF00; // yellow is transparent in help pictures
} // namespace

CLxTHelpScr::CLxTHelpScr(const char* descriptionPath, const char* page)
    : CLxScreen(descriptionPath) {
    m_szName = "THelp";
    CopyHeader(m_pGUI, {kHeaderTop, kHeaderCornerTall});
    std::string name = page ? page : "";
    char path[256];
    std::snprintf(path, sizeof path, "data\\help\\%s.bmp", name.c_str());
    int width = 0, height = 0;
    if (ReadBitmapSize(path, &width, &height)) m_pPicture = LoadBitmap(path);
    CLxControl* text = m_pGUI ? m_pGUI->FindControl(kHelpText) : nullptr;
    CLxScrollBar* bar = ListScrollBar(this);
    if (text) {
        text->m_nFlags = kVisible;
        RECT r;
        if (m_pPicture && GetSurfaceSize(m_pPicture, &width, &height) && text->GetDrawRect(&r)) {
            m_pPicture->SetColorKey(ColorToPixel(m_pPicture, kPictureKey));
            text->SetText("");
            if (bar && height > r.bottom - r.top) {
                bar->SetRange(0, height);
            } else if (bar) {
                bar->m_nFlags &= ~kVisible;
            }
        } else {
            if (bar) bar->m_nFlags = 0;
            ReadText(name.c_str());
        }
    }
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
    DrawPicture();
}

CLxTHelpScr::~CLxTHelpScr() {
    FreeSurface(&m_pPicture);
}

void CLxTHelpScr::ReadText(const char* page) {
    char path[256];
    std::snprintf(path, sizeof path, "data\\help\\%s.xml", page);
    CLxXMLParser xml;
    if (!xml.Open(path)) {
        std::snprintf(path, sizeof path, "File not found: data/help/%s.xml", page);
        SetControlText(kHelpText, path);
        return;
    }
    while (char* tag = xml.NextTag())
        if (std::strncmp(tag, "help", 4) == 0)
            if (const char* text = xml.GetAttr(tag, "text")) SetControlText(kHelpText, text);
}

void CLxTHelpScr::DrawPicture() {
    CLxControl* text = m_pGUI ? m_pGUI->FindControl(kHelpText) : nullptr;
    CLxGroup* group = m_pGUI ? m_pGUI->FindGroup("fo") : nullptr;
    RECT r;
    if (!m_pPicture || !text || !group || !group->m_aPictures[0] || !text->GetDrawRect(&r)) return;
    int width = 0, height = 0;
    GetSurfaceSize(m_pPicture, &width, &height);
    RECT local = r;
    OffsetRect(&local, -group->m_nX, -group->m_nY);
    if (m_pGUI->m_pBackground)
        BltSurface(group->m_aPictures[0], &local, m_pGUI->m_pBackground, &r, 0);
    int top = ListScroll(this);
    int w = std::min<int>(width, r.right - r.left),
        h = std::min<int>(height - top, r.bottom - r.top);
    if (w > 0 && h > 0) {
        RECT from = {0, top, w, top + h};
        RECT to = {local.left, local.top, local.left + w, local.top + h};
        BltSurface(group->m_aPictures[0], &to, m_pPicture, &from, 0);
    }
    m_pGUI->DrawBackground(&r, nullptr, true);
}

int CLxTHelpScr::OnKeyEvent(CLxKeyEvent*) {
    return 0;
}

int CLxTHelpScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name == kListScrollBar) DrawPicture();
    if (event->m_nType == kMouseClick && name == "al.vissza") LxSendMessage(kMsgHelpDone);
    return 0;
}

int CLxTHelpScr::OnTimerEvent(CLxTimerEvent*) {
    return 0;
}
