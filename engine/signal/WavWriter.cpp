// The WAV writers' shared base; see WavWriter.h.
#include "signal/WavWriter.h"

#include <algorithm>

#include "signal/WavTool.h"

WavWriter::WavWriter(SoundBuffer* source) : source_(source) {
    source_->AddRef();
}

WavWriter::~WavWriter() {
    source_->Release();
}

int WavWriter::Process() {
    // A host-filled buffer may claim more than its array holds.
    int32_t n = std::clamp(source_->length, 0, std::max(source_->capacity, 0));
    Deliver(wav::Image(source_->data, source_->data ? n : 0, source_->sps));
    return 0;
}
