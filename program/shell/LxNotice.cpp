// The notice band; see LxNotice.h. It is drawn into the drawing surface, so it shows
// with the next present, and taken away by letting the active screen draw its
// background and controls over the band again.
#include "shell/LxNotice.h"

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "media/LxSurface.h"
#include "shell/LxClock.h"
#include "shell/LxProgram.h"
#include "ui/LxCGUI.h"
#include "ui/LxScreen.h"

namespace {

constexpr RECT kBand{0, 556, 800, 600};
constexpr uint32_t kBandColour = 0x8B1A1A;
constexpr uint32_t kTextColour = 0xFFFFFF;
constexpr int kShownMs = 6000;
constexpr const char* kFont = "data\\fonts\\tnr24.xml";

std::string g_text;
int g_until = 0;
bool g_shown = false;

void DrawBand() {
    if (!g_pDrawSurface) return;
    FillRectPixel(g_pDrawSurface, &kBand, ColorToPixel(g_pDrawSurface, kBandColour));
    CLxRLEFonts* font = ServedFont(kFont);
    if (!font) return;
    LxSurfaceDesc desc;
    if (g_pDrawSurface->Lock(nullptr, &desc) != 0) return;
    font->Attach(&desc);
    font->SetColors(kTextColour >> 16 & 0xFF, kTextColour >> 8 & 0xFF, kTextColour & 0xFF);
    font->DrawText(g_text.c_str(), kBand.left + 12,
                   (kBand.top + kBand.bottom - font->Height()) / 2);
    font->Attach(nullptr);
    g_pDrawSurface->Unlock();
}

} // namespace

void ShowNotice(const std::string& text) {
    g_text = text;
    g_until = LxClock() + kShownMs;
    g_shown = true;
    DrawBand();
}

void NoticeTick(int nowMs) {
    if (!g_shown || nowMs - g_until < 0) return;
    g_shown = false;
    CLxCGUI* gui = g_pActiveScreen ? g_pActiveScreen->GetGUI() : nullptr;
    if (gui) gui->DrawBackground(&kBand, nullptr, true);
}

bool NoticeShown() {
    return g_shown;
}

const std::string& NoticeText() {
    return g_text;
}
