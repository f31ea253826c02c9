// The program-wide state every screen reads, and the way screens talk to the main
// window: LxSendMessage hands a program message (1024 to 1088) to the window
// procedure and returns when it has been handled completely, on the window thread.
// Until the main window installs its procedure, messages go nowhere, so screens and
// the driver can be tested with a recorder of their own in its place.
#pragma once
#include "media/LxWin.h"

class CLxScreen;
class CBSoundBuffer;
class CLxTHistory;
class CLxCallPic;
class CLxSmallPic;

using LxMessageHandler = LRESULT (*)(UINT msg, WPARAM wParam, LPARAM lParam);

LRESULT LxSendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Installs the handler of program messages; null removes it.
void LxSetMessageHandler(LxMessageHandler handler);

constexpr int kRecordingSamples = 1323000; // 60 s at 22050 Hz
constexpr int kRecordingBytes = kRecordingSamples * 2;
constexpr int kCaptureRingSamples = 22050; // 1 s
constexpr int kCaptureRingBytes = kCaptureRingSamples * 2;

extern CBSoundBuffer* g_pRecording;
extern CBSoundBuffer* g_pCaptureRing;
extern CLxScreen* g_pActiveScreen;
extern CLxTHistory* g_pHistory;
extern CLxCallPic* g_pCallPics;
extern CLxSmallPic* g_pSmallPics;
extern int g_bRenderEnabled;
extern int g_bVideoMode;
extern int g_bVideoRunning;
extern int g_nDriverTimer; // 0 while the recognition driver does not run
extern int g_nOutFile;     // number of the next "out%03d.wav"
extern char g_szToday[16]; // "%04d.%02d.%02d"
