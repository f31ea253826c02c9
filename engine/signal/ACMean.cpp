// ACMean(feature, f1, f2 [, n]): a mean over a segment from prefix sums, so every mean
// over (i, j] leaves x[i] out. With n = -1 (the default) the mean of the part
// (f1, f2) of the segment; with n >= 0 the mean of the n frames before begin's end,
// the left context (cut at frame 0, its divisor kept); with n < -1 the mean of the
// |n| frames after end, the right context. Begin and end are first lowered to the
// last sum made. Sums past those made throw DataNotAvailable while the feature still
// grows; once it is complete they stop at its last frame.
#include <algorithm>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/CueModule.h"
#include "signal/PrefixSums.h"

namespace {
class ACMean : public CueModule {
  public:
    ACMean(Feature* feature, float f1, float f2, int context)
        : CueModule(feature), f1_(f1), f2_(f2), context_(context) {}

    int Process() override {
        sums_.Extend(*feature_);
        return 0;
    }
    void Discard(int n) override { sums_.Discard(n); }

    float Value(int32_t begin, int32_t end) override {
        int k = sums_.length;
        if (k == 0) sums_.Value(0); // throws: no sums yet
        int64_t length = int64_t(end) - begin;
        begin = std::min(begin, k - 1);
        end = std::min(end, k - 1);
        int i1 = std::max(Clip(double(begin) + Part(length, f1_)), 0);
        int i2 = std::min(Clip(double(begin) + Part(length, f2_)), k - 1);
        double mean = i1 == i2 ? X(i1) : sums_.Mean(i1, i2);
        if (context_ == -1) return static_cast<float>(mean);
        if (context_ >= 0) {
            int j = std::min(Clip(double(end) - context_), begin);
            double divisor = double(begin) - j;
            j = std::max(j, 0);
            if (j == begin) return X(begin);
            return static_cast<float>((double(sums_.Value(begin)) - sums_.Value(j)) / divisor);
        }
        int last = sums_.Reach(Clip(double(end) - context_), feature_->complete);
        if (last <= end) return X(end);
        return static_cast<float>(sums_.Mean(end, last));
    }

  private:
    float f1_, f2_;
    int context_;
    PrefixSums sums_;
};
} // namespace

Interface* NewACMean(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    auto feature = args.Get<Feature>(0, "Feature");
    if (!feature) {
        report("ACMean: First parameter error");
        return nullptr;
    }
    double f1 = 0, f2 = 0, n = -1;
    if (!args.GetNumber(1, &f1) || !args.GetNumber(2, &f2)) {
        report("ACMean: Bound parameters error");
        return nullptr;
    }
    args.GetNumber(3, &n);
    auto* cue = new ACMean(feature.get(), static_cast<float>(f1), static_cast<float>(f2), Clip(n));
    Interface* made = LinkCue(cue, args.At(0));
    return made;
}
