// ACMiddle(feature [, f1 [, f2 [, offset]]]): the feature's value in the middle of the
// part (f1, f2) of a segment, frame floor((2 begin + trunc(L f2) + trunc(L f1)) / 2)
// + offset, clamped to the length the feature had at the cue's last Process.
#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/CueModule.h"

namespace {
class ACMiddle : public CueModule {
  public:
    ACMiddle(Feature* feature, float f1, float f2, int offset)
        : CueModule(feature), f1_(f1), f2_(f2), offset_(offset) {}

    int Process() override {
        seen_ = feature_->length;
        return 0;
    }
    float Value(int32_t begin, int32_t end) override {
        int64_t length = int64_t(end) - begin;
        int64_t twice = 2 * int64_t(begin) + Part(length, f2_) + Part(length, f1_);
        int64_t i = (twice >= 0 ? twice / 2 : -((-twice + 1) / 2)) + offset_;
        if (i < 0)
            i = 0;
        else if (i >= seen_)
            i = seen_ - 1;
        return X(i);
    }

  private:
    float f1_, f2_;
    int offset_;
    int seen_ = 0;
};
} // namespace

Interface* NewACMiddle(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    auto feature = args.Get<Feature>(0, "Feature");
    if (!feature) {
        report("ACMiddle: First parameter must be 'Feature' Intrerface");
        return nullptr;
    }
    double f1 = 0, f2 = 1, offset = 0;
    args.GetNumber(1, &f1);
    args.GetNumber(2, &f2);
    args.GetNumber(3, &offset);
    auto* cue =
        new ACMiddle(feature.get(), static_cast<float>(f1), static_cast<float>(f2), Clip(offset));
    Interface* made = LinkCue(cue, args.At(0));
    return made;
}
