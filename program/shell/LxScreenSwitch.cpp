#include "shell/LxScreenSwitch.h"

#include <vector>

#include "media/LxCamera.h"
#include "shell/LxProgram.h"
#include "ui/LxScreen.h"

CLxScreen* g_aBackStack[kBackStackSize] = {};
CLxScreen* g_pSavedScreen = nullptr;

namespace {
struct Replaced {
    CLxScreen* screen;
    int soundStarts; // g_nSoundStarts when it was replaced
};
std::vector<Replaced> g_replaced;
int g_nSoundStarts = 0;
int g_nDeletingStarts = -1; // soundStarts of the screen being deleted, -1 for none
} // namespace

static void Replace(CLxScreen* screen) {
    if (!screen) return;
    for (const Replaced& r : g_replaced)
        if (r.screen == screen) return;
    g_replaced.push_back(Replaced{screen, g_nSoundStarts});
}

void NoteSoundStarted() {
    ++g_nSoundStarts;
}

bool ReplacedScreenMayDriveSound() {
    return g_nDeletingStarts < 0 || g_nDeletingStarts == g_nSoundStarts;
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

// The screen pushed over keeps its camera, but the frames stop while it is covered.
void PushScreen(LxScreenFactory make, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_pCamera) g_pCamera->SetRunning(false);
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
        std::vector<Replaced> screens;
        screens.swap(g_replaced);
        for (const Replaced& r : screens) {
            int outer = g_nDeletingStarts;
            g_nDeletingStarts = r.soundStarts;
            delete r.screen;
            g_nDeletingStarts = outer;
        }
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
