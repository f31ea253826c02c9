// The analysis windows; see Window.h.
#include "signal/Window.h"

#include <cmath>

std::vector<float> MakeWindow(int type, int length) {
    const float kTwoPi = 6.28318530717958647692f;
    std::vector<float> w(length);
    for (int i = 0; i < length; ++i) {
        float a = kTwoPi * static_cast<float>(i) / static_cast<float>(length);
        if (type == 0)
            w[i] = 1.0f;
        else if (type == 1)
            w[i] = 0.54f - 0.46f * std::cos(a);
        else
            w[i] = 0.3635819f - 0.4891775f * std::cos(a) + 0.1365995f * std::cos(2.0f * a) +
                   0.0106411f * std::cos(3.0f * a);
    }
    return w;
}
