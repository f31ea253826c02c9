// The drawing primitives; see LxDraw.h. Fills, outlines and lines go through an SDL
// software renderer made on the target surface for the call; the byte-level effects
// (shade, grey, flood fill) work on the pixels Lock describes, per depth: 32 and 24 bits
// byte by byte, 16 bits (5-6-5) and 15 bits (5-5-5) channel by channel.
#include "media/LxDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
SDL_Rect Whole(CLxSurface* s) {
    return SDL_Rect{0, 0, s->m_pSurface->w, s->m_pSurface->h};
}

SDL_Rect ToSdl(CLxSurface* s, const RECT* r) {
    return r ? SDL_Rect{r->left, r->top, r->right - r->left, r->bottom - r->top} : Whole(s);
}

bool Usable(CLxSurface* s) {
    return s && s->m_pSurface;
}

// Runs draw with a software renderer on the surface, its colour set.
template <class Draw>
void WithRenderer(CLxSurface* s, uint8_t r, uint8_t g, uint8_t b, uint8_t a, Draw draw) {
    if (!Usable(s)) return;
    s->MarkChanged();
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(s->m_pSurface);
    if (!renderer) return;
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    draw(renderer);
    SDL_DestroyRenderer(renderer);
}

void WithColorRef(CLxSurface* s, uint32_t c, void (*draw)(SDL_Renderer*, const void*),
                  const void* what) {
    WithRenderer(s, c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF, 0xFF,
                 [&](SDL_Renderer* renderer) { draw(renderer, what); });
}

// The table of the shade factor over n levels (256 for bytes, 32 or 64 for channels).
std::vector<int> ShadeTable(float f, int n) {
    std::vector<int> t(n);
    int top = n - 1;
    for (int i = 0; i < n; ++i)
        t[i] = f <= 1 ? static_cast<int>(static_cast<float>(i) * f) & top
                      : top - (static_cast<int>(static_cast<float>(top - i) / f) & top);
    return t;
}

uint16_t Load16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
void Store16(uint8_t* p, uint32_t v) {
    p[0] = v & 0xFF;
    p[1] = v >> 8 & 0xFF;
}

// Applies a per-pixel change over the locked rectangle.
template <class Change> void EachPixel(CLxSurface* s, const RECT* rect, Change change) {
    LxSurfaceDesc d;
    if (!Usable(s) || s->Lock(rect, &d) != 0) return;
    int bytes = (d.nBitsPerPixel + 7) / 8;
    for (int y = 0; y < d.nHeight; ++y)
        for (int x = 0; x < d.nWidth; ++x)
            change(d.pPixels + y * d.nPitch + x * bytes, d.nBitsPerPixel);
}

void Circle(CLxSurface* s, const RECT* rect, uint32_t value, bool filled) {
    if (!Usable(s) || !rect) return;
    int d = rect->right - rect->left;
    if (d != rect->bottom - rect->top) {
        FillRectColorRef(s, rect, value);
        return;
    }
    int r = d / 2, cx = rect->left + r, cy = rect->top + r;
    s->MarkChanged();
    auto run = [&](int x0, int x1, int y) {
        SDL_Rect line{x0, y, x1 - x0 + 1, 1};
        SDL_FillRect(s->m_pSurface, &line, value);
    };
    auto plot = [&](int x, int y) {
        if (filled) {
            run(cx - x, cx + x, cy + y);
            run(cx - x, cx + x, cy - y);
            run(cx - y, cx + y, cy + x);
            run(cx - y, cx + y, cy - x);
            return;
        }
        for (auto [px, py] :
             {std::pair{x, y}, {y, x}, {-x, y}, {-y, x}, {x, -y}, {y, -x}, {-x, -y}, {-y, -x}})
            run(cx + px, cx + px, cy + py);
    };
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        plot(x, y);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}
} // namespace

void FillRectColorRef(CLxSurface* s, const RECT* rect, uint32_t colorref) {
    if (!Usable(s)) return;
    SDL_Rect r = ToSdl(s, rect);
    WithColorRef(
        s, colorref,
        [](SDL_Renderer* renderer, const void* at) {
            SDL_RenderFillRect(renderer, static_cast<const SDL_Rect*>(at));
        },
        &r);
}

uint32_t ColorToPixel(CLxSurface* s, uint32_t rgb) {
    LxSurfaceDesc d;
    if (!Usable(s) || s->Lock(nullptr, &d) != 0) return 0;
    uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    switch (d.nBitsPerPixel) {
    case 15:
        return (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
    case 16:
        return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
    case 24:
    case 32:
        return rgb;
    default:
        return 0;
    }
}

uint32_t MixRGB(uint32_t a, uint32_t b, int num, int den) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int x = (a >> shift) & 0xff, y = (b >> shift) & 0xff;
        out |= static_cast<uint32_t>(x + (y - x) * num / den) << shift;
    }
    return out;
}

uint32_t GetPixel(CLxSurface* s, int x, int y) {
    RECT one{x, y, x + 1, y + 1};
    LxSurfaceDesc d;
    if (!Usable(s) || x < 0 || y < 0 || s->Lock(&one, &d) != 0) return 0;
    const uint8_t* p = d.pPixels;
    if (d.nBitsPerPixel == 24 || d.nBitsPerPixel == 32)
        return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
    uint32_t v = Load16(p);
    if (d.nBitsPerPixel == 16)
        return (v >> 11 & 0x1F) << 19 | (v >> 5 & 0x3F) << 10 | (v & 0x1F) << 3;
    if (d.nBitsPerPixel == 15)
        return (v >> 10 & 0x1F) << 19 | (v >> 5 & 0x1F) << 11 | (v & 0x1F) << 3;
    return 0;
}

void FillRectRGB(CLxSurface* s, const RECT* rect, uint32_t rgb) {
    if (!Usable(s)) return;
    SDL_Rect r = ToSdl(s, rect);
    WithRenderer(s, rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF, rgb >> 24 & 0xFF,
                 [&](SDL_Renderer* renderer) { SDL_RenderFillRect(renderer, &r); });
}

void FillRectPixel(CLxSurface* s, const RECT* rect, uint32_t pixel) {
    if (Usable(s)) s->Blt(rect, nullptr, nullptr, 0, pixel);
}

void FillRectColor(CLxSurface* s, const RECT* rect, uint32_t rgb) {
    FillRectPixel(s, rect, ColorToPixel(s, rgb));
}

void FrameRect(CLxSurface* s, const RECT* rect, uint32_t colorref) {
    if (!Usable(s)) return;
    SDL_Rect r = ToSdl(s, rect);
    WithColorRef(
        s, colorref,
        [](SDL_Renderer* renderer, const void* at) {
            SDL_RenderDrawRect(renderer, static_cast<const SDL_Rect*>(at));
        },
        &r);
}

void OutlineRectRGB(CLxSurface* s, const RECT* rect, uint32_t rgb) {
    if (!Usable(s) || !rect) return;
    const RECT& r = *rect;
    RECT sides[] = {{r.left, r.top, r.right, r.top + 1},
                    {r.left, r.bottom - 1, r.right, r.bottom},
                    {r.left, r.top, r.left + 1, r.bottom},
                    {r.right - 1, r.top, r.right, r.bottom}};
    for (const RECT& side : sides)
        FillRectColor(s, &side, rgb);
}

void DrawLine(CLxSurface* s, int x1, int y1, int x2, int y2, uint32_t colorref) {
    int ends[4] = {x1, y1, x2, y2};
    WithColorRef(
        s, colorref,
        [](SDL_Renderer* renderer, const void* at) {
            const int* e = static_cast<const int*>(at);
            SDL_RenderDrawLine(renderer, e[0], e[1], e[2], e[3]);
        },
        ends);
}

void DrawCircle(CLxSurface* s, const RECT* rect, uint32_t value) {
    Circle(s, rect, value, false);
}
void FillCircle(CLxSurface* s, const RECT* rect, uint32_t value) {
    Circle(s, rect, value, true);
}

void Shade(CLxSurface* s, const RECT* rect, float factor) {
    if (factor < 0) return;
    std::vector<int> bytes = ShadeTable(factor, 256), five = ShadeTable(factor, 32),
                     six = ShadeTable(factor, 64);
    EachPixel(s, rect, [&](uint8_t* p, int bits) {
        if (bits == 24 || bits == 32) {
            for (int i = 0; i < bits / 8; ++i)
                p[i] = static_cast<uint8_t>(bytes[p[i]]);
            return;
        }
        uint32_t v = Load16(p);
        if (bits == 16)
            Store16(p, five[v >> 11 & 0x1F] << 11 | six[v >> 5 & 0x3F] << 5 | five[v & 0x1F]);
        else if (bits == 15)
            Store16(p, five[v >> 10 & 0x1F] << 10 | five[v >> 5 & 0x1F] << 5 | five[v & 0x1F]);
    });
}

void Bevel(CLxSurface* s, const RECT* r, float inner, float light, float dark) {
    if (!Usable(s) || !r) return;
    if (inner != 0) {
        RECT inside{r->left + 1, r->top + 1, r->right - 1, r->bottom - 1};
        Shade(s, &inside, inner);
    }
    RECT top{r->left, r->top, r->right, r->top + 1};
    RECT left{r->left, r->top + 1, r->left + 1, r->bottom - 1};
    RECT bottom{r->left, r->bottom - 1, r->right, r->bottom};
    RECT right{r->right - 1, r->top + 1, r->right, r->bottom - 1};
    Shade(s, &top, light);
    Shade(s, &left, light);
    Shade(s, &bottom, dark);
    Shade(s, &right, dark);
}

void Greyscale(CLxSurface* s, const RECT* rect, float factor) {
    if (factor < 0) return;
    std::vector<int> table = ShadeTable(factor, 256);
    EachPixel(s, rect, [&](uint8_t* p, int bits) {
        if (bits == 24 || bits == 32) {
            auto g = static_cast<unsigned short>(
                static_cast<int>(p[1] * 0.33 + p[0] * 0.35 + p[2] * 0.32));
            p[0] = p[1] = p[2] = static_cast<uint8_t>(table[std::min<int>(g, 255)]);
            return;
        }
        if (bits != 15 && bits != 16) return;
        uint32_t v = Load16(p);
        bool wide = bits == 16;
        uint32_t red = wide ? v >> 11 & 0x1F : v >> 10 & 0x1F;
        uint32_t green = wide ? v >> 5 & 0x3F : v >> 5 & 0x1F;
        double grey = (red * 0.35 + green * (wide ? 0.165 : 0.33) + (v & 0x1F) * 0.32) * factor;
        auto level = static_cast<uint32_t>(std::clamp(grey, 0.0, 31.0));
        Store16(p, level * (wide ? 2113 : 1057));
    });
}

int FloodFill(CLxSurface* s, int x, int y, uint32_t rgb, POINT* centre) {
    if (centre) *centre = POINT{0, 0};
    LxSurfaceDesc d;
    if (!Usable(s) || s->Lock(nullptr, &d) != 0) return 0;
    if (x < 0 || y < 0 || x >= d.nWidth || y >= d.nHeight) return 0;
    int bytes = (d.nBitsPerPixel + 7) / 8;
    if (bytes < 2) return 0;
    bool wide = bytes >= 3;
    uint32_t fill = wide ? rgb & 0xFFFFFF : ColorToPixel(s, rgb);
    auto at = [&](int px, int py) { return d.pPixels + py * d.nPitch + px * bytes; };
    auto value = [&](int px, int py) -> uint32_t {
        const uint8_t* p = at(px, py);
        return wide ? static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16) : Load16(p);
    };
    auto paint = [&](int px, int py) {
        uint8_t* p = at(px, py);
        if (!wide) return Store16(p, fill);
        p[0] = fill & 0xFF;
        p[1] = fill >> 8 & 0xFF;
        p[2] = fill >> 16 & 0xFF;
    };
    uint32_t target = value(x, y);
    if (target == fill) return 0;
    long count = 0, sumX = 0, sumY = 0;
    std::vector<POINT> stack{{x, y}};
    while (!stack.empty()) {
        POINT seed = stack.back();
        stack.pop_back();
        if (value(seed.x, seed.y) != target) continue;
        int left = seed.x;
        while (left > 0 && value(left - 1, seed.y) == target)
            --left;
        bool above = false, below = false;
        for (int px = left; px < d.nWidth && value(px, seed.y) == target; ++px) {
            paint(px, seed.y);
            ++count;
            sumX += px;
            sumY += seed.y;
            for (auto [row, open] : {std::pair{seed.y - 1, &above}, {seed.y + 1, &below}}) {
                bool match = row >= 0 && row < d.nHeight && value(px, row) == target;
                if (match && !*open) stack.push_back(POINT{px, row});
                *open = match;
            }
        }
    }
    if (centre && count > 8)
        *centre = POINT{static_cast<int>(sumX / count), static_cast<int>(sumY / count)};
    return static_cast<int>(count);
}
