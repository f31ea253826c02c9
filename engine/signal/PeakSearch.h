// Helpers of the spectral peak maps (LineSpectrum, SBS, SBS_Bark, LobeIntegration).
//
// They work on the first K bands of their source: all of them when the count is odd (a
// spectrum of N/2 + 1 bands), half when it is even (two stacked spectra, the second of
// which is copied through). The auditory-channel classes pick one bin per channel with
// a weighted search: bins are visited one after another with a running weight m that
// is multiplied by a per-bin factor after each visit; a bin counts only while the new
// weight stays above 0.0316, and the largest weighted value wins (the earlier bin on a
// tie).
#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

#include "Number.h"

namespace peak {

// A script number as an integer, truncated; saturated at the int range, NaN as 0.
inline int ToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

// The considered bands of a source block of that many bands.
inline int Considered(int bands) {
    return bands % 2 ? bands : bands / 2;
}

// The sampling rate: the Number "_sps" seen from the creation folder, else 22050.
inline double SampleRate(Interface* home) {
    constexpr double kDefault = 22050;
    Interface* found = home ? home->Find("_sps", 4) : nullptr;
    auto* number = QueryInterface<Number>(found, "Number");
    if (!number) return kDefault;
    double rate = number->value;
    number->Release();
    return rate > 0 ? rate : kDefault;
}

// The Bark-scale top of a rate: z_max = 6.7 asinh((h - 20) / 600), h = rate / 2 halved
// as an integer.
inline double BarkTop(int halfRate) {
    return 6.7 * std::asinh((halfRate - 20) / 600.0);
}
inline double BarkToHz(double z) {
    return 600 * std::sinh(z / 6.7) + 20;
}

struct Found {
    int bin = -1;    // the winner; -1 when no bin counted
    double best = 0; // its weighted value
    double sum = 0;  // the sum of the counted weighted values
};

inline void SearchSide(const float* x, int from, int to, int step, double m, double factor,
                       Found* found) {
    for (int k = from; step < 0 ? k >= to : k <= to; k += step) {
        double weighted = m * x[k];
        m *= factor;
        if (m <= 0.0316) return;
        found->sum += weighted;
        if (found->bin < 0 || weighted > found->best) found->best = weighted, found->bin = k;
    }
}

// The search of a channel with centre bin e (in 1 ... K - 1) over the K values of x,
// with a decay of q dB: one-sided from e down to bin 1 with the factor w^2, or two-sided,
// first from e - 1 down with w^2 (starting at w^2), then from e up to K - 1 with w.
inline Found WeightedSearch(const float* x, int k, int e, double q, bool twoSided) {
    double w = std::pow(std::pow(10.0, -0.05 * q), 1.0 / e);
    Found found;
    if (!twoSided) {
        SearchSide(x, e, 1, -1, 1.0, w * w, &found);
    } else {
        SearchSide(x, e - 1, 1, -1, w * w, w * w, &found);
        SearchSide(x, e, k - 1, 1, 1.0, w, &found);
    }
    return found;
}

// A centre bin computed in double, clamped into 1 ... K - 1 (a centre of 0 counts as 1).
inline int CentreBin(double bin, int k) {
    if (!(bin >= 1)) return 1;
    return bin >= k - 1 ? k - 1 : static_cast<int>(bin);
}

} // namespace peak
