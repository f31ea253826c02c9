// The mole game; see LxTGameScr6.h. The tunnel is shaded straight into the background
// picture as the mole digs, and the path keeps the mole's row for every column it dug,
// so that the second stage can tell above, inside and below. The mole and the lamp mole
// are one sprite whose pictures and size change between the stages: a sprite the mouse
// or the dispatcher may still hold is never freed while the screen lives.
#include "therapy/LxTGameScr6.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "media/LxDraw.h"
#include "media/LxRLEBitmap.h"
#include "media/LxSurface.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxSettings.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"
#include "ui/LxSprite.h"

namespace {
constexpr int kGame = 6;
constexpr RECT kMoleStart{12, 342, 140, 426};     // 128 x 84
constexpr RECT kLampMoleStart{12, 332, 108, 392}; // 96 x 60
constexpr RECT kPlayArea{0, 0, 652, 600};
constexpr uint32_t kShadowColour = 0x68000000;
constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0;
constexpr float kCalibrationFloor = 0.1f; // measures at or below it are no voice
constexpr int kEndPause = 20;             // silent steps at the right edge that end a run

CLxSurface* Keyed(const char* path, uint32_t rgb) {
    CLxSurface* picture = LoadBitmap(path);
    if (picture) picture->SetColorKey(ColorToPixel(picture, rgb));
    return picture;
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}
} // namespace

CLxTGameScr6::CLxTGameScr6(const char* descriptionPath) : CLxTGameScr(descriptionPath) {
    m_szName = "TGame6";
    std::fill(std::begin(m_aPath), std::end(m_aPath), kSurfaceY);
    m_pGUI->LoadDescription(ExtraDescription(descriptionPath, kGame).c_str());
    CLxGroup* fo = m_pGUI->FindGroup("fo");
    if (CLxSurface* background = m_pGUI->m_pBackground) {
        RECT strip{0, 200, 600, 300}, below{0, 500, 600, 600}, ground{12, 164, 652, 584};
        BltSurface(background, &below, background, &strip, 0);
        if (CLxSurface* earth = Keyed("data\\foldalatt.bmp", kBlack)) {
            BltSurface(background, &ground, earth, nullptr, 0);
            for (int slot = 0; fo && slot < 8; ++slot)
                if (fo->m_aPictures[slot])
                    BltSurface(fo->m_aPictures[slot], &ground, earth, nullptr, 0);
            FreeSurface(&earth);
        }
        // The sky over the ground shows in the enabled pictures (states 12 and 13) too.
        RECT sky{0, 160, 600, 240};
        for (int slot : {4, 5})
            if (fo && fo->m_aPictures[slot])
                BltSurface(fo->m_aPictures[slot], &sky, background, &sky, 0);
    }
    m_pMolePicture = Keyed("data\\sprites\\vakond.bmp", kWhite);
    m_pMoleSelected = Keyed("data\\sprites\\vakondn.bmp", kWhite);
    m_pLampMole = Keyed("data\\sprites\\vakondka.bmp", kWhite);
    m_pLampMoleSelected = Keyed("data\\sprites\\vakondkan.bmp", kWhite);
    m_pLightning = Keyed("data\\sprites\\villam.bmp", kBlack);
    m_pShadowMask = new CLxRLEBitmap("data\\sprites\\vakondk.rle");
    CLxSprite::Descriptor mole{
        m_pGUI,     fo,
        "sprite",   kMoleStart,
        kMoleStart, {nullptr, m_pMolePicture, nullptr, m_pMoleSelected, m_pMoleSelected},
        true,       false};
    m_pMole = new CLxBMPSprite(&mole);
    CLxRLESprite::RLEDescriptor shadow{
        {m_pGUI, fo, "spritek", {700, 300, 828, 412}, {12, 164, 652, 544}, {}, false, false},
        {m_pShadowMask, m_pShadowMask, m_pShadowMask},
        {kShadowColour, kShadowColour, kShadowColour}};
    m_pShadow = new CLxRLESprite(&shadow);
    m_pShadow->m_nFlags &= ~kEnabled;
    m_pBackup = CreateSurface(kGround.right - kGround.left, kGround.bottom - kGround.top);
    SelectGameButton(kGame);
    m_nSpeed = g_Settings.nGame6Speed;
    Refresh();
}

CLxTGameScr6::~CLxTGameScr6() {
    for (CLxSurface** picture : {&m_pLampMole, &m_pLampMoleSelected, &m_pMolePicture,
                                 &m_pMoleSelected, &m_pLightning, &m_pBackup})
        FreeSurface(picture);
    delete m_pShadowMask;
}

void CLxTGameScr6::Refresh() {
    SetSliderValue("fo.kit", g_Settings.nGame6High);
    SetSliderValue("fo.seb", m_nSpeed);
    CLxTGameScr::Refresh();
    SetLevelPlay(kPeriod);
}

int CLxTGameScr6::Row() const {
    return static_cast<int>(m_fDepth + kSurfaceY);
}

bool CLxTGameScr6::RawDepth(float c, float norm, int high, float* depth) {
    if (!(c > 0.0f) || !(norm > 0.0f) || !std::isfinite(c) || !std::isfinite(norm)) return false;
    float v = std::log(c / norm);
    if (c >= norm) v *= 1.25f;
    *depth = std::clamp(v * static_cast<float>(high), -kMaxDepth, kMaxDepth);
    return true;
}

float CLxTGameScr6::Damp(float depth, float previous) {
    // A jump of more than 16 rows moves a tenth of the way. (Weights for the biggest
    // jumps that add up to less than one would hold a sustained low or high voice at a
    // fifth of its depth, so that a lower voice dug a shallower tunnel.)
    if (std::fabs(depth - previous) > 16.0f) return (depth + 9.0f * previous) / 10.0f;
    return depth;
}

void CLxTGameScr6::ShowDebug(const char* text) {
    if (m_pGUI->FindControl("fo.debug")) SetControlText("fo.debug", text);
}

void CLxTGameScr6::StartCalibration() {
    m_nPhase = m_nPhase == kDigging ? kCalibrateDigging : kCalibrateFollowing;
    m_nCount = 1;
    // The sum starts from the norm being calibrated (it counts as the first sample), not
    // from what an earlier calibration left, so a child already speaking is not averaged
    // with the last calibration.
    m_fSum = g_Settings.aGame6Norm[m_nPhase];
    m_pMole->m_nFlags |= kSelected;
    m_pMole->Draw();
}

int CLxTGameScr6::OnMouseEvent(CLxMouseEvent* event) {
    CLxTGameScr::OnMouseEvent(event);
    if (!event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (event->m_nType == kMouseClick && StartsWith(name, "fo.sprite") &&
        (m_nPhase == kDigging || m_nPhase == kFollowing))
        StartCalibration();
    if (name == "fo.kit") g_Settings.nGame6High = SliderValue("fo.kit", g_Settings.nGame6High);
    if (name == "fo.seb") m_nSpeed = SliderValue("fo.seb", m_nSpeed);
    return 0;
}

int CLxTGameScr6::OnTimerEvent(CLxTimerEvent* event) {
    int write = NewDriverStep(event);
    if (write >= 0) Step(write);
    g_Settings.nGame6Speed = m_nSpeed;
    return CLxTGameScr::OnTimerEvent(event);
}

void CLxTGameScr6::Step(int i) {
    bool silent = g_Driver.aHistory[kRowSilence][i] != 0.0f;
    float c = g_Driver.aHistory[kRowPitch][i];
    if (m_nPhase == kCalibrateDigging || m_nPhase == kCalibrateFollowing) {
        Calibrate(silent, c);
        return;
    }
    float raw = 0.0f;
    if (!silent &&
        RawDepth(c, g_Settings.aGame6Norm[m_nPhase - kDigging], g_Settings.nGame6High, &raw)) {
        char text[16];
        std::snprintf(text, sizeof text, "%05d", static_cast<int>(c * 1000.0f) % 100000);
        ShowDebug(text);
        m_fDepth = Damp(raw, m_fDepth);
    }
    float step = m_nSpeed / 10.0f;
    if (silent) {
        if (m_fX < kRightEdge || !PauseAtEdge()) return;
        if (m_nPhase == kDigging)
            StartFollowing();
        else
            RestartFollowing();
    } else if (m_fX >= kRightEdge) {
        m_fX = kRightEdge;
    } else if (m_nPhase == kDigging) {
        Dig(step);
    } else {
        Follow(step);
    }
}

void CLxTGameScr6::Calibrate(bool silent, float c) {
    int stage = m_nPhase; // 0 or 1: the norm of digging or of following
    if (!silent) {
        if (c > kCalibrationFloor && std::isfinite(c)) {
            m_fSum += c;
            ++m_nCount;
            char text[16];
            std::snprintf(text, sizeof text, "%5.3f", static_cast<double>(m_fSum / m_nCount));
            ShowDebug(text);
        }
        return;
    }
    if (m_nCount < kCalibrationSteps) {
        m_nCount = 1;
        m_fSum = g_Settings.aGame6Norm[stage];
        return;
    }
    g_Settings.aGame6Norm[stage] = m_fSum / static_cast<float>(m_nCount);
    m_nPhase = stage == kCalibrateDigging ? kDigging : kFollowing;
    if (stage == kCalibrateDigging)
        m_pShadow->m_nFlags |= kVisible;
    else
        m_pShadow->m_nFlags &= ~kVisible;
    m_pMole->m_nFlags &= ~(kSelected | kEnabled);
    RECT r{};
    if (m_pMole->GetDrawRect(&r)) m_pGUI->DrawBackground(&r, nullptr, true);
    m_fDepth = 0.0f;
}

bool CLxTGameScr6::PauseAtEdge() {
    m_fX += 1.0f;
    if (m_fX <= kRightEdge + kEndPause) return false;
    m_fX = kStartX;
    return true;
}

void CLxTGameScr6::RedrawMove(const RECT& before, const RECT& after) {
    RedrawMoved(before, after, kPlayArea);
    RECT shadow{};
    if (!(m_pShadow->m_nFlags & kVisible) || !m_pShadow->GetDrawRect(&shadow) ||
        shadow.right <= kPlayArea.right)
        return;
    // The shadow's mask is drawn whole: what it covered right of the ground is drawn
    // again without it.
    RECT past{kPlayArea.right, shadow.top, shadow.right, shadow.bottom};
    m_pGUI->DrawBackground(&past, m_pShadow, true);
}

void CLxTGameScr6::Dig(float step) {
    int x = static_cast<int>(m_fX), row = Row();
    if (m_fX >= kStartX) {
        m_pMole->m_rcClip = kGround;
        m_pMole->m_nFlags &= ~(kSelected | kEnabled);
    }
    // Every column this step passes gets the row, so that following reads no column
    // that was never dug.
    int last = std::min(static_cast<int>(m_fX + step), kPathWidth - 1);
    for (int column = std::max(x, 0); column <= last; ++column)
        m_aPath[column] = row;
    if (m_fX >= kStartX && x < kGround.right)
        DigTunnel(x, std::min(std::max(last, x + 1), static_cast<int>(kGround.right)), row);
    RECT before{}, after{}, shadowBefore{}, shadowAfter{};
    m_pMole->GetDrawRect(&before);
    m_pMole->MoveTo(x - 66, row + 16);
    m_pMole->GetDrawRect(&after);
    RECT moved;
    UnionRect(&moved, &before, &after);
    if (m_pShadow->m_nFlags & kVisible) {
        m_pShadow->GetDrawRect(&shadowBefore);
        if (x <= 630)
            m_pShadow->MoveTo(x - 64, row);
        else
            m_pShadow->m_nFlags &= ~kVisible;
        m_pShadow->GetDrawRect(&shadowAfter);
        UnionRect(&moved, &moved, &shadowBefore);
        UnionRect(&moved, &moved, &shadowAfter);
    }
    RedrawMove(moved, moved);
    m_fX += step;
}

void CLxTGameScr6::DigTunnel(int left, int right, int row) {
    CLxSurface* background = m_pGUI->m_pBackground;
    if (!background || right <= left) return;
    int top = row;
    auto band = [&](int rows, float factor) {
        RECT r{left, top, right, top + rows};
        RECT cut;
        if (IntersectRect(&cut, &r, &kPlayArea)) Shade(background, &cut, factor);
        top += rows;
    };
    // Dark walls above and below, the floor lighter towards the middle.
    band(12, 0.3f);
    for (int k = 0; k < 12; ++k)
        band(8, 0.7f - static_cast<float>(k) * 0.03125f);
    band(8, 0.3f);
    RECT tunnel{left, row, right, top}, cut;
    if (IntersectRect(&cut, &tunnel, &kPlayArea)) m_pGUI->DrawBackground(&cut, nullptr, true);
}

void CLxTGameScr6::MarkLightning(int k, int top) {
    CLxSurface* background = m_pGUI->m_pBackground;
    RECT box{k - 8, top, k + 7, top + 15};
    if (background && m_pLightning) BltSurface(background, &box, m_pLightning, nullptr, 0);
    RECT cut;
    if (IntersectRect(&cut, &box, &kPlayArea)) m_pGUI->DrawBackground(&cut, nullptr, true);
}

void CLxTGameScr6::Follow(float step) {
    int x = static_cast<int>(m_fX), row = Row();
    if (x == static_cast<int>(kStartX)) {
        m_pMole->m_rcClip = kGround;
        m_pMole->m_nFlags &= ~(kSelected | kEnabled);
    }
    RECT before{}, after{};
    m_pMole->GetDrawRect(&before);
    m_pMole->MoveTo(x - 64, row - 2);
    m_pMole->GetDrawRect(&after);
    RedrawMove(before, after);
    if (x >= 40 && x < 624) {
        int tunnel = m_aPath[x];
        int k = (x + 4) & ~7;
        if (row < tunnel)
            MarkLightning(k, m_aPath[k] - 8);
        else if (row + 96 > tunnel + 144)
            MarkLightning(k, m_aPath[k] + 108);
    }
    m_fX += step;
}

void CLxTGameScr6::StartFollowing() {
    m_nPhase = kFollowing;
    m_pShadow->m_nFlags &= ~kVisible;
    m_pMole->m_aPictures[4] = m_pLampMole;
    m_pMole->m_aPictures[6] = m_pMole->m_aPictures[7] = m_pLampMoleSelected;
    m_pMole->m_rcClip = kLampMoleStart;
    m_pMole->SetSize(kLampMoleStart.right - kLampMoleStart.left,
                     kLampMoleStart.bottom - kLampMoleStart.top);
    m_pMole->MoveTo(kLampMoleStart.left, kLampMoleStart.top);
    m_pMole->m_nFlags |= kEnabled;
    m_pGUI->DrawBackground(nullptr, nullptr, true);
    if (m_pGUI->m_pBackground && m_pBackup) {
        RECT all{0, 0, kGround.right - kGround.left, kGround.bottom - kGround.top};
        BltSurface(m_pBackup, &all, m_pGUI->m_pBackground, &kGround, 0);
    }
}

void CLxTGameScr6::RestartFollowing() {
    if (m_pGUI->m_pBackground && m_pBackup) {
        RECT all{0, 0, kGround.right - kGround.left, kGround.bottom - kGround.top};
        BltSurface(m_pGUI->m_pBackground, &kGround, m_pBackup, &all, 0);
    }
    m_pMole->MoveTo(kLampMoleStart.left, kLampMoleStart.top);
    m_pMole->m_rcClip = kLampMoleStart;
    m_pMole->m_nFlags |= kEnabled;
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}
