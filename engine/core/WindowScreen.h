// Showing engine windows on a display. Only a host that owns no video system of its
// own asks for it (talvik sets TALVIK_SHOW_WINDOWS=1 before it loads the engine);
// inside a program with windows of its own the engine draws off-screen only. The
// screen has its own X11 connection and thread, loads Xlib when first needed and
// shows each window's canvas and member list; a click in the list selects or
// deselects a member and redraws the window under the engine lock. Without a display
// it says so once and windows go on drawing off-screen.
#pragma once
#include <memory>

class EngineWindow;
struct WindowView;

namespace WindowScreen {
// Shows a new window; returns its id, 0 when nothing is shown.
int Show(std::shared_ptr<WindowView> view, EngineWindow* window);
// Takes the window off the screen; after it returns the screen no longer reaches
// the window object. Nothing for id 0.
void Close(int id);
// Repaints the window from its view.
void Update(int id);
} // namespace WindowScreen
