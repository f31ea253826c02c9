// The clown game; see LxTGameScr2.h. The rods of the ladders are drawn into the
// background (reloaded from its file for each layout, so that the rods of an earlier
// layout go); the rungs are sprites the therapist can drag up and down, and the rung of
// the ladder the clown is on lights up while the voice holds it there.
#include "therapy/LxTGameScr2.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "media/LxDraw.h"
#include "media/LxSurface.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxSettings.h"
#include "ui/LxCGUI.h"
#include "ui/LxSprite.h"

namespace {
constexpr int kGame = 2;
constexpr int kClownWidth = 80, kClownHeight = 146;
constexpr int kRungHeight = 20;
constexpr int kRodTop = 172, kRodBottom = 530, kRodWidth = 40;
constexpr RECT kPlayArea{0, 0, 660, 600};
constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0;

void Key(CLxSurface* picture, uint32_t rgb) {
    if (picture) picture->SetColorKey(ColorToPixel(picture, rgb));
}

// "bo.k1" ... "bo.k4" is that many ladders, else 0.
int LadderButton(const std::string& name) {
    if (name.size() != 5 || name.compare(0, 4, "bo.k") != 0) return 0;
    int n = name[4] - '0';
    return n >= 1 && n <= CLxTGameScr2::kMaxLadders ? n : 0;
}

// "fo.lec0" ... "fo.lec3" is that rung, else -1.
int RungName(const std::string& name) {
    if (name.size() != 7 || name.compare(0, 6, "fo.lec") != 0) return -1;
    int n = name[6] - '0';
    return n >= 0 && n < CLxTGameScr2::kMaxLadders ? n : -1;
}
} // namespace

CLxTGameScr2::CLxTGameScr2(const char* descriptionPath) : CLxTGameScr(descriptionPath) {
    m_szName = "TGame2";
    m_pGUI->LoadDescription(ExtraDescription(descriptionPath, kGame).c_str());
    m_pRung = LoadBitmap("data\\sprites\\lec.bmp");
    m_pHotRung = LoadBitmap("data\\sprites\\lech.bmp");
    m_pClownPicture = LoadBitmap("data\\sprites\\bohoc1.bmp");
    m_pRod = LoadBitmap("data\\sprites\\rud.bmp");
    Key(m_pClownPicture, kBlack);
    Key(m_pRod, kWhite);
    Key(m_pRung, kWhite);
    Key(m_pHotRung, kWhite);
    CLxGroup* fo = m_pGUI->FindGroup("fo");
    for (int c = 0; c < kMaxLadders; ++c) {
        char name[8];
        std::snprintf(name, sizeof name, "lec%d", c);
        CLxSprite::Descriptor rung{m_pGUI,       fo,           m_pGUI->StoreText(name),
                                   {0, 0, 0, 0}, {0, 0, 0, 0}, {nullptr, m_pRung, m_pHotRung},
                                   true,         true};
        m_apRungs[c] = new CLxBMPSprite(&rung);
    }
    CLxSprite::Descriptor clown{m_pGUI,
                                fo,
                                "bohoc",
                                {362, 336, 362 + kClownWidth, 336 + kClownHeight},
                                {282, kHighestY, 414, 560},
                                {nullptr, m_pClownPicture},
                                true,
                                false};
    m_pClown = new CLxBMPSprite(&clown);
    m_pClown->m_nFlags &= ~kEnabled;
    SelectGameButton(kGame);
    Layout();
}

CLxTGameScr2::~CLxTGameScr2() {
    for (CLxSurface** picture : {&m_pRung, &m_pHotRung, &m_pClownPicture, &m_pRod})
        FreeSurface(picture);
}

int CLxTGameScr2::Ladders() {
    return std::clamp(g_Settings.nGame2Game, 1, kMaxLadders);
}

int CLxTGameScr2::RungWidth(int ladders) {
    ladders = std::clamp(ladders, 1, kMaxLadders);
    return (56 * ladders + 344) / ladders;
}

int CLxTGameScr2::LadderOffset(int ladder, int ladders) {
    ladders = std::clamp(ladders, 1, kMaxLadders);
    return ladder * RungWidth(ladders) - 28 * ladders;
}

int CLxTGameScr2::Height(float level, float maxLevel) {
    if (!(maxLevel > 0.0f) || !(level > 0.0f)) return kGroundY;
    float y = kGroundY - level * 240.0f / maxLevel;
    return y >= kHighestY ? static_cast<int>(y) : kHighestY;
}

void CLxTGameScr2::DrawRod(CLxSurface* background, int left) {
    RECT rod{left, kRodTop, left + kRodWidth, kRodBottom};
    if (m_pRod) BltSurface(background, &rod, m_pRod, nullptr, 0);
}

void CLxTGameScr2::Layout() {
    int g = Ladders(), w = RungWidth(g);
    for (int n = 1; n <= kMaxLadders; ++n) {
        char name[8];
        std::snprintf(name, sizeof name, "bo.k%d", n);
        SetControlFlag(name, kSelected, n <= g);
    }
    if (CLxSurface* background = m_pGUI->ReloadBackground()) {
        RECT strip{0, 200, 400, 400}, below{0, 400, 400, 600};
        BltSurface(background, &below, background, &strip, 0);
        for (int c = 0; c < g; ++c)
            DrawRod(background, LadderOffset(c, g) + 144);
        DrawRod(background, g * (w - 28) + 144);
    }
    for (int c = 0; c < kMaxLadders; ++c) {
        CLxBMPSprite* rung = m_apRungs[c];
        rung->m_nFlags &= ~kHot;
        if (c >= g) {
            rung->m_nFlags &= ~kVisible;
            continue;
        }
        int d = LadderOffset(c, g);
        rung->m_rcClip = RECT{d + 164, 184, d + 164 + w, 340};
        rung->SetSize(w, kRungHeight);
        rung->MoveTo(d + 164, g_Settings.aGame2Positions[c]);
        rung->m_nFlags |= kVisible;
    }
    int e = ((w - 90) >> 1) - 28 * g;
    m_pClown->m_rcClip = RECT{e + 160, kHighestY, e + 160 + kClownWidth, 560};
    m_pClown->MoveTo(e + 160, kGroundY);
    m_nStage = 0;
    m_nHold = 0;
    Refresh();
}

void CLxTGameScr2::WalkTo(int stage) {
    int g = Ladders();
    int x0 = ((RungWidth(g) * stage - 90) >> 1) - 28 * g;
    RECT& area = m_pClown->m_rcClip;
    area = RECT{x0 + 160, kHighestY, x0 + 308, 560};
    RECT r{};
    m_pClown->GetDrawRect(&r);
    int left = std::clamp(static_cast<int>(r.left), static_cast<int>(area.left),
                          static_cast<int>(area.right) - kClownWidth);
    m_pClown->MoveTo(left, r.top);
}

void CLxTGameScr2::Refresh() {
    SetSliderValue("fo.ido", g_Settings.nGame2Time);
    SetSliderValue("fo.int", -g_Settings.nGame2Level);
    CLxTGameScr::Refresh();
}

int CLxTGameScr2::OnMouseEvent(CLxMouseEvent* event) {
    CLxTGameScr::OnMouseEvent(event);
    if (!event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name == "fo.ido") g_Settings.nGame2Time = SliderValue("fo.ido", g_Settings.nGame2Time);
    if (name == "fo.int") g_Settings.nGame2Level = -SliderValue("fo.int", -g_Settings.nGame2Level);
    if (int rung = RungName(name); rung >= 0 && rung < Ladders()) {
        RECT r{};
        if (m_apRungs[rung]->GetDrawRect(&r)) g_Settings.aGame2Positions[rung] = r.top;
    }
    if (int ladders = LadderButton(name); ladders && event->m_nType == kMouseClick) {
        g_Settings.nGame2Game = ladders;
        Layout();
    }
    return 0;
}

int CLxTGameScr2::OnTimerEvent(CLxTimerEvent* event) {
    int write = NewDriverStep(event);
    if (write >= 0 && write % kStepEvery == 0) Step(write);
    return CLxTGameScr::OnTimerEvent(event);
}

void CLxTGameScr2::Step(int i) {
    int g = Ladders();
    int hold = std::max(g_Settings.nGame2Time, 0);
    bool silent = g_Driver.aHistory[kRowSilence][i] != 0.0f;
    int y = Height(g_Driver.aHistory[kRowLevel][i], g_Driver.fMaxLevel);
    bool on = false;
    if (m_nStage % 2 == 0) {
        if (!silent) {
            m_nHold = 0;
        } else if (++m_nHold > kSilenceLimit) {
            m_nHold = -hold;
            m_nStage = (m_nStage >> 1) < g ? m_nStage + 1 : 1;
            WalkTo(m_nStage);
            m_pGUI->DrawBackground(nullptr, nullptr, true);
        }
    } else {
        // On ladder s >> 1, which the layout keeps below g.
        on = std::abs(y - g_Settings.aGame2Positions[m_nStage >> 1]) < g_Settings.nGame2Level;
        if (m_nHold == 0) {
            if (silent) ++m_nStage;
        } else {
            m_nHold = on ? m_nHold + 1 : -hold;
        }
    }
    // Only the rung of the ladder the clown is on can light up.
    int lit = m_nStage % 2 == 1 && on ? m_nStage >> 1 : -1;
    for (int c = 0; c < kMaxLadders; ++c) {
        bool hot = c == lit;
        if (((m_apRungs[c]->m_nFlags & kHot) != 0) == hot) continue;
        m_apRungs[c]->m_nFlags ^= kHot;
        RECT r{};
        if (m_apRungs[c]->GetDrawRect(&r)) m_pGUI->DrawBackground(&r, nullptr, true);
    }
    RECT before{}, after{};
    m_pClown->GetDrawRect(&before);
    m_pClown->MoveTo(before.left, y);
    m_pClown->GetDrawRect(&after);
    RedrawMoved(before, after, kPlayArea);
}
