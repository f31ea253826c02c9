#include "shell/LxMenuScreen.h"

#include <cstdlib>

#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxScreenTable.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxTimeDiagramm.h"

CLxMenuScreen::CLxMenuScreen(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "Menu";
    if (!m_pGUI) return;
    m_pLevel = dynamic_cast<CLxTimeDiagramm*>(m_pGUI->FindControl("fo.szint"));
    if (m_pLevel) m_pLevel->SetData(g_Driver.aHistory[kRowLevel], g_Driver.nHistoryLen);
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

int CLxMenuScreen::OnKeyEvent(CLxKeyEvent*) {
    return 0;
}

int CLxMenuScreen::OnTimerEvent(CLxTimerEvent* event) {
    if (!m_pLevel || (event->m_nMessage != kMsgRecord && event->m_nMessage != kMsgPlayBack))
        return 0;
    m_pLevel->SetData(g_Driver.aHistory[kRowLevel], g_Driver.nHistoryLen);
    m_pLevel->DrawColumn(g_Driver.nWrite);
    return 0;
}

int CLxMenuScreen::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (event->m_nType != kMouseClick || !event->m_pControl) return 0;
    if (int msg = MenuMessage(event->m_pControl->m_szName)) LxSendMessage(msg, 0, 0);
    return 0;
}

int MenuMessage(const char* name) {
    if (!name || name[0] != 'm' || name[1] < '1' || name[1] > '9') return 0;
    char* end = nullptr;
    long msg = strtol(name + 1, &end, 10);
    if (*end || msg < static_cast<long>(kFirstProgramMessage) ||
        msg > static_cast<long>(kLastProgramMessage))
        return 0;
    return static_cast<int>(msg);
}

static CLxScreen* MainScreen(UINT, WPARAM, LPARAM) {
    return new CLxMenuScreen(kMainScreenDescription);
}

static CLxScreen* InfoScreen(UINT, WPARAM, LPARAM) {
    return new CLxMenuScreen("data\\info.xml");
}

void RegisterMenuScreens() {
    RegisterScreen(kMsgMainScreen, MainScreen);
    RegisterScreen(kMsgInfoScreen, InfoScreen);
}
