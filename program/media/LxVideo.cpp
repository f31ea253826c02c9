// The video output; see LxVideo.h. Presenting blits the surface scaled into the
// window's own surface and updates it; a window with no client area shows nothing.
//
// SDL backs a window surface with a GPU texture when it can, but where no GPU is
// there its OpenGL renderer runs in software (Mesa's rasteriser: about 90 MB and
// several times the CPU of plain X11 shared-memory images). The first present chooses
// before SDL makes the window's framebuffer: accelerated only where a GPU would draw.
#include "media/LxVideo.h"

#include <SDL_syswm.h>
#include <dirent.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// A DRM render node, the device through which programs draw on a GPU.
bool HasRenderNode() {
    DIR* dir = opendir("/dev/dri");
    if (!dir) return false;
    bool found = false;
    while (dirent* entry = readdir(dir))
        found = found || std::strncmp(entry->d_name, "renderD", 7) == 0;
    closedir(dir);
    return found;
}

// Whether the X server of the window offers direct rendering (DRI3 or DRI2); Xvfb
// offers neither, so OpenGL there is rasterised in software. Other systems: true.
bool ServerRendersDirectly(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!x11) return true;
    using QueryExtension = int (*)(Display*, const char*, int*, int*, int*);
    auto query = reinterpret_cast<QueryExtension>(dlsym(x11, "XQueryExtension"));
    int opcode = 0, event = 0, error = 0;
    bool direct = !query || query(info.info.x11.display, "DRI3", &opcode, &event, &error) ||
                  query(info.info.x11.display, "DRI2", &opcode, &event, &error);
    dlclose(x11);
    return direct;
}

void ChooseWindowFramebuffer(SDL_Window* window) {
    static bool chosen = false;
    if (chosen) return;
    chosen = true;
    if (!HasRenderNode() || !ServerRendersDirectly(window))
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}
} // namespace

CLxVideo::CLxVideo(const char*, int, int, int width, int height) : nWidth(width), nHeight(height) {
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0)
        nDesktopBits = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
}

CLxVideo::~CLxVideo() {
    if (m_pRenderer) SDL_DestroyRenderer(m_pRenderer);
    if (m_pWindow) SDL_DestroyWindow(m_pWindow);
}

CLxSurface* CLxVideo::CreateSurface() {
    return ::CreateSurface(nWidth, nHeight);
}

void CLxVideo::Present(CLxSurface* surface, SDL_Window* window) {
    if (!surface || !surface->m_pSurface || !window) return;
    ChooseWindowFramebuffer(window);
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target || target->w <= 0 || target->h <= 0) return;
    SDL_Rect whole{0, 0, target->w, target->h};
    SDL_BlitScaled(surface->m_pSurface, nullptr, target, &whole);
    SDL_UpdateWindowSurface(window);
    // For the start-up benchmark (bench/footprint): end once a frame reached the shown window.
    if (std::getenv("LEXORA_EXIT_AT_FIRST_FRAME") &&
        (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN)) {
        std::fputs("lexora: first frame presented\n", stderr);
        std::_Exit(0);
    }
}

POINT CLxVideo::MapPoint(CLxSurface* surface, SDL_Window* window, POINT client) {
    if (!surface || !surface->m_pSurface || !window) return client;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    if (w <= 0 || h <= 0) return client;
    return POINT{client.x * surface->m_pSurface->w / w, client.y * surface->m_pSurface->h / h};
}
