// FNormMeanDevOnline(feature, T, mean0): normalises a feature by a running mean and
// deviation with the time constant T (milliseconds): m = a m + (1 - a) x, d = x - m,
// v = a v + (1 - a) d^2, out = d / (sqrt v + 1), a = exp(-frameMs / T). The mean and
// variance start again at mean0 and 0 in every Process, so each block is normalised
// on its own. T must be positive: it divides the frame period.
#include <cmath>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/FeatureModule.h"
#include "signal/TimeBase.h"

namespace {
class FNormMeanDevOnline : public FeatureModule {
  public:
    FNormMeanDevOnline(Feature* source, double t, double mean0, Interface* home)
        : FeatureModule({source}), t_(t), mean0_(mean0), time_(home) {}

    int Process() override {
        Feature* x = sources_[0];
        complete = x->complete;
        double frameMs = 1000.0 * time_.FrameDist(64) / time_.Sps(22050);
        double a = std::exp(-frameMs / t_), mean = mean0_, variance = 0;
        for (int i = length, n = SourceLength(); i < n; ++i) {
            mean = a * mean + (1 - a) * x->data[i];
            double d = x->data[i] - mean;
            variance = a * variance + (1 - a) * d * d;
            Append(static_cast<float>(d / (std::sqrt(variance) + 1)));
        }
        return 0;
    }

  private:
    double t_, mean0_;
    TimeBase time_;
};
} // namespace

Interface* NewFNormMeanDevOnline(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    auto source = args.Get<Feature>(0, "Feature");
    if (!source) {
        report("FNormMeanDevOnline: First parameter must be 'Feature' Interface");
        return nullptr;
    }
    double t = 0, mean0 = 0;
    const char* error = nullptr;
    if (!args.GetNumber(1, &t) || !(t > 0))
        error = "FNormMeanDevOnline: Second parameter error";
    else if (!args.GetNumber(2, &mean0))
        error = "FNormMeanDevOnline: Third parameter error";
    if (error) {
        report("%s", error);
        return nullptr;
    }
    Interface* made =
        LinkNew(new FNormMeanDevOnline(source.get(), t, mean0, context), {args.At(0)});
    return made;
}
