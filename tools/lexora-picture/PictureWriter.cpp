// The picture converters; see PictureWriter.h. Rows go through the program's own row
// encoder, so the files are exactly what the program's readers expect.
#include "PictureWriter.h"

#include <SDL.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>

#include "media/LxRLERows.h"

namespace {
void Put16(std::string& out, int v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<int>(v & 0xFFFF));
    Put16(out, static_cast<int>(v >> 16));
}

bool EndsWith(std::string text, const char* end) {
    std::transform(text.begin(), text.end(), text.begin(), ::tolower);
    std::string e(end);
    return text.size() >= e.size() && text.compare(text.size() - e.size(), e.size(), e) == 0;
}

bool Fail(std::string* error, const std::string& text) {
    *error = text;
    return false;
}

bool ReadPng(const std::string& path, LxImage* image, std::string* error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return Fail(error, path + ": " + png.message);
    png.format = PNG_FORMAT_BGRA; // little-endian words 0xAARRGGBB
    if (png.width > 65535 || png.height > 65535) {
        png_image_free(&png);
        return Fail(error, path + ": too large");
    }
    image->width = static_cast<int>(png.width);
    image->height = static_cast<int>(png.height);
    image->pixels.assign(static_cast<size_t>(png.width) * png.height, 0);
    if (!png_image_finish_read(&png, nullptr, image->pixels.data(), 0, nullptr))
        return Fail(error, path + ": " + png.message);
    return true;
}

bool ReadBmp(const std::string& path, LxImage* image, std::string* error) {
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (!loaded) return Fail(error, path + ": " + SDL_GetError());
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb) return Fail(error, path + ": " + SDL_GetError());
    image->width = argb->w;
    image->height = argb->h;
    image->pixels.resize(static_cast<size_t>(argb->w) * argb->h);
    for (int y = 0; y < argb->h; ++y)
        std::copy_n(reinterpret_cast<const uint32_t*>(static_cast<uint8_t*>(argb->pixels) +
                                                      y * argb->pitch),
                    argb->w, image->pixels.begin() + static_cast<ptrdiff_t>(y) * argb->w);
    SDL_FreeSurface(argb);
    return true;
}

bool Opaque(uint32_t pixel) {
    return pixel >> 24 >= 128;
}

std::string Header(int width, int height, uint32_t word) {
    std::string out;
    Put32(out, 0);
    Put16(out, width);
    Put16(out, height);
    if (word != 0xFFFFFFFF) Put32(out, word);
    return out;
}
} // namespace

bool ReadImage(const std::string& path, LxImage* image, std::string* error) {
    if (EndsWith(path, ".png")) return ReadPng(path, image, error);
    if (EndsWith(path, ".bmp")) return ReadBmp(path, image, error);
    return Fail(error, path + ": not a .png or .bmp file");
}

std::string EncodeMask(const LxImage& image, int threshold, bool alphaMode) {
    std::string out = Header(image.width, image.height, 0xFFFFFFFF);
    std::vector<uint8_t> set(static_cast<size_t>(image.width)), rows;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
            int luminance = static_cast<int>(
                (299 * (p >> 16 & 0xFF) + 587 * (p >> 8 & 0xFF) + 114 * (p & 0xFF)) / 1000);
            set[static_cast<size_t>(x)] = alphaMode ? static_cast<int>(p >> 24) > threshold
                                                    : Opaque(p) && luminance < threshold;
        }
        LxEncodeRow(set.data(), image.width, rows);
    }
    return out.append(rows.begin(), rows.end());
}

std::string EncodeLayers(const LxImage& image) {
    std::map<uint32_t, size_t> counts;
    for (uint32_t p : image.pixels)
        if (Opaque(p)) ++counts[p & 0xFFFFFF];
    uint32_t background = 0xFFFFFF;
    size_t most = 0;
    for (const auto& [colour, count] : counts)
        if (count > most) most = count, background = colour;
    auto colourAt = [&](int x, int y) {
        uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
        return Opaque(p) ? p & 0xFFFFFF : background;
    };

    std::string out = Header(image.width, image.height, background);
    for (const auto& [colour, count] : counts) {
        if (colour == background) continue;
        int left = image.width, top = image.height, right = -1, bottom = -1;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (colourAt(x, y) == colour) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        int w = right - left + 1, h = bottom - top + 1;
        Put16(out, left);
        Put16(out, top);
        Put16(out, w);
        Put16(out, h);
        Put32(out, colour);
        std::vector<uint8_t> set(static_cast<size_t>(w)), rows;
        for (int y = top; y <= bottom; ++y) {
            for (int x = 0; x < w; ++x)
                set[static_cast<size_t>(x)] = colourAt(left + x, y) == colour;
            LxEncodeRow(set.data(), w, rows);
        }
        out.append(rows.begin(), rows.end());
    }
    return out;
}

bool SaveBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    return static_cast<bool>(file.flush());
}
