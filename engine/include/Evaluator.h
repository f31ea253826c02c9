// Scores a segment of frames against the recogniser's classes.
#pragma once
#include <cstdint>

#include "Interface.h"

class Evaluator : public virtual Interface {
  public:
    // The scores of the segment that starts at frame begin and ends before frame end
    // (one frame t is the segment (t, t + 1)). The array is indexed from 1: entries
    // 1 ... count - 1 are the class scores, entry 0 means nothing. It belongs to the
    // evaluator and stays valid only until its next Evaluate (in a cache: until the
    // entry goes), so callers copy what they keep.
    virtual float* Evaluate(int32_t begin, int32_t end) = 0;

    // The evaluator's own result buffer.
    float* scores = nullptr;
    // Number of classes plus 1.
    int32_t count = 0;
};
