// Running sums of a feature; see PrefixSums.h.
#include "signal/PrefixSums.h"

#include <algorithm>
#include <cstring>

PrefixSums::PrefixSums() : sums_(MakeZeroed<float>(kCapacity)) {
    data = sums_.get();
    length = 0;
}

void PrefixSums::Extend(const Feature& x) {
    int n = std::clamp(x.length, 0, kCapacity);
    double sum = length > 0 ? data[length - 1] : 0.0;
    for (; length < n; ++length) {
        sum += x.data[length];
        data[length] = static_cast<float>(sum);
    }
}

void PrefixSums::Discard(int n) {
    if (n < 0 || n >= length) {
        length = 0;
        return;
    }
    std::memmove(data, data + n, static_cast<size_t>(length - n) * sizeof(float));
    length -= n;
}

int PrefixSums::Reach(int index, bool streamComplete) {
    if (index < length) return index;
    if (!streamComplete || length == 0) Value(index); // throws: not there (yet)
    return length - 1;
}
