// The program's start-up and shut-down, apart from the window: the program data
// (roots, letters, catalogues, course, sentences), sound (devices, the 60-second
// recording buffer and the 1-second capture ring) and video (the two 800 x 600
// surfaces). Each step that fails leaves its pointers null and the program goes on
// without that piece, as the screens expect.
#pragma once

class CLxVideo;
extern CLxVideo* g_pVideo;

// Runs the engine's start-up lines and reads the program's data; cmdLine gives the
// sound options pdrv, pdev, cdrv and cdev.
void InitApplication(const char* cmdLine);
void ReleaseApplication();

bool InitAudio();
void ReleaseAudio();
bool InitVideo();
void ReleaseVideo();

extern int g_nPlayerDriver, g_nPlayerDevice, g_nCaptureDriver, g_nCaptureDevice;
