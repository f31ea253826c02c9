#include "shell/LxMainWindow.h"

#include <string>

#include "core/TextCodec.h"
#include "media/LxCamera.h"
#include "media/LxSoundDevice.h"
#include "media/LxSurface.h"
#include "media/LxVideo.h"
#include "shell/LxAutopilot.h"
#include "shell/LxClock.h"
#include "shell/LxDriver.h"
#include "shell/LxProgram.h"
#include "shell/LxStartup.h"
#include "shell/LxWindowProc.h"
#include "shell/LxWindowRules.h"

SDL_Window* g_pWindow = nullptr;

static bool g_bQuit = false;
static int g_nQuitCode = 0;
static constexpr int kWindowTimerMs = 100;
static constexpr int kDriverFrameMs = 40;
// The drawing surface's change count when it was last shown, and whether the window
// needs the picture again whatever was drawn (it was uncovered or resized).
static unsigned g_nShownChanges = 0;
static bool g_bShowAgain = true;

bool CreateMainWindow() {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    g_pWindow = SDL_CreateWindow("Lexora", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 800,
                                 600, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    // A release outside the window must not arrive as a wrapped 16-bit position.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    return g_pWindow != nullptr;
}

void ShowMainWindow() {
    if (g_pWindow) SDL_ShowWindow(g_pWindow);
}

void HideMainWindow() {
    if (g_pWindow) SDL_HideWindow(g_pWindow);
}

void DestroyMainWindow() {
    if (!g_pWindow) return;
    SDL_DestroyWindow(g_pWindow);
    g_pWindow = nullptr;
}

void PostQuitMessage(int code) {
    g_bQuit = true;
    g_nQuitCode = code;
}

void GetClientSize(int* width, int* height) {
    *width = *height = 0;
    if (!g_pWindow || (SDL_GetWindowFlags(g_pWindow) & SDL_WINDOW_MINIMIZED)) return;
    SDL_GetWindowSize(g_pWindow, width, height);
}

// Presents only when something was drawn since the last present: an idle screen costs
// nothing on its timer.
void Render() {
    if (!g_bRenderEnabled) return;
    g_bRenderEnabled = 0;
    if (g_pDrawSurface && g_pScreenSurface && !g_bVideoRunning &&
        (g_bShowAgain || g_pDrawSurface->m_nChanges != g_nShownChanges)) {
        BltSurface(g_pScreenSurface, nullptr, g_pDrawSurface, nullptr, 0);
        if (g_pVideo) g_pVideo->Present(g_pScreenSurface, g_pWindow);
        g_nShownChanges = g_pDrawSurface->m_nChanges;
        g_bShowAgain = false;
    }
    g_bRenderEnabled = 1;
}

int VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return key;
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
    switch (key) {
    case SDLK_BACKSPACE:
        return 8;
    case SDLK_TAB:
        return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return 13;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return 17;
    case SDLK_ESCAPE:
        return 27;
    case SDLK_SPACE:
        return 32;
    case SDLK_PAGEUP:
        return 33;
    case SDLK_PAGEDOWN:
        return 34;
    case SDLK_END:
        return 35;
    case SDLK_HOME:
        return 36;
    case SDLK_LEFT:
        return 37;
    case SDLK_UP:
        return 38;
    case SDLK_RIGHT:
        return 39;
    case SDLK_DOWN:
        return 40;
    case SDLK_INSERT:
        return 45;
    case SDLK_DELETE:
        return 46;
    default:
        return 0;
    }
}

static LPARAM PackPoint(int x, int y) {
    x = x < 0 ? 0 : x > 0x7fff ? 0x7fff : x;
    y = y < 0 ? 0 : y > 0x7fff ? 0x7fff : y;
    return static_cast<LPARAM>(x | (y << 16));
}

static WPARAM MouseKeys(bool leftDown) {
    WPARAM keys = leftDown ? 1 : 0;
    if (SDL_GetModState() & KMOD_CTRL) keys |= 8;
    return keys;
}

// Keys that also type a character, as a keyboard's translation gives them.
static bool TypesCharacter(int vk) {
    return vk == 8 || vk == 9 || vk == 13 || vk == 27;
}

static void KeepWindowAspect(int width, int height) {
    RECT r{0, 0, width, height};
    KeepAspect(&r, kEdgeRight, 0, 0);
    if (r.bottom != height) SDL_SetWindowSize(g_pWindow, width, r.bottom);
}

void HandleEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
        WindowProc(kMsgClose, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) WindowProc(kMsgClose, 0, 0);
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            KeepWindowAspect(e.window.data1, e.window.data2);
            g_bShowAgain = true;
        }
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            g_bShowAgain = true;
            Render();
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int vk = VirtualKey(e.key.keysym.sym);
        if (!vk) break;
        bool down = e.type == SDL_KEYDOWN;
        LPARAM info = (e.key.keysym.scancode & 0xff) << 16 | 1;
        WindowProc(down ? kMsgKeyDown : kMsgKeyUp, vk, info);
        if (down && TypesCharacter(vk)) WindowProc(kMsgChar, vk, info);
        break;
    }
    case SDL_TEXTINPUT: {
        std::string text = talvik::Utf8ToLatin2(e.text.text);
        for (unsigned char c : text)
            WindowProc(kMsgChar, c, 1);
        break;
    }
    case SDL_MOUSEMOTION:
        WindowProc(kMsgMouseMove, MouseKeys(e.motion.state & SDL_BUTTON_LMASK),
                   PackPoint(e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT) break;
        WindowProc(e.type == SDL_MOUSEBUTTONDOWN ? kMsgLButtonDown : kMsgLButtonUp,
                   MouseKeys(e.type == SDL_MOUSEBUTTONDOWN), PackPoint(e.button.x, e.button.y));
        break;
    default:
        if (e.type == CameraFrameEvent()) DrawCameraFrame();
        break;
    }
}

int RunMessageLoop() {
    g_bQuit = false;
    SDL_StartTextInput();
    int nextTimer = LxClock() + kWindowTimerMs;
    int lastRender = LxClock();
    while (!g_bQuit) {
        int wait = nextTimer - LxClock();
        int autopilotWait = AutopilotPoll(LxClock());
        if (g_bQuit) break;
        if (autopilotWait >= 0 && autopilotWait < wait) wait = autopilotWait;
        int driverWait = DriverPoll(LxClock());
        if (driverWait >= 0) {
            // While the driver runs, what its ticks drew is shown at about 25 frames a second.
            if (LxClock() - lastRender >= kDriverFrameMs) {
                Render();
                lastRender = LxClock();
            }
            if (driverWait < wait) wait = driverWait;
        }
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, wait > 0 ? wait : 0)) {
            HandleEvent(e);
            while (!g_bQuit && SDL_PollEvent(&e))
                HandleEvent(e);
        }
        if (g_pPlayer) g_pPlayer->Idle();
        if (g_pCapture) g_pCapture->Idle();
        if (!g_bQuit && LxClock() >= nextTimer) {
            nextTimer += kWindowTimerMs;
            if (nextTimer <= LxClock()) nextTimer = LxClock() + kWindowTimerMs;
            WindowProc(kMsgTimer, 444, 0);
        }
    }
    return g_nQuitCode;
}
