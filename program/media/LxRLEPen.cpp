// The run painter; see LxRLEPen.h.
#include "media/LxRLEPen.h"

#include <algorithm>

uint16_t CLxRLEPen::Pack565(uint32_t rgb) {
    uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    return static_cast<uint16_t>((r & 0xF8) << 8 | (g & 0xFC) << 3 | b >> 3);
}

CLxRLEPen::CLxRLEPen(const LxSurfaceDesc& target, uint32_t colour) : m_target(target) {
    int bits = target.nBitsPerPixel;
    m_bUsable = target.pPixels && target.nWidth > 0 && target.nHeight > 0 &&
                (bits == 16 || bits == 24 || bits == 32);
    m_nWeight = static_cast<int>(colour >> 24);
    m_rgb[0] = colour & 0xFF;
    m_rgb[1] = colour >> 8 & 0xFF;
    m_rgb[2] = colour >> 16 & 0xFF;
    m_nPacked = Pack565(colour);
    if (!m_bUsable || bits != 16 || m_nWeight == 0) return;
    int keep = 255 - m_nWeight, aa = m_nWeight;
    int r = m_rgb[2], g = m_rgb[1], b = m_rgb[0];
    for (int i = 0; i < 32; ++i) {
        m_red[i] = static_cast<uint16_t>((r * keep * 31 / 255 + aa * i) / 255 << 11);
        m_blue[i] = static_cast<uint16_t>((b * keep * 31 / 255 + aa * i) / 255);
    }
    for (int i = 0; i < 64; ++i)
        m_green[i] = static_cast<uint16_t>((g * keep * 63 / 255 + aa * i) / 255 << 5);
}

void CLxRLEPen::Span(int x, int y, int n) const {
    if (!m_bUsable || y < 0 || y >= m_target.nHeight) return;
    int from = std::max(x, 0), to = std::min(x + n, m_target.nWidth);
    if (from >= to) return;
    uint8_t* row = m_target.pPixels + static_cast<ptrdiff_t>(y) * m_target.nPitch;
    if (m_target.nBitsPerPixel == 16) {
        uint8_t* p = row + from * 2;
        for (int i = from; i < to; ++i, p += 2) {
            uint16_t v = m_nPacked;
            if (m_nWeight) {
                int old = p[0] | p[1] << 8;
                v = m_red[old >> 11] | m_green[old >> 5 & 63] | m_blue[old & 31];
            }
            p[0] = v & 0xFF;
            p[1] = static_cast<uint8_t>(v >> 8);
        }
        return;
    }
    int step = m_target.nBitsPerPixel / 8;
    uint8_t* p = row + from * step;
    if (m_nWeight == 0) {
        for (int i = from; i < to; ++i, p += step)
            p[0] = m_rgb[0], p[1] = m_rgb[1], p[2] = m_rgb[2];
        return;
    }
    int keep = 255 - m_nWeight;
    for (int i = from; i < to; ++i, p += step)
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<uint8_t>((p[c] * m_nWeight + m_rgb[c] * keep) / 255);
}
