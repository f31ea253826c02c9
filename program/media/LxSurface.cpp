// The surface wrapper and the bitmap helpers; see LxSurface.h. Paths are the program's
// Latin-2 paths, opened through the one path function (so "Data\Fonts" finds
// data/fonts). Lock clips its rectangle to the surface, so no caller gets a pointer
// outside the pixels.
#include "media/LxSurface.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/Path.h"
#include "media/LxBytes.h"
#include "media/LxFile.h"

CLxSurface* g_pDrawSurface = nullptr;
CLxSurface* g_pScreenSurface = nullptr;

namespace {
SDL_Rect ToSdl(const RECT& r) {
    return SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}
} // namespace

void CLxSurface::Create(int width, int height) {
    Free();
    MarkChanged();
    if (width <= 0 || height <= 0) return;
    m_pSurface = SDL_CreateRGBSurface(0, width, height, 32, 0xFF0000, 0xFF00, 0xFF, 0);
}

void CLxSurface::Attach(SDL_Surface* surface) {
    if (surface == m_pSurface) return;
    Free();
    MarkChanged();
    m_pSurface = surface;
}

void CLxSurface::Free() {
    if (m_pSurface) SDL_FreeSurface(m_pSurface);
    m_pSurface = nullptr;
}

int CLxSurface::Blt(const RECT* dst, CLxSurface* src, const RECT* srcRect, int, uint32_t fill) {
    if (!m_pSurface) return E_POINTER;
    MarkChanged();
    SDL_Rect to = dst ? ToSdl(*dst) : SDL_Rect{0, 0, m_pSurface->w, m_pSurface->h};
    if (!src) {
        SDL_FillRect(m_pSurface, &to, fill);
        return 0;
    }
    if (!src->m_pSurface) return 0;
    SDL_Rect from =
        srcRect ? ToSdl(*srcRect) : SDL_Rect{0, 0, src->m_pSurface->w, src->m_pSurface->h};
    SDL_UpperBlitScaled(src->m_pSurface, &from, m_pSurface, &to);
    return 0;
}

int CLxSurface::BltFast(int x, int y, CLxSurface* src, const RECT* srcRect, int) {
    if (!m_pSurface) return E_POINTER;
    if (!src || !src->m_pSurface) return 0;
    MarkChanged();
    SDL_Rect from =
        srcRect ? ToSdl(*srcRect) : SDL_Rect{0, 0, src->m_pSurface->w, src->m_pSurface->h};
    SDL_Rect to{x, y, from.w, from.h};
    SDL_UpperBlit(src->m_pSurface, &from, m_pSurface, &to);
    return 0;
}

int CLxSurface::Lock(const RECT* rect, LxSurfaceDesc* out, int, void*) {
    if (!m_pSurface) {
        SDL_Log("CLxSurface::Lock error m_pSurface null ptr\n");
        return -1;
    }
    RECT r = rect ? *rect : RECT{0, 0, m_pSurface->w, m_pSurface->h};
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, m_pSurface->w);
    r.bottom = std::min(r.bottom, m_pSurface->h);
    if (r.right <= r.left || r.bottom <= r.top) return -1;
    MarkChanged();
    const SDL_PixelFormat* format = m_pSurface->format;
    int bits = format->BitsPerPixel;
    if (bits == 16 && format->Gmask == 0x03E0) bits = 15;
    out->nHeight = r.bottom - r.top;
    out->nWidth = r.right - r.left;
    out->nPitch = m_pSurface->pitch;
    out->nBitsPerPixel = bits;
    out->pPixels = static_cast<uint8_t*>(m_pSurface->pixels) + r.top * m_pSurface->pitch +
                   r.left * format->BytesPerPixel;
    return 0;
}

void CLxSurface::SetColorKey(uint32_t key) {
    if (m_pSurface) SDL_SetColorKey(m_pSurface, SDL_TRUE, key);
}

void CLxSurface::GetBitmapInfo(BITMAPINFOHEADER* header) const {
    std::memset(header, 0, sizeof *header);
    header->biSize = sizeof *header;
    if (!m_pSurface) return;
    header->biWidth = m_pSurface->w;
    header->biHeight = -m_pSurface->h;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biSizeImage = static_cast<uint32_t>(m_pSurface->w * m_pSurface->h * 4);
}

HRESULT BltSurface(CLxSurface* dst, const RECT* dstRect, CLxSurface* src, const RECT* srcRect,
                   int flags) {
    HRESULT result = dst ? dst->Blt(dstRect, src, srcRect, flags, 0) : E_POINTER;
    if (result) std::printf("blt:%x\n", static_cast<unsigned>(result)), std::fflush(stdout);
    return result;
}

HRESULT BltSurfaceFast(CLxSurface* dst, int x, int y, CLxSurface* src, const RECT* srcRect,
                       int flags) {
    HRESULT result = dst ? dst->BltFast(x, y, src, srcRect, flags) : E_POINTER;
    if (result) std::printf("bltfast:%x\n", static_cast<unsigned>(result)), std::fflush(stdout);
    return result;
}

CLxSurface* CreateSurface(int width, int height) {
    auto* surface = new CLxSurface;
    surface->Create(width, height);
    return surface;
}

namespace {

// The largest picture side the program takes: its screens are 800 x 600.
constexpr int32_t kMaxPictureSide = 4096;

uint32_t ReadLe(const unsigned char* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// Whether the BMP header in file claims a size that the file and the program can hold,
// checked before anything is allocated for it: a 54-byte header can claim gigabytes.
bool PlausibleBitmap(FILE* file) {
    unsigned char h[34];
    struct stat info;
    if (std::fread(h, 1, sizeof h, file) != sizeof h || fstat(fileno(file), &info) != 0 ||
        h[0] != 'B' || h[1] != 'M')
        return false;
    std::rewind(file);
    if (ReadLe(h + 14, 4) < 40) return true; // the old 16-bit header cannot claim much
    auto width = static_cast<int32_t>(ReadLe(h + 18, 4));
    auto height = static_cast<int32_t>(ReadLe(h + 22, 4));
    if (height < 0 && height != INT32_MIN) height = -height;
    if (width <= 0 || width > kMaxPictureSide || height <= 0 || height > kMaxPictureSide)
        return false;
    uint32_t compression = ReadLe(h + 30, 4);
    if (compression != 0 && compression != 3) return true; // run lengths: no size to check
    int64_t row = (int64_t(width) * ReadLe(h + 28, 2) + 31) / 32 * 4;
    return int64_t(ReadLe(h + 10, 4)) + row * height <= int64_t(info.st_size);
}
} // namespace

CLxSurface* LoadBitmap(const char* path) {
    auto* surface = new CLxSurface;
    if (!path) return surface;
    std::string os = talvik::OsPath(path, true);
    FILE* file = talvik::OpenRegularFile(os, INT32_MAX);
    if (!file) {
        std::printf("File not found! %s (%s)\n", path, os.c_str());
        std::fflush(stdout);
        return surface;
    }
    if (PlausibleBitmap(file))
        surface->Attach(SDL_LoadBMP_RW(SDL_RWFromFP(file, SDL_TRUE), 1));
    else
        std::fclose(file);
    if (!surface->m_pSurface) {
        std::printf("Damaged or oversized picture! %s (%s)\n", path, os.c_str());
        std::fflush(stdout);
    }
    return surface;
}

HRESULT LoadBitmapInto(CLxSurface* surface, const char* path) {
    if (!surface || !surface->m_pSurface || !path) return E_FAIL;
    CLxSurface* picture = LoadBitmap(path);
    HRESULT result =
        picture->m_pSurface ? BltSurface(surface, nullptr, picture, nullptr, 0) : E_FAIL;
    delete picture;
    return result;
}

std::string MakeBitmapPath(const char* base, const char* name) {
    std::string path = talvik::FolderOf(base ? base : "");
    path += name ? name : "";
    if (path.find(".bmp") == std::string::npos && path.find(".BMP") == std::string::npos)
        path += ".bmp";
    return path;
}

bool ReadBitmapSize(const char* name, int* width, int* height) {
    *width = *height = 0;
    CLxFile file;
    if (!file.Open(MakeBitmapPath(nullptr, name).c_str())) return false;
    uint8_t headers[54];
    bool read = file.Read(headers, sizeof headers) == static_cast<int>(sizeof headers);
    file.Close();
    if (!read || headers[0] != 'B' || headers[1] != 'M') return false;
    *width = static_cast<int32_t>(LxRead32(headers + 18));
    *height = static_cast<int32_t>(LxRead32(headers + 22));
    return true;
}

bool GetSurfaceSize(CLxSurface* surface, int* width, int* height) {
    *width = *height = 0;
    LxSurfaceDesc desc;
    if (!surface || surface->Lock(nullptr, &desc) != 0) return false;
    *width = desc.nWidth;
    *height = desc.nHeight;
    return true;
}

bool SaveBitmap(CLxSurface* surface, const char* path) {
    if (!surface || !surface->m_pSurface || !path) return false;
    SDL_RWops* file = SDL_RWFromFile(talvik::OsPath(path, false).c_str(), "wb");
    return file && SDL_SaveBMP_RW(surface->m_pSurface, file, 1) == 0;
}

void FreeSurface(CLxSurface** surface) {
    if (!surface || !*surface) return;
    delete *surface;
    *surface = nullptr;
}
