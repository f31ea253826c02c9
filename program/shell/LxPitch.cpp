// Pitch and voicing of one block (see LxPitch.h). Sums are kept in double: the block is
// on the 16-bit scale, so float sums of squares would lose the small lags' differences.
#include "shell/LxPitch.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kRate = 22050;
}

float PitchEstimate(float* x, int count, int minHz, int maxHz, float* voicing) {
    float unused;
    if (!voicing) voicing = &unused;
    *voicing = 0;
    if (!x || count <= 0 || minHz <= 0 || maxHz <= 0) return 0;

    double sum = 0;
    for (int i = 0; i < count; i++)
        sum += x[i];
    float mean = static_cast<float>(sum / count);
    // Each output reads only inputs at or after its own index, so the filter can run in
    // place from the front; the last six samples are only centred.
    int i = 0;
    for (; i + 6 < count; i++)
        x[i] = 0.05f * (x[i] + x[i + 6]) + 0.1f * (x[i + 1] + x[i + 5]) +
               0.15f * (x[i + 2] + x[i + 4]) + 0.4f * x[i + 3] - mean;
    for (; i < count; i++)
        x[i] -= mean;

    double best = -1;
    int lag = 0;
    for (int k = std::max(1, kRate / maxHz); k <= kRate / minHz; k++) {
        double r = 0;
        for (int m = 0; m + k < count; m++)
            r += double(x[m]) * x[m + k];
        if (r > best) {
            best = r;
            lag = k;
        }
    }
    if (lag <= 0) return 0;

    double energy = 0;
    for (int m = 0; m < count; m++)
        energy += double(x[m]) * x[m];
    if (energy > 0 && best > 0 && count > lag)
        *voicing = static_cast<float>(std::sqrt(best / (count - lag) / energy));
    return static_cast<float>(kRate) / lag;
}
