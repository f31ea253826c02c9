// Where engine windows are shown on a display. Engine windows always draw off-screen
// (a canvas, texts); hosts that own no video system ask, with TALVIK_WINDOWS=show,
// for them to be shown as X11 windows of the engine's own connection as well (the
// talvik host does; lexora does not). Where nothing is shown, ids are 0 and the calls
// do nothing.
#pragma once
#include <memory>

class ScreenView;

namespace WindowScreen {
// Shows a view; returns its id, 0 when nothing is shown.
int Show(std::shared_ptr<ScreenView> view);
// Takes the view off the screen; after it returns the screen no longer calls the
// view's Click or Key. Nothing for id 0.
void Close(int id);
// Repaints the view.
void Update(int id);
} // namespace WindowScreen
