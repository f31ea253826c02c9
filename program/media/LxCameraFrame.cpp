// Frame conversions and the frame slot; see LxCameraFrame.h.
#include "media/LxCameraFrame.h"

#include <algorithm>
#include <utility>

namespace {
uint32_t Pack(int r, int g, int b) {
    return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b);
}

int Clamp255(int v) {
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

// BT.601 limited range in 8.8 fixed point.
uint32_t YuvPixel(int y, int u, int v) {
    int c = (y - 16) * 298, d = u - 128, e = v - 128;
    return Pack(Clamp255((c + 409 * e + 128) >> 8), Clamp255((c - 100 * d - 208 * e + 128) >> 8),
                Clamp255((c + 516 * d + 128) >> 8));
}
} // namespace

void ConvertBGR24(const uint8_t* src, int width, int height, int pitch, uint32_t* dst) {
    for (int y = 0; y < height; ++y, src += pitch) {
        const uint8_t* p = src;
        for (int x = 0; x < width; ++x, p += 3)
            *dst++ = Pack(p[2], p[1], p[0]);
    }
}

void ConvertRGB24(const uint8_t* src, int width, int height, int pitch, uint32_t* dst) {
    for (int y = 0; y < height; ++y, src += pitch) {
        const uint8_t* p = src;
        for (int x = 0; x < width; ++x, p += 3)
            *dst++ = Pack(p[0], p[1], p[2]);
    }
}

void ConvertYUYV(const uint8_t* src, int width, int height, int pitch, uint32_t* dst) {
    for (int y = 0; y < height; ++y, src += pitch) {
        const uint8_t* p = src;
        for (int x = 0; x + 1 < width; x += 2, p += 4) {
            *dst++ = YuvPixel(p[0], p[1], p[3]);
            *dst++ = YuvPixel(p[2], p[1], p[3]);
        }
    }
}

void FlipRows(uint32_t* pixels, int width, int height) {
    for (int i = 0; i < height / 2; ++i)
        std::swap_ranges(pixels + i * width, pixels + (i + 1) * width,
                         pixels + (height - 1 - i) * width);
}

void MirrorRows(uint32_t* pixels, int width, int height) {
    for (int i = 0; i < height; ++i)
        std::reverse(pixels + i * width, pixels + (i + 1) * width);
}

bool CLxFrameSlot::Publish() {
    std::lock_guard<std::mutex> lock(m_mutex);
    bool wasTaken = !m_bFresh;
    std::swap(m_back, m_ready);
    m_bFresh = true;
    return wasTaken;
}

bool CLxFrameSlot::Take(LxCameraFrame* out) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_bFresh) return false;
    std::swap(*out, m_ready);
    m_bFresh = false;
    return true;
}
