// The running sums of a feature that the mean cues keep, P[i] = x[0] + ... + x[i]
// (inclusive), so that P[j] - P[i] is the sum of x[i+1] ... x[j]. They are a Feature of
// their own (length is the count K of sums made), read through the guarded Value: a
// sum that is not made yet throws DataNotAvailable, a negative index IndexError.
#pragma once
#include <memory>

#include "Feature.h"
#include "core/ZeroedArray.h"

class PrefixSums : public Feature {
  public:
    static constexpr int kCapacity = 100000;

    PrefixSums();

    // Extends the sums up to the feature's length (at most the capacity); each run
    // sums in double from the last stored float.
    void Extend(const Feature& x);
    // n < 0 drops all; otherwise the first n sums go and the rest move down, unchanged.
    void Discard(int n);
    // An index the cue is about to read: past the sums made, a complete stream gives
    // the last one (nothing more will come), a growing one throws DataNotAvailable.
    int Reach(int index, bool streamComplete);
    // (P[j] - P[i]) / (j - i), the mean of x[i+1] ... x[j].
    double Mean(int i, int j) { return (double(Value(j)) - Value(i)) / (double(j) - i); }

  private:
    ZeroedArray<float> sums_;
};
