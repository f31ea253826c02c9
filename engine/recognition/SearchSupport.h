// What the search classes share: the optional Number arguments of their factories,
// read as integers (truncated toward zero and kept inside the int range) with a
// default when absent or not a Number, and the segment scores of a second evaluator.
#pragma once
#include <cmath>

#include "Evaluator.h"
#include "core/Arguments.h"

inline int IntegerArgument(const Arguments& args, int position, int fallback) {
    double value = 0;
    if (position >= args.Size() || !args.GetNumber(position, &value) || std::isnan(value))
        return fallback;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483647.0) return -2147483647;
    return static_cast<int>(value);
}

// A queue capacity: below 1 takes the default.
inline int CapacityArgument(const Arguments& args, int position, int fallback) {
    int value = IntegerArgument(args, position, fallback);
    return value < 1 ? fallback : value;
}

// Entry k of an evaluator's scores for a segment, or neutral when its vector is too
// short to have one.
inline float SegmentScore(Evaluator* e, int32_t begin, int32_t end, int k, float neutral) {
    const float* s = e->Evaluate(begin, end);
    return s && k < e->count ? s[k] : neutral;
}
