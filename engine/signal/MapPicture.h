// Pictures of maps, shared by the BMP writer and the map display: one pixel per value,
// time running left to right and band 0 at the bottom. Grey pictures spread the
// block's range over an inverted 256-shade palette (low values white); colour pictures
// turn each value into a level 0 ... 32767 (decibels below a reference, or a linear
// scale above an offset) and the level into a colour through one of four palettes.
#pragma once
#include <cstdint>
#include <string>

#include "Map.h"

class Arguments;

struct PictureScale {
    bool colour = false;
    int palette = 0; // 0 ... 3; other numbers draw as palette 2
    int range = 0;   // decibels shown below the reference; 0 or less: linear
    float offset = 0;
    float reference = 1;
};

struct Rgb {
    uint8_t red, green, blue;
};

// The scale of the four optional numbers p, r, o, q of the picture classes, from the
// argument position first on: colour mode when all four are there, grey otherwise.
PictureScale ReadPictureScale(const Arguments& args, int first);

// The level of a value in colour mode.
double PictureLevel(const PictureScale& scale, float value);
// The colour of a level in a palette.
Rgb PaletteColour(int palette, double level);

// The BMP information header (40 bytes, then the palette in grey mode) and the pixel
// rows (bottom-up, each filled to a multiple of 4 bytes) of the map's current block.
struct Picture {
    std::string header;
    std::string pixels;
};
Picture RenderMap(const Map& map, const PictureScale& scale);

// The whole BMP file of a picture.
std::string BmpFile(const Picture& picture);
