// The real-input FFT; see Fft.h.
#include "signal/Fft.h"

#include <cmath>
#include <numbers>
#include <utility>

Fft::Fft(int n) : n_(n), re_(n / 2), im_(n / 2), cosines_(n / 2), sines_(n / 2), reversed_(n / 2) {
    int half = n / 2;
    for (int k = 0; k < half; ++k) {
        double angle = -2.0 * std::numbers::pi * k / n;
        cosines_[k] = static_cast<float>(std::cos(angle));
        sines_[k] = static_cast<float>(std::sin(angle));
    }
    // The N/2-point twiddle of index j*stride is the N-point one of index 2*j*stride.
    for (int span = 1; span < half; span *= 2) {
        int stride = n / (2 * span);
        for (int j = 0; j < span; ++j) {
            stageCos_.push_back(cosines_[j * stride]);
            stageSin_.push_back(sines_[j * stride]);
        }
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
    float* re = re_.data();
    float* im = im_.data();
    for (int i = 0; i < half; ++i)
        if (i < reversed_[i]) {
            std::swap(re[i], re[reversed_[i]]);
            std::swap(im[i], im[reversed_[i]]);
        }
    // The first stage's twiddle factor is 1: its butterflies need no products.
    for (int a = 0; a + 1 < half; a += 2) {
        float br = re[a + 1], bi = im[a + 1];
        re[a + 1] = re[a] - br;
        im[a + 1] = im[a] - bi;
        re[a] += br;
        im[a] += bi;
    }
    const float* wc = stageCos_.data() + 1;
    const float* ws = stageSin_.data() + 1;
    for (int span = 2; span < half; span *= 2, wc += span / 2, ws += span / 2) {
        for (int start = 0; start < half; start += 2 * span)
            for (int j = 0; j < span; ++j) {
                int a = start + j, b = a + span;
                float tr = wc[j] * re[b] - ws[j] * im[b];
                float ti = wc[j] * im[b] + ws[j] * re[b];
                re[b] = re[a] - tr;
                im[b] = im[a] - ti;
                re[a] += tr;
                im[a] += ti;
            }
    }
}

void Fft::Magnitudes(const float* x, float* out) {
    int half = n_ / 2;
    for (int j = 0; j < half; ++j) {
        re_[j] = x[2 * j];
        im_[j] = x[2 * j + 1];
    }
    Transform();
    // Z = E + iO, with E and O the spectra of the even and odd values:
    // E[k] = (Z[k] + conj Z[M-k]) / 2, O[k] = (Z[k] - conj Z[M-k]) / 2i,
    // X[k] = E[k] + W^k O[k], and X[N/2] = E[0] - O[0].
    float scale = 1.0f / static_cast<float>(n_);
    auto magnitude = [&](int k, int p, int q, float wr, float wi) {
        float zr = re_[p], zi = im_[p], cr = re_[q], ci = -im_[q];
        float er = 0.5f * (zr + cr), ei = 0.5f * (zi + ci);
        float orr = 0.5f * (zi - ci), oi = -0.5f * (zr - cr); // (z - zc) / 2i
        float xr = er + wr * orr - wi * oi, xi = ei + wr * oi + wi * orr;
        out[k] = std::sqrt(xr * xr + xi * xi) * scale;
    };
    // Both ends fold Z[0] onto itself; the bins between pair Z[k] with Z[M-k].
    magnitude(0, 0, 0, cosines_[0], sines_[0]);
    for (int k = 1; k < half; ++k)
        magnitude(k, k, half - k, cosines_[k], sines_[k]);
    magnitude(half, 0, 0, -1.0f, 0.0f);
}
