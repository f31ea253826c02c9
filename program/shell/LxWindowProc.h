// The window procedure: every event of the window and every program message
// (LxMessages.h) arrives here, on the window thread. Program messages switch screens and drive
// recording; a message sent while another is being handled is handled at once, nested.
#pragma once
#include "media/LxWin.h"

LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

// The number of the next screenshot, "srceenshoots\%08d.bmp" (F11).
extern int g_nScreenshot;

// Points the recognition driver's hooks at whichever screen is active.
void ConnectDriverToScreens();
