// FSMedian(feature, W, K): robust smoothing over a centred window of W values, the
// source values at i - W/2 ... i - W/2 + W - 1 (0 below address 0 and, once the
// source is complete, past its end). Sorted in descending order, with the median
// m = sorted[W/2], the mean u of the K largest and the mean l of the K smallest, the
// output is u, or l where u <= m. An address is made as soon as its whole window is
// there; the last W - W/2 - 1 follow when the source completes. The window must hold
// at least one value and K at most W (both divide and index the sorted window).
#include <algorithm>
#include <functional>
#include <vector>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/FeatureModule.h"

namespace {
class FSMedian : public FeatureModule {
  public:
    FSMedian(Feature* source, int w, int k) : FeatureModule({source}), k_(k), window_(w) {}

    int Process() override {
        Feature* x = sources_[0];
        complete = x->complete;
        int n = SourceLength(), w = static_cast<int>(window_.size()), half = w / 2;
        int last = complete ? n : n - (w - half) + 1; // one past the last address to make
        for (int i = length; i < last; ++i) {
            for (int j = 0; j < w; ++j) {
                int at = i - half + j;
                window_[j] = at >= 0 && at < n ? x->data[at] : 0.0f;
            }
            std::sort(window_.begin(), window_.end(), std::greater<float>());
            double upper = 0, lower = 0;
            for (int j = 0; j < k_; ++j) {
                upper += window_[j];
                lower += window_[w - 1 - j];
            }
            upper /= k_;
            lower /= k_;
            if (!Append(static_cast<float>(upper <= window_[half] ? lower : upper))) break;
        }
        return 0;
    }

  private:
    int k_;
    std::vector<float> window_;
};
} // namespace

Interface* NewFSMedian(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    auto source = args.Get<Feature>(0, "Feature");
    if (!source) {
        report("FSMedian: First parameter must be 'Feature' Interface");
        return nullptr;
    }
    double w = 0, k = 0;
    const char* error = nullptr;
    if (!args.GetNumber(1, &w) || !(w >= 1 && w < FeatureModule::kCapacity + 1))
        error = "FSMedian: Second parameter error";
    else if (!args.GetNumber(2, &k) || !(k >= 1 && static_cast<int>(k) <= static_cast<int>(w)))
        error = "FSMedian: Third parameter error";
    if (error) {
        report("%s", error);
        return nullptr;
    }
    auto* median = new FSMedian(source.get(), static_cast<int>(w), static_cast<int>(k));
    Interface* made = LinkNew(median, {args.At(0)});
    return made;
}
