// The screen base and its help bubble; see LxScreen.h. The bubble is a bitmap sprite of
// group "fo" over a 400 x 100 surface: on entering a control its help text is painted
// there on a pink card and the sprite is placed below the control (above it near the
// bottom edge); a click or a leave hides it and repaints what lay under it.
#include "ui/LxScreen.h"

#include <cstring>

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "shell/LxProgram.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxSprite.h"

namespace {
constexpr uint32_t kHelpCard = 0xEF8BAC;
const char* const kHelpFont = "data\\fonts\\tnr12.xml";
} // namespace

CLxScreen::CLxScreen() = default;

CLxScreen::CLxScreen(const char* descriptionPath) : m_szName("Base") {
    m_pGUI = new CLxCGUI(descriptionPath);
    m_pGUI->m_pListener = this;
    m_pGUI->m_pOwner = this;
    CreateHelp();
}

CLxScreen::~CLxScreen() {
    delete m_pGUI; // deletes the help sprite with the other controls
    FreeSurface(&m_pHelpSurface);
}

void CLxScreen::Refresh() {
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

void CLxScreen::CreateHelp() {
    FreeSurface(&m_pHelpSurface);
    m_pHelpSurface = CreateSurface(400, 100);
    delete m_pHelpSprite;
    m_pHelpSprite = nullptr;
    CLxGroup* group = m_pGUI->FindGroup("fo");
    if (!group) return;
    RECT clip = g_bVideoMode ? RECT{0, 0, 640, 480} : RECT{0, 0, 800, 600};
    CLxSprite::Descriptor d{
        m_pGUI,   group,
        "sphelp", {0, 0, 200, 100},
        clip,     {m_pHelpSurface, m_pHelpSurface, m_pHelpSurface, m_pHelpSurface, m_pHelpSurface},
        false,    false};
    m_pHelpSprite = new CLxBMPSprite(&d);
    if (m_pHelpSprite->m_nRects == 0) {
        // The description used up the rectangle pool: no help bubbles on this screen.
        delete m_pHelpSprite;
        m_pHelpSprite = nullptr;
        return;
    }
    // Its rectangle is absolute, whatever the group's origin.
    m_pHelpSprite->m_pRects[0] = RECT{0, 0, 200, 100};
    m_pHelpSprite->m_nFlags &= ~kVisible;
}

void CLxScreen::ForgetControl(const CLxControl* control) {
    if (control && control == m_pHelpSprite) m_pHelpSprite = nullptr;
}

int CLxScreen::OnMouseEvent(CLxMouseEvent* event) {
    if (!m_pHelpSurface || !m_pHelpSprite || !event) return 0;
    if (event->m_nType == kMouseEnter) ShowHelp(event);
    if (event->m_nType == kMouseClick || event->m_nType == kMouseLeave) HideHelp();
    return 0;
}

void CLxScreen::ShowHelp(CLxMouseEvent* event) {
    CLxControl* control = event->m_pControl;
    const char* help = control ? control->m_szHelp : nullptr;
    if (!help || !*help || help == m_szLastHelp) return;
    RECT below;
    if (!control->GetDrawRect(&below) || m_pHelpSprite->m_nRects <= 0) return;
    m_szLastHelp = help;
    CLxRLEFonts* font = ServedFont(kHelpFont);
    if (!font) return;
    int width = font->TextWidth(help), height = font->Height();
    if (width >= kMaxHelpWidth) return;
    int w = width + 4, h = height + 4;
    RECT card{0, 0, w, h};
    FillRectRGB(m_pHelpSurface, &card, kHelpCard);
    FrameRect(m_pHelpSurface, &card, 0);
    LxSurfaceDesc desc;
    if (m_pHelpSurface->Lock(nullptr, &desc) == 0) {
        font->Attach(&desc);
        font->SetColors(0, 0, 0);
        font->DrawText(help, 2, 2);
        font->Attach(nullptr);
        m_pHelpSurface->Unlock();
    }
    const RECT& clip = m_pHelpSprite->m_rcClip;
    int x = event->m_nX;
    if (x + w > clip.right) x = clip.right - w;
    int y = below.bottom + 4;
    if (y + h > clip.bottom - 4) y = below.top - h - 4;
    m_pHelpSprite->m_pRects[0] = RECT{x, y, x + w, y + h};
    m_pHelpSprite->m_nFlags |= kVisible;
    m_pHelpSprite->Draw();
}

void CLxScreen::HideHelp() {
    if (!(m_pHelpSprite->m_nFlags & kVisible)) return;
    m_pHelpSprite->m_nFlags &= ~kVisible;
    m_pGUI->DrawBackground(&m_pHelpSprite->m_pRects[0], nullptr, true);
    m_szLastHelp = nullptr;
}

bool CLxScreen::GetControlState(const char* name, int* state) {
    CLxControl* control = m_pGUI && name ? m_pGUI->FindControl(name) : nullptr;
    if (!control || !state) return false;
    *state = control->GetState();
    return true;
}

bool CLxScreen::SetControlState(const char* name, int flags) {
    CLxControl* control = m_pGUI && name ? m_pGUI->FindControl(name) : nullptr;
    if (!control) return false;
    control->m_nFlags = flags;
    control->Draw();
    return true;
}

bool CLxScreen::SetControlFlag(const char* name, int bits, bool on) {
    CLxControl* control = m_pGUI && name ? m_pGUI->FindControl(name) : nullptr;
    if (!control) return false;
    if (on)
        control->m_nFlags |= bits;
    else
        control->m_nFlags &= ~bits;
    control->Draw();
    return true;
}

bool CLxScreen::SetControlText(const char* name, const char* text) {
    CLxControl* control = m_pGUI && name ? m_pGUI->FindControl(name) : nullptr;
    if (!control) return false;
    control->SetText(text);
    return true;
}
