// The extended memory game, opened from the reading screen: the description's "size"
// gives the board (columns, rows; 4 x 4 by default) and its "pictures" up to 256 names,
// of which as many pairs as the board holds are chosen at random and shuffled. The back
// is one of "<folder>\memory0.bmp" to "memory9.bmp", chosen at random among those that
// exist. Its answer brings back the screen it was opened from.
#pragma once
#include "reading/LxMemoryScr.h"

class CLxMemoryExtScr : public CLxMemoryScr {
  public:
    CLxMemoryExtScr(const char* descriptionPath, UINT answer)
        : CLxMemoryScr(descriptionPath, answer, true) {}
};
