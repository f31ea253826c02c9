// Typing into the window that has the keyboard focus on the X display named by
// DISPLAY, with synthetic key events of the XTest extension. Xlib and XTest are
// loaded when first needed, so the engine has no build or load dependency on X.
#pragma once

// Types count bytes of Latin-2 text; returns nullptr, or why nothing was typed.
const char* TypeIntoFocusedWindow(const char* text, int count);
