// WAV files of streams and cuts (see StreamFiles.h): CLxWaveFile reads, a sound buffer
// holding the samples goes to WriteWave.
#include "lexora-cut/StreamFiles.h"

#include <algorithm>
#include <filesystem>

#include "media/LxSoundBuffer.h"
#include "media/LxSoundHelpers.h"
#include "media/LxWaveFile.h"

namespace {
constexpr int kRate = 22050;
}

bool ReadStream(const std::string& path, std::vector<int16_t>* samples) {
    CLxWaveFile wave;
    std::vector<uint8_t> bytes;
    if (!wave.Open(path.c_str()) || !wave.IsProgramFormat()) return false;
    if (!wave.ReadData(0, wave.DataSize(), &bytes)) return false;
    samples->resize(bytes.size() / 2);
    for (size_t i = 0; i < samples->size(); i++)
        (*samples)[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return true;
}

bool WriteStream(const std::vector<int16_t>& samples, const std::string& name) {
    std::filesystem::path parent = std::filesystem::path(name).parent_path();
    std::error_code ignored;
    if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
    CBSoundBuffer buffer(nullptr);
    unsigned bytes = static_cast<unsigned>(samples.size() * 2);
    if (samples.empty() || !buffer.Create(unsigned(samples.size()), kRate, 16)) return false;
    void *region1, *region2;
    unsigned len1, len2;
    if (buffer.Lock(0, bytes, &region1, &len1, &region2, &len2, 0) != 0) return false;
    std::copy(samples.begin(), samples.end(), static_cast<int16_t*>(region1));
    return WriteWave(&buffer, name.c_str(), 0, bytes);
}
