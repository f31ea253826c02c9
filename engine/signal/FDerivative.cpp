// FDerivative(feature, abs [, A [, G]]): the difference of two moving sums, the last
// A values minus the A values that end G values before them,
//   S_j = sum x[j-A+1 .. j] - sum x[j-2A-G+1 .. j-A-G],   x[k] = x[0] for k < 0,
// kept as a running sum in double across blocks and centred on the input: output i
// is S_{i+A+G/2-1} (its absolute value with abs set). Behind the outputs the last S is
// held: once the source is complete these copies fill the feature up to the source's
// length, before that they are written but not counted and later blocks overwrite
// them. A and G default to 6 and 3 (also when given as 0).
#include <algorithm>
#include <cmath>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/FeatureModule.h"

namespace {
class FDerivative : public FeatureModule {
  public:
    FDerivative(Feature* source, bool absolute, int a, int g)
        : FeatureModule({source}), absolute_(absolute), a_(a), g_(g), lag_(a + g / 2 - 1) {}

    int Process() override {
        Feature* source = sources_[0];
        complete = source->complete;
        int n = SourceLength();
        const float* x = source->data;
        auto at = [x](int k) { return static_cast<double>(x[std::max(k, 0)]); };
        for (; j_ < n; ++j_) {
            sum_ += at(j_) - at(j_ - a_) - at(j_ - a_ - g_) + at(j_ - 2 * a_ - g_);
            if (j_ >= lag_) data[j_ - lag_] = Out();
        }
        int made = std::max(n - lag_, 0);
        // The held copies; n - made of them belong to a complete stream.
        int held = std::min(made + (g_ - g_ / 2) + a_, kCapacity);
        for (int i = made; i < held; ++i)
            data[i] = Out();
        length = complete ? std::min(n, held) : made;
        return 0;
    }
    void Discard(int n) override {
        FeatureModule::Discard(n);
        if (n < 0) {
            sum_ = 0;
            j_ = 0;
        } else {
            j_ = std::max(j_ - n, 0);
        }
    }

  private:
    float Out() const { return static_cast<float>(absolute_ ? std::fabs(sum_) : sum_); }

    bool absolute_;
    int a_, g_, lag_;
    double sum_ = 0; // S after input position j_ - 1
    int j_ = 0;      // the next input position
};

// An optional integer: 0 or missing gives the default; false when out of range.
bool Optional(const Arguments& args, int position, int fallback, int* value) {
    double v = 0;
    if (!args.GetNumber(position, &v) || (v > -1 && v < 1)) {
        *value = fallback;
        return true;
    }
    if (!(v >= 1 && v < 10001)) return false;
    *value = static_cast<int>(v);
    return true;
}
} // namespace

Interface* NewFDerivative(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    auto source = args.Get<Feature>(0, "Feature");
    if (!source) {
        report("FDerivative: First parameter must be 'Feature' Interface");
        return nullptr;
    }
    double absolute = 0;
    int a = 0, g = 0;
    if (!args.GetNumber(1, &absolute) || !Optional(args, 2, 6, &a) || !Optional(args, 3, 3, &g)) {
        report("FDerivative: Second parameter error");
        return nullptr;
    }
    bool flag = absolute >= 1 || absolute <= -1;
    Interface* made = LinkNew(new FDerivative(source.get(), flag, a, g), {args.At(0)});
    return made;
}
