// The recognition driver: while a screen records or plays back, it ticks every
// g_Driver.nPeriod milliseconds on the window thread. A tick moves newly captured sound
// from the capture ring into the 60-second recording, feeds the newest 512 samples to
// the engine, reads back class scores, measures level, pitch and voicing, keeps their
// histories in g_Driver, finds the beginning and end of an utterance (states 2 to 5),
// has the engine recognise it, and gives the active screen its timer events.
//
// The main loop calls DriverPoll; the window procedure hands the sound messages 1084 to
// 1088 to DriverMessage. Screens are reached through the replaceable hooks below, so the
// driver knows nothing of the screen classes.
#pragma once
#include "media/LxWin.h"
#include "shell/LxMessages.h"

class CLxSurface;
class Interface;

// Frame ring columns besides the class scores (0 to 18 for classes 1 to 19).
constexpr int kRingPitch = 28;
constexpr int kRingLevel = 29;

// Driver data besides the block, program-wide. Positions are bytes.
extern unsigned char bBusy;            // a tick is running
extern unsigned char bRecognising;     // the whole-utterance recogniser is running
extern float aFrameRing[8][32];        // row = frame counter mod 8
extern float aPhonemeRing[8][16];      // normalised scores of the evaluator selection
extern int nFrame;                     // analysed ticks; never reset
extern unsigned char aLetterTable[24]; // letter codes of "bcCdfgGhjklLmnNprsStTvzZ"
extern int nCaptureRead;               // in the capture ring
extern int nRecordWrite;               // in the recording
extern int nRecorded;                  // length of the last recording
extern int nUtteranceBegin, nUtteranceBeginCopy, nUtteranceEnd;
extern int bDriverOff; // set by a screen to suspend the driver

// What the driver asks of the active screen; each hook is called only while
// g_pActiveScreen is set. The main window points them at the active screen.
struct LxDriverHooks {
    void (*pfnTimerEvent)(int timerId, int message) = nullptr; // its timer listener
    void (*pfnStopSounds)() = nullptr; // stops its click and asterisk sounds
    void (*pfnRedraw)() = nullptr;     // redraws its whole description
};
extern LxDriverHooks g_DriverHooks;

// Start-up: clears the block and the driver data, stores the engine root and sets the
// defaults (period 25 ms, levels 0.002 and 0.75, history 512, smoothing 4 frames), and
// fills aLetterTable.
void DriverInit(Interface* root);

// Handles 1084 to 1088 (1088 only stops: the caller saves the recording after it);
// false for any other message.
bool DriverMessage(UINT msg);

// The driver's periodic timer, kept by the main loop. Start gives g_nDriverTimer a new
// non-zero id and ticks with message (1085 or 1086) every nPeriod ms; Pause stops the
// ticks but keeps the id, so the window timer still leaves the screens alone; Stop also
// clears the id.
void DriverStartTimer(int message);
void DriverPauseTimer();
void DriverStopTimer();
bool DriverTimerRunning();
// What the recorder is doing: kMsgRecord or kMsgPlayBack (also while play-back is
// paused), or 0 when it stands still.
UINT DriverRecorderState();
// Runs the tick when its time has come; late ticks are not made up. The milliseconds
// until the next tick, or -1 while the timer does not run.
int DriverPoll(int nowMs);

// One tick; message is 1086 while recording, 1085 while playing back.
void DriverTick(int timerId, int message);
// Draws aLetters centred in aRects with the overlay fonts.
void DrawLetterOverlay(CLxSurface* surface);
