// The recognition driver's block: what the driver measures on every tick and what the
// screens read back (histories of class scores, level, pitch and voicing, the
// utterance state, the overlay letters). One instance, g_Driver, cleared in one piece at
// start-up; screens choose the driver's mode by setting nState before they record.
#pragma once
#include "media/LxWin.h"

class Interface;
class CLxRLEFonts;

constexpr int kHistoryRows = 32;
constexpr int kHistoryMax = 2048;

// History rows: 1 to 19 smoothed class scores; the rest as named here.
constexpr int kRowVoicing = 28;
constexpr int kRowPitch = 29;
constexpr int kRowLevel = 30;
constexpr int kRowSilence = 31;

// nState: 0 levels only, 1 per-phoneme recognition, 2 waiting for voice, 3 inside an
// utterance, 4 utterance ended and not yet recognised, 5 recognised.
struct LxDriverBlock {
    Interface* pRoot;
    CLxRLEFonts* pOverlayFont;
    CLxRLEFonts* pOverlayFont2;
    unsigned char aScreenLetters[32];
    unsigned char aLetters[32];
    int aColors[32];
    int aColors2[32];
    RECT aRects[32];
    float aHistory[kHistoryRows][kHistoryMax];
    int nHistoryLen;
    int nWrite;
    int nState;
    int nPeriod;
    int nBestClass;
    int nBestClock;
    int nSmooth;
    float fMinLevel;
    float fMaxLevel;
};

extern LxDriverBlock g_Driver;
