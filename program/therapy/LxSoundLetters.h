// How the therapy screens light the practised letters from the recogniser's class
// scores at the driver's newest history column. A letter's place k in the therapy
// letter order is its history row and its task. A score counts when the level is loud
// enough and, with the "use minimum level" setting, when it reaches the letter's own
// level (its task value, in hundredths); a colour's top byte is its weight, 0 solid and
// 0xFF hidden.
#pragma once
#include <cstdint>

#include "media/LxWin.h"

constexpr int kNineLetters = 9;
// The letters' colours: red over the mirror, yellow over the dark page, and the yellow
// the nine letters' outlines fade to.
constexpr uint32_t kMirrorLetterColour = 0xFFF00000;
constexpr uint32_t kDarkLetterColour = 0xFFF0F000;
constexpr uint32_t kOutlineYellow = 0xFCF038;

// A task's level as a fraction (its value's low bits are hundredths).
float TaskLevel(int task);

// The slot boxes of the nine-letter layout, a V with a stem, 67 x 89 each.
RECT NineLetterBox(int slot);
// Fills slots 0 ... 8 with the letters at places 1 ... 9 of the order that were practised
// on the day (a blank for the others) and ends the overlay after them.
void FillNineLetters();
// Weighs the nine letters: a letter whose score f counts shows in its colour with weight
// (1 - f) x 239 and an outline blended f of the way from yellow to that colour; the
// others are hidden, their outline yellow.
void LightNineLetters();
// The day letter with the highest counting score (the first of equals) when the level is
// above fMinLevel x levelFactor, as aLetters[0] with slot 0's weight (1 - p) x scale;
// aLetters[0] = 0 when none counts. Places outside the order are never shown.
void LightBestDayLetter(float levelFactor, int scale);
