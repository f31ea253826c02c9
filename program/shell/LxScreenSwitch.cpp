#include "shell/LxScreenSwitch.h"

#include <vector>

#include "shell/LxProgram.h"
#include "ui/LxScreen.h"

CLxScreen* g_aBackStack[kBackStackSize] = {};
CLxScreen* g_pSavedScreen = nullptr;

static std::vector<CLxScreen*> g_replaced;

static void Replace(CLxScreen* screen) {
    if (!screen) return;
    for (CLxScreen* s : g_replaced)
        if (s == screen) return;
    g_replaced.push_back(screen);
}

static void Build(LxScreenFactory make, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_pActiveScreen = nullptr;
    g_pActiveScreen = make ? make(msg, wParam, lParam) : nullptr;
}

void CreateScreen(LxScreenFactory make, UINT msg, WPARAM wParam, LPARAM lParam) {
    Replace(g_pActiveScreen);
    Build(make, msg, wParam, lParam);
}

void CreateScreenSaving(LxScreenFactory make, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_pSavedScreen && g_pSavedScreen != g_pActiveScreen) Replace(g_pSavedScreen);
    g_pSavedScreen = g_pActiveScreen;
    Build(make, msg, wParam, lParam);
}

bool RestoreSavedScreen() {
    if (!g_pSavedScreen) return false;
    Replace(g_pActiveScreen);
    g_pActiveScreen = g_pSavedScreen;
    g_pSavedScreen = nullptr;
    return true;
}

void PushScreen(LxScreenFactory make, UINT msg, WPARAM wParam, LPARAM lParam) {
    Replace(g_aBackStack[kBackStackSize - 1]);
    for (int i = kBackStackSize - 1; i > 0; --i)
        g_aBackStack[i] = g_aBackStack[i - 1];
    g_aBackStack[0] = g_pActiveScreen;
    Build(make, msg, wParam, lParam);
}

CLxScreen* PopScreen() {
    Replace(g_pActiveScreen);
    g_pActiveScreen = g_aBackStack[0];
    for (int i = 0; i < kBackStackSize - 1; ++i)
        g_aBackStack[i] = g_aBackStack[i + 1];
    g_aBackStack[kBackStackSize - 1] = nullptr;
    return g_pActiveScreen;
}

void DeleteReplacedScreens() {
    // A screen's destructor may send messages of its own; take the list first.
    while (!g_replaced.empty()) {
        std::vector<CLxScreen*> screens;
        screens.swap(g_replaced);
        for (CLxScreen* screen : screens)
            delete screen;
    }
}

void DeleteAllScreens() {
    for (CLxScreen*& screen : g_aBackStack) {
        Replace(screen);
        screen = nullptr;
    }
    if (g_pSavedScreen != g_pActiveScreen) Replace(g_pSavedScreen);
    g_pSavedScreen = nullptr;
    Replace(g_pActiveScreen);
    g_pActiveScreen = nullptr;
    DeleteReplacedScreens();
}
