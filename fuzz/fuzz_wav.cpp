// Feeds arbitrary bytes to the WAV reader as a whole file: the header walk must not
// read past the bytes, and whatever it accepts must convert within them.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "signal/WavTool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    wav::Format format;
    if (!wav::Parse(data, size, size, &format)) return 0;
    if (format.samples < 0 || format.dataOffset > size) std::abort();
    if (format.dataOffset + format.samples * format.bytesPerSample > size) std::abort();
    std::vector<float> out(static_cast<size_t>(format.samples));
    wav::Convert(data, format, static_cast<int32_t>(format.samples), out.data());
    return 0;
}
