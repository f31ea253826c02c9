// The RIFF reader and writer; see WavTool.h.
#include "signal/WavTool.h"

#include <cmath>
#include <cstring>

namespace wav {
namespace {
uint32_t U32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(v >> 8 * i & 0xFF);
}
void Put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}
} // namespace

bool Parse(const uint8_t* bytes, size_t size, uint64_t fileSize, Format* format) {
    if (size < 12 || std::memcmp(bytes, "RIFF", 4)) return false;
    bool haveFormat = false;
    uint64_t at = 12;
    // Each chunk: 4-byte id, 4-byte size, the body, a pad byte when the size is odd.
    while (at + 8 <= size) {
        const uint8_t* chunk = bytes + at;
        uint64_t body = at + 8, length = U32(chunk + 4);
        if (!std::memcmp(chunk, "fmt ", 4)) {
            if (length < 16 || body + 16 > size) return false;
            const uint8_t* f = bytes + body;
            uint32_t rate = U32(f + 4);
            int bits = U16(f + 14);
            if (U16(f) != 1 || U16(f + 2) != 1 || (bits != 8 && bits != 16)) return false;
            if (rate == 0 || rate > INT32_MAX) return false;
            format->sps = static_cast<int32_t>(rate);
            format->bytesPerSample = bits / 8;
            haveFormat = true;
        } else if (!std::memcmp(chunk, "data", 4)) {
            if (!haveFormat || body > fileSize) return false;
            uint64_t present = fileSize - body;
            format->dataOffset = body;
            format->samples = static_cast<int64_t>((length < present ? length : present) /
                                                   format->bytesPerSample);
            return true;
        }
        at = body + length + (length & 1);
    }
    return false;
}

void Convert(const uint8_t* bytes, const Format& format, int32_t count, float* out) {
    const uint8_t* p = bytes + format.dataOffset;
    if (format.bytesPerSample == 1) {
        for (int32_t i = 0; i < count; ++i)
            out[i] = static_cast<float>((128 - p[i]) * 256);
        return;
    }
    for (int32_t i = 0; i < count; ++i)
        out[i] = static_cast<float>(static_cast<int16_t>(U16(p + 2 * i)));
}

int32_t ToInt32(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(value);
}

std::string Image(const float* samples, int32_t n, int32_t sps) {
    uint32_t bytes = 2 * static_cast<uint32_t>(n);
    std::string out = "RIFF";
    out.reserve(44 + bytes);
    Put32(out, 36 + bytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 1);
    Put32(out, static_cast<uint32_t>(sps));
    Put32(out, 2 * static_cast<uint32_t>(sps));
    Put16(out, 2);
    Put16(out, 16);
    out += "data";
    Put32(out, bytes);
    for (int32_t i = 0; i < n; ++i)
        Put16(out, static_cast<uint32_t>(ToInt32(samples[i])));
    return out;
}

} // namespace wav
