// The main window's small rules, kept apart from SDL so that they can be tested: the
// command-line options, the 4:3 shape kept while the window is resized, and the
// mapping of a client position to the 800 x 600 drawing surface.
#pragma once
#include "media/LxWin.h"

// The number after "key", optional blanks, "=" and optional blanks, which must end at a
// blank or the end of the line; any other form, or no key, gives def.
int GetOptionValue(const char* cmdLine, const char* key, int def);

// Window edges as the sizing message numbers them.
enum : int {
    kEdgeLeft = 1,
    kEdgeRight,
    kEdgeTop,
    kEdgeTopLeft,
    kEdgeTopRight,
    kEdgeBottom,
    kEdgeBottomLeft,
    kEdgeBottomRight
};
// Reshapes the proposed window rectangle so that its client area keeps 4:3. The frame
// is the part of the window outside the client area.
void KeepAspect(RECT* proposed, int edge, int frameWidth, int frameHeight);

// A client position on the drawing surface; false while the client area is empty.
bool ClientToSurface(int x, int y, int clientWidth, int clientHeight, int surfaceWidth,
                     int surfaceHeight, POINT* out);
