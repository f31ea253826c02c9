// The control base; see LxControl.h.
#include "ui/LxControl.h"

#include <cstring>

#include "media/LxSurface.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"

CLxControl::CLxControl(const Descriptor* d, int type)
    : m_nType(type), m_pGUI(d ? d->gui : nullptr), m_pGroup(d ? d->group : nullptr),
      m_nFlags(kEnabled | kVisible) {
    if (!m_pGUI) return;
    if (d->name) m_szName = m_pGUI->StoreText(d->name);
    for (int i = 0; d->rects && i < d->count; ++i)
        AddRect(d->rects[i], false, false);
    m_pGUI->AddControl(this);
}

CLxControl::CLxControl(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag,
                       int type)
    : m_nType(type), m_pGUI(gui), m_pGroup(group), m_nFlags(kEnabled | kVisible | kEditing) {
    m_szName = gui->StoreText(reader->GetAttr(tag, "name"));
    if (const char* help = reader->GetAttr(tag, "help")) m_szHelp = gui->StoreText(help);
    gui->AddControl(this);
}

CLxControl::~CLxControl() {
    if (m_pGUI) m_pGUI->RemoveControl(this);
}

int CLxControl::OriginX() const {
    return m_pGroup ? m_pGroup->m_nX : 0;
}

int CLxControl::OriginY() const {
    return m_pGroup ? m_pGroup->m_nY : 0;
}

void CLxControl::AddRect(RECT r, bool highlight, bool touch) {
    OffsetRect(&r, OriginX(), OriginY());
    if (highlight) r.bottom |= kRectMarker;
    if (touch) r.right |= kRectMarker;
    RECT* stored = m_pGUI->AddRect(&r);
    if (!stored) return; // the pool is full: the rectangle is dropped
    // A control's rectangles lie one after the other; one that would not is dropped.
    if (!m_pRects) m_pRects = stored;
    if (stored != m_pRects + m_nRects) return;
    ++m_nRects;
}

void CLxControl::ReadRects(CLxXMLParser* reader) {
    while (char* tag = reader->NextTag()) {
        bool common = LxTagStarts(tag, "common"), highlight = LxTagStarts(tag, "highlight"),
             touch = LxTagStarts(tag, "touch");
        if (!common && !highlight && !touch) return;
        LxRect r = reader->GetRect(tag);
        if (r.right == 0) continue;
        AddRect(RECT{r.left, r.top, r.right, r.bottom}, highlight, touch);
    }
}

void CLxControl::SetRect(const RECT* rect) {
    if (!rect || m_nRects <= 0) return;
    RECT r = *rect;
    OffsetRect(&r, OriginX(), OriginY());
    m_pRects[0] = r;
}

void CLxControl::OnEnter(CLxMouseEvent*) {
    if (!Is(kEnabled | kVisible)) return;
    m_nFlags |= kHot;
    Draw();
}

void CLxControl::OnLeave(CLxMouseEvent*) {
    if (!Is(kEnabled | kVisible)) return;
    m_nFlags &= ~kHot;
    Draw();
}

std::string CLxControl::GetFullName() const {
    if (!m_pGroup || !m_pGroup->m_szName) return m_szName;
    return std::string(m_pGroup->m_szName) + "." + m_szName;
}

int CLxControl::GetState() const {
    return m_pGroup ? m_nFlags & m_pGroup->m_nFlags : 0;
}

bool CLxControl::Is(int bits) const {
    return m_pGroup && (m_nFlags & bits) == bits && (m_pGroup->m_nFlags & bits) == bits;
}

bool CLxControl::HitTest(int x, int y) const {
    if (!Is(kVisible)) return false;
    for (int i = m_nRects - 1; i >= 0; --i) {
        const RECT& r = m_pRects[i];
        if (r.bottom & kRectMarker) continue; // highlight: drawn only
        int right = (r.right & kRectMarker) ? (r.right & 0xFFFF) : r.right;
        if (r.left <= x && x <= right && r.top <= y && y <= r.bottom) return true;
    }
    return false;
}

void CLxControl::GetBounds(RECT* out) const {
    SetRectEmpty(out);
    if (m_nRects <= 0) return;
    *out = m_pRects[0];
    for (int i = 1; i < m_nRects; ++i)
        UnionRect(out, out, &m_pRects[i]);
}

bool CLxControl::GetDrawRect(RECT* out) const {
    if (m_nRects <= 0) return false;
    *out = m_pRects[0];
    out->bottom &= ~kRectMarker;
    return true;
}

void CLxControl::MoveTo(int x, int y) {
    if (m_nRects <= 0) return;
    RECT& r = m_pRects[0];
    int w = r.right - r.left, h = r.bottom - r.top;
    r.left = x + OriginX();
    r.top = y + OriginY();
    r.right = r.left + w;
    r.bottom = r.top + h;
}

void CLxControl::SetSize(int w, int h) {
    if (m_nRects <= 0) return;
    m_pRects[0].right = m_pRects[0].left + w;
    m_pRects[0].bottom = m_pRects[0].top + h;
}

void CLxControl::BlitRects(CLxSurface* picture) const {
    if (!picture || !g_pDrawSurface || !(GetState() & kVisible)) return;
    for (int i = 0; i < m_nRects; ++i) {
        RECT r = m_pRects[i];
        if (r.right <= 0) continue;
        r.bottom &= ~kRectMarker;
        RECT src = r;
        OffsetRect(&src, -OriginX(), -OriginY());
        BltSurface(g_pDrawSurface, &r, picture, &src, 0);
    }
}
