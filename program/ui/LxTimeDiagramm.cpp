// The time diagram; see LxTimeDiagramm.h. Everything is painted through Paint, limited
// to a range of pixel columns, so a whole drawing and the repainting of one column give
// the same pixels. While the camera video runs nothing is blitted under the diagram and
// its colours carry an alpha byte for the renderer.
#include "ui/LxTimeDiagramm.h"

#include <algorithm>
#include <cstdlib>

#include "media/LxDraw.h"
#include "shell/LxProgram.h"
#include "ui/LxCGUI.h"
#include "ui/LxCursor.h"

namespace {
struct Colours {
    uint32_t bar, over, grid, threshold;
};
constexpr Colours kPlain{0x00C000, 0xC00000, 0x808080, 0x902090};
constexpr Colours kOverVideo{0x4000B000, 0x40B00000, 0x40B0B0B0, 0x40C0C000};
constexpr uint32_t kPositionLine = 0xC00000;
constexpr uint32_t kBlack = 0;
// How close to the threshold line (in pixels, either side) the drag may start.
constexpr int kReach = 4;

const Colours& Palette() {
    return g_bVideoRunning ? kOverVideo : kPlain;
}

// Fills x0..x1, y0..y1 (exclusive). Over the video, one-pixel columns are lines and wider
// areas renderer fills with the colour's alpha byte; otherwise the plain colour fill.
void Fill(int x0, int y0, int x1, int y1, uint32_t rgb) {
    if (x1 <= x0 || y1 <= y0) return;
    if (!g_bVideoRunning) {
        RECT r{x0, y0, x1, y1};
        FillRectColor(g_pDrawSurface, &r, rgb & 0xFFFFFF);
    } else if (x1 - x0 == 1) {
        uint32_t ref = (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
        DrawLine(g_pDrawSurface, x0, y0, x0, y1 - 1, ref);
    } else {
        RECT r{x0, y0, x1, y1};
        FillRectRGB(g_pDrawSurface, &r, rgb);
    }
}

// share * length / kFull without overflow.
int Scale(int length, int share) {
    return static_cast<int>(static_cast<long long>(length) * share / CLxTimeDiagramm::kFull);
}

// The row of a level line at height up from the bottom, kept inside the rectangle.
int LineRow(const RECT& r, int up) {
    return std::max(r.top, std::min(r.bottom - up, r.bottom - 1));
}
} // namespace

CLxTimeDiagramm::CLxTimeDiagramm(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader,
                                 const char* tag)
    : CLxControl(gui, group, reader, tag, kTimeDiagramm), m_pArrow(LxLoadCursor(IDC_ARROW)),
      m_pSizeNS(LxLoadCursor(IDC_SIZENS)) {}

bool CLxTimeDiagramm::Layout(RECT* r) {
    if (!GetDrawRect(r)) return false;
    m_nWidth = r->right - r->left;
    return m_nWidth > 0 && r->bottom > r->top;
}

bool CLxTimeDiagramm::HasData() const {
    return m_pValues && m_nValues > 0;
}

int CLxTimeDiagramm::ThresholdHeight(const RECT& r) const {
    return (m_nFlags & kLevels) ? Scale(r.bottom - r.top, m_nThreshold) : 0;
}

void CLxTimeDiagramm::Bar(int x0, int x1, int bottom, float value, int height, int threshold) {
    // Values are meant to lie in 0..1; anything else (NaN included) stays inside the box.
    float scaled = value * static_cast<float>(height);
    int v =
        scaled > 0 ? (scaled < static_cast<float>(height) ? static_cast<int>(scaled) : height) : 0;
    const Colours& c = Palette();
    if (v <= threshold) {
        Fill(x0, bottom - v, x1, bottom, c.bar);
        return;
    }
    Fill(x0, bottom - threshold, x1, bottom, c.bar);
    Fill(x0, bottom - v, x1, bottom - threshold, c.over);
}

void CLxTimeDiagramm::PaintBars(const RECT& r, int x0, int x1) {
    int w = m_nWidth, n = m_nValues, h = r.bottom - r.top, a = ThresholdHeight(r);
    if (n < w) {
        // Each value is a bar several pixels wide.
        for (int i = 0; i < n; ++i) {
            int b0 = r.left + static_cast<int>(static_cast<long long>(w) * i / n);
            int b1 = r.left + static_cast<int>(static_cast<long long>(w) * (i + 1) / n);
            b0 = std::max(b0, x0);
            b1 = std::min(b1, x1);
            if (b0 < b1) Bar(b0, b1, r.bottom, m_pValues[i], h, a);
        }
        return;
    }
    // One pixel column per value shown: the value under the column.
    for (int x = x0; x < x1; ++x) {
        int i = n == w ? x - r.left : static_cast<int>(static_cast<long long>(x - r.left) * n / w);
        Bar(x, x + 1, r.bottom, m_pValues[i], h, a);
    }
}

void CLxTimeDiagramm::Paint(const RECT& r, int x0, int x1) {
    x0 = std::max(x0, r.left);
    bool rightEdge = x1 >= r.right;
    x1 = std::min(x1, r.right);
    if (x0 >= x1) return;
    const Colours& c = Palette();
    RECT area{x0, r.top, x1, r.bottom};
    if (!g_bVideoRunning && m_pGUI && m_pGUI->m_pBackground)
        BltSurface(g_pDrawSurface, &area, m_pGUI->m_pBackground, &area, 0);
    PaintBars(r, x0, x1);
    if (m_nCursorX >= x0 && m_nCursorX < x1)
        Fill(m_nCursorX, r.top, m_nCursorX + 1, r.bottom, kPositionLine);
    bool levels = m_nFlags & kLevels;
    if (levels) {
        int y = LineRow(r, ThresholdHeight(r));
        Fill(x0, y, x1, y + 1, c.threshold);
    }
    int width = r.right - r.left;
    for (int k = 1; k < 8; ++k) {
        int x = r.left + k * width / 8;
        if (x < x0 || x >= x1) continue;
        for (int y = r.top; y < r.bottom - 1; y += 4)
            Fill(x, y, x + 1, std::min(y + 2, r.bottom), c.grid);
    }
    if (levels) {
        int y = LineRow(r, Scale(r.bottom - r.top, m_nMarker));
        for (int x = (r.left + 4) & ~3; x < r.right; x += 8)
            Fill(std::max(x, x0), y, std::min(x + 4, x1), y + 1, kBlack);
    }
    if (x0 == r.left) Fill(r.left, r.top, r.left + 1, r.bottom, kBlack);
    if (rightEdge) Fill(r.right, r.top, r.right + 1, r.bottom, kBlack);
}

void CLxTimeDiagramm::Draw() {
    RECT r;
    if (!Layout(&r) || !HasData() || !g_pDrawSurface || !(GetState() & kVisible)) return;
    Paint(r, r.left, r.right);
}

void CLxTimeDiagramm::DrawColumn(int i) {
    RECT r;
    if (!Layout(&r) || !HasData() || !g_pDrawSurface || !(GetState() & kVisible)) return;
    int w = m_nWidth, n = m_nValues;
    if (i < 0) {
        m_nCursorX = r.left + w / n;
        Draw();
        return;
    }
    i %= n;
    int x0 = r.left + static_cast<int>(static_cast<long long>(w) * i / n);
    int x1 = r.left + static_cast<int>(static_cast<long long>(w) * (i + 1) / n);
    int old = m_nCursorX;
    m_nCursorX = x1;
    Paint(r, x0, std::max(x1, x0 + 1));
    if (old < x0 || old >= x1) Paint(r, old, old + 1); // the line leaves where it stood
    Paint(r, m_nCursorX, m_nCursorX + 1);
}

void CLxTimeDiagramm::SetData(float* values, int count) {
    if (!values || count < 0) count = 0;
    RECT r;
    if (Layout(&r) && count > 0) {
        long long column = static_cast<long long>(m_nCursorX - r.left) * count / m_nWidth;
        column = std::clamp<long long>(column, 0, count);
        m_nCursorX = r.left + static_cast<int>(m_nWidth * column / count);
    }
    m_pValues = values;
    m_nValues = count;
}

void CLxTimeDiagramm::SetLevels(int threshold, int marker) {
    m_nThreshold = std::clamp(threshold, 0, kFull);
    m_nMarker = std::clamp(marker, 0, kFull);
    Draw();
}

bool CLxTimeDiagramm::NearThreshold(int y) const {
    RECT r;
    if (!(m_nFlags & kLevels) || !GetDrawRect(&r)) return false;
    return std::abs(y - (r.bottom - ThresholdHeight(r))) <= kReach;
}

void CLxTimeDiagramm::OnMove(CLxMouseEvent* event) {
    if (!(m_nFlags & kLevels)) return;
    LxSetCursor(NearThreshold(event->m_nY) ? m_pSizeNS : m_pArrow);
}

void CLxTimeDiagramm::OnButtonDown(CLxMouseEvent* event) {
    m_bDragging = NearThreshold(event->m_nY);
}

void CLxTimeDiagramm::OnDrag(CLxMouseEvent* event) {
    RECT r;
    if (!m_bDragging || !Layout(&r)) return; // no height, nothing to drag
    long long share = static_cast<long long>(r.bottom - event->m_nY) * kFull / (r.bottom - r.top);
    m_nThreshold = static_cast<int>(std::clamp<long long>(share, 0, kFull));
    LxSetCursor(m_pSizeNS);
    if (m_pGUI) m_pGUI->Notify(event);
    Draw();
}

void CLxTimeDiagramm::OnButtonUp(CLxMouseEvent*) {
    m_bDragging = 0;
}

void CLxTimeDiagramm::OnLeave(CLxMouseEvent* event) {
    CLxControl::OnLeave(event);
    LxSetCursor(m_pArrow);
}
