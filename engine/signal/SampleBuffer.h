// The sound-buffer object: a module that owns its sample array and offers it as a
// SoundBuffer. File inputs and the buffer-owning transforms build on it. The array is
// allocated once, zero-filled, and grows only where a class asks for it (Reserve); length starts
// equal to capacity (a block of silence) until a producer writes a real block, and sps starts at 0.
#pragma once
#include <memory>

#include "SoundBuffer.h"
#include "core/ModuleBase.h"
#include "core/ZeroedArray.h"

class SampleBuffer : public ModuleBase, public virtual SoundBuffer {
  public:
    static constexpr int32_t kDefaultCapacity = 1000000;

    explicit SampleBuffer(int32_t samples = kDefaultCapacity);

    // "SoundBuffer", then the module base's names.
    void* GetInterface(const char* name) override;

  protected:
    // Makes room for at least samples samples by doubling the capacity, keeping the
    // first length ones; false (and nothing changed) when that would pass kMaxCapacity.
    bool Reserve(int64_t samples);

    static constexpr int32_t kMaxCapacity = 1 << 28;

  private:
    ZeroedArray<float> samples_;
};
