// Cursor shapes; see LxCursor.h. The SDL cursor is made when the shape changes and the
// one it replaces is freed, so at most one SDL cursor of ours exists at a time.
#include "ui/LxCursor.h"

#include <SDL.h>

namespace {
const LxCursor g_arrow{IDC_ARROW};
const LxCursor g_sizeNS{IDC_SIZENS};
const LxCursor* g_pShown = &g_arrow;
SDL_Cursor* g_pSdlCursor = nullptr;

void ShowOnScreen(const LxCursor* cursor) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Cursor* made = SDL_CreateSystemCursor(cursor->id == IDC_SIZENS ? SDL_SYSTEM_CURSOR_SIZENS
                                                                       : SDL_SYSTEM_CURSOR_ARROW);
    if (!made) return; // the video driver has no cursors
    SDL_SetCursor(made);
    // SDL looks a cursor up in its own list before freeing it, so one left over from an
    // earlier video session is ignored safely.
    if (g_pSdlCursor) SDL_FreeCursor(g_pSdlCursor);
    g_pSdlCursor = made;
}
} // namespace

const LxCursor* LxLoadCursor(int id) {
    return id == IDC_SIZENS ? &g_sizeNS : &g_arrow;
}

const LxCursor* LxSetCursor(const LxCursor* cursor) {
    if (!cursor) cursor = &g_arrow;
    const LxCursor* before = g_pShown;
    if (cursor == before) return before;
    g_pShown = cursor;
    ShowOnScreen(cursor);
    return before;
}

const LxCursor* LxGetCursor() {
    return g_pShown;
}
