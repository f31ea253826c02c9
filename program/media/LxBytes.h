// Little-endian numbers as the program's file formats store them (glyph records, masks,
// multi-layer pictures, BMP and WAV headers).
#pragma once
#include <cstdint>

inline uint16_t LxRead16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t LxRead32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
