// Scroll bars and sliders; see LxScrollBar.h. Both are laid out along the bar's length
// ("along") and across its thickness ("across"), so one drawing serves both directions.
// Every division is guarded: an empty range, a zero page or a bar too short for its
// arrows draws and drags without dividing by zero.
#include "ui/LxScrollBar.h"

#include <algorithm>

#include "media/LxDraw.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxText.h"

namespace {
// Reads range, value, page and (for sliders) the tick distance.
void ReadValues(CLxScrollBar* bar, CLxXMLParser* reader, const char* tag, int pageShare) {
    int min = 0, max = 100;
    LxReadRange(reader, tag, "range", &min, &max);
    if (max < min) std::swap(min, max);
    bar->m_nMin = min;
    bar->m_nMax = max;
    if (!reader->GetInt(tag, "page", &bar->m_nPage)) bar->m_nPage = (max - min) / pageShare;
    if (!reader->GetInt(tag, "trick", &bar->m_nTick)) bar->m_nTick = (max - min) / 16;
    if (!reader->GetInt(tag, "value", &bar->m_nValue)) bar->m_nValue = (min + max) / 2;
}

bool Inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
} // namespace

CLxScrollBar::CLxScrollBar(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag,
                           int type)
    : CLxControl(gui, group, reader, tag, type) {
    ReadValues(this, reader, tag, type == kScrollBar ? 8 : 16);
    if (type == kScrollBar) Clamp(); // a slider clamps against its own maximum
}

bool CLxScrollBar::Horizontal(const RECT& r) const {
    return r.right - r.left > r.bottom - r.top;
}

void CLxScrollBar::Clamp() {
    m_nValue = std::min(m_nValue, Top());
    m_nValue = std::max(m_nValue, m_nMin);
}

void CLxScrollBar::SetRange(int min, int max) {
    m_nMin = min;
    m_nMax = max;
    Clamp();
}

void CLxScrollBar::SetValue(int v) {
    m_nValue = v;
    Clamp();
}

RECT CLxScrollBar::Axis(const RECT& r, int a0, int c0, int a1, int c1) const {
    if (Horizontal(r)) return RECT{r.left + a0, r.top + c0, r.left + a1, r.top + c1};
    return RECT{r.left + c0, r.top + a0, r.left + c1, r.top + a1};
}

void CLxScrollBar::BlitBackground(const RECT& r) const {
    if (m_pGUI && m_pGUI->m_pBackground && g_pDrawSurface)
        BltSurface(g_pDrawSurface, &r, m_pGUI->m_pBackground, &r, 0);
}

void CLxScrollBar::Draw() {
    RECT r;
    if (!GetDrawRect(&r) || !g_pDrawSurface || !(GetState() & kVisible)) return;
    bool across = Horizontal(r);
    int length = across ? r.right - r.left : r.bottom - r.top;
    int h = across ? r.bottom - r.top : r.right - r.left;
    BlitBackground(r);
    int range = std::max(m_nMax - m_nMin, 1);
    int spare = std::max(0, m_nMax - m_nMin - m_nPage);
    Bevel(g_pDrawSurface, &r, spare == 0 ? 0.8f : 0.0f, 1.5f, 0.5f);
    int f = length - 2 * h;
    int span = m_nPage + spare;
    int t0 = h, t1 = h + f;
    if (f > 0 && span > 0) {
        t0 = h + static_cast<int>(static_cast<long long>(m_nValue + m_nPage + spare - m_nMax) * f /
                                  span);
        t1 = t0 + static_cast<int>(static_cast<long long>(m_nPage) * f / range);
        t1 = std::min(t1, h + f);
    }
    m_rcThumb = Axis(r, t0, 1, t1, h - 1);
    RECT first = Axis(r, 1, 1, h - 1, h - 1),
         second = Axis(r, length - h + 1, 1, length - 1, h - 1);
    Shade(g_pDrawSurface, &first, m_nPart == 1 ? 0.6f : 0.8f);
    Shade(g_pDrawSurface, &second, m_nPart == 2 ? 0.6f : 0.8f);
    if (h / 2 > 3) {
        // Arrow triangles of one-pixel lines pointing outwards.
        int q = h / 4, mid = h / 2;
        for (int i = 0; i <= mid - q; ++i) {
            RECT a = Axis(r, q + i, mid - i, q + i + 1, mid + i + 1);
            RECT b = Axis(r, length - q - i - 1, mid - i, length - q - i, mid + i + 1);
            FillRectRGB(g_pDrawSurface, &a, 0);
            FillRectRGB(g_pDrawSurface, &b, 0);
        }
    }
    RECT before = Axis(r, h, 1, t0, h - 1), after = Axis(r, t1, 1, length - h, h - 1);
    if (t0 > h) Shade(g_pDrawSurface, &before, 0.8f);
    if (t1 < length - h) Shade(g_pDrawSurface, &after, 0.8f);
    if (t1 > t0) Bevel(g_pDrawSurface, &m_rcThumb, m_nPart == 3 ? 0.6f : 0.8f, 1.5f, 0.8f);
}

int CLxScrollBar::PartAt(int x, int y) const {
    RECT r;
    if (!GetDrawRect(&r)) return 0;
    int s = std::min(r.right - r.left, r.bottom - r.top);
    if (x < r.left + s && y < r.top + s) return 1;
    if (x >= r.right - s && y >= r.bottom - s) return 2;
    if (Inside(m_rcThumb, x, y)) return 3;
    bool beforeThumb = Horizontal(r) ? x < m_rcThumb.left : y < m_rcThumb.top;
    return beforeThumb ? 4 : 5;
}

void CLxScrollBar::OnEnter(CLxMouseEvent* event) {
    m_nPart = PartAt(event->m_nX, event->m_nY);
    CLxControl::OnEnter(event);
}

void CLxScrollBar::OnLeave(CLxMouseEvent* event) {
    if (m_nPart && m_pGUI) m_pGUI->Notify(event);
    m_nPart = 0;
    CLxControl::OnLeave(event);
}

void CLxScrollBar::OnMove(CLxMouseEvent* event) {
    m_nPart = PartAt(event->m_nX, event->m_nY);
    Draw();
}

void CLxScrollBar::OnClick(CLxMouseEvent* event) {
    switch (m_nPart) {
    case 1:
        if (m_nValue > m_nMin) --m_nValue;
        break;
    case 2:
        if (m_nValue < m_nMax - m_nPage) ++m_nValue;
        break;
    case 4:
        m_nValue = std::max(m_nValue - m_nPage, m_nMin);
        break;
    case 5:
        m_nValue = std::min(m_nValue + m_nPage, m_nMax - m_nPage);
        break;
    default:
        break;
    }
    Clamp();
    OnMove(event);
}

void CLxScrollBar::OnButtonDown(CLxMouseEvent* event) {
    if (Inside(m_rcThumb, event->m_nX, event->m_nY)) {
        m_ptDrag = {event->m_nX, event->m_nY};
        m_nDragValue = m_nValue;
    } else {
        m_ptDrag = {-1, 0};
    }
}

void CLxScrollBar::OnButtonUp(CLxMouseEvent*) {
    m_ptDrag = {-1, 0};
}

void CLxScrollBar::OnDrag(CLxMouseEvent* event) {
    RECT r;
    if (m_ptDrag.x == -1 || !GetDrawRect(&r)) return;
    bool across = Horizontal(r);
    int w = r.right - r.left, h = r.bottom - r.top;
    int travel = across ? w - 2 * h : h - 2 * w;
    int moved = across ? event->m_nX - m_ptDrag.x : event->m_nY - m_ptDrag.y;
    if (travel <= 0) return;
    BlitBackground(r);
    m_nValue = m_nDragValue +
               static_cast<int>(static_cast<long long>(m_nMax - m_nMin + 1) * moved / travel);
    Clamp();
    Draw();
}

CLxSlider::CLxSlider(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag, int type)
    : CLxScrollBar(gui, group, reader, tag, type) {
    Clamp();
}

void CLxSlider::Draw() {
    RECT r;
    if (!GetDrawRect(&r) || !g_pDrawSurface || !(GetState() & kVisible)) return;
    bool across = Horizontal(r);
    int length = across ? r.right - r.left : r.bottom - r.top;
    int h = across ? r.bottom - r.top : r.right - r.left;
    int range = m_nMax - m_nMin, inset = 3 * h / 8;
    BlitBackground(r);
    RECT track = Axis(r, 0, inset, length, h - inset);
    Bevel(g_pDrawSurface, &track, range < 1 ? 0.8f : 0.0f, 1.5f, 0.5f);
    int t = h / 2, travel = length - t;
    int t0 = range > 0
                 ? static_cast<int>(static_cast<long long>(m_nValue - m_nMin) * travel / range)
                 : 0;
    m_rcThumb = Axis(r, t0, 0, t0 + t, h);
    RECT before = Axis(r, 1, inset + 1, t0, h - inset - 1);
    RECT after = Axis(r, t0 + t, inset + 1, length - 1, h - inset - 1);
    Shade(g_pDrawSurface, &before, 0.8f);
    Shade(g_pDrawSurface, &after, 0.8f);
    if (m_nTick > 0 && range > 0) {
        for (int u = m_nMin; u <= m_nMax; u += m_nTick) {
            int a = h / 4 + static_cast<int>(static_cast<long long>(u - m_nMin) * travel / range);
            RECT top = Axis(r, a, 0, a + 1, inset), bottom = Axis(r, a, h - inset, a + 1, h);
            Bevel(g_pDrawSurface, &top, 0.0f, 1.5f, 0.5f);
            Bevel(g_pDrawSurface, &bottom, 0.0f, 1.5f, 0.5f);
        }
    }
    Bevel(g_pDrawSurface, &m_rcThumb, m_nPart == 1 ? 0.6f : 0.8f, 1.5f, 0.8f);
}

int CLxSlider::PartAt(int x, int y) const {
    RECT r;
    if (!GetDrawRect(&r)) return 0;
    if (Inside(m_rcThumb, x, y)) return 1;
    bool beforeThumb = Horizontal(r) ? x < m_rcThumb.left : y < m_rcThumb.top;
    return beforeThumb ? 2 : 3;
}

void CLxSlider::OnMove(CLxMouseEvent* event) {
    m_nPart = PartAt(event->m_nX, event->m_nY);
    Draw();
}

void CLxSlider::OnClick(CLxMouseEvent* event) {
    if (m_nPart == 2) m_nValue = std::max(m_nValue - m_nPage, m_nMin);
    if (m_nPart == 3) m_nValue = std::min(m_nValue + m_nPage, m_nMax);
    OnMove(event);
}

void CLxSlider::OnDrag(CLxMouseEvent* event) {
    RECT r;
    if (m_ptDrag.x == -1 || !GetDrawRect(&r)) return;
    bool across = Horizontal(r);
    int w = r.right - r.left, h = r.bottom - r.top;
    double travel = across ? w - h * 0.5 : h - w * 0.5;
    int moved = across ? event->m_nX - m_ptDrag.x : event->m_nY - m_ptDrag.y;
    if (travel <= 0) return;
    m_nValue = static_cast<int>((m_nMax - m_nMin) * moved / travel + 0.5) + m_nDragValue;
    Clamp();
    Draw();
}
