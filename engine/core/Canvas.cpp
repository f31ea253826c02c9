// The off-screen window picture; see Canvas.h.
#include "core/Canvas.h"

#include <algorithm>
#include <cstdlib>

namespace {
uint32_t Get32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
} // namespace

void Canvas::Resize(int width, int height) {
    std::lock_guard<std::mutex> lock(mutex_);
    width_ = std::clamp(width, 0, kMaxSide);
    height_ = std::clamp(height, 0, kMaxSide);
    pixels_.assign(static_cast<size_t>(width_) * height_, kBackground);
}

void Canvas::ClearFrom(int x) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int y = 0; y < height_; ++y)
        for (int i = std::max(x, 0); i < width_; ++i)
            pixels_[static_cast<size_t>(y) * width_ + i] = kBackground;
}

void Canvas::Put(int x, int y, uint32_t rgb) {
    if (x >= left_ && y >= 0 && x < width_ && y < height_)
        pixels_[static_cast<size_t>(y) * width_ + x] = rgb;
}

// Bresenham's line, both end points drawn; far-off end points are limited first so the
// walk stays short whatever a script asks for.
void Canvas::Line(int x0, int y0, int x1, int y1, uint32_t rgb) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto limit = [](int v) { return std::clamp(v, -2 * kMaxSide, 3 * kMaxSide); };
    x0 = limit(x0), y0 = limit(y0), x1 = limit(x1), y1 = limit(y1);
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Put(x0, y0, rgb);
        if (x0 == x1 && y0 == y1) return;
        int twice = 2 * error;
        if (twice >= dy) error += dy, x0 += sx;
        if (twice <= dx) error += dx, y0 += sy;
    }
}

void Canvas::DrawBmp(int x, int y, const uint8_t* header, const uint8_t* bits) {
    int32_t width = static_cast<int32_t>(Get32(header + 4));
    int32_t height = static_cast<int32_t>(Get32(header + 8));
    int depth = header[14] | header[15] << 8;
    if (width <= 0 || height <= 0 || (depth != 8 && depth != 24)) return;
    const uint8_t* palette = header + 40;
    size_t stride = ((static_cast<size_t>(width) * depth + 31) / 32) * 4;
    std::lock_guard<std::mutex> lock(mutex_);
    int rows = std::min(height, height_ - y), columns = std::min(width, width_ - x);
    for (int row = 0; row < rows; ++row) {
        // Row 0 of the picture is its bottom line.
        const uint8_t* line = bits + static_cast<size_t>(height - 1 - row) * stride;
        for (int i = 0; i < columns; ++i) {
            const uint8_t* p = depth == 8 ? palette + 4 * line[i] : line + 3 * i;
            Put(x + i, y + row, static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0]);
        }
    }
}

int Canvas::Width() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return width_;
}

int Canvas::Height() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return height_;
}

uint32_t Canvas::At(int x, int y) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBackground;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

std::vector<uint32_t> Canvas::Snapshot(int* width, int* height) const {
    std::lock_guard<std::mutex> lock(mutex_);
    *width = width_;
    *height = height_;
    return pixels_;
}
