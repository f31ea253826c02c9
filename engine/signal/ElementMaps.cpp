// LogMap(map) and CubRMap(map): element-wise compressions of a map. LogMap turns each
// value v into ln v, or 0 below 1 (so silence and noise floors stay 0); CubRMap into
// v^0.666, keeping the sign of a negative v (a filtered map may go below 0, and a
// fractional power of it would be NaN). The output has the source's bands at
// construction; bands a later block lacks are 0.
#include <algorithm>
#include <cmath>

#include "core/Hold.h"
#include "core/Report.h"
#include "signal/MapArguments.h"
#include "signal/MapModule.h"

namespace {
float Log(float v) {
    return v >= 1.0f ? std::log(v) : 0.0f;
}

float CubeRoot(float v) {
    float r = std::pow(std::fabs(v), 0.666f);
    return v < 0 ? -r : r;
}

template <float (*Apply)(float)> class ElementMap : public MapModule {
  public:
    explicit ElementMap(Map* source) : MapModule(source, source->bands) {}

    int Process() override {
        int frameCount = BeginBlock();
        for (int b = 0; b < bands; ++b) {
            float* out = Row(b);
            if (b >= source_->bands) {
                std::fill(out, out + frameCount, 0.0f);
                continue;
            }
            const float* in = SourceRow(b);
            for (int f = 0; f < frameCount; ++f)
                out[f] = Apply(in[f]);
        }
        return 0;
    }
};

template <float (*Apply)(float)>
Interface* NewElementMap(Input* lexer, Interface* context, const char* name) {
    Arguments args(lexer, context, 1);
    Obtained<Map> source(args.Get<Map>(0, "Map"));
    if (!source) {
        report("%s: First parameter error", name);
        return nullptr;
    }
    auto* map = new ElementMap<Apply>(source.get());
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
} // namespace

Interface* NewLogMap(Input* lexer, Interface* context) {
    return NewElementMap<Log>(lexer, context, "LogMap");
}

Interface* NewCubRMap(Input* lexer, Interface* context) {
    return NewElementMap<CubeRoot>(lexer, context, "CubRMap");
}
