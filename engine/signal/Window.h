// The analysis windows shared by the frame-based analyses (spectrum, linear
// prediction): 0 rectangular, 1 Hamming, 2 four-term cosine, all periodic (the
// cosines take 2 pi i / L), computed in 32-bit floats.
#pragma once
#include <vector>

// Window types a script may ask for: 0 ... kWindowTypes - 1.
constexpr int kWindowTypes = 3;

std::vector<float> MakeWindow(int type, int length);
