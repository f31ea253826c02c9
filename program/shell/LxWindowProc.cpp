// The window procedure; see LxWindowProc.h. Screens are replaced through
// LxScreenSwitch, and those replaced are deleted when the outermost call returns, so a
// handler that asks for a switch never runs on a deleted screen.
#include "shell/LxWindowProc.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "media/LxFile.h"
#include "media/LxSurface.h"
#include "media/LxVolume.h"
#include "shell/LxClock.h"
#include "shell/LxDriver.h"
#include "shell/LxMainWindow.h"
#include "shell/LxMessages.h"
#include "shell/LxNotice.h"
#include "shell/LxProgram.h"
#include "shell/LxRecordingSave.h"
#include "shell/LxScreenTable.h"
#include "shell/LxWindowRules.h"
#include "ui/LxCGUI.h"
#include "ui/LxScreen.h"

int g_nScreenshot = 0;

static int g_nDepth = 0;

enum : int { kKeyF5 = 116, kKeyF11 = 122, kKeyF12 = 123 };

static CLxCGUI* ActiveGUI() {
    return g_pActiveScreen ? g_pActiveScreen->GetGUI() : nullptr;
}

// Screenshots go where the program writes, numbered on from the last one there, so that
// a new run never overwrites the pictures of an earlier one.
static void TakeScreenshot() {
    std::string path;
    struct stat info;
    do {
        char name[64];
        std::snprintf(name, sizeof name, "srceenshoots\\%08d.bmp", g_nScreenshot);
        ++g_nScreenshot;
        path = CLxFile::RecordPath(name, false);
    } while (lstat(path.c_str(), &info) == 0);
    if (g_pScreenSurface && g_pScreenSurface->m_pSurface)
        SDL_SaveBMP(g_pScreenSurface->m_pSurface, path.c_str());
}

static void KeyUp(WPARAM key) {
    if (key == kKeyF5 && g_pActiveScreen) {
        std::printf("%s:\n", g_pActiveScreen->GetName() ? g_pActiveScreen->GetName() : "");
        if (CLxCGUI* gui = ActiveGUI()) gui->DumpControls();
    } else if (key == kKeyF11) {
        TakeScreenshot();
    } else if (key == kKeyF12) {
        WindowProc(kMsgClose, 0, 0);
    }
}

static void Mouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    CLxCGUI* gui = ActiveGUI();
    if (!gui) return;
    int width = 0, height = 0;
    GetClientSize(&width, &height);
    POINT p;
    if (!ClientToSurface(static_cast<int>(lParam & 0xffff),
                         static_cast<int>((lParam >> 16) & 0xffff), width, height, 800, 600, &p))
        return;
    gui->DispatchMouse(msg, wParam, p.x | (p.y << 16));
    if (!g_bVideoRunning) Render();
}

static void ScreenTimerEvent(int timerId, int message);

static void WindowTimer() {
    if (!g_pActiveScreen || g_bVideoRunning) return;
    if (g_nDriverTimer == 0) ScreenTimerEvent(0, kMsgTimer);
    LxPollVolume();
    NoticeTick(LxClock());
    Render();
}

// A screen that comes back from under a pushed one draws itself again.
static void Returned(CLxScreen* screen) {
    if (screen) screen->Refresh();
}

static void SwitchScreens(UINT msg, WPARAM wParam, LPARAM lParam) {
    LxRoute route = RouteMessage(msg, wParam);
    switch (route.how) {
    case LxSwitch::None:
        return;
    case LxSwitch::Create:
        CreateScreen(route.make, route.msg, wParam, lParam);
        return;
    case LxSwitch::CreateSaving:
        CreateScreenSaving(route.make, route.msg, wParam, lParam);
        return;
    case LxSwitch::PushOver:
        if (!g_pActiveScreen) return;
        PushScreen(route.make, route.msg, wParam, lParam);
        return;
    case LxSwitch::Push:
        PushScreen(route.make, route.msg, wParam, lParam);
        return;
    case LxSwitch::Pop:
        if (CLxScreen* back = PopScreen()) {
            Returned(back);
            back->OnAnswer(msg, wParam);
        }
        return;
    case LxSwitch::RestoreSaved:
        if (RestoreSavedScreen()) Returned(g_pActiveScreen);
        return;
    }
}

static void ProgramMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= kMsgStop) {
        if (!ReplacedScreenMayDriveSound()) return;
        if (msg == kMsgRecord || msg == kMsgPlayBack) NoteSoundStarted();
        DriverMessage(msg);
        if (msg == kMsgStopAndSave) SaveRecording(reinterpret_cast<const char*>(lParam), nRecorded);
        return;
    }
    SwitchScreens(msg, wParam, lParam);
    Render();
}

// The driver calls screens from the main loop, outside the window procedure: the
// screen's handler nests like any other, so a switch it asks for waits for its return.
static void ScreenTimerEvent(int timerId, int message) {
    CLxTimerEvent event(timerId, message, LxClock());
    ++g_nDepth;
    static_cast<ILxTimerListener*>(g_pActiveScreen)->OnTimerEvent(&event);
    if (--g_nDepth == 0) DeleteReplacedScreens();
}

static void ScreenStopSounds() {
    if (CLxCGUI* gui = ActiveGUI()) gui->StopSounds();
}

static void ScreenRedraw() {
    if (CLxCGUI* gui = ActiveGUI()) gui->DrawBackground(nullptr, nullptr, true);
}

void ConnectDriverToScreens() {
    g_DriverHooks.pfnTimerEvent = ScreenTimerEvent;
    g_DriverHooks.pfnStopSounds = ScreenStopSounds;
    g_DriverHooks.pfnRedraw = ScreenRedraw;
}

static LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kMsgDestroy:
        DeleteAllScreens();
        PostQuitMessage(0);
        return 0;
    case kMsgClose:
        WindowProc(kMsgStop, 0, 0);
        HideMainWindow();
        WindowProc(kMsgDestroy, 0, 0);
        return 0;
    case kMsgKeyDown:
        if (CLxCGUI* gui = ActiveGUI()) gui->DispatchKey(msg, wParam, lParam);
        return 0;
    case kMsgKeyUp:
        KeyUp(wParam);
        return 0;
    case kMsgChar:
        if (CLxCGUI* gui = ActiveGUI()) gui->DispatchKey(msg, wParam, lParam);
        if (!g_bVideoRunning) Render();
        return 0;
    case kMsgTimer:
        WindowTimer();
        return 0;
    case kMsgMouseMove:
    case kMsgLButtonDown:
    case kMsgLButtonUp:
        Mouse(msg, wParam, lParam);
        return 0;
    default:
        if (msg >= kFirstProgramMessage && msg <= kLastProgramMessage)
            ProgramMessage(msg, wParam, lParam);
        return 0;
    }
}

LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    ++g_nDepth;
    LRESULT result = Handle(msg, wParam, lParam);
    if (--g_nDepth == 0) DeleteReplacedScreens();
    return result;
}
