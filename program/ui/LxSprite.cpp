// Sprites; see LxSprite.h. A drag repaints what lies under the sprite, moves its
// rectangle by the mouse's movement, kept inside the clip rectangle, and draws it again.
#include "ui/LxSprite.h"

#include "media/LxRLEBitmap.h"
#include "media/LxSurface.h"
#include "ui/LxCGUI.h"

namespace {
CLxControl::Descriptor Base(const CLxSprite::Descriptor* d) {
    if (!d) return {nullptr, nullptr, nullptr, nullptr, 0};
    return {d->gui, d->group, d->name, &d->position, 1};
}

// The address of a temporary that lives until the end of the constructor call.
const CLxControl::Descriptor* Ref(const CLxControl::Descriptor& d) {
    return &d;
}

// Shifts r by as little as possible so that it lies inside clip (its top-left corner
// wins when it is larger than clip).
void KeepInside(RECT* r, const RECT& clip) {
    int dx = 0, dy = 0;
    if (r->right > clip.right) dx = clip.right - r->right;
    if (r->left + dx < clip.left) dx = clip.left - r->left;
    if (r->bottom > clip.bottom) dy = clip.bottom - r->bottom;
    if (r->top + dy < clip.top) dy = clip.top - r->top;
    OffsetRect(r, dx, dy);
}
} // namespace

CLxSprite::CLxSprite(const Descriptor* d, int type)
    : CLxControl(Ref(Base(d)), type), m_rcClip(d ? d->clip : RECT{0, 0, 0, 0}) {}

void CLxSprite::OnButtonDown(CLxMouseEvent* event) {
    m_ptDrag = {event->m_nX, event->m_nY};
}

void CLxSprite::OnButtonUp(CLxMouseEvent*) {
    m_ptDrag = {-1, 0};
}

void CLxSprite::OnDrag(CLxMouseEvent* event) {
    if (m_ptDrag.x == -1 || m_nRects <= 0) return;
    m_pGUI->DrawBackground(&m_pRects[0], this, true);
    OffsetRect(&m_pRects[0], event->m_nX - m_ptDrag.x, event->m_nY - m_ptDrag.y);
    KeepInside(&m_pRects[0], m_rcClip);
    m_ptDrag = {event->m_nX, event->m_nY};
    Draw();
}

CLxBMPSprite::CLxBMPSprite(const Descriptor* d)
    : CLxSprite(d, kBMPSprite), m_bKeyed(d && d->keyed), m_bStretch(d && d->stretch) {
    if (!d) return;
    const int states[5] = {0, 4, 5, 6, 7};
    for (int i = 0; i < 5; ++i)
        m_aPictures[states[i]] = d->pictures[i];
}

CLxSurface* CLxBMPSprite::PictureFor(int state) const {
    const int tries[4] = {state & 7, state & 5, state & 4, 4};
    for (int i : tries)
        if (m_aPictures[i]) return m_aPictures[i];
    return nullptr;
}

void CLxBMPSprite::Draw() {
    CLxSurface* picture = PictureFor(GetState());
    if (!picture || !picture->m_pSurface || !g_pDrawSurface || m_nRects <= 0) return;
    if (!(GetState() & kVisible)) return;
    const RECT& r = m_pRects[0];
    RECT area;
    if (!IntersectRect(&area, &r, &m_rcClip)) return;
    RECT source = area;
    OffsetRect(&source, -r.left, -r.top);
    // The picture's colour key applies only to a keyed sprite.
    SDL_Surface* s = picture->m_pSurface;
    Uint32 key = 0;
    bool hasKey = SDL_GetColorKey(s, &key) == 0;
    if (hasKey && !m_bKeyed) SDL_SetColorKey(s, SDL_FALSE, key);
    BltSurface(g_pDrawSurface, m_bStretch ? &r : &area, picture, m_bStretch ? nullptr : &source, 0);
    if (hasKey && !m_bKeyed) SDL_SetColorKey(s, SDL_TRUE, key);
}

CLxRLESprite::CLxRLESprite(const RLEDescriptor* d)
    : CLxSprite(d ? &d->sprite : nullptr, kRLESprite) {
    for (int k = 0; k < 8; ++k)
        m_aColours[k] = 0x010101u << k;
    if (!d) return;
    const int slots[3] = {0, 4, 5};
    for (int i = 0; i < 3; ++i) {
        m_apMasks[slots[i]] = d->masks[i];
        m_aColours[slots[i]] = d->colours[i];
    }
}

int CLxRLESprite::SlotFor(int state) const {
    int s = state & 5;
    if (m_apMasks[s]) return s;
    if (m_apMasks[s & 4]) return s & 4;
    return m_apMasks[4] ? 4 : -1;
}

void CLxRLESprite::Draw() {
    if (!g_pDrawSurface || m_nRects <= 0) return;
    RECT common;
    if (!IntersectRect(&common, &m_pRects[0], &m_rcClip)) return;
    int slot = SlotFor(GetState());
    if (slot < 0) return;
    // The mask clips its runs to the surface.
    m_apMasks[slot]->Draw(g_pDrawSurface, m_pRects[0].left, m_pRects[0].top, m_aColours[slot]);
}
