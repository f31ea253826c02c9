// The therapy-games screen; see LxTGameScr.h.
#include "therapy/LxTGameScr.h"

#include <cstdio>
#include <cstring>

#include "core/Path.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"
#include "shell/LxChildren.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMainWindow.h"
#include "shell/LxProgram.h"
#include "shell/LxSettings.h"
#include "shell/LxTHistory.h"
#include "shell/LxUserRecords.h"
#include "therapy/LxTPanels.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxScrollBar.h"

namespace {
// The driver in the games: levels only, ticking fast, smoothed over four frames.
constexpr int kGameSmooth = 4;

// The recorder buttons, in the order SetRecorderButtons takes them.
const char* const kRecord = "fo.felvetel";
const char* const kStop = "fo.megallitas";
const char* const kPause = "fo.pillanatallj";
const char* const kPlay = "fo.lejatszas";

// The game number of a game button's name ("jobb.j3" is 3), else 0.
int GameButton(const char* name) {
    if (std::strncmp(name, "jobb.j", 6) != 0 || name[6] < '1' || name[6] > '6' || name[7]) return 0;
    return name[6] - '0';
}
} // namespace

CLxTGameScr::CLxTGameScr(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "TGameBase";
    SetLevelPlay();
    SetControlState("fo.fa", kVisible);
    SetControlFlag("fo.mentes", kEnabled, false);
    SetControlState(kRecord, 12);
    SetControlState(kStop, 14);
    SetControlState(kPause, 8);
    SetControlState(kPlay, 12);
    for (const char* name :
         {"fo.beallit", "fo.szobe", "fo.beolvasas", "fo.lassu", "fo.minta", "fo.hangmentes"})
        SetControlFlag(name, kEnabled, false);
    ShowUserHeader(-1);
    SetControlState("fo.szoveg", kVisible);
    SetControlFlag("fo.elokeszites", kSelected, true);
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

void CLxTGameScr::SetLevelPlay(int period) {
    SetDriverMode({kDriverLevels, period, kGameSmooth});
}

std::string CLxTGameScr::ExtraDescription(const char* path, int game) {
    return talvik::ReplaceExtension(path ? path : "", "_" + std::to_string(game) + ".xml");
}

int CLxTGameScr::OnKeyEvent(CLxKeyEvent*) {
    return 0;
}

void CLxTGameScr::Refresh() {
    SetLevelPlay();
    CLxScreen::Refresh();
}

void CLxTGameScr::ShowUserHeader(int) {
    char path[256];
    // A record that cannot be read must not leave the previous child's days in place:
    // they would show here and be saved into this child's page.
    if (!g_pHistory || !g_pHistory->Load(MakeUserPath(path, g_szUserName, -1))) {
        delete g_pHistory;
        g_pHistory = new CLxTHistory(g_szUserName);
    } else {
        LoadSettings(g_szUserName);
    }
    int date = 0;
    char letters[kHistoryLetters] = {};
    if (g_pHistory->GetEntry(g_pHistory->GetCount() - 1, &date, g_aTaskValues, letters)) {
        std::memcpy(g_Driver.aScreenLetters, letters, sizeof letters);
        std::snprintf(g_szTherapyDate, sizeof g_szTherapyDate, "%04d.%02d.%02d",
                      date / 10000 % 10000, date / 100 % 100, date % 100);
    }
    std::string name = CodesToText(g_szUserName);
    size_t blank = name.find_last_of(' ');
    if (blank == std::string::npos) {
        SetControlText("fo.vnev", name.c_str());
        SetControlText("fo.knev", "");
    } else {
        SetControlText("fo.vnev", name.substr(0, blank).c_str());
        SetControlText("fo.knev", name.substr(blank + 1).c_str());
    }
    DrawUserPicture(g_Settings.nIcon);
}

void CLxTGameScr::LayScene(const RECT& strip, const RECT& below, const char* picture,
                           const RECT& scene) {
    CLxSurface* background = m_pGUI->m_pBackground;
    if (!background) return;
    BltSurface(background, &below, background, &strip, 0);
    if (CLxSurface* loaded = LoadBitmap(picture)) {
        BltSurface(background, &scene, loaded, nullptr, 0);
        FreeSurface(&loaded);
    }
}

void CLxTGameScr::DrawUserPicture(int icon) {
    CLxControl* button = m_pGUI ? m_pGUI->FindControl("fo.bnev") : nullptr;
    CLxGroup* group = m_pGUI ? m_pGUI->FindGroup("fo") : nullptr;
    RECT r;
    if (!button || !group || !button->GetDrawRect(&r)) return;
    char path[64];
    std::snprintf(path, sizeof path, "data\\icons\\icon%02d.bmp", icon);
    CLxSurface* picture = LoadBitmap(path);
    if (!picture) return;
    OffsetRect(&r, -group->m_nX, -group->m_nY);
    // States 12 and 13 are the enabled pictures without and with the mouse over them.
    for (int slot : {4, 5})
        if (group->m_aPictures[slot]) BltSurface(group->m_aPictures[slot], &r, picture, nullptr, 0);
    FreeSurface(&picture);
}

void CLxTGameScr::SetRecorderButtons(int record, int stop, int pause, int play) {
    SetControlState(kRecord, record | kVisible);
    SetControlState(kStop, stop | kVisible);
    SetControlState(kPause, pause | kVisible);
    SetControlState(kPlay, play | kVisible);
}

void CLxTGameScr::ShowRecorderStopped() {
    SetRecorderButtons(4, 6, 0, 4);
}

void CLxTGameScr::SelectGameButton(int n) {
    for (int i = 1; i <= 6; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "jobb.j%d", i);
        SetControlState(name, i == n ? 14 : 12);
    }
    SetControlState("fo.szoveg", 0);
}

bool CLxTGameScr::IsSelected(const char* name) {
    int state = 0;
    return GetControlState(name, &state) && (state & kSelected);
}

int CLxTGameScr::SliderValue(const char* name, int fallback) {
    auto* bar = dynamic_cast<CLxScrollBar*>(m_pGUI ? m_pGUI->FindControl(name) : nullptr);
    return bar ? bar->m_nValue : fallback;
}

void CLxTGameScr::SetSliderValue(const char* name, int value) {
    if (auto* bar = dynamic_cast<CLxScrollBar*>(m_pGUI ? m_pGUI->FindControl(name) : nullptr))
        bar->SetValue(value);
}

int CLxTGameScr::NewDriverStep(const CLxTimerEvent* event) {
    if (event->m_nMessage == static_cast<int>(kMsgTimer) || g_Driver.nWrite == m_nLastWrite)
        return -1;
    m_nLastWrite = g_Driver.nWrite;
    return m_nLastWrite >= 0 && m_nLastWrite < kHistoryMax ? m_nLastWrite : -1;
}

void CLxTGameScr::RedrawMoved(const RECT& before, const RECT& after, const RECT& area) {
    RECT both, cut;
    UnionRect(&both, &before, &after);
    if (IntersectRect(&cut, &both, &area)) m_pGUI->DrawBackground(&cut, nullptr, true);
}

int CLxTGameScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (event->m_nType != kMouseClick || !event->m_pControl) return 0;
    Click(event->m_pControl->GetFullName().c_str());
    return 0;
}

void CLxTGameScr::Click(const char* name) {
    auto is = [name](const char* n) { return std::strcmp(name, n) == 0; };
    if (is("fo.bnev")) {
        LxSendMessage(kMsgUserSelection);
    } else if (is("fo.elokeszites")) {
        LxSendMessage(kMsgTherapyGames);
    } else if (is("fo.hangfejlesztes") || is("fo.rogzites") || is("fo.automatizalas")) {
        ShowRecorderStopped(); // the buttons follow the recorder this stops
        LxSendMessage(kMsgStop);
        LxSendMessage(is("fo.hangfejlesztes") ? kMsgSoundDevelopment
                      : is("fo.rogzites")     ? kMsgFixation
                                              : kMsgAutomation);
    } else if (is(kStop)) {
        ShowRecorderStopped();
        LxSendMessage(kMsgStop);
    } else if (is(kPlay)) {
        SetRecorderButtons(4, 4, 4, 6);
        LxSendMessage(kMsgPlayBack);
    } else if (is(kRecord)) {
        SetRecorderButtons(6, 4, 0, 4);
        LxSendMessage(kMsgRecord);
    } else if (is(kPause)) {
        bool paused = IsSelected(kPause);
        SetControlFlag(kPlay, 6, !paused);
        SetControlFlag(kRecord, kEnabled, !paused);
        SetControlFlag(kStop, kEnabled, !paused);
        LxSendMessage(kMsgPause);
    } else if (is("fo.hangbe")) {
        ShowRecorderStopped();
        LxSendMessage(kMsgStop);
        LxSendMessage(kMsgVoiceSetup);
    } else if (is("fo.kilepes")) {
        LxSendMessage(kMsgClose);
    } else if (is("jobb.vissza")) {
        LxSendMessage(kMsgMainScreen);
    } else if (is("fo.mentes")) {
        SaveDay();
    } else if (int game = GameButton(name)) {
        if (!IsSelected(name)) LxSendMessage(kMsgStop);
        LxSendMessage(kMsgTherapyGames + game);
    } else if (is("fo.sugo")) {
        ShowRecorderStopped();
        OpenHelpPage(m_szName);
    }
}

void CLxTGameScr::SaveDay() {
    SaveTherapyDay();
}

int CLxTGameScr::OnTimerEvent(CLxTimerEvent* event) {
    if (event->m_nMessage == static_cast<int>(kMsgStop)) ShowRecorderStopped();
    return 0;
}
