// Argument helpers of the map factories: integers and reals read from Number
// arguments with the range checks that keep script numbers from dividing by zero,
// sizing arrays badly or overflowing a conversion.
#pragma once
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "core/Arguments.h"

// Output bands a script may ask a map for.
constexpr int kMaxMapBands = 4096;
// Frame lengths and transform sizes a script may ask for.
constexpr int kMaxFrameLength = 65536;
// Floats a map may allocate (1 GB).
constexpr int64_t kMaxMapValues = int64_t{1} << 28;

// Whether a map of these bands by frames stays within what a map may allocate.
inline bool FitsMap(int64_t bands, int64_t frames) {
    return bands * std::max<int64_t>(frames, 1) <= kMaxMapValues;
}

// The Number at a position truncated toward zero, when that lies in low ... high.
inline bool GetInteger(const Arguments& args, int position, int low, int high, int* out) {
    double v = 0;
    if (!args.GetNumber(position, &v) || !(v > -2147483649.0 && v < 2147483648.0)) return false;
    int i = static_cast<int>(v);
    if (i < low || i > high) return false;
    *out = i;
    return true;
}

// The Number at a position as a 32-bit float, when it is finite there.
inline bool GetReal(const Arguments& args, int position, float* out) {
    double v = 0;
    if (!args.GetNumber(position, &v) || !(std::fabs(v) <= FLT_MAX)) return false;
    *out = static_cast<float>(v);
    return true;
}

inline bool IsPowerOfTwo(int n) {
    return n > 0 && !(n & (n - 1));
}
