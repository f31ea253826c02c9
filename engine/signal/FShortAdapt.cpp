// FShortAdapt(feature, Ta, Tb [, threshold]): short-term adaptation, an onset
// detector. An adaptation level s (starting at 0 in every Process) follows the input;
// the output is the rise above it, a = (x - s) k1 / fps when s <= x, else 0, kept
// only when it reaches the threshold; then s = s - s k2 / fps + a, with
// k1 = 1000/Ta - 1000/Tb and k2 = 1000/Tb. The feature starts as long as its source
// was at construction, with zeros: those frames came before the adaptation began.
// Ta and Tb must not be 0, they divide.
#include <algorithm>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/FeatureModule.h"
#include "signal/TimeBase.h"

namespace {
class FShortAdapt : public FeatureModule {
  public:
    FShortAdapt(Feature* source, double ta, double tb, double threshold, Interface* home)
        : FeatureModule({source}), k1_(1000 / ta - 1000 / tb), k2_(1000 / tb),
          threshold_(threshold), time_(home) {
        length = SourceLength();
    }

    int Process() override {
        Feature* x = sources_[0];
        complete = x->complete;
        double fps = time_.Sps(22050) / time_.FrameDist(64), s = 0;
        for (int i = length, n = SourceLength(); i < n; ++i) {
            double a = s <= x->data[i] ? (x->data[i] - s) * k1_ / fps : 0;
            Append(a >= threshold_ ? static_cast<float>(a) : 0.0f);
            s = s - s * k2_ / fps + a;
        }
        return 0;
    }

  private:
    double k1_, k2_, threshold_;
    TimeBase time_;
};
} // namespace

Interface* NewFShortAdapt(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    auto source = args.Get<Feature>(0, "Feature");
    if (!source) {
        report("FShortApadt: First parameter must be 'Feature' Interface");
        return nullptr;
    }
    double ta = 0, tb = 0, threshold = 0;
    const char* error = nullptr;
    if (!args.GetNumber(1, &ta) || ta == 0)
        error = "FShortApadt: Second parameter error";
    else if (!args.GetNumber(2, &tb) || tb == 0)
        error = "FShortApadt: Third parameter error";
    if (error) {
        report("%s", error);
        return nullptr;
    }
    args.GetNumber(3, &threshold);
    Interface* made =
        LinkNew(new FShortAdapt(source.get(), ta, tb, threshold, context), {args.At(0)});
    return made;
}
