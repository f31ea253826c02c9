// FBand(map, b): the feature of one band of a map. Each Process appends the current
// block's row b, in frame order. The band must exist in the map when the feature is
// made; a later block with fewer bands gives zeros.
#include "Map.h"
#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/FeatureModule.h"

namespace {
class FBand : public FeatureModule {
  public:
    FBand(Map* map, int band) : map_(map), band_(band) { map_->AddRef(); }
    ~FBand() override { map_->Release(); }

    int Process() override {
        complete = map_->complete;
        int frames = map_->frames > 0 && map_->data ? map_->frames : 0;
        const float* row = band_ < map_->bands ? map_->data + band_ * frames : nullptr;
        for (int f = 0; f < frames; ++f)
            if (!Append(row ? row[f] : 0.0f)) break;
        return 0;
    }

  private:
    Map* map_;
    int band_;
};
} // namespace

Interface* NewFBand(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto map = args.Get<Map>(0, "Map");
    if (!map) {
        report("FBand: First parameter must be 'Map' Interface");
        return nullptr;
    }
    double band = 0;
    if (!args.GetNumber(1, &band) || !(band > -1 && band < map->bands)) {
        report("FBand: Second parameter must be a number");
        return nullptr;
    }
    Interface* made = LinkNew(new FBand(map.get(), static_cast<int>(band)), {args.At(0)});
    return made;
}
