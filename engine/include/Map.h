// A block of frames by bands: the form every spectral representation (spectra, band
// energies, cepstra, normalised maps) travels in. The producer writes these fields in
// Process; consumers read them after it ran.
//
// Layout is band-major: the value of band b in frame f of the current block is
// data[b * frames + f]. Each band is one row whose length is the frame count of the
// current block, not the allocated maximum.
//
// A producer that knows its time base also keeps the Number members "framedist"
// (samples between frame starts) and "sps" (samples per second of the signal) in its
// own folder, for consumers to Find.
#pragma once
#include <cstdint>

#include "Interface.h"

class Map : public virtual Interface {
  public:
    // The values of the current block, band-major (see above).
    float* data = nullptr;
    // Frames in the current block.
    int32_t frames = 0;
    // Values per frame.
    int32_t bands = 0;
    // Floats allocated for data; set by the producer, not to be relied on by consumers.
    int32_t capacity = 0;
    // Copied from the source: 1 when this block ends the stream.
    int32_t complete = 0;
};
