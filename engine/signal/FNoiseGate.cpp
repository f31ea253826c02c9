// FNoiseGate(feature, threshold): passes the values at or above the threshold and
// puts 0 for the rest.
#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/FeatureModule.h"

namespace {
class FNoiseGate : public FeatureModule {
  public:
    FNoiseGate(Feature* source, float threshold) : FeatureModule({source}), threshold_(threshold) {}

    int Process() override {
        Feature* x = sources_[0];
        complete = x->complete;
        for (int i = length, n = SourceLength(); i < n; ++i)
            Append(x->data[i] >= threshold_ ? x->data[i] : 0.0f);
        return 0;
    }

  private:
    float threshold_;
};
} // namespace

Interface* NewFNoiseGate(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto source = args.Get<Feature>(0, "Feature");
    if (!source) {
        report("FNoiseGate: First parameter must be 'Feature' Interface");
        return nullptr;
    }
    double threshold = 0;
    if (!args.GetNumber(1, &threshold)) {
        report("FNoiseGate: Second parameter error");
        return nullptr;
    }
    Interface* made =
        LinkNew(new FNoiseGate(source.get(), static_cast<float>(threshold)), {args.At(0)});
    return made;
}
