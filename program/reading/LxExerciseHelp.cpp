// The games' help page and sound; see LxExerciseHelp.h.
#include "reading/LxExerciseHelp.h"

#include <string>

#include "media/LxDraw.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "shell/LxProgram.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxScreen.h"

namespace {
constexpr RECT kHelpArea{68, 22, 728, 142};
constexpr int kFrames = 2;
constexpr uint32_t kFrameColour = 0x000000;
} // namespace

void CLxExerciseHelp::Show(CLxScreen* screen, const char* button, const char* name) {
    screen->SetControlFlag(button, kSelected, true);
    std::string base = std::string("data\\help\\") + name;
    CLxSurface* picture = LoadBitmap((base + ".bmp").c_str());
    if (picture->m_pSurface && g_pDrawSurface) {
        g_pDrawSurface->Blt(&kHelpArea, picture, nullptr, 0, 0);
        for (int k = 1; k <= kFrames; ++k) {
            RECT frame{kHelpArea.left - k, kHelpArea.top - k, kHelpArea.right + k,
                       kHelpArea.bottom + k};
            OutlineRectRGB(g_pDrawSurface, &frame, kFrameColour);
        }
    }
    FreeSurface(&picture);
    ReleaseSound();
    if (!g_pSoundServer) return;
    m_pSound = g_pSoundServer->GetSound((base + ".wav").c_str(), -1, -1);
    if (m_pSound) PlaySound(m_pSound, false, true);
}

void CLxExerciseHelp::Hide(CLxScreen* screen, const char* button) {
    screen->SetControlFlag(button, kSelected | kHot, false);
    ReleaseSound();
    if (screen->GetGUI()) screen->GetGUI()->DrawBackground(nullptr, nullptr, true);
}

void CLxExerciseHelp::ReleaseSound() {
    if (!m_pSound) return;
    StopSound(m_pSound);
    if (g_pSoundServer) g_pSoundServer->ReleaseSound(m_pSound);
    m_pSound = nullptr;
}
