// FRasta(feature, p, clip): the RASTA band-pass along a feature. At frame rates of
// 200 and more the fourth-order filter
//   y[i] = 0.85 (x[i] - 1.65066 x[i-1] + 1.65066 x[i-3] - x[i-4])
//          + (p + 1.72178) y[i-1] - (1.72178 p + 0.7871) y[i-2] + 0.78741 p y[i-3]
// runs with its histories carried across blocks; below (also with no time base at
// all) the first-order form y[i] = p y[i-1] + 0.1 (2x[i] + x[i-1] - x[i-3] - 2x[i-4])
// starts from zero histories in every Process. With clip set, negative outputs are
// written as 0; the history keeps the unclipped y.
#include <algorithm>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/FeatureModule.h"
#include "signal/TimeBase.h"

namespace {
class FRasta : public FeatureModule {
  public:
    FRasta(Feature* source, double pole, bool clip, Interface* home)
        : FeatureModule({source}), p_(pole), clip_(clip), time_(home) {}

    int Process() override {
        Feature* source = sources_[0];
        complete = source->complete;
        double sps = time_.Sps(0), frameDist = time_.FrameDist(0);
        bool fourth = sps > 0 && frameDist > 0 && sps / frameDist >= 200;
        if (!fourth) Clear();
        double p = p_;
        for (int i = length, n = SourceLength(); i < n; ++i) {
            double v = source->data[i], y;
            if (fourth)
                y = 0.85 * (v - 1.65066 * x_[0] + 1.65066 * x_[2] - x_[3]) + (p + 1.72178) * y_[0] -
                    (1.72178 * p + 0.7871) * y_[1] + 0.78741 * p * y_[2];
            else
                y = p * y_[0] + 0.1 * (2 * v + x_[0] - x_[2] - 2 * x_[3]);
            std::copy_backward(x_, x_ + 3, x_ + 4);
            std::copy_backward(y_, y_ + 2, y_ + 3);
            x_[0] = v;
            y_[0] = y;
            Append(clip_ && y < 0 ? 0.0f : static_cast<float>(y));
        }
        return 0;
    }
    void Discard(int n) override {
        if (n < 0) Clear();
        FeatureModule::Discard(n);
    }

  private:
    void Clear() {
        std::fill(x_, x_ + 4, 0.0);
        std::fill(y_, y_ + 3, 0.0);
    }

    double p_;
    bool clip_;
    TimeBase time_;
    double x_[4] = {}; // x[i-1] ... x[i-4]
    double y_[3] = {}; // y[i-1] ... y[i-3]
};
} // namespace

Interface* NewFRasta(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    auto source = args.Get<Feature>(0, "Feature");
    if (!source) {
        report("FRasta: First parameter error must be 'Feature' Interface");
        return nullptr;
    }
    double pole = 0, clip = 0;
    const char* error = nullptr;
    if (!args.GetNumber(1, &pole))
        error = "FRasta: Second parameter must be a number";
    else if (!args.GetNumber(2, &clip))
        error = "FRasta: Third parameter must be a number";
    if (error) {
        report("%s", error);
        return nullptr;
    }
    // The flag is an integer: only its truncation decides.
    bool clipped = clip >= 1 || clip <= -1;
    Interface* made = LinkNew(new FRasta(source.get(), pole, clipped, context), {args.At(0)});
    return made;
}
