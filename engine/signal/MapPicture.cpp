// Map pictures; see MapPicture.h.
#include "signal/MapPicture.h"

#include <algorithm>
#include <cmath>

#include "core/Arguments.h"

namespace {
void Put(std::string& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>(v >> 8 * i & 0xFF);
}

// A colour channel as a byte: truncated toward zero, then limited to 0 ... 255 (NaN
// gives 0), so no float is converted out of range.
uint8_t Byte(double v) {
    if (!(v > 0)) return 0;
    return v >= 255 ? 255 : static_cast<uint8_t>(v);
}

int RowBytes(int width, bool colour) {
    int bytes = colour ? 3 * width : width;
    return (bytes + 3) & ~3;
}

void Pixel(std::string& row, const PictureScale& scale, float v) {
    Rgb c = PaletteColour(scale.palette, PictureLevel(scale, v));
    row += static_cast<char>(c.blue);
    row += static_cast<char>(c.green);
    row += static_cast<char>(c.red);
}
} // namespace

double PictureLevel(const PictureScale& scale, float value) {
    double v = value;
    if (scale.range > 0) {
        double db = v > 0 ? 20 * std::log10(v / scale.reference) : -1e10;
        double level = db * (32766.0 / scale.range) + 32767;
        return level < 0 ? 0 : level;
    }
    return 32767.0 / scale.reference * std::max(v - scale.offset, 0.0);
}

Rgb PaletteColour(int palette, double e) {
    double f = (32767 - e) / 128;
    switch (palette) {
    case 0: {
        if (e > 32767) return {0, 255, 0};
        if (e < 0) return {255, 0, 255};
        double blue = e * 0.028199103;
        if (e > 9000) blue = 510 - blue;
        return {Byte((e - 8000) * 0.018214285), Byte((e - 21000) * 0.021668933), Byte(blue)};
    }
    case 1:
        return {Byte(-(f + 200) * (f - 200) * 0.006375), Byte(-(f - 40) * (f - 280) * 0.017708333),
                Byte(-(f - 205) * (f - 265) * 0.2833333)};
    case 3:
        return {Byte(f), Byte(f), Byte(f)};
    default:
        return {Byte(e / 128), Byte(e / 128), Byte(e / 128)};
    }
}

Picture RenderMap(const Map& map, const PictureScale& scale) {
    int width = std::max(map.frames, 0), height = std::max(map.bands, 0);
    int rowBytes = RowBytes(width, scale.colour);
    Picture picture;
    std::string& h = picture.header;
    Put(h, 40, 4);
    Put(h, static_cast<uint32_t>(width), 4);
    Put(h, static_cast<uint32_t>(height), 4);
    Put(h, 1, 2);
    Put(h, scale.colour ? 24 : 8, 2);
    Put(h, 0, 4);
    Put(h, 0, 4);
    Put(h, 800, 4);
    Put(h, 800, 4);
    Put(h, 0, 4);
    Put(h, 0, 4);
    if (!scale.colour)
        for (int i = 0; i < 256; ++i)
            Put(h, (255 - i) * 0x010101u, 4);

    const float* values = map.data;
    int count = width * height;
    float low = 0, high = 0;
    if (!scale.colour && count > 0) {
        auto [a, b] = std::minmax_element(values, values + count);
        low = *a, high = *b;
    }
    // A block of one value (or of NaNs) is drawn in one shade rather than divided by zero.
    double spread = static_cast<double>(high) - low;
    picture.pixels.reserve(static_cast<size_t>(rowBytes) * height);
    for (int band = 0; band < height; ++band) {
        std::string row;
        const float* v = values + static_cast<size_t>(band) * width;
        for (int frame = 0; frame < width; ++frame) {
            if (scale.colour)
                Pixel(row, scale, v[frame]);
            else
                row += static_cast<char>(spread > 0 ? Byte((v[frame] - low) * 255.0 / spread) : 0);
        }
        row.resize(rowBytes, '\0');
        picture.pixels += row;
    }
    return picture;
}

std::string BmpFile(const Picture& picture) {
    std::string file = "BM";
    uint32_t offset = 14 + static_cast<uint32_t>(picture.header.size());
    Put(file, offset + static_cast<uint32_t>(picture.pixels.size()), 4);
    Put(file, 0, 4);
    Put(file, offset, 4);
    return file + picture.header + picture.pixels;
}

// The four optional numbers of the picture classes: all present, colour mode.
PictureScale ReadPictureScale(const Arguments& args, int first) {
    PictureScale scale;
    double p = 0, r = 0, o = 0, q = 0;
    if (!args.GetNumber(first, &p) || !args.GetNumber(first + 1, &r) ||
        !args.GetNumber(first + 2, &o) || !args.GetNumber(first + 3, &q))
        return scale;
    scale.colour = true;
    scale.palette = p >= 0 && p <= 3 ? static_cast<int>(p) : 2;
    scale.range = r > 0 && r < 1e9 ? static_cast<int>(r) : 0;
    scale.offset = static_cast<float>(o);
    scale.reference = static_cast<float>(q);
    return scale;
}
