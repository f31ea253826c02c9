// The video output: makes the 800 x 600 program surfaces and presents a surface in the
// program window, stretched over the window's whole client area.
#pragma once
#include <SDL.h>

#include "media/LxSurface.h"

// The 800 x 600 program surfaces and their presentation in the program window.
class CLxVideo {
  public:
    // No title: no window of its own (the program's window is made elsewhere).
    CLxVideo(const char* title, int x, int y, int width, int height);
    virtual ~CLxVideo();

    CLxSurface* CreateSurface();
    // Shows the whole surface stretched over the whole window.
    void Present(CLxSurface* surface, SDL_Window* window);
    // A mouse position in the window's client area in surface coordinates.
    POINT MapPoint(CLxSurface* surface, SDL_Window* window, POINT client);

    SDL_Window* m_pWindow = nullptr;
    SDL_Renderer* m_pRenderer = nullptr;
    int nWidth, nHeight;
    int nDesktopBits = 32;
};
