// The sound-buffer object; see SampleBuffer.h.
#include "signal/SampleBuffer.h"

#include <algorithm>
#include <cstring>

SampleBuffer::SampleBuffer(int32_t samples)
    : samples_(MakeZeroed<float>(samples > 0 ? samples : 1)) {
    data = samples_.get();
    capacity = samples > 0 ? samples : 0;
    length = capacity;
}

void* SampleBuffer::GetInterface(const char* name) {
    return AnswerAs<SoundBuffer>(this, "SoundBuffer", name);
}

bool SampleBuffer::Reserve(int64_t samples) {
    if (samples <= capacity) return true;
    if (samples > kMaxCapacity) return false;
    int64_t grown = std::max<int64_t>(capacity, 1);
    while (grown < samples)
        grown *= 2;
    grown = std::min<int64_t>(grown, kMaxCapacity);
    ZeroedArray<float> larger = MakeZeroed<float>(grown);
    std::copy(samples_.get(), samples_.get() + std::clamp(length, 0, capacity), larger.get());
    samples_ = std::move(larger);
    data = samples_.get();
    capacity = static_cast<int32_t>(grown);
    return true;
}
