// Multi-layer pictures; see LxMLRLEBitmap.h. Rendering reuses the mask pen with the
// target narrowed to the canvas, so clipping to both happens in one place.
#include "media/LxMLRLEBitmap.h"

#include <algorithm>
#include <cstdio>

#include "media/LxBytes.h"
#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxRLEPen.h"
#include "media/LxRLERows.h"

namespace {
constexpr size_t kHeader = 12;
} // namespace

CLxMLRLEBitmap::CLxMLRLEBitmap(const char* path) {
    CLxFile file;
    if (!path || !file.Open(path)) return;
    int size = file.GetSize();
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(size, 0)));
    bool read = size >= static_cast<int>(kHeader) && file.Read(bytes.data(), size) == size;
    file.Close();
    if (!read) {
        std::printf("Bad picture file %s\n", path);
        std::fflush(stdout);
        return;
    }
    m_nWidth = static_cast<int>(LxRead16(bytes.data() + 4));
    m_nHeight = static_cast<int>(LxRead16(bytes.data() + 6));
    m_nBackground = LxRead32(bytes.data() + 8) & 0xFFFFFF;
    m_layers.assign(bytes.begin() + kHeader, bytes.end());
}

void CLxMLRLEBitmap::Render(const LxSurfaceDesc& target, bool fillBackground) const {
    if (target.nBitsPerPixel != 32 && target.nBitsPerPixel != 16) return;
    LxSurfaceDesc canvas = target;
    canvas.nWidth = std::min(target.nWidth, m_nWidth);
    canvas.nHeight = std::min(target.nHeight, m_nHeight);
    if (fillBackground) {
        CLxRLEPen pen(canvas, m_nBackground);
        for (int y = 0; y < canvas.nHeight; ++y)
            pen.Span(0, y, canvas.nWidth);
    }
    const uint8_t* data = m_layers.data();
    size_t length = m_layers.size(), pos = 0;
    while (length - pos >= kHeader) {
        const uint8_t* h = data + pos;
        int x = static_cast<int>(LxRead16(h)), y = static_cast<int>(LxRead16(h + 2));
        int width = static_cast<int>(LxRead16(h + 4)), height = static_cast<int>(LxRead16(h + 6));
        CLxRLEPen pen(canvas, LxRead32(h + 8) & 0xFFFFFF);
        pos += kHeader;
        // A layer without width has no row bytes at all.
        for (int row = 0; width > 0 && row < height && pos < length; ++row)
            pos = LxWalkRow(data, length, pos, width, [&](int rx, int n, bool set) {
                if (set) pen.Span(x + rx, y + row, n);
            });
    }
}

HRESULT CLxMLRLEBitmap::RenderTo(CLxSurface* surface, bool fillBackground) const {
    if (!surface) return E_POINTER;
    if (fillBackground) {
        RECT whole{0, 0, m_nWidth, m_nHeight};
        FillRectColor(surface, &whole, m_nBackground);
    }
    LxSurfaceDesc desc;
    int locked = surface->Lock(nullptr, &desc);
    if (locked != 0) return locked;
    Render(desc, false);
    return surface->Unlock();
}

CLxSurface* CLxMLRLEBitmap::CreateSurface() const {
    if (IsEmpty()) return nullptr;
    CLxSurface* surface = ::CreateSurface(m_nWidth, m_nHeight);
    if (!surface->m_pSurface) {
        delete surface;
        return nullptr;
    }
    RenderTo(surface, true);
    return surface;
}
