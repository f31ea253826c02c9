// The colouring picture and its area map; see LxColoringButton.h. The surface is always
// a 32-bit one made by the program, so pixels are read straight from its rows.
#include "reading/LxColoringButton.h"

#include <cstdio>

#include "media/LxDraw.h"
#include "media/LxSurface.h"
#include "ui/LxCGUI.h"

namespace {
constexpr uint32_t kWhite = 0xFFFFFF, kRGB = 0xFFFFFF;

bool Inside(CLxSurface* area, POINT p) {
    return area && area->m_pSurface && p.x >= 0 && p.y >= 0 && p.x < area->m_pSurface->w &&
           p.y < area->m_pSurface->h;
}

// The segment whose remembered colour fills every non-black pixel of the cell.
uint8_t CellSegment(const LxSurfaceDesc& d, int cx, int cy, const std::vector<uint32_t>& filled) {
    uint32_t colour = 0;
    bool any = false;
    for (int y = cy * kColoringCell; y < (cy + 1) * kColoringCell && y < d.nHeight; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(d.pPixels + y * d.nPitch);
        for (int x = cx * kColoringCell; x < (cx + 1) * kColoringCell && x < d.nWidth; ++x) {
            uint32_t p = row[x] & kRGB;
            if (p == 0) continue;
            if (any && p != colour) return kNoSegment;
            colour = p;
            any = true;
        }
    }
    for (size_t k = 0; any && k < filled.size(); ++k)
        if (filled[k] == colour) return static_cast<uint8_t>(k);
    return kNoSegment;
}
// A seed must lie in a white area of the outline: one outside the surface, or on the
// outline (whose fill would spread over every line of the picture), is said and dropped.
void DropMisplacedSeeds(CLxSurface* area, std::vector<LxColoringSegment>* segments) {
    for (LxColoringSegment& segment : *segments) {
        std::vector<POINT> kept;
        for (POINT seed : segment.seeds) {
            if (Inside(area, seed) && GetPixel(area, seed.x, seed.y) == kWhite) {
                kept.push_back(seed);
                continue;
            }
            std::printf("Coloring: the seed (%d, %d) of '%c' is not in a white area.\n",
                        static_cast<int>(seed.x), static_cast<int>(seed.y), segment.letter);
            std::fflush(stdout);
        }
        segment.seeds = kept;
    }
}
} // namespace

void CompleteSegmentColours(LxColoringSegment* s, int given) {
    uint32_t* c = s->colours;
    if (given <= 1) c[1] = c[2] = kWhite - (c[0] & kRGB);
    if (given == 2) c[2] = c[1];
    if (given <= 3) c[3] = c[0];
}

std::vector<uint8_t> BuildColoringMap(CLxSurface* area, std::vector<LxColoringSegment>* segments) {
    std::vector<uint8_t> map(kColoringCells * kColoringCells, kNoSegment);
    if (!area || !area->m_pSurface || area->m_pSurface->format->BitsPerPixel != 32) {
        for (LxColoringSegment& segment : *segments)
            segment.seeds.clear();
        return map;
    }
    DropMisplacedSeeds(area, segments);
    // A segment's colour as the surface holds it; none (white) when no seed filled it.
    std::vector<uint32_t> filled(segments->size(), kWhite);
    for (size_t k = 0; k < segments->size(); ++k) {
        for (POINT seed : (*segments)[k].seeds) {
            FloodFill(area, seed.x, seed.y, (*segments)[k].colours[0], nullptr);
            filled[k] = GetPixel(area, seed.x, seed.y);
        }
    }
    LxSurfaceDesc d;
    if (area->Lock(nullptr, &d) == 0) {
        for (int cy = 0; cy < kColoringCells; ++cy)
            for (int cx = 0; cx < kColoringCells; ++cx)
                map[cy * kColoringCells + cx] = CellSegment(d, cx, cy, filled);
    }
    for (const LxColoringSegment& segment : *segments)
        for (POINT seed : segment.seeds)
            FloodFill(area, seed.x, seed.y, kWhite, nullptr);
    for (const LxColoringSegment& segment : *segments)
        for (POINT seed : segment.seeds)
            FloodFill(area, seed.x, seed.y, kUncoloured, nullptr);
    return map;
}

uint8_t ColoringSegmentAt(const std::vector<uint8_t>& map, int x, int y) {
    int cx = x / kColoringCell, cy = y / kColoringCell;
    if (x < 0 || y < 0 || cx >= kColoringCells || cy >= kColoringCells ||
        map.size() != static_cast<size_t>(kColoringCells * kColoringCells))
        return kNoSegment;
    return map[cy * kColoringCells + cx];
}

bool ColoringFinished(CLxSurface* area, const std::vector<LxColoringSegment>& segments) {
    for (const LxColoringSegment& segment : segments)
        for (POINT seed : segment.seeds)
            if (Inside(area, seed) && GetPixel(area, seed.x, seed.y) != (segment.colours[0] & kRGB))
                return false;
    return true;
}

CLxColoringButton::CLxColoringButton(const Descriptor* descriptor, CLxSurface* surface,
                                     CLxSurface* overlay)
    : CLxControl(descriptor, kPlainControl), m_pSurface(surface), m_pOverlay(overlay) {}

CLxColoringButton::~CLxColoringButton() {
    FreeSurface(&m_pSurface);
    FreeSurface(&m_pOverlay);
}

void CLxColoringButton::SetSurface(CLxSurface* surface) {
    if (surface == m_pSurface) return;
    FreeSurface(&m_pSurface);
    m_pSurface = surface;
}

void CLxColoringButton::Draw() {
    RECT at;
    if (!g_pDrawSurface || !(GetState() & kVisible) || !GetDrawRect(&at)) return;
    BltSurfaceFast(g_pDrawSurface, at.left, at.top, m_pSurface, nullptr, 0);
    if (m_pOverlay) BltSurfaceFast(g_pDrawSurface, at.left, at.top, m_pOverlay, nullptr, 0);
}

void CLxColoringButton::OnClick(CLxMouseEvent* event) {
    RECT at;
    if (!event || !Is(kEnabled) || !GetDrawRect(&at)) return;
    POINT p{event->m_nX - at.left, event->m_nY - at.top};
    if (!Inside(m_pSurface, p)) return;
    FloodFill(m_pSurface, p.x, p.y, m_nColour, nullptr);
    Draw();
}

void CLxColoringButton::OnMove(CLxMouseEvent* event) {
    if (m_pGUI) m_pGUI->Notify(event);
}
