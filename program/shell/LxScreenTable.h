// The program messages that switch screens, and how: each screen module registers the
// factories of its screens here at start-up, so the window procedure knows only the
// table. A message without a registered screen changes nothing.
#pragma once
#include "shell/LxScreenSwitch.h"

enum class LxSwitch {
    Create,       // the new screen replaces the active one
    CreateSaving, // the same, the active one kept as the saved screen
    Push,         // the active screen waits on the back stack
};

void RegisterScreen(UINT msg, LxSwitch how, LxScreenFactory make);
// The factory of a message and how it switches; false when none is registered.
bool FindScreen(UINT msg, LxSwitch* how, LxScreenFactory* make);
void ClearScreenTable();
