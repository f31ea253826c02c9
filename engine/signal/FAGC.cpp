// FAGC(feature, eps, T [, m0]): automatic gain control. A running level follows the
// input with the time constant T (milliseconds) and each value is scaled by it:
// m = a m + (1 - a) x, out = 33 x / (m + eps), a = exp(-frameMs / T). The level starts
// at m0, carries across blocks and goes back to m0 on every Discard. T must be
// positive: it divides the frame period.
#include <cmath>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/FeatureModule.h"
#include "signal/TimeBase.h"

namespace {
class FAGC : public FeatureModule {
  public:
    FAGC(Feature* source, double eps, double t, double m0, Interface* home)
        : FeatureModule({source}), eps_(eps), t_(t), m0_(m0), level_(m0), time_(home) {}

    int Process() override {
        Feature* x = sources_[0];
        complete = x->complete;
        double frameMs = 1000.0 * time_.FrameDist(64) / time_.Sps(22050);
        double a = std::exp(-frameMs / t_);
        for (int i = length, n = SourceLength(); i < n; ++i) {
            level_ = a * level_ + (1 - a) * x->data[i];
            Append(static_cast<float>(33.0 * x->data[i] / (level_ + eps_)));
        }
        return 0;
    }
    void Discard(int n) override {
        FeatureModule::Discard(n);
        level_ = m0_;
    }

  private:
    double eps_, t_, m0_, level_;
    TimeBase time_;
};
} // namespace

Interface* NewFAGC(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    auto source = args.Get<Feature>(0, "Feature");
    if (!source) {
        report("FAGC: First parameter must be 'Feature' Interface");
        return nullptr;
    }
    double eps = 0, t = 0, m0 = 0;
    const char* error = nullptr;
    if (!args.GetNumber(1, &eps))
        error = "FAGC: Second parameter error";
    else if (!args.GetNumber(2, &t) || !(t > 0))
        error = "FAGC: Third parameter error";
    if (error) {
        report("%s", error);
        return nullptr;
    }
    args.GetNumber(3, &m0);
    Interface* made = LinkNew(new FAGC(source.get(), eps, t, m0, context), {args.At(0)});
    return made;
}
