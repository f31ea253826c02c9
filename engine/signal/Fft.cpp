// The real-input FFT; see Fft.h.
#include "signal/Fft.h"

#include <cmath>
#include <numbers>

Fft::Fft(int n) : n_(n), work_(n / 2), twiddles_(n / 2), reversed_(n / 2) {
    int half = n / 2;
    for (int k = 0; k < half; ++k) {
        double angle = -2.0 * std::numbers::pi * k / n;
        twiddles_[k] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
    }
    int bits = 0;
    while ((1 << bits) < half)
        ++bits;
    for (int i = 0; i < half; ++i) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            if (i & 1 << b) r |= 1 << (bits - 1 - b);
        reversed_[i] = r;
    }
}

void Fft::Transform() {
    int half = n_ / 2;
    for (int i = 0; i < half; ++i)
        if (i < reversed_[i]) std::swap(work_[i], work_[reversed_[i]]);
    // Butterflies of growing span; the N/2-point twiddle of index j*step is the
    // N-point one of index 2*j*step.
    for (int span = 1; span < half; span *= 2) {
        int stride = n_ / (2 * span);
        for (int start = 0; start < half; start += 2 * span)
            for (int j = 0; j < span; ++j) {
                std::complex<float> t = twiddles_[j * stride] * work_[start + j + span];
                work_[start + j + span] = work_[start + j] - t;
                work_[start + j] += t;
            }
    }
}

void Fft::Magnitudes(const float* x, float* out) {
    int half = n_ / 2;
    for (int j = 0; j < half; ++j)
        work_[j] = {x[2 * j], x[2 * j + 1]};
    Transform();
    // Z = E + iO, with E and O the spectra of the even and odd values:
    // E[k] = (Z[k] + conj Z[M-k]) / 2, O[k] = (Z[k] - conj Z[M-k]) / 2i,
    // X[k] = E[k] + W^k O[k], and X[N/2] = E[0] - O[0].
    float scale = 1.0f / static_cast<float>(n_);
    for (int k = 0; k <= half; ++k) {
        std::complex<float> z = work_[k % half], zc = std::conj(work_[(half - k) % half]);
        std::complex<float> even = 0.5f * (z + zc);
        std::complex<float> odd = std::complex<float>(0, -0.5f) * (z - zc);
        std::complex<float> w = k < half ? twiddles_[k] : std::complex<float>(-1, 0);
        out[k] = std::abs(even + w * odd) * scale;
    }
}
