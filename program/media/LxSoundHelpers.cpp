// The sound helpers and the WAV reading and writing of buffers. See LxSoundHelpers.h.
#include "media/LxSoundHelpers.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/Path.h"
#include "media/LxSaveFile.h"
#include "media/LxSoundDevice.h"
#include "media/LxWaveFile.h"

namespace {

void Say(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

// Copies bytes into buffer from pos; the bytes copied (what fits).
unsigned Store(CBSoundBuffer* buffer, unsigned pos, const uint8_t* bytes, unsigned count) {
    if (pos >= buffer->GetSize()) return 0;
    unsigned room = buffer->GetSize() - pos;
    unsigned n = count < room ? count : room;
    void *region1, *region2;
    unsigned len1, len2;
    if (n == 0 || buffer->Lock(pos, n, &region1, &len1, &region2, &len2, 0)) return 0;
    std::memcpy(region1, bytes, len1);
    return len1;
}

// Converts 8- or 16-bit PCM to the program's format; false when SDL cannot.
bool Convert(const CLxWaveFile& wave, std::vector<uint8_t>* data, double* ratio) {
    SDL_AudioCVT cvt;
    SDL_AudioFormat from = wave.Bits() == 16 ? AUDIO_S16LSB : AUDIO_U8;
    if (SDL_BuildAudioCVT(&cvt, from, Uint8(wave.Channels()), int(wave.Rate()), AUDIO_S16LSB, 1,
                          22050) < 0)
        return false;
    *ratio = cvt.len_ratio;
    if (data->size() > size_t(INT32_MAX) / size_t(cvt.len_mult > 0 ? cvt.len_mult : 1))
        return false;
    cvt.len = int(data->size());
    data->resize(data->size() * size_t(cvt.len_mult));
    cvt.buf = data->data();
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return false;
    data->resize(size_t(cvt.needed ? cvt.len_cvt : cvt.len));
    return true;
}

// A name below the first root: relative, and no ".." component.
bool SafeName(const std::string& name) {
    if (name.empty() || name[0] == '\\' || name[0] == '/' || name.find(':') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}

void Le(uint8_t* p, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++)
        p[i] = uint8_t(value >> (8 * i));
}

CBSoundBuffer* CreateOn(CLxSoundDevice* device, unsigned samples, unsigned rate, unsigned bits) {
    if (!device) return nullptr;
    auto* buffer = new CBSoundBuffer(device);
    if (buffer->Create(samples, rate, bits)) return buffer;
    delete buffer;
    return nullptr;
}

} // namespace

CBSoundBuffer* CreateSoundBuffer(unsigned samples, unsigned rate, unsigned bits) {
    return CreateOn(g_pPlayer, samples, rate, bits);
}

CBSoundBuffer* CreateCaptureBuffer(unsigned samples, unsigned rate, unsigned bits) {
    return CreateOn(g_pCapture, samples, rate, bits);
}

void PlaySound(CBSoundBuffer* buffer, bool loop, bool rewind) {
    if (!g_pPlayer || !buffer) return;
    if (rewind) buffer->SetPosition(0);
    buffer->StartPlay(loop);
}

void StopSound(CBSoundBuffer* buffer) {
    if (buffer) buffer->Stop();
}

int SoundStatus(CBSoundBuffer* buffer) {
    return buffer ? buffer->Status() : 2;
}

void FreeSound(CBSoundBuffer** buffer) {
    if (!buffer || !*buffer) return;
    while ((*buffer)->Status() == CBSoundBuffer::kPlaying)
        SDL_Delay(10);
    (*buffer)->Stop();
    (*buffer)->Release();
    delete *buffer;
    *buffer = nullptr;
}

void StartCaptureRing(CBSoundBuffer* ring) {
    if (g_pCapture && ring) ring->StartRecord(true);
}

void StopCaptureRing(CBSoundBuffer* ring) {
    (void)ring;
    if (g_pCapture) g_pCapture->Stop();
}

void ClearSound(CBSoundBuffer* buffer, unsigned samples) {
    if (!buffer || buffer->GetSize() == 0) return;
    unsigned bytes = samples < buffer->GetSize() / 2 ? samples * 2 : buffer->GetSize();
    void *region1, *region2;
    unsigned len1, len2;
    if (buffer->Lock(0, bytes, &region1, &len1, &region2, &len2, 0) == 0)
        std::memset(region1, 0, len1);
}

CBSoundBuffer* LoadWave(const char* path, int startMs, int endMs) {
    if (!g_pPlayer || !path) {
        Say("Error: CBSoundBuffer::FromWave parameter.\n");
        return nullptr;
    }
    CLxWaveFile wave;
    if (!wave.Open(path)) {
        Say(wave.Missing() ? "Error: CBSoundBuffer::FromWave file not found\n"
                           : "Error: CBSoundBuffer::FromWave bad wave file\n");
        return nullptr;
    }
    unsigned offset, length;
    wave.Range(startMs, endMs, &offset, &length);
    // The length in the program's format: 22050 Hz * 16 bits over the file's rate and bits.
    uint64_t bytes =
        uint64_t(length) * 352800 / (uint64_t(wave.Channels()) * wave.Bits() * wave.Rate());
    CBSoundBuffer* buffer = CreateSoundBuffer(unsigned(bytes / 2), 22050, 16);
    if (buffer && ReadWave(buffer, path, startMs, endMs) == 0) FreeSound(&buffer);
    return buffer;
}

unsigned ReadWave(CBSoundBuffer* buffer, const char* path, int startMs, int endMs) {
    if (!buffer || !path) {
        Say("Error: CBSoundBuffer::ReadFromBuffer parameter.\n");
        return 0;
    }
    CLxWaveFile wave;
    if (!wave.Open(path)) {
        Say(wave.Missing() ? "Error: CBSoundBuffer::ReadFromBuffer file not found\n"
                           : "Error: CBSoundBuffer::ReadFromBuffer bad wave file\n");
        return 0;
    }
    unsigned offset, length;
    wave.Range(startMs, endMs, &offset, &length);
    std::vector<uint8_t> data;
    if (!wave.ReadData(offset, length, &data)) {
        Say("Error: CBSoundBuffer::ReadFromBuffer bad wave file\n");
        return 0;
    }
    size_t expected = data.size();
    if (!wave.IsProgramFormat()) {
        double ratio;
        if (!Convert(wave, &data, &ratio)) {
            Say("Error: CBSoundBuffer::ReadFromBuffer convert.\n");
            return 0;
        }
        bool whole = startMs < 0 || endMs < startMs;
        expected = whole ? size_t(wave.DataSize() * ratio)
                         : size_t(uint64_t(endMs - startMs) * 22050 / 1000 * 2);
        expected &= ~size_t(1);
    }
    unsigned count = unsigned(data.size() < expected ? data.size() : expected);
    if (count > buffer->GetSize()) Say("Error: CBSoundBuffer::ReadFromBuffer Lock.\n");
    return Store(buffer, 0, data.data(), count);
}

unsigned InsertWave(CBSoundBuffer* buffer, unsigned samplePos, const char* path, int startMs,
                    int endMs) {
    if (!buffer || !path) return 0;
    CLxWaveFile wave;
    if (!wave.Open(path)) return 0;
    unsigned offset, length;
    wave.Range(startMs, endMs, &offset, &length);
    std::vector<uint8_t> data;
    if (!wave.ReadData(offset, length, &data)) return 0;
    uint64_t pos = uint64_t(samplePos) * (wave.Bits() / 8);
    if (pos >= buffer->GetSize()) return 0;
    return Store(buffer, unsigned(pos), data.data(), length);
}

bool WriteWave(CBSoundBuffer* buffer, const char* name, unsigned start, unsigned end) {
    if (!buffer || !name || !SafeName(name) || buffer->GetSize() == 0) return false;
    unsigned size = buffer->GetSize();
    if (start > size) start = size;
    if (end > size) end = size;
    unsigned length = start < end ? end - start : size - start + end;
    uint8_t header[44];
    std::memcpy(header, "RIFF", 4);
    Le(header + 4, length + 36, 4);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    Le(header + 16, 16, 4);
    Le(header + 20, 1, 2);     // PCM
    Le(header + 22, 1, 2);     // mono
    Le(header + 24, 22050, 4); // samples per second
    Le(header + 28, 44100, 4); // bytes per second
    Le(header + 32, 2, 2);     // block
    Le(header + 34, 16, 2);    // bits
    std::memcpy(header + 36, "data", 4);
    Le(header + 40, length, 4);

    CLxSaveFile file(name);
    if (!file.IsOpen()) return false;
    file.Write(header, sizeof header);
    // The part is taken as from a ring, whether or not the buffer loops: start up to the
    // end, then the beginning up to end.
    unsigned first = start < end ? end - start : size - start;
    unsigned second = length - first;
    void *region1, *region2;
    unsigned len1, len2;
    if (first) {
        if (buffer->Lock(start, first, &region1, &len1, &region2, &len2, 0) != 0) return false;
        file.Write(region1, len1);
    }
    if (second) {
        if (buffer->Lock(0, second, &region1, &len1, &region2, &len2, 0) != 0) return false;
        file.Write(region1, len1);
    }
    return file.Commit();
}
