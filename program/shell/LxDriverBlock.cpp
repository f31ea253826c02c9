// The driver block and the one call that sets a screen's mode in it; see LxDriverBlock.h.
#include "shell/LxDriverBlock.h"

#include <algorithm>

LxDriverBlock g_Driver = {};

void SetDriverMode(const LxDriverMode& mode) {
    g_Driver.nState = mode.state;
    g_Driver.nPeriod = mode.period;
    g_Driver.nSmooth = mode.smooth;
    g_Driver.pOverlayFont = mode.font;
    g_Driver.pOverlayFont2 = mode.font2;
    int count = std::clamp(mode.slotCount, 0, kOverlaySlots);
    for (int i = 0; i < count; ++i) {
        g_Driver.aLetters[i] = mode.slots[i].letter;
        g_Driver.aColors[i] = mode.slots[i].colour;
        g_Driver.aRects[i] = mode.slots[i].box;
    }
    if (count < kOverlaySlots) g_Driver.aLetters[count] = 0;
}
