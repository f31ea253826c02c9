// A block of samples that one module produces and the next ones read: the start of
// every signal chain. It is a record of public fields with no operations of its own;
// the producer fills it in Process and its consumers read it after it ran.
//
// Samples are floats on the 16-bit integer scale (full scale is +-32767; nothing is
// normalised). A host may also fill a buffer itself (see DummySoundBuffer): it writes
// data, length, sps and complete, then runs the chain.
#pragma once
#include <cstdint>

#include "Interface.h"

class SoundBuffer : public virtual Interface {
  public:
    // The samples of the current block, one float per sample.
    float* data = nullptr;
    // Samples in the current block.
    int32_t length = 0;
    // Samples the data array can hold; length never exceeds it.
    int32_t capacity = 0;
    // Sampling rate in samples per second; 0 while unknown.
    int32_t sps = 0;
    // 1 when this block ends the stream (a whole file or utterance is present), 0 when
    // more blocks follow. Frame-based consumers keep a tail while it is 0 and flush it
    // when it is 1.
    int32_t complete = 0;
};
