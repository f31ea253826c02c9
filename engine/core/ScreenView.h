// What the engine's screen thread (WindowScreen.h) shows of an engine object and how
// the object answers the user there. A view holds only what it shares with its
// object (a canvas, texts) behind its own locks; the screen thread keeps the view
// alive while it paints, so a view must never reach its object once the object
// let go of it.
#pragma once
#include <string>

class X11Display;

class ScreenView {
  public:
    virtual ~ScreenView() = default;
    virtual std::string Title() = 0;
    // The size the X window should have now.
    virtual void Size(int* width, int* height) = 0;
    virtual void Paint(X11Display& display, unsigned long window) = 0;
    // A mouse click at (x, y) inside the window.
    virtual void Click(int x, int y) {}
    // A key: its X key symbol.
    virtual void Key(unsigned long symbol) {}
    // Whether the view's window is to be taken off the screen (a dialog that ended).
    virtual bool Ended() { return false; }
};
