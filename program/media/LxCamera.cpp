// The camera mirror control; see LxCamera.h.
#include "media/LxCamera.h"

#include <cstdio>

#include "media/LxSurface.h"
#include "shell/LxDriver.h"
#include "shell/LxMainWindow.h"
#include "shell/LxProgram.h"

CLxCamera* g_pCamera = nullptr;
int g_bMirror = 0;
std::atomic<int> g_nCameraFrames{0};

namespace {
enum : int {
    kArrowLeft = 37,
    kArrowUp = 38,
    kArrowRight = 39,
    kArrowDown = 40,
    kKeyPadPlus = 107,
    kKeyPadMinus = 109,
};

int Width(const RECT& r) {
    return r.right - r.left;
}

int Height(const RECT& r) {
    return r.bottom - r.top;
}
} // namespace

Uint32 CameraFrameEvent() {
    static const Uint32 type = SDL_RegisterEvents(1);
    return type;
}

void DrawCameraFrame() {
    if (g_pCamera) g_pCamera->DrawPendingFrame();
}

CLxCamera::CLxCamera(const Descriptor* descriptor) : CLxCamera(descriptor, MakeCameraSource()) {}

CLxCamera::CLxCamera(const Descriptor* descriptor, std::unique_ptr<ILxCameraSource> source)
    : CLxControl(descriptor, kPlainControl), m_source(std::move(source)) {
    delete g_pCamera;
    g_pCamera = this;
    CameraFrameEvent(); // registered here, on the window thread
    OpenSource();
}

CLxCamera::~CLxCamera() {
    if (g_pCamera == this) g_pCamera = nullptr;
    if (m_source) m_source->Stop();
}

// A source that cannot open leaves the camera inert, saying why on standard output.
void CLxCamera::OpenSource() {
    if (!m_source || !m_source->Open(&m_message)) {
        if (m_message.empty()) m_message = kNoCameraMessage;
        std::printf("%s\n", m_message.c_str());
        std::fflush(stdout);
        return;
    }
    m_nFrameWidth = m_source->Width();
    m_nFrameHeight = m_source->Height();
    m_bDeviceMirrors = m_source->SetMirror(g_bMirror != 0);
    m_nState = kStopped;
}

int CLxCamera::SetRunning(bool run) {
    if (m_nState == kNoDevice) return 0;
    if (run == (m_nState == kRunning)) return 1;
    if (!run) {
        m_source->Stop();
        m_nState = kStopped;
        return 1;
    }
    auto onFrame = [](bool wake) {
        ++g_nCameraFrames;
        if (!wake) return;
        SDL_Event e{};
        e.type = CameraFrameEvent();
        SDL_PushEvent(&e);
    };
    if (!m_source->Start(&m_slot, onFrame)) return 0;
    m_nState = kRunning;
    return 1;
}

void CLxCamera::SetSourceRect(int left, int top, int right, int bottom) {
    m_rcSource = RECT{left, top, right, bottom};
}

void CLxCamera::SetDisplayRect(int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    SetRect(&r);
    m_rcDisplay = RECT{left + OriginX(), top + OriginY(), right + OriginX(), bottom + OriginY()};
}

void CLxCamera::SetMirror(bool mirror) {
    g_bMirror = mirror ? 1 : 0;
    m_bDeviceMirrors = m_nState != kNoDevice && m_source->SetMirror(mirror);
}

bool CLxCamera::DrawPendingFrame() {
    if (!m_slot.Take(&m_frame)) return false;
    int w = m_frame.nWidth, h = m_frame.nHeight;
    if (w <= 0 || h <= 0 || !g_pDrawSurface) return false;
    if (m_frame.bBottomUp) FlipRows(m_frame.pixels.data(), w, h);
    if (g_bMirror && !m_bDeviceMirrors) MirrorRows(m_frame.pixels.data(), w, h);
    CLxSurface wrapper;
    wrapper.Attach(SDL_CreateRGBSurfaceWithFormatFrom(m_frame.pixels.data(), w, h, 32, w * 4,
                                                      SDL_PIXELFORMAT_RGB888));
    const RECT& target = g_bVideoMode ? kVideoArea : m_rcDisplay;
    g_pDrawSurface->Blt(&target, &wrapper, nullptr, 0, 0);
    DrawLetterOverlay(g_pDrawSurface);
    Render();
    return true;
}

// The source rectangle keys; the rectangle keeps inside the frame and, when resized,
// the display rectangle's proportions.
void CLxCamera::OnKeyUp(CLxKeyEvent* event) {
    if (!event) return;
    RECT& s = m_rcSource;
    int displayW = Width(m_rcDisplay), displayH = Height(m_rcDisplay);
    switch (event->m_nKey) {
    case kArrowLeft:
        if (s.left > 0) --s.left, --s.right;
        break;
    case kArrowUp:
        if (s.top > 0) --s.top, --s.bottom;
        break;
    case kArrowRight:
        if (s.right < m_nFrameWidth) ++s.left, ++s.right;
        break;
    case kArrowDown:
        if (s.bottom < m_nFrameHeight) ++s.top, ++s.bottom;
        break;
    case kKeyPadPlus:
        if (Width(s) > m_nFrameWidth / 2 && displayW > 0) {
            ++s.left, --s.right, ++s.top;
            s.bottom = s.top + Width(s) * displayH / displayW;
        }
        break;
    case kKeyPadMinus: {
        int wider = Width(s) + 2;
        int taller = displayW > 0 ? wider * displayH / displayW : 0;
        if (s.left > 0 && s.top > 0 && wider < m_nFrameWidth && taller < m_nFrameHeight) {
            --s.left, ++s.right, --s.top;
            s.bottom = s.top + taller;
        }
        break;
    }
    default:
        break;
    }
}
