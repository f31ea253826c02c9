// Engine windows on the screen; see WindowScreen.h.
#include "core/WindowScreen.h"

namespace WindowScreen {
int Show(std::shared_ptr<WindowView>, EngineWindow*) {
    return 0;
}
void Close(int) {}
void Update(int) {}
} // namespace WindowScreen
