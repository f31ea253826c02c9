// Where engine windows would be shown on a display. Windows always draw into their
// off-screen canvas; this is the one place a screen backend (an X11 connection of the
// engine's own, for hosts that own no video system) plugs in. This build has none:
// nothing is shown, ids are 0 and the calls do nothing.
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
