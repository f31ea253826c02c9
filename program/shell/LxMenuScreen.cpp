#include "shell/LxMenuScreen.h"

#include <cstdlib>

#include "shell/LxProgram.h"
#include "shell/LxScreenTable.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

CLxMenuScreen::CLxMenuScreen(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "Menu";
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

int CLxMenuScreen::OnKeyEvent(CLxKeyEvent*) { return 0; }

int CLxMenuScreen::OnTimerEvent(CLxTimerEvent*) { return 0; }

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
    if (*end || msg < 1024 || msg > 1088) return 0;
    return static_cast<int>(msg);
}

static CLxScreen* MainScreen(UINT, WPARAM, LPARAM) { return new CLxMenuScreen("data\\lexora.xml"); }

static CLxScreen* InfoScreen(UINT, WPARAM, LPARAM) { return new CLxMenuScreen("data\\info.xml"); }

void RegisterMenuScreens() {
    RegisterScreen(1024, LxSwitch::Create, MainScreen);
    RegisterScreen(1062, LxSwitch::Create, InfoScreen);
}
