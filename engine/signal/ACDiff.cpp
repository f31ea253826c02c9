// ACDiff(feature, f1, f2, f3): the mean of the later part (f2, f3) of a segment minus
// the mean of its earlier part (f1, f2), both from prefix sums (a mean over (i, j]
// leaves x[i] out). Sums past those made throw DataNotAvailable while the feature
// still grows; once it is complete they stop at its last frame.
#include <algorithm>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/CueModule.h"
#include "signal/PrefixSums.h"

namespace {
class ACDiff : public CueModule {
  public:
    ACDiff(Feature* feature, const float f[3]) : CueModule(feature), f_{f[0], f[1], f[2]} {}

    int Process() override {
        sums_.Extend(*feature_);
        return 0;
    }
    void Discard(int n) override { sums_.Discard(n); }

    float Value(int32_t begin, int32_t end) override {
        int64_t length = int64_t(end) - begin;
        int i1 = Clip(double(begin) + Part(length, f_[0]));
        int i2 = Clip(double(begin) + Part(length, f_[1]));
        int i3 = Clip(double(begin) + Part(length, f_[2]));
        int t = std::min(Clip(double(i2) + 1), i3);
        bool done = feature_->complete;
        i1 = sums_.Reach(std::max(i1, 0), done);
        i2 = sums_.Reach(std::max(i2, 0), done);
        t = sums_.Reach(std::max(t, 0), done);
        i3 = sums_.Reach(i3, done);
        float m1 = static_cast<float>(i1 == i2 ? X(i1) : sums_.Mean(i1, i2));
        double m2 = t == i3 ? X(t) : sums_.Mean(t, i3);
        return static_cast<float>(m2 - m1);
    }

  private:
    float f_[3];
    PrefixSums sums_;
};
} // namespace

Interface* NewACDiff(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    auto feature = args.Get<Feature>(0, "Feature");
    if (!feature) {
        report("ACDiff: First parameter error");
        return nullptr;
    }
    double v[3];
    for (int i = 0; i < 3; ++i) {
        if (args.GetNumber(i + 1, &v[i])) continue;
        report("ACDiff: Bound parameters error");
        return nullptr;
    }
    const float f[3] = {static_cast<float>(v[0]), static_cast<float>(v[1]),
                        static_cast<float>(v[2])};
    Interface* made = LinkCue(new ACDiff(feature.get(), f), args.At(0));
    return made;
}
