// The flower game; see LxTGameScr5.h. The beds and the flowers are drawn into the
// background picture; the can is a sprite that walks along the beds. Every picture the
// can shows is loaded with the screen and kept for its life, so changing the can's
// pictures between the stages frees nothing a drawing may still use.
#include "therapy/LxTGameScr5.h"

#include <cmath>
#include <cstdio>

#include "media/LxDraw.h"
#include "media/LxSurface.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxSettings.h"
#include "ui/LxCGUI.h"
#include "ui/LxSprite.h"

namespace {
constexpr int kGame = 5;
constexpr RECT kCanStart{60, CLxTGameScr5::kCanY, 108, CLxTGameScr5::kCanY + 48};
constexpr RECT kCanPath{12, CLxTGameScr5::kCanY, 632, CLxTGameScr5::kCanY + 48};
constexpr int kBedWidth = CLxTGameScr5::kFlowers * CLxTGameScr5::kFlowerWidth;
constexpr int kCalibrationX = 12, kStageOneX = 60, kStageTwoX = 36;
constexpr float kVoiceFloor = 0.1f; // measures at or below it are no voice
constexpr uint32_t kWhite = 0xFFFFFF;

CLxSurface* Keyed(const char* path) {
    CLxSurface* picture = LoadBitmap(path);
    if (picture) picture->SetColorKey(ColorToPixel(picture, kWhite));
    return picture;
}
} // namespace

CLxTGameScr5::CLxTGameScr5(const char* descriptionPath) : CLxTGameScr(descriptionPath) {
    m_szName = "TGame5";
    m_pGUI->LoadDescription(ExtraDescription(descriptionPath, kGame).c_str());
    for (int kind = 0; kind < 3; ++kind) {
        char path[64];
        std::snprintf(path, sizeof path, "data\\sprites\\piros-virag%d.bmp", kind);
        m_apRed[kind] = Keyed(path);
        std::snprintf(path, sizeof path, "data\\sprites\\kek-virag%d.bmp", kind);
        m_apBlue[kind] = Keyed(path);
    }
    m_pBed = LoadBitmap("data\\viragagyas.bmp");
    m_pWater = Keyed("data\\sprites\\virag-viz.bmp");
    m_pBucket = Keyed("data\\sprites\\vodoron.bmp");
    m_pWateringCan = Keyed("data\\sprites\\locsolo.bmp");
    m_pWateringCanSelected = Keyed("data\\sprites\\locsolon.bmp");
    CLxSprite::Descriptor can{
        m_pGUI, m_pGUI->FindGroup("fo"), "sprite", kCanStart, kCanStart, {nullptr}, true, false};
    m_pCan = new CLxBMPSprite(&can);
    UseCanPictures(false);
    SelectGameButton(kGame);
    Restart();
}

CLxTGameScr5::~CLxTGameScr5() {
    for (int kind = 0; kind < 3; ++kind) {
        FreeSurface(&m_apRed[kind]);
        FreeSurface(&m_apBlue[kind]);
    }
    for (CLxSurface** picture :
         {&m_pBed, &m_pWater, &m_pBucket, &m_pWateringCan, &m_pWateringCanSelected})
        FreeSurface(picture);
}

RECT CLxTGameScr5::FlowerBox(int k, bool lower) {
    int top = lower ? kLowerBedY : kUpperBedY;
    int left = kBedLeft + kFlowerWidth * k;
    return RECT{left, top, left + kFlowerWidth, top + kFlowerHeight};
}

void CLxTGameScr5::UseCanPictures(bool watering) {
    CLxSurface* normal = watering ? m_pWateringCan : m_pBucket;
    CLxSurface* selected = watering ? m_pWateringCanSelected : m_pBucket;
    m_pCan->m_aPictures[4] = m_pCan->m_aPictures[5] = normal;
    m_pCan->m_aPictures[6] = m_pCan->m_aPictures[7] = selected;
}

void CLxTGameScr5::MoveCan(int x) {
    RECT before{}, after{};
    m_pCan->GetDrawRect(&before);
    m_pCan->MoveTo(x, kCanY);
    m_pCan->GetDrawRect(&after);
    RedrawMoved(before, after, RECT{0, 0, 660, 600});
}

void CLxTGameScr5::DrawBeds() {
    CLxSurface* background = m_pGUI->m_pBackground;
    if (!background || !m_pBed) return;
    for (int top : {kUpperBedY, kLowerBedY}) {
        RECT bed{kBedLeft, top, kBedLeft + kBedWidth, top + kFlowerHeight};
        BltSurface(background, &bed, m_pBed, nullptr, 0);
    }
}

void CLxTGameScr5::Restart() {
    m_nFlower = m_nBelow = m_nAbove = 0;
    m_nRows = 0;
    m_nCount = 1;
    m_nPhase = kFirstOne;
    m_fSum = g_Settings.aGame5Split[0];
    m_pGUI->ReloadBackground();
    DrawBeds();
    UseCanPictures(false);
    m_pCan->m_rcClip = kCanStart;
    m_pCan->MoveTo(kStageOneX, kCanY);
    Refresh();
}

void CLxTGameScr5::Refresh() {
    SetSliderValue("fo.ido", g_Settings.nGame5Time);
    CLxTGameScr::Refresh();
}

int CLxTGameScr5::OnMouseEvent(CLxMouseEvent* event) {
    CLxTGameScr::OnMouseEvent(event);
    if (!event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name == "fo.ido") g_Settings.nGame5Time = SliderValue("fo.ido", g_Settings.nGame5Time);
    if (name != "fo.sprite" || event->m_nType != kMouseClick) return 0;
    switch (m_nPhase) {
    case kCalibrateOne:
    case kCalibrateTwo:
        EndCalibration();
        break;
    case kBetweenOne:
    case kCountOne:
        Restart();
        StartCalibration(kCalibrateOne);
        break;
    case kFirstOne:
        StartCalibration(kCalibrateOne);
        break;
    default:
        StartCalibration(kCalibrateTwo);
        break;
    }
    return 0;
}

void CLxTGameScr5::StartCalibration(Phase phase) {
    m_nPhase = phase;
    m_nCount = 1;
    // The threshold being calibrated counts as the first sample, whatever an earlier
    // calibration or the other stage left in the sum.
    m_fSum = g_Settings.aGame5Split[phase];
    m_pCan->m_nFlags |= kSelected;
    MoveCan(kCalibrationX);
}

// Back to the stage the calibration came from, with the threshold it had or has now.
void CLxTGameScr5::EndCalibration() {
    bool one = m_nPhase == kCalibrateOne;
    m_nPhase = one ? kFirstOne : kFirstTwo;
    m_pCan->m_nFlags &= ~kSelected;
    MoveCan(one ? kStageOneX : kStageTwoX);
}

int CLxTGameScr5::OnTimerEvent(CLxTimerEvent* event) {
    int write = NewDriverStep(event);
    if (write >= 0) Step(write);
    return CLxTGameScr::OnTimerEvent(event);
}

void CLxTGameScr5::Calibrate(bool silent, float c) {
    if (!silent) {
        if (c > kVoiceFloor && std::isfinite(c)) {
            m_fSum += c;
            ++m_nCount;
        }
        return;
    }
    if (m_nCount < kCalibrationSteps) {
        m_nCount = 1;
        m_fSum = g_Settings.aGame5Split[m_nPhase];
        return;
    }
    g_Settings.aGame5Split[m_nPhase] = m_fSum / static_cast<float>(m_nCount);
    m_nBelow = m_nAbove = m_nFlower = 0;
    EndCalibration();
}

void CLxTGameScr5::Step(int i) {
    bool silent = g_Driver.aHistory[kRowSilence][i] != 0.0f;
    float c = g_Driver.aHistory[kRowPitch][i];
    if (m_nPhase == kCalibrateOne || m_nPhase == kCalibrateTwo) {
        Calibrate(silent, c);
        return;
    }
    if (m_nPhase == kBetweenOne || m_nPhase == kBetweenTwo) {
        // A new sound is counted once it has got going.
        if (silent) {
            m_nCount = 0;
        } else if (m_nCount++ > kWarmUpSteps) {
            m_nBelow = m_nAbove = 0;
            m_nPhase = m_nPhase == kBetweenOne ? kCountOne : kCountTwo;
        }
        return;
    }
    bool stageOne = m_nPhase == kFirstOne || m_nPhase == kCountOne;
    if (!silent) {
        if (c > kVoiceFloor && std::isfinite(c))
            ++(c <= g_Settings.aGame5Split[stageOne ? 0 : 1] ? m_nBelow : m_nAbove);
        return;
    }
    if (m_nBelow + m_nAbove <= g_Settings.nGame5Time) return;
    if (stageOne)
        Plant();
    else
        Water();
}

void CLxTGameScr5::DrawPicture(CLxSurface* picture, const RECT& box) {
    CLxSurface* background = m_pGUI->m_pBackground;
    if (picture && background) BltSurface(background, &box, picture, nullptr, 0);
    m_pGUI->DrawBackground(&box, nullptr, true);
}

void CLxTGameScr5::DrawFlower(int k, bool lower, bool blue, Kind kind) {
    DrawPicture((blue ? m_apBlue : m_apRed)[kind], FlowerBox(k, lower));
}

void CLxTGameScr5::Plant() {
    if (m_nPhase == kFirstOne) {
        m_pCan->m_nFlags &= ~kSelected;
        m_pCan->m_rcClip = kCanPath;
        m_nPhase = kCountOne;
    }
    bool lower = m_nBelow < m_nAbove;
    if (lower) m_nRows |= 1u << m_nFlower;
    DrawFlower(m_nFlower, lower, lower, kPlanted);
    if (m_nFlower == kFlowers - 1) {
        m_nFlower = m_nCount = m_nBelow = m_nAbove = 0;
        UseCanPictures(true);
        MoveCan(kStageTwoX);
        m_nPhase = kFirstTwo;
        return;
    }
    MoveCan(FlowerBox(m_nFlower, false).right);
    ++m_nFlower;
    m_nPhase = kBetweenOne;
}

void CLxTGameScr5::Water() {
    if (m_nPhase == kFirstTwo) {
        // The flowers of stage one stand again as they were planted.
        m_pGUI->ReloadBackground();
        DrawBeds();
        for (int k = 0; k < kFlowers; ++k) {
            bool lower = m_nRows >> k & 1;
            if (m_pGUI->m_pBackground && (lower ? m_apBlue : m_apRed)[kPlanted]) {
                RECT box = FlowerBox(k, lower);
                BltSurface(m_pGUI->m_pBackground, &box, (lower ? m_apBlue : m_apRed)[kPlanted],
                           nullptr, 0);
            }
        }
        m_pCan->m_rcClip = kCanPath;
        m_pCan->m_nFlags &= ~kSelected;
        m_pCan->MoveTo(kStageTwoX, kCanY);
        m_pGUI->DrawBackground(nullptr, nullptr, true);
        m_nPhase = kCountTwo;
    }
    int k = m_nFlower;
    bool lower = m_nRows >> k & 1;
    bool saidLower = m_nBelow < m_nAbove;
    if (saidLower == lower) {
        RECT box = FlowerBox(k, lower);
        RECT bed{box.left - kBedLeft, 0, box.right - kBedLeft, kFlowerHeight};
        if (m_pBed && m_pGUI->m_pBackground)
            BltSurface(m_pGUI->m_pBackground, &box, m_pBed, &bed, 0);
        DrawFlower(k, lower, lower, kFlowering);
    } else {
        DrawFlower(k, lower, lower, kWilted);
        DrawPicture(m_pWater, FlowerBox(k, !lower));
    }
    if (k == kFlowers - 1) {
        m_nFlower = m_nCount = m_nBelow = m_nAbove = 0;
        MoveCan(kStageTwoX);
        m_nPhase = kFirstTwo;
        return;
    }
    MoveCan(FlowerBox(k, false).left + kFlowerWidth - 24);
    ++m_nFlower;
    m_nPhase = kBetweenTwo;
}
