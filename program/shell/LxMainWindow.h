// The program's one window and its loop. SDL events become calls of the window
// procedure with the message numbers the screens know (keys 256 to 258, mouse 512 to
// 514, the 100 ms timer 275, closing 16); the loop also keeps the recognition driver's
// deadlines, so that everything a screen sees happens on this one thread.
#pragma once
#include <SDL.h>

#include "media/LxWin.h"
#include "shell/LxMessages.h"

constexpr UINT kMsgKeyDown = 256;
constexpr UINT kMsgKeyUp = 257;
constexpr UINT kMsgChar = 258;
constexpr UINT kMsgMouseMove = 512;
constexpr UINT kMsgLButtonDown = 513;
constexpr UINT kMsgLButtonUp = 514;

extern SDL_Window* g_pWindow;

// Opens the 800 x 600 window titled "Lexora", hidden until ShowMainWindow.
bool CreateMainWindow();
void ShowMainWindow();
void HideMainWindow();
void DestroyMainWindow();
// Runs until the window procedure asks to quit; the quit code.
int RunMessageLoop();
// Ends the loop after the current event (the window procedure's answer to destroy).
void PostQuitMessage(int code);
// Copies the drawing surface to the screen surface and presents it.
void Render();
// The client area's size; 0 x 0 while minimised.
void GetClientSize(int* width, int* height);

// The Windows key code of an SDL key, or 0 for keys the screens never see.
int VirtualKey(SDL_Keycode key);
// Turns one SDL event into calls of the window procedure (the autopilot's events too).
void HandleEvent(const SDL_Event& e);
