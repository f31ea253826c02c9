// The sound-buffer object; see SampleBuffer.h.
#include "signal/SampleBuffer.h"

#include <cstring>

SampleBuffer::SampleBuffer(int32_t samples) : samples_(new float[samples > 0 ? samples : 1]()) {
    data = samples_.get();
    capacity = samples > 0 ? samples : 0;
    length = capacity;
}

void* SampleBuffer::GetInterface(const char* name) {
    if (std::strcmp(name, "SoundBuffer")) return ModuleBase::GetInterface(name);
    AddRef();
    return static_cast<SoundBuffer*>(this);
}
