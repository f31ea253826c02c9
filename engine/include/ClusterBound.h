// The candidate segment boundaries of the material, in frames: segment i spans the
// frames from Boundary(i) up to Boundary(i + 1). Spectra (one segment per frame), voice
// detectors and segmenters produce them; the search engines consume them.
#pragma once
#include <cstdint>

#include "Interface.h"

class ClusterBound : public virtual Interface {
  public:
    // The frame of the i-th boundary; boundaries increase, boundary 0 is the first
    // frame of the material. Ask only for i below count; what larger indices give is
    // up to each producer.
    virtual int32_t Boundary(int32_t i) = 0;
    // The known class (phoneme index) of the segment that starts at boundary i; 0 from
    // producers without labels.
    virtual int32_t Label(int32_t i) = 0;

    // Boundaries so far; segments exist for i from 0 to count - 2.
    int32_t count = 0;
    // 1 when the underlying stream has ended and the list is final.
    int32_t complete = 0;
    // Distance between two frames in milliseconds.
    float frameMs = 0;
};
