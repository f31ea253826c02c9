// The pushed screens' shared pieces; see LxTPanels.h.
#include "therapy/LxTPanels.h"

#include <cstdio>
#include <cstring>

#include "media/LxDraw.h"
#include "media/LxSurface.h"
#include "ui/LxCGUI.h"
#include "ui/LxScreen.h"
#include "ui/LxScrollBar.h"

namespace {
constexpr RECT kListFrame = {20, 168, 664, 592};
constexpr uint32_t kFrameColours[] = {0x90FCD8, 0x6CBDA2, 0x487E6C, 0x243F36};
} // namespace

void CopyHeader(CLxCGUI* gui, std::initializer_list<RECT> areas) {
    if (!gui || !gui->m_pBackground || !g_pDrawSurface) return;
    for (const RECT& r : areas)
        BltSurface(gui->m_pBackground, &r, g_pDrawSurface, &r, 0);
}

void DrawListFrame(CLxCGUI* gui) {
    if (!gui || !gui->m_pBackground) return;
    RECT r = kListFrame;
    for (uint32_t rgb : kFrameColours) {
        // FrameRect takes the colour as red in the low byte.
        uint32_t colorref = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
        FrameRect(gui->m_pBackground, &r, colorref);
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
}

const char* RowName(char* out, const char* format, int row) {
    std::snprintf(out, 32, format, row);
    return out;
}

CLxScrollBar* ListScrollBar(CLxScreen* screen) {
    CLxCGUI* gui = screen ? screen->GetGUI() : nullptr;
    return gui ? dynamic_cast<CLxScrollBar*>(gui->FindControl("fo.sb")) : nullptr;
}

int ListScroll(CLxScreen* screen) {
    CLxScrollBar* bar = ListScrollBar(screen);
    return bar ? bar->m_nValue : 0;
}

int RowOf(const char* name, const char* format) {
    const char* digits = std::strstr(format, "%02d");
    if (!digits || !name) return -1;
    size_t prefix = size_t(digits - format);
    if (std::strncmp(name, format, prefix) != 0) return -1;
    const char* d = name + prefix;
    if (d[0] < '0' || d[0] > '9' || d[1] < '0' || d[1] > '9' || d[2]) return -1;
    int row = (d[0] - '0') * 10 + (d[1] - '0');
    return row < kListRows ? row : -1;
}
