// The program's pictures: CLxSurface wraps one SDL software surface and offers the
// operations of an older blit interface (scaled blit or colour fill, fast blit, lock,
// colour key); free helpers blit, load and save bitmaps. The drawing primitives are in
// LxDraw.h. Program surfaces are 32 bits per pixel with pixel values 0x00RRGGBB (SDL's
// RGB888); surfaces loaded from bitmap files keep the file's format.
//
// Rectangles are RECTs (right and bottom exclusive); a null rectangle is the whole
// surface. A null or empty surface is an error for every operation. Every operation
// that may write pixels (including Lock, whose caller may) counts a change.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>

#include "media/LxWin.h"

// What Lock reports: the rows, the pixels per row, the bytes from one row to the next,
// the depth (15, 16, 24 or 32) and the first pixel of the locked rectangle.
struct LxSurfaceDesc {
    int nSize = 0;  // set by the caller; ignored
    int nFlags = 0; // set by the caller; ignored
    int nHeight = 0;
    int nWidth = 0;
    int nPitch = 0;
    int nBitsPerPixel = 0;
    uint8_t* pPixels = nullptr;
};

class CLxSurface {
  public:
    CLxSurface() = default;
    CLxSurface(const CLxSurface&) = delete;
    CLxSurface& operator=(const CLxSurface&) = delete;
    virtual ~CLxSurface() { Free(); }

    // A new 32-bit surface; stays empty when SDL fails.
    void Create(int width, int height);
    // Takes ownership of an SDL surface.
    void Attach(SDL_Surface* surface);
    void Free();

    // Copies the source rectangle of src scaled into dst of this surface, with the
    // source's colour key if it has one. With no src, fills dst with fillPixel.
    int Blt(const RECT* dst, CLxSurface* src, const RECT* srcRect, int flags, uint32_t fillPixel);
    // Copies the source rectangle of src unscaled to (x, y); no src draws nothing.
    int BltFast(int x, int y, CLxSurface* src, const RECT* srcRect, int flags);
    // Describes the pixels of rect (clipped to the surface; null is the whole surface):
    // 0, or -1 for an empty wrapper or a rectangle outside the surface. Nothing is locked.
    int Lock(const RECT* rect, LxSurfaceDesc* out, int flags = 0, void* event = nullptr);
    int Unlock() { return 0; }
    void SetColorKey(uint32_t key);
    // The header of the surface as a top-down 32-bit bitmap.
    void GetBitmapInfo(BITMAPINFOHEADER* header) const;
    // Notes that the pixels may have changed; every blit, fill and lock does.
    void MarkChanged() { ++m_nChanges; }

    SDL_Surface* m_pSurface = nullptr;
    // How many times the pixels may have changed, so that a presenter can tell whether
    // anything was drawn since it last showed the surface.
    unsigned m_nChanges = 0;
};

extern CLxSurface* g_pDrawSurface;
extern CLxSurface* g_pScreenSurface;

HRESULT BltSurface(CLxSurface* dst, const RECT* dstRect, CLxSurface* src, const RECT* srcRect,
                   int flags);
HRESULT BltSurfaceFast(CLxSurface* dst, int x, int y, CLxSurface* src, const RECT* srcRect,
                       int flags);
CLxSurface* CreateSurface(int width, int height);
// Loads a Windows bitmap file (a Latin-2 program path); an empty wrapper when it fails.
CLxSurface* LoadBitmap(const char* path);
HRESULT LoadBitmapInto(CLxSurface* surface, const char* path);
// The base's folder (through its last backslash) and the name, with ".bmp" appended
// unless the result has ".bmp" or ".BMP" already.
std::string MakeBitmapPath(const char* base, const char* name);
// The size a bitmap data file declares (read through the data files, so it may lie in
// an archive); false and (0, 0) when it cannot be read.
bool ReadBitmapSize(const char* name, int* width, int* height);
bool GetSurfaceSize(CLxSurface* surface, int* width, int* height);
bool SaveBitmap(CLxSurface* surface, const char* path);
void FreeSurface(CLxSurface** surface);
