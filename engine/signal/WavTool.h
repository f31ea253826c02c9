// The RIFF reader and writer behind the WAV classes. Reading works on the bytes of a
// file in memory and trusts none of them: the chunk list is walked from byte 12 (so
// extra chunks, a LIST before "fmt " and odd sizes with their pad byte are fine), and
// the data size is cut to the bytes the file really has. Only PCM mono with 8 or 16
// bits per sample is accepted. Writing makes the canonical 44-byte header followed by
// signed 16-bit samples.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace wav {

struct Format {
    int32_t sps = 0;
    int bytesPerSample = 0;
    size_t dataOffset = 0; // where the samples start in the file
    int64_t samples = 0;   // as many as the file holds, whatever its header says
};

// Reads the header of a file of fileSize bytes whose first size bytes are at bytes
// (a prefix when the file is larger than what was read). False when it is no RIFF
// file, not PCM mono of 8 or 16 bits, or lacks its "fmt " or "data" chunk.
bool Parse(const uint8_t* bytes, size_t size, uint64_t fileSize, Format* format);

// Converts count samples from bytes (which must hold them) onto the 16-bit scale:
// 16-bit samples as they are, an 8-bit byte b as (128 - b) * 256.
void Convert(const uint8_t* bytes, const Format& format, int32_t count, float* out);

// The float truncated toward zero, saturated to the 32-bit range (NaN gives 0).
int32_t ToInt32(float value);

// The whole file image of n samples at sps: the header and each sample as the low
// 16 bits of its truncated value (no saturation to 16 bits).
std::string Image(const float* samples, int32_t n, int32_t sps);

} // namespace wav
