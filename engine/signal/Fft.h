// The real-input FFT behind the spectra. A transform of N real values (N a power of
// two, at least 4) runs as one complex radix-2 transform of N/2 points over the values
// packed in pairs (x[2j] + i x[2j+1]), then splits the result into the spectrum of the
// real input. Twiddles are computed once, in double precision, and stored per stage so
// the butterflies read them in order. Complex values are kept as separate real and
// imaginary arrays and multiplied by hand: the library's complex product checks for
// infinities on every call, which made it the cost of the whole analysis.
#pragma once
#include <vector>

class Fft {
  public:
    explicit Fft(int n);

    int Size() const { return n_; }
    // |X[k]| / N for k = 0 ... N/2 of the N values in x, into out (N/2 + 1 floats).
    void Magnitudes(const float* x, float* out);

  private:
    void Transform(); // in place on re_, im_: N/2 points

    int n_;
    std::vector<float> re_, im_;
    std::vector<float> cosines_, sines_;     // e^(-2 pi i k / N), k < N/2
    std::vector<float> stageCos_, stageSin_; // per stage of span s: s twiddles
    std::vector<int> reversed_;              // bit reversal of the N/2 indices
};
