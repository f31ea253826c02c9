// What the display factories (map, feature and hypothesis displays) read alike: the
// window and the title after it, and a colour; and how a new display goes into its
// window, stored there under its title so that the window lists it.
#pragma once
#include <cstdint>
#include <string>

#include "DisplayWindow.h"
#include "core/Obtained.h"

class Arguments;

struct DisplayTarget {
    Obtained<Window> window;
    std::string title;
};

// The Window at position at and the text of the Input after it; false, after reporting
// "<who>: <Nth> parameter must be ..." for the first that is missing, when either is.
bool ReadDisplayTarget(const Arguments& args, int at, const char* who, DisplayTarget* target);
// The colour (a Number) at a position; 0 when it is missing or outside 0 ... 2^32 - 1.
uint32_t ReadColour(const Arguments& args, int position);
// Stores the display in the target's window under the target's title.
void ShowInWindow(const DisplayTarget& target, Interface* display);
