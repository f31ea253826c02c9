// The program's one clock: milliseconds on a monotonic clock since the first call.
// Timing of utterances, double clicks and animations reads it; tests replace it with a
// clock of their own so that time moves only when they say.
#pragma once

int LxClock();
// Replaces the clock; null restores the monotonic one.
void LxSetClock(int (*clock)());
