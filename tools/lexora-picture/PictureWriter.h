// Converts pictures into the program's run-length formats. Pictures are read as 8-bit
// RGBA: PNG files with libpng, BMP files with SDL's loader. A mask (".rle") sets the
// pixels that are opaque (alpha of 128 or more) and darker than a threshold, or, in
// alpha mode, every pixel whose alpha is above the threshold; its rows are stored bottom
// first. A multi-layer picture (".mlr") takes the most common colour as its background
// and writes one layer per other colour, over that colour's bounding box, rows top first;
// transparent pixels count as background.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct LxImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0xAARRGGBB, rows top first
};

// Reads a ".png" or ".bmp" file (by its extension, either case); false with error set.
bool ReadImage(const std::string& path, LxImage* image, std::string* error);

// The bytes of a ".rle" file. alphaMode: set when alpha > threshold; else set when
// opaque and the luminance (0.299 R + 0.587 G + 0.114 B) is below threshold.
std::string EncodeMask(const LxImage& image, int threshold, bool alphaMode);
// The bytes of a ".mlr" file.
std::string EncodeLayers(const LxImage& image);
bool SaveBytes(const std::string& path, const std::string& bytes);
