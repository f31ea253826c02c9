// FeatureMap(f1, f2, ...): features back as a map, one band per feature. Each Process
// makes one block of all frames from address 0 up to the shortest feature's length (at
// most 10,000), row k a copy of feature k. Arguments that are not features are
// ignored; no feature at all makes no object.
#include <algorithm>
#include <cstring>
#include <memory>

#include "Feature.h"
#include "Map.h"
#include "core/Arguments.h"
#include "core/ModuleBase.h"
#include "core/ZeroedArray.h"
#include "signal/FeatureModule.h"

namespace {
constexpr int kMaxFrames = 10000;

class FeatureMap : public ModuleBase, public virtual Map {
  public:
    explicit FeatureMap(std::vector<Feature*> sources)
        : sources_(std::move(sources)), values_(MakeZeroed<float>(kMaxFrames * sources_.size())) {
        for (Feature* source : sources_)
            source->AddRef();
        bands = static_cast<int32_t>(sources_.size());
        capacity = kMaxFrames * bands;
        data = values_.get();
        frames = 0;
    }
    ~FeatureMap() override {
        for (Feature* source : sources_)
            source->Release();
    }

    int Process() override {
        int n = kMaxFrames;
        for (Feature* source : sources_)
            n = std::min(n, std::max(source->length, 0));
        frames = n;
        complete = sources_[0]->complete;
        for (int k = 0; k < bands; ++k)
            std::copy(sources_[k]->data, sources_[k]->data + n, data + k * n);
        return 0;
    }
    void* GetInterface(const char* name) override { return AnswerAs<Map>(this, "Map", name); }

  private:
    std::vector<Feature*> sources_;
    ZeroedArray<float> values_;
};
} // namespace

Interface* NewFeatureMap(Input* lexer, Interface* context) {
    Arguments args(lexer, context);
    std::vector<Feature*> features;
    std::vector<Obtained<Feature>> held;
    std::vector<Interface*> linked;
    for (int i = 0; i < args.Size(); ++i) {
        auto feature = args.Get<Feature>(i, "Feature");
        if (!feature) continue;
        features.push_back(feature.get());
        held.push_back(std::move(feature));
        linked.push_back(args.At(i));
    }
    if (features.empty()) return nullptr;
    Interface* made = LinkNew(new FeatureMap(features), linked);
    return made;
}
