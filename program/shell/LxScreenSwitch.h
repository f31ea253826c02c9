// Which screen is active, and the screens kept alive beside it: a back stack of three
// under a pushed screen, the screen saved under the extended memory game, and the
// screens that were replaced. A replaced screen may still be running the handler that
// asked for the switch, so it is only deleted when the outermost call of the window
// procedure returns (DeleteReplacedScreens). The active screen is g_pActiveScreen; it
// is null while a new screen is being built, so events reach no half-made screen.
//
// A replaced screen's destructor may stop the recording it made (message 1084). By the
// time it runs, the screen that replaced it may have started a recording of its own;
// that one is not the old screen's to stop, so such messages are dropped.
#pragma once
#include "media/LxWin.h"

class CLxScreen;

using LxScreenFactory = CLxScreen* (*)(UINT msg, WPARAM wParam, LPARAM lParam);

constexpr int kBackStackSize = 3;
extern CLxScreen* g_aBackStack[kBackStackSize];
extern CLxScreen* g_pSavedScreen;

// The active screen is replaced by the one make builds.
void CreateScreen(LxScreenFactory make, UINT msg, WPARAM wParam, LPARAM lParam);
// The same, but the active screen is kept as the saved screen instead.
void CreateScreenSaving(LxScreenFactory make, UINT msg, WPARAM wParam, LPARAM lParam);
// The saved screen becomes active again; false (and nothing changes) without one.
bool RestoreSavedScreen();
// The active screen goes onto the back stack and the new one becomes active; a screen
// pushed off the stack's bottom is deleted with the replaced ones.
void PushScreen(LxScreenFactory make, UINT msg, WPARAM wParam, LPARAM lParam);
// The top of the back stack becomes active; with an empty stack no screen is active.
// The screen that becomes active, or null.
CLxScreen* PopScreen();

// Recording or play-back was started (1085, 1086).
void NoteSoundStarted();
// False while a replaced screen is being deleted and a recording or play-back has
// been started since it was replaced: its sound messages must not touch that one.
bool ReplacedScreenMayDriveSound();

// Deletes the replaced screens; the window procedure calls it when it is not nested.
void DeleteReplacedScreens();
// Deletes every screen (the window is going away).
void DeleteAllScreens();
