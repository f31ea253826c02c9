// The program's one clock: milliseconds on a monotonic clock since the first call.
// Timing of utterances, double clicks and animations reads it; tests replace it with a
// clock of their own so that time moves only when they say. Beside it the one date:
// every record that is dated (the therapy history, the therapy date) takes today from
// it, and tests replace it so that the day is the one they say.
#pragma once

int LxClock();
// Replaces the clock; null restores the monotonic one.
void LxSetClock(int (*clock)());

// Today's local date as yyyymmdd (20110307).
int LxToday();
// Replaces the date; null restores the system's local date.
void LxSetToday(int (*today)());
