// How each program message switches screens. The rule of every message is fixed here:
// create (the new screen replaces the active one), create keeping the active one as the
// saved screen, push (the active one waits on the back stack), push only over a screen,
// pop back, or bring the saved screen back; two messages also look at the reading
// course first. Screen modules register only the factories of their screens at
// start-up, so neither they nor the window procedure know the rules. A message whose
// rule needs a factory that nobody registered changes nothing.
#pragma once
#include "shell/LxScreenSwitch.h"

enum class LxSwitch {
    None,         // no program meaning, or no screen registered for it
    Create,       // the new screen replaces the active one
    CreateSaving, // the same, the active one kept as the saved screen
    Push,         // the active screen waits on the back stack
    PushOver,     // a push, but only when a screen is active
    Pop,          // the top of the back stack comes back
    RestoreSaved, // the saved screen comes back
};

// What a message does: how it switches, and for a new screen the factory that builds
// it and the message the factory is given.
struct LxRoute {
    LxSwitch how = LxSwitch::None;
    LxScreenFactory make = nullptr;
    UINT msg = 0;
};

// The factory of the screen a message builds; messages outside 1024 to 1088 are ignored.
void RegisterScreen(UINT msg, LxScreenFactory make);
void ClearScreenTable();

// The route of a message as things stand. Routing kMsgReadingLetter makes its letter
// (wParam) the current one with no lesson; kMsgReadingExtraGame routes nowhere
// without a current lesson that has an extra game.
LxRoute RouteMessage(UINT msg, WPARAM wParam);
