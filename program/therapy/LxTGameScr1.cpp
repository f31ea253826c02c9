// The car game; see LxTGameScr1.h. The road picture lies in the background; the car is a
// bitmap sprite whose 200 x 100 picture holds the car picture of the current phase,
// keyed on white.
#include "therapy/LxTGameScr1.h"

#include <cmath>
#include <cstdio>

#include "media/LxDraw.h"
#include "media/LxSurface.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxSettings.h"
#include "ui/LxCGUI.h"
#include "ui/LxSprite.h"

namespace {
constexpr int kGame = 1;
constexpr int kCarWidth = 200, kCarHeight = 100;
constexpr RECT kRoadArea{0, 0, 660, 600}; // what a move redraws
constexpr uint32_t kWhite = 0xFFFFFF;
} // namespace

CLxTGameScr1::CLxTGameScr1(const char* descriptionPath) : CLxTGameScr(descriptionPath) {
    m_szName = "TGame1";
    m_pGUI->LoadDescription(ExtraDescription(descriptionPath, kGame).c_str());
    LayScene({0, 200, 400, 400}, {0, 400, 400, 600}, "data\\ut.bmp", {8, 240, 660, 516});
    for (int n = 0; n < kCarPictures; ++n) {
        char path[64];
        std::snprintf(path, sizeof path, "data\\sprites\\auto%d.bmp", n + 1);
        m_apCars[n] = LoadBitmap(path);
    }
    m_pSpritePicture = CreateSurface(kCarWidth, kCarHeight);
    m_pSpritePicture->SetColorKey(ColorToPixel(m_pSpritePicture, kWhite));
    CLxSprite::Descriptor car{m_pGUI,
                              m_pGUI->FindGroup("fo"),
                              "auto",
                              {220, kCarY, 220 + kCarWidth, kCarY + kCarHeight},
                              {48, kCarY, 636, kCarY + kCarHeight},
                              {nullptr, m_pSpritePicture},
                              true,
                              false};
    m_pCar = new CLxBMPSprite(&car);
    m_pCar->m_nFlags &= ~kEnabled;
    ShowCar();
    SelectGameButton(kGame);
    Refresh();
}

CLxTGameScr1::~CLxTGameScr1() {
    for (CLxSurface*& picture : m_apCars)
        FreeSurface(&picture);
    FreeSurface(&m_pSpritePicture);
}

void CLxTGameScr1::Refresh() {
    SetSliderValue("fo.seb", g_Settings.nGame1Speed);
    CLxTGameScr::Refresh();
}

float CLxTGameScr1::Advance(float position, float voicing, bool silent, int speed) {
    float a = voicing - kVoicingThreshold;
    if (silent || !(a > 0.0f)) return position;
    a *= speed / 10.0f;
    float p = std::fmod(position + a * a, kRoadPeriod);
    return p >= 0.0f ? p : 0.0f; // a nonsense speed or voicing must not send it off
}

int CLxTGameScr1::CarLeft(float position) {
    return static_cast<int>(position) % static_cast<int>(kRoadPeriod) - 160;
}

int CLxTGameScr1::CarPicture(float position) {
    return static_cast<int>(position * 0.8f) % kCarPictures;
}

void CLxTGameScr1::ShowCar() {
    int picture = CarPicture(m_fPosition);
    if (picture != m_nShown) {
        RECT all{0, 0, kCarWidth, kCarHeight};
        FillRectRGB(m_pSpritePicture, &all, kWhite);
        if (m_apCars[picture]) BltSurface(m_pSpritePicture, &all, m_apCars[picture], nullptr, 0);
        m_nShown = picture;
    }
    m_pCar->MoveTo(CarLeft(m_fPosition), kCarY);
}

int CLxTGameScr1::OnMouseEvent(CLxMouseEvent* event) {
    CLxTGameScr::OnMouseEvent(event);
    if (event->m_pControl && event->m_pControl->GetFullName() == "fo.seb")
        g_Settings.nGame1Speed = SliderValue("fo.seb", g_Settings.nGame1Speed);
    return 0;
}

int CLxTGameScr1::OnTimerEvent(CLxTimerEvent* event) {
    int write = NewDriverStep(event);
    if (write >= 0) Step(write);
    return CLxTGameScr::OnTimerEvent(event);
}

void CLxTGameScr1::Step(int i) {
    float voicing = g_Driver.aHistory[kRowVoicing][i];
    bool silent = g_Driver.aHistory[kRowSilence][i] != 0.0f;
    float next = Advance(m_fPosition, voicing, silent, g_Settings.nGame1Speed);
    if (next == m_fPosition) return;
    RECT before{}, after{};
    m_pCar->GetDrawRect(&before);
    m_fPosition = next;
    ShowCar();
    m_pCar->GetDrawRect(&after);
    RedrawMoved(before, after, kRoadArea);
}
