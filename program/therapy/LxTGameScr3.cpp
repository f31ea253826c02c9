// The frog game; see LxTGameScr3.h. One game step runs per driver step (two timer events
// of one step share the driver's write index and make one move): the level history
// gives the height, the silence flag history decides between moving on and landing.
// A jump starts at half of "speed" per step and slows towards a tenth of it.
#include "therapy/LxTGameScr3.h"

#include <algorithm>
#include <cmath>

#include "media/LxDraw.h"
#include "media/LxRLEBitmap.h"
#include "media/LxSurface.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxSettings.h"
#include "ui/LxCGUI.h"
#include "ui/LxSprite.h"

namespace {
constexpr int kGame = 3;
constexpr int kLandAfter = 3;     // quiet steps that end a jump
constexpr int kRestartAfter = 10; // quiet steps on the far bank that start a new crossing
constexpr RECT kPond{0, 0, CLxTGameScr3::kPondRight, 600};
constexpr int kFrogWidth = 66;
// The farthest the frog goes is the far bank, so a long hiss cannot carry it out of the
// pond's sight.
constexpr float kLastX = CLxTGameScr3::kFarBank;
} // namespace

CLxTGameScr3::CLxTGameScr3(const char* descriptionPath) : CLxTGameScr(descriptionPath) {
    m_szName = "TGame3";
    m_pGUI->LoadDescription(ExtraDescription(descriptionPath, kGame).c_str());
    // The lower bank repeats the strip above the pond; the pond goes over it.
    LayScene({0, 200, 600, 300}, {0, 500, 600, 600}, "data\\kettoto.bmp", {12, 204, 652, 584});
    m_pFrogPicture = LoadBitmap("data\\sprites\\breki.bmp");
    if (m_pFrogPicture) m_pFrogPicture->SetColorKey(ColorToPixel(m_pFrogPicture, 0xFFFFFF));
    m_pPrint = new CLxRLEBitmap("data\\sprites\\brekik.rle");
    CLxSprite::Descriptor frog{m_pGUI,
                               m_pGUI->FindGroup("fo"),
                               "sprite",
                               {10, kGroundY, 10 + kFrogWidth, 400},
                               {12, 164, kPondRight, 532},
                               {m_pFrogPicture},
                               true,
                               false};
    m_pFrog = new CLxBMPSprite(&frog);
    m_pFrog->m_nFlags &= ~kEnabled; // clicks reach the pond under it
    SelectGameButton(kGame);
    Refresh();
}

CLxTGameScr3::~CLxTGameScr3() {
    FreeSurface(&m_pFrogPicture);
    delete m_pPrint;
}

void CLxTGameScr3::Refresh() {
    SetSliderValue("fo.seb", g_Settings.nGame3Speed);
    SetSliderValue("fo.mag", g_Settings.nGame3High);
    CLxTGameScr::Refresh();
    m_pFrog->m_nFlags |= kVisible;
    m_pFrog->Draw();
}

void CLxTGameScr3::Restart() {
    m_fX = kStartX;
    m_fV = 0.0f;
    m_nQuiet = 0;
    // At its start before the whole screen is redrawn, so it is not drawn at the far bank.
    m_pFrog->MoveTo(static_cast<int>(m_fX), kGroundY);
    Refresh();
}

int CLxTGameScr3::Height(float level, float maxLevel, int high) {
    // Without a usable maximum (or with a level that is no number) the frog stays down.
    if (!(maxLevel > 0.0f) || !(level > 0.0f)) return kGroundY;
    float y = kGroundY - (high / 100.0f) * 80.0f * level / maxLevel;
    if (!(y >= kHighestY)) return kHighestY;
    return y > kGroundY ? kGroundY : static_cast<int>(y);
}

int CLxTGameScr3::OnMouseEvent(CLxMouseEvent* event) {
    CLxTGameScr::OnMouseEvent(event);
    if (!event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name == "fo.seb") g_Settings.nGame3Speed = SliderValue("fo.seb", g_Settings.nGame3Speed);
    if (name == "fo.mag") g_Settings.nGame3High = SliderValue("fo.mag", g_Settings.nGame3High);
    return 0;
}

int CLxTGameScr3::OnTimerEvent(CLxTimerEvent* event) {
    int write = NewDriverStep(event);
    if (write >= 0) Step(write);
    return CLxTGameScr::OnTimerEvent(event);
}

void CLxTGameScr3::RedrawFrogArea(bool withFrog) {
    RECT r, cut;
    if (!m_pFrog->GetDrawRect(&r) || !IntersectRect(&cut, &r, &kPond)) return;
    m_pGUI->DrawBackground(&cut, withFrog ? nullptr : m_pFrog, true);
}

void CLxTGameScr3::StampPrint(int y) {
    CLxSurface* background = m_pGUI->m_pBackground;
    if (m_bFinished || !background || m_pPrint->Length() == 0) return;
    m_pPrint->Draw(background, static_cast<int>(m_fX), y, kPrintColour);
}

void CLxTGameScr3::Step(int i) {
    float speed = static_cast<float>(g_Settings.nGame3Speed);
    int y = Height(g_Driver.aHistory[kRowLevel][i], g_Driver.fMaxLevel, g_Settings.nGame3High);
    RedrawFrogArea(false);
    if (g_Driver.aHistory[kRowSilence][i] != 0.0f) {
        ++m_nQuiet;
        if (m_fX < kFarBank) {
            if (m_nQuiet > kLandAfter) {
                if (m_fV != 0.0f) StampPrint(y);
                m_fV = 0.0f;
                m_nQuiet = 0;
            }
        } else if (m_nQuiet > kRestartAfter) {
            m_bFinished = true;
            m_pFrog->m_nFlags &= ~kVisible;
            Restart();
        }
    } else {
        m_nQuiet = 0;
        if (m_fV == 0.0f)
            m_fV = speed * 0.5f;
        else if (m_fV > speed / 10.0f)
            m_fV = (speed / 10.0f + m_fV) * 0.5f;
        if (m_fX < kLastX) m_fX = std::min(m_fX + m_fV, kLastX);
    }
    m_pFrog->MoveTo(static_cast<int>(m_fX), y);
    RedrawFrogArea(true);
}
