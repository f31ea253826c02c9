// Cutting, scaling and blending rendered clip art; see PictureFit.h.
#include "PictureFit.h"

#include <algorithm>
#include <cmath>

#include "media/LxDraw.h"

LxImage CropToDrawing(const LxImage& image) {
    int left = image.width, top = image.height, right = -1, bottom = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (static_cast<int>(image.pixels[static_cast<size_t>(y) * image.width + x] >> 24) <=
                kDrawnAlpha)
                continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    LxImage out;
    if (right < 0) return out;
    out.width = right - left + 1;
    out.height = bottom - top + 1;
    out.pixels.reserve(static_cast<size_t>(out.width) * out.height);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            out.pixels.push_back(image.pixels[static_cast<size_t>(y) * image.width + x]);
    return out;
}

LxImage FitInto(const LxImage& image, int width, int height) {
    LxImage out;
    if (image.width <= 0 || image.height <= 0 || width <= 0 || height <= 0) return out;
    double scale = std::min(static_cast<double>(width) / image.width,
                            static_cast<double>(height) / image.height);
    out.width = std::max(1, static_cast<int>(std::lround(image.width * scale)));
    out.height = std::max(1, static_cast<int>(std::lround(image.height * scale)));
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    for (int ty = 0; ty < out.height; ++ty) {
        // The source rows and columns this target pixel covers (at least one of each).
        int y0 = ty * image.height / out.height;
        int y1 = std::max(y0 + 1, (ty + 1) * image.height / out.height);
        for (int tx = 0; tx < out.width; ++tx) {
            int x0 = tx * image.width / out.width;
            int x1 = std::max(x0 + 1, (tx + 1) * image.width / out.width);
            double r = 0, g = 0, b = 0, a = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
                    double alpha = (p >> 24) / 255.0;
                    r += alpha * (p >> 16 & 0xFF), g += alpha * (p >> 8 & 0xFF);
                    b += alpha * (p & 0xFF), a += alpha;
                }
            uint32_t pixel = 0;
            if (a > 0) {
                auto channel = [&](double sum) {
                    return static_cast<uint32_t>(std::lround(std::min(255.0, sum / a)));
                };
                uint32_t coverage = static_cast<uint32_t>(
                    std::lround(255.0 * a / ((y1 - y0) * static_cast<double>(x1 - x0))));
                pixel = coverage << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
            }
            out.pixels[static_cast<size_t>(ty) * out.width + tx] = pixel;
        }
    }
    return out;
}

void DrawCentredIn(CLxSurface* surface, const LxImage& image, int left, int top, int right,
                   int bottom) {
    int x0 = (left + right - image.width) / 2, y0 = (top + bottom - image.height) / 2;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
            uint32_t alpha = p >> 24;
            if (!alpha) continue;
            uint32_t under = GetPixel(surface, x0 + x, y0 + y), rgb = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                uint32_t over = p >> shift & 0xFF, back = under >> shift & 0xFF;
                rgb |= ((over * alpha + back * (255 - alpha) + 127) / 255) << shift;
            }
            RECT dot{x0 + x, y0 + y, x0 + x + 1, y0 + y + 1};
            FillRectRGB(surface, &dot, rgb);
        }
}
