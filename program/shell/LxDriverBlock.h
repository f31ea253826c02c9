// The recognition driver's block: what the driver measures on every tick and what the
// screens read back (histories of class scores, level, pitch and voicing, the
// utterance state, the overlay letters). One instance, g_Driver, cleared in one piece at
// start-up; screens choose the driver's mode with SetDriverMode before they record.
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

// nState. Screens choose the first three; the driver moves on from waiting for voice to
// inside an utterance, ended and recognised.
enum LxDriverState : int {
    kDriverLevels = 0,     // levels, pitch and voicing only
    kDriverPhonemes = 1,   // per-phoneme recognition, streaming
    kDriverWaiting = 2,    // waiting for voice
    kDriverUtterance = 3,  // inside an utterance
    kDriverEnded = 4,      // the utterance ended, not yet recognised
    kDriverRecognised = 5, // recognised (its letter in aLetters[0]); the overlay is hidden
};

constexpr int kOverlaySlots = 32;

struct LxDriverBlock {
    Interface* pRoot;
    CLxRLEFonts* pOverlayFont;
    CLxRLEFonts* pOverlayFont2;
    unsigned char aScreenLetters[32];
    unsigned char aLetters[kOverlaySlots];
    int aColors[kOverlaySlots];
    int aColors2[kOverlaySlots];
    RECT aRects[kOverlaySlots];
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

// One letter of the overlay: its code (0 shows nothing), its colour in the first font,
// the box it is centred in.
struct LxOverlaySlot {
    unsigned char letter;
    int colour;
    RECT box;
};

// What a screen wants of the driver while it listens: the state to start in, the period
// of the ticks, the smoothing window, the overlay's fonts and letters.
struct LxDriverMode {
    LxDriverState state;
    int period;                   // milliseconds between ticks
    int smooth;                   // frames
    CLxRLEFonts* font = nullptr;  // none: no overlay
    CLxRLEFonts* font2 = nullptr; // drawn over the first one, optional
    const LxOverlaySlot* slots = nullptr;
    int slotCount = 0;
};

// Puts the driver into a screen's mode: the state, period, smoothing and fonts, and the
// overlay slots from 0 with the letter after the last one cleared. The second font's
// colours are left as they are.
void SetDriverMode(const LxDriverMode& mode);
