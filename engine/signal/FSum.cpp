// FSum(f1, f2, ...) and FWSum(f1, w1, f2, w2, ...): the frame-by-frame sum of features,
// plain or weighted: out[i] = sum of w_k f_k[i]. Sources grow at their own pace (a
// derivative trails its input), so each Process runs up to the shortest of them.
// Arguments that are not features are ignored, in FWSum with their weight; no feature
// at all makes no object.
#include <algorithm>

#include "core/Arguments.h"
#include "signal/FeatureModule.h"

namespace {
class WeightedSum : public FeatureModule {
  public:
    WeightedSum(std::vector<Feature*> sources, std::vector<double> weights)
        : FeatureModule(std::move(sources)), weights_(std::move(weights)) {}

    int Process() override {
        complete = sources_[0]->complete;
        int n = SourceLength();
        for (size_t k = 1; k < sources_.size(); ++k)
            n = std::min(n, SourceLength(static_cast<int>(k)));
        for (int i = length; i < n; ++i) {
            double sum = 0;
            for (size_t k = 0; k < sources_.size(); ++k)
                sum += weights_[k] * sources_[k]->data[i];
            Append(static_cast<float>(sum));
        }
        return 0;
    }

  private:
    std::vector<double> weights_;
};

// Reads the features (each followed by its weight when weighted) and builds the sum.
Interface* NewSum(Input* lexer, Interface* context, bool weighted) {
    Arguments args(lexer, context);
    std::vector<Feature*> features;
    std::vector<Obtained<Feature>> held;
    std::vector<double> weights;
    std::vector<Interface*> linked;
    int step = weighted ? 2 : 1;
    for (int i = 0; i < args.Size(); i += step) {
        double weight = 1;
        if (weighted && (i + 1 >= args.Size() || !args.GetNumber(i + 1, &weight))) continue;
        auto feature = args.Get<Feature>(i, "Feature");
        if (!feature) continue;
        features.push_back(feature.get());
        held.push_back(std::move(feature));
        weights.push_back(weight);
        linked.push_back(args.At(i));
    }
    if (features.empty()) return nullptr;
    Interface* made = LinkNew(new WeightedSum(features, weights), linked);
    return made;
}
} // namespace

Interface* NewFSum(Input* lexer, Interface* context) {
    return NewSum(lexer, context, false);
}

Interface* NewFWSum(Input* lexer, Interface* context) {
    return NewSum(lexer, context, true);
}
