// The volume slider; see LxVolumeSlider.h. The slider's range is the mixer's, with a
// page and tick distance of a sixteenth of it (2 and 1 for small ranges); an empty range
// (minimum = maximum) is drawn and clicked like any empty slider.
#include "ui/LxVolumeSlider.h"

#include <algorithm>
#include <climits>

#include "media/LxDraw.h"
#include "media/LxVolume.h"
#include "shell/LxDriverBlock.h"

namespace {
constexpr uint32_t kLevelPixel = 0x30;
constexpr int kLow20 = 0xFFFFF;

int ToInt(uint32_t v) {
    return static_cast<int>(std::min<uint32_t>(v, INT_MAX));
}

bool WithCtrl(const CLxMouseEvent* event) {
    return event->m_nButtons & MK_CONTROL;
}

// The newest level the driver measured, not below 0.
float NewestLevel() {
    int i = std::clamp(g_Driver.nWrite, 0, kHistoryMax - 1);
    float level = g_Driver.aHistory[kRowLevel][i];
    return level > 0 ? level : 0.0f; // NaN too
}
} // namespace

CLxVolumeSlider::CLxVolumeSlider(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader,
                                 const char* tag)
    : CLxSlider(gui, group, reader, tag, kVolumeSlider), m_pVolume(LxCreateMicrophoneVolume()) {
    if (!m_pVolume || !m_pVolume->HasVolumeControl()) {
        m_nFlags &= ~kEnabled;
        return;
    }
    m_pVolume->SetCallback(OnVolumeChange, this);
    m_nMin = ToInt(m_pVolume->GetMinVolume());
    m_nMax = std::max(m_nMin, ToInt(m_pVolume->GetMaxVolume()));
    int span = m_nMax - m_nMin;
    m_nPage = span < 17 ? 2 : span >> 4;
    m_nTick = span < 17 ? 1 : span >> 4;
    m_nValue = ReadVolume();
}

CLxVolumeSlider::~CLxVolumeSlider() {
    delete m_pVolume;
}

int CLxVolumeSlider::ReadVolume() const {
    uint32_t v = m_pVolume->GetVolume();
    if (v == UINT32_MAX) return m_nMin;
    return std::clamp(ToInt(v), m_nMin, m_nMax);
}

void CLxVolumeSlider::OnVolumeChange(uint32_t, void* user) {
    auto* self = static_cast<CLxVolumeSlider*>(user);
    self->m_nValue = self->ReadVolume();
    self->Draw();
}

void CLxVolumeSlider::Draw() {
    CLxSlider::Draw();
    DrawLevel();
}

void CLxVolumeSlider::DrawLevel() const {
    RECT r;
    if (!(m_nFlags & kEnabled) || !g_pDrawSurface || !(GetState() & kVisible) || !GetDrawRect(&r))
        return;
    r = RECT{r.left & kLow20, r.top & kLow20, r.right & kLow20, r.bottom & kLow20};
    if (!Horizontal(r)) return;
    int h = r.bottom - r.top, width = r.right - r.left;
    int reach = static_cast<int>(static_cast<float>(width - 2) * std::min(NewestLevel(), 1.0f));
    // A level of 1 or more fills the track up to its last pixel, never past it.
    RECT bar{r.left + 1, r.top + 3 * h / 8 + 1, r.left + 1 + reach, r.bottom - 3 * h / 8 - 1};
    if (!IsRectEmpty(&bar)) FillRectPixel(g_pDrawSurface, &bar, kLevelPixel);
}

void CLxVolumeSlider::OnMove(CLxMouseEvent* event) {
    if (WithCtrl(event)) CLxSlider::OnMove(event);
}

void CLxVolumeSlider::OnButtonDown(CLxMouseEvent* event) {
    if (WithCtrl(event)) CLxSlider::OnButtonDown(event);
}

void CLxVolumeSlider::OnDrag(CLxMouseEvent* event) {
    if (!WithCtrl(event) || m_ptDrag.x == -1) return;
    CLxSlider::OnDrag(event);
    if (m_pVolume) m_pVolume->SetVolume(static_cast<uint32_t>(m_nValue));
}

void CLxVolumeSlider::OnClick(CLxMouseEvent* event) {
    if (!WithCtrl(event)) return;
    CLxSlider::OnClick(event);
    if (m_pVolume) m_pVolume->SetVolume(static_cast<uint32_t>(m_nValue));
}
