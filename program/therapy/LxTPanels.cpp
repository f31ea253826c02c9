// The pushed screens' shared pieces; see LxTPanels.h.
#include "therapy/LxTPanels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxFontServer.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxUserRecords.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxScreen.h"
#include "ui/LxScrollBar.h"
#include "ui/LxText.h"

namespace {
constexpr RECT kListFrame = {20, 168, 664, 592};
constexpr uint32_t kFrameColours[] = {0x90FCD8, 0x6CBDA2, 0x487E6C, 0x243F36};

// The overlay beside a list.
constexpr int kOverlayPeriod = 30, kOverlaySmooth = 4;
constexpr RECT kOverlayBox = {696, 340, 780, 440};
constexpr uint32_t kOverlayColour = 0xFF0000;
const char* const kOverlayFont = "data\\fonts\\tnr48.xml";

// Where the six play-button pictures go among group "fo"'s state pictures: normal,
// hot, selected, hot selected, disabled, disabled hot.
constexpr int kPlaySlots[6] = {4, 5, 6, 7, 0, 1};
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
    return gui ? dynamic_cast<CLxScrollBar*>(gui->FindControl(kListScrollBar)) : nullptr;
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

void DrawPlayButton(CLxCGUI* gui, const char* control, int widen) {
    CLxControl* c = gui ? gui->FindControl(control) : nullptr;
    CLxGroup* group = gui ? gui->FindGroup("fo") : nullptr;
    RECT r;
    if (!c || !group || !c->GetDrawRect(&r)) return;
    OffsetRect(&r, -group->m_nX, -group->m_nY);
    r.right += widen;
    if (group->m_aPictures[4] && group->m_aPictures[5])
        BltSurface(group->m_aPictures[5], &r, group->m_aPictures[4], &r, 0);
    for (int i = 0; i < 6; ++i) {
        char path[64];
        std::snprintf(path, sizeof path, "data\\buttons\\prs%d.bmp", i + 1);
        CLxSurface* picture = LoadBitmap(path);
        CLxSurface* target = group->m_aPictures[kPlaySlots[i]];
        if (picture && target) {
            picture->SetColorKey(ColorToPixel(picture, 0xFFFFFF));
            BltSurface(target, &r, picture, nullptr, 0);
        }
        FreeSurface(&picture);
    }
}

void StartLetterOverlay(CLxCGUI* gui) {
    LxOverlaySlot slot = {0, int(kOverlayColour), kOverlayBox};
    CLxRLEFonts* font = ServedFont(kOverlayFont);
    SetDriverMode({kDriverPhonemes, kOverlayPeriod, kOverlaySmooth, font, nullptr, &slot, 1});
    if (!gui || !gui->m_pBackground) return;
    RECT outline = {kOverlayBox.left - 1, kOverlayBox.top - 1, kOverlayBox.right + 1,
                    kOverlayBox.bottom + 1};
    FrameRect(gui->m_pBackground, &outline, 0);
}

void StepLetterOverlay(CLxCGUI* gui) {
    RECT& box = g_Driver.aRects[0];
    if (box.right <= box.left || box.bottom <= box.top) return;
    if (gui) gui->DrawBackground(&box, nullptr, true);
    g_Driver.aLetters[0] = 0;
    int at = g_Driver.nWrite % kHistoryMax;
    const unsigned char* order = TherapyOrder();
    if (g_Driver.aHistory[kRowLevel][at] <= g_Driver.fMinLevel / 15 || !order[0] || !order[1])
        return;
    float threshold = float(g_aTaskValues[0] & 0xFFFF) / 100, best = threshold;
    // Class rows 1 to 19 hold the scores of the letters at those places.
    for (int k = 1; k < kHistoryRows && k < 20 && order[k]; ++k) {
        float p = g_Driver.aHistory[k][at];
        if (p <= best) continue;
        best = p;
        g_Driver.aLetters[0] = order[k];
        int weight = std::clamp(int((1 - p) * 255), 0, 255);
        g_Driver.aColors[0] = int(uint32_t(weight) << 24 | kOverlayColour);
    }
}

std::string SamplePath(const char* word) {
    std::string name = SafeFileName(ToDoubledText(word));
    if (name.empty() || name == ".") return "";
    for (const char* root : {"save", "data"}) {
        std::string path = std::string(root) + "\\speech\\" + name + ".wav";
        if (CLxFile::Exists(path.c_str())) return path;
    }
    return "";
}

bool PlaySample(const char* word, bool load, bool start) {
    std::string path = SamplePath(word);
    if (path.empty()) return false;
    if (load) {
        LxSendMessage(kMsgStop);
        if (g_pRecording) nRecorded = int(ReadWave(g_pRecording, path.c_str(), -1, -1));
    }
    if (start) LxSendMessage(kMsgPlayBack);
    return true;
}

void OpenHelpPage(const char* name) {
    LxSendMessage(kMsgStop);
    LxSendMessage(kMsgHelp, 0, reinterpret_cast<LPARAM>(name));
}

void TrackPlaceholder(const CLxMouseEvent* event, const char* placeholder) {
    auto* field = event ? dynamic_cast<CLxText*>(event->m_pControl) : nullptr;
    if (!field) return;
    if (event->m_nType == kMouseEnter && std::strcmp(field->GetText(), placeholder) == 0)
        field->SetText("");
    if (event->m_nType == kMouseLeave && !field->GetText()[0]) field->SetText(placeholder);
}
