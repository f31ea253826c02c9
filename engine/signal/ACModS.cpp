// ACModS(feature, fm [, w]): the strength of a modulation at fm Hz over a segment, the
// magnitude of the feature's Fourier sum at fm over the frames begin ... end (both
// ends), divided by their count. Segments shorter than w milliseconds are widened
// symmetrically to about w (never before frame 0, and not past the last frame of a
// complete feature). The frame rate comes from "_sps" / "_framedist" of the folder the
// cue was made in, both truncated to integers, as an integer quotient (64 and 22050
// by default); a rate below one frame per second gives 0. Empty or reversed segments
// give 0. The sums are kept in 32-bit floats.
#include <algorithm>
#include <cmath>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/CueModule.h"
#include "signal/TimeBase.h"

namespace {
class ACModS : public CueModule {
  public:
    ACModS(Feature* feature, float fm, int w, Interface* home)
        : CueModule(feature), fm_(fm), w_(w), time_(home) {}

    float Value(int32_t begin, int32_t end) override {
        int sps = Clip(time_.Sps(22050)), frameDist = Clip(time_.FrameDist(64));
        int fps = sps / std::max(frameDist, 1);
        if (begin >= end || fps < 1) return 0.0f;
        int64_t first = begin, last = end;
        if (w_ != 0) {
            int64_t wf = Clip(w_ * double(fps) * 0.001);
            int64_t d = std::max<int64_t>(wf - (last - first + 1), 0);
            first = std::max<int64_t>(first - d / 2, 0);
            last += d / 2;
        }
        if (feature_->complete) last = std::min<int64_t>(last, feature_->length - 1);
        int64_t n = last - first + 1;
        if (n <= 0) return 0.0f;
        float omega = fm_ * 6.2831855f / static_cast<float>(fps);
        float cs = 0, sn = 0;
        for (int64_t i = 0; i < n; ++i) {
            float phi = static_cast<float>(i) * omega, x = X(first + i);
            cs = cs + x * std::cos(phi);
            sn = sn + x * std::sin(phi);
        }
        return std::sqrt(cs * cs + sn * sn) / static_cast<float>(n);
    }

  private:
    float fm_;
    int w_;
    TimeBase time_;
};
} // namespace

Interface* NewACModS(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    auto feature = args.Get<Feature>(0, "Feature");
    if (!feature) {
        report("ACModS: First parameter must be 'Feature' Interface");
        return nullptr;
    }
    double fm = 0, w = 0;
    if (!args.GetNumber(1, &fm)) {
        report("ACModS: Parameter error");
        return nullptr;
    }
    args.GetNumber(2, &w);
    auto* cue = new ACModS(feature.get(), static_cast<float>(fm), Clip(w), context);
    Interface* made = LinkCue(cue, args.At(0));
    return made;
}
