// Spectrum(source, L, H, N, window): the short-time magnitude spectrum of a stream of
// sound-buffer blocks. Frames of L samples start every H samples; each is windowed
// (0 rectangular, 1 Hamming, 2 four-term cosine; periodic), zero-padded or cut to N
// and transformed; band k of a frame is |X[k]| / N for k = 0 ... N/2.
//
// The stream is seen as one sequence across blocks: while a block is not complete,
// the samples from the next frame start on are kept as a tail and analysed with the
// next block; a complete block also gets the frames that start up to its very end,
// zero-filled behind the data, and empties the tail. So a signal cut into blocks gives
// the same frames as the whole signal at once.
//
// It is also the simplest cluster bound (every frame a segment) and keeps the Number
// members "framedist" (H) and "sps" (the source's rate) in its folder.
#pragma once
#include <memory>
#include <vector>

#include "ClusterBound.h"
#include "Map.h"
#include "SoundBuffer.h"
#include "core/ModuleBase.h"
#include "core/NumberObject.h"
#include "core/ZeroedArray.h"
#include "signal/Fft.h"

class Spectrum : public ModuleBase, public virtual ClusterBound, public virtual Map {
  public:
    Spectrum(SoundBuffer* source, int frameLength, int hop, int size, int window);
    ~Spectrum() override;

    int Process() override;
    // Restarts the frame count; the tail of an unfinished stream stays.
    void Discard(int) override { ClusterBound::count = 0; }
    int32_t Boundary(int32_t i) override { return i; }
    int32_t Label(int32_t) override { return 0; }
    // "ClusterBound", "Map", then the module base's names.
    void* GetInterface(const char* name) override;

  private:
    // Windows and transforms available samples from at, zero-filled to N, into frame f
    // of a block of frames frames.
    void Analyse(const float* at, int available, int f, int frames);

    SoundBuffer* source_;
    int frameLength_, hop_;
    int maxFrames_;
    Fft fft_;
    std::vector<float> window_, frame_, bandsOut_, tail_;
    int tailCount_ = 0;
    ZeroedArray<float> values_;
    NumberObject* frameDist_;
    NumberObject* rate_;
};
