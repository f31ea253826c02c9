// The voice set-up; see LxVSetupScr.h.
#include "therapy/LxVSetupScr.h"

#include <algorithm>
#include <string>

#include "media/LxDraw.h"
#include "media/LxSurface.h"
#include "media/LxVolume.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "therapy/LxTPanels.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxScrollBar.h"

namespace {
// The driver while the microphone is tried: levels only, every 30 ms.
constexpr int kVoicePeriod = 30;
constexpr RECT kMeterRect = {80, 500, 580, 524};
// Meter colours (red in the high byte) and the border's colour references.
constexpr uint32_t kOrange = 0xFFA800, kGreen = 0x04A820, kRed = 0xFF0000, kBlack = 0;
constexpr uint32_t kLight = 0x999999, kDark = 0x333333;
constexpr int kSegment = 8; // the bar is split into segments this wide

const char* const kRecord = "fo.felvetel";
const char* const kStop = "fo.megallitas";
const char* const kPause = "fo.pillanatallj";
const char* const kPlay = "fo.lejatszas";
const char* const kVolume = "fo.hangero";

int Column(float level) {
    return std::clamp(int(level * CLxVSetupScr::kMeterWidth), 0, CLxVSetupScr::kMeterWidth);
}
} // namespace

CLxVSetupScr::CLxVSetupScr(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "VSetup";
    SetDriverMode({kDriverLevels, kVoicePeriod, g_Driver.nSmooth});
    SetRecorderButtons(4, 6, 0, 4);
    BindVolume();
    for (auto [name, level] :
         {std::pair{"fo.zaj", g_Driver.fMinLevel}, std::pair{"fo.erzekenyseg", g_Driver.fMaxLevel}})
        if (auto* bar = dynamic_cast<CLxScrollBar*>(m_pGUI ? m_pGUI->FindControl(name) : nullptr))
            bar->SetValue(int(level * 1000));
    m_pMeter = CreateSurface(kMeterWidth, kMeterHeight);
    CopyHeader(m_pGUI, {kHeaderTopShort});
    for (const char* name : {"fo.minta", "fo.lassu", "fo.hangmentes"})
        SetControlState(name, kVisible);
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
    DrawMeter();
}

CLxVSetupScr::~CLxVSetupScr() {
    if (m_pVolume) m_pVolume->SetCallback(nullptr, nullptr);
    delete m_pVolume;
    FreeSurface(&m_pMeter);
}

void CLxVSetupScr::BindVolume() {
    auto* slider = dynamic_cast<CLxScrollBar*>(m_pGUI ? m_pGUI->FindControl(kVolume) : nullptr);
    if (!slider) return;
    slider->m_nFlags &= ~kEnabled;
    m_pVolume = LxCreateMicrophoneVolume();
    if (!m_pVolume || !m_pVolume->HasVolumeControl()) return;
    int low = int(m_pVolume->GetMinVolume()), high = int(m_pVolume->GetMaxVolume());
    slider->SetRange(low, high);
    slider->m_nPage = high - low > 16 ? (high - low) / 16 : 2;
    slider->m_nTick = high - low > 16 ? (high - low) / 16 : 1;
    slider->SetValue(int(m_pVolume->GetVolume()));
    slider->m_nFlags |= kEnabled;
    m_pVolume->SetCallback(VolumeChanged, this);
}

void CLxVSetupScr::VolumeChanged(uint32_t volume, void* user) {
    auto* screen = static_cast<CLxVSetupScr*>(user);
    CLxControl* control = screen->m_pGUI ? screen->m_pGUI->FindControl(kVolume) : nullptr;
    if (auto* slider = dynamic_cast<CLxScrollBar*>(control)) {
        slider->SetValue(int(volume));
        slider->Draw();
    }
}

void CLxVSetupScr::SetRecorderButtons(int record, int stop, int pause, int play) {
    SetControlState(kRecord, record | kVisible);
    SetControlState(kStop, stop | kVisible);
    SetControlState(kPause, pause | kVisible);
    SetControlState(kPlay, play | kVisible);
}

void CLxVSetupScr::DrawMeter() {
    if (!m_pMeter) return;
    RECT all = {0, 0, kMeterWidth, kMeterHeight};
    CLxSurface* background = m_pGUI ? m_pGUI->m_pBackground : nullptr;
    if (background) BltSurface(m_pMeter, &all, background, &kMeterRect, 0);
    int level = Column(g_Driver.aHistory[kRowLevel][g_Driver.nWrite % kHistoryMax]);
    int noise = Column(g_Driver.fMinLevel), sensitive = Column(g_Driver.fMaxLevel);
    auto fill = [&](int from, int to, uint32_t rgb) {
        RECT r = {from, 1, to, kMeterHeight - 1};
        if (to > from) FillRectRGB(m_pMeter, &r, rgb);
    };
    fill(1, std::min(level, noise), kOrange);
    if (noise < level) fill(noise, std::min(level, sensitive), kGreen);
    if (noise < level && sensitive < level) fill(sensitive, std::min(level, kMeterWidth - 2), kRed);
    for (int x = kSegment - 1; x < level && x < kMeterWidth; x += kSegment) {
        RECT gap = {x, 1, x + 1, kMeterHeight - 1};
        RECT from = {kMeterRect.left + x, kMeterRect.top + 1, kMeterRect.left + x + 1,
                     kMeterRect.bottom - 1};
        if (background) BltSurface(m_pMeter, &gap, background, &from, 0);
    }
    for (int x : {noise, sensitive})
        DrawLine(m_pMeter, x, 1, x, kMeterHeight - 1, kBlack);
    DrawLine(m_pMeter, 0, 0, kMeterWidth - 1, 0, kLight);
    DrawLine(m_pMeter, 0, 0, 0, kMeterHeight - 1, kLight);
    DrawLine(m_pMeter, kMeterWidth - 1, 0, kMeterWidth - 1, kMeterHeight - 1, kDark);
    DrawLine(m_pMeter, 0, kMeterHeight - 1, kMeterWidth - 1, kMeterHeight - 1, kDark);
    if (g_pDrawSurface) BltSurface(g_pDrawSurface, &kMeterRect, m_pMeter, &all, 0);
}

int CLxVSetupScr::OnKeyEvent(CLxKeyEvent*) {
    return 0;
}

int CLxVSetupScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (auto* bar = dynamic_cast<CLxScrollBar*>(event->m_pControl)) {
        if (name == kVolume && m_pVolume && m_pVolume->HasVolumeControl())
            m_pVolume->SetVolume(uint32_t(std::max(bar->m_nValue, 0)));
        if (name == "fo.zaj") g_Driver.fMinLevel = bar->m_nValue / 1000.0f;
        if (name == "fo.erzekenyseg") g_Driver.fMaxLevel = bar->m_nValue / 1000.0f;
        DrawMeter();
        return 0;
    }
    if (event->m_nType != kMouseClick) return 0;
    if (name == "al.vissza") {
        LxSendMessage(kMsgVoiceSetupDone);
    } else if (name == kStop) {
        SetRecorderButtons(4, 6, 0, 4);
        LxSendMessage(kMsgStop);
    } else if (name == kPlay) {
        SetRecorderButtons(0, 4, 4, 6);
        LxSendMessage(kMsgPlayBack);
    } else if (name == kRecord) {
        SetRecorderButtons(6, 4, 0, 0);
        LxSendMessage(kMsgRecord);
    } else if (name == kPause) {
        LxSendMessage(kMsgPause);
    } else if (name == "help.sugo") {
        SetRecorderButtons(4, 6, 0, 4);
        OpenHelpPage(m_szName);
    }
    return 0;
}

int CLxVSetupScr::OnTimerEvent(CLxTimerEvent* event) {
    if (!event) return 0;
    if (event->m_nMessage == int(kMsgStop))
        SetRecorderButtons(4, 6, 0, 4);
    else if (event->m_nMessage != int(kMsgTimer))
        DrawMeter();
    return 0;
}
