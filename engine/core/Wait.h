// Wait: a module that pauses its chain until the user presses Enter on the root's
// "term". It consumes the module it is made with, so a module folder runs it after
// that module; it produces nothing itself.
#pragma once
#include "core/ModuleBase.h"

class Wait : public ModuleBase {
  public:
    // Prompts on "term" and reads one line from it; returns at once without "term".
    int Process() override;
};
