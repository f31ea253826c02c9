// The video output; see LxVideo.h. Presenting blits the surface scaled into the
// window's own surface and updates it; a window with no client area shows nothing.
#include "media/LxVideo.h"

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
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target || target->w <= 0 || target->h <= 0) return;
    SDL_Rect whole{0, 0, target->w, target->h};
    SDL_BlitScaled(surface->m_pSurface, nullptr, target, &whole);
    SDL_UpdateWindowSurface(window);
}

POINT CLxVideo::MapPoint(CLxSurface* surface, SDL_Window* window, POINT client) {
    if (!surface || !surface->m_pSurface || !window) return client;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    if (w <= 0 || h <= 0) return client;
    return POINT{client.x * surface->m_pSurface->w / w, client.y * surface->m_pSurface->h / h};
}
