// LobeIntegration(map, a, b): replaces the time course of every band by straight lines
// between its successive maxima, each found between a + 1 and b - 1 frames after the
// previous one.
//
// Per band of a block of F frames: from p = 0 with u = x(0), while p + a < F, the largest
// value above -1 among frames p + a + 1 ... min(p + b, F) - 1 (the earliest on a tie) is
// m at q; the line from u at p to m at q is written to frames p ... q and the walk goes
// on from q with u = m. When no frame qualifies it moves on by a with u = -1. Frames
// after the last line are 0. The walk advances by at least a >= 1 frames per step.
#include <algorithm>
#include <cstdint>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "signal/MapModule.h"
#include "signal/PeakSearch.h"

namespace {
class LobeIntegration : public MapModule {
  public:
    LobeIntegration(Map* source, int minStep, int maxStep)
        : MapModule(source, source->bands), maxBands_(bands), min_(minStep), max_(maxStep) {}

    int Process() override {
        BeginBlock();
        if (!source_->data) frames = 0;
        bands = std::clamp(source_->bands, 0, maxBands_);
        std::fill(Map::data, Map::data + bands * frames, 0.0f);
        for (int b = 0; b < bands; ++b)
            Band(SourceRow(b), Row(b));
        return 0;
    }

  private:
    void Band(const float* x, float* y) const {
        int64_t n = frames, p = 0;
        if (n < 1) return;
        float u = x[0];
        while (p + min_ < n) {
            int64_t end = std::min<int64_t>(p + max_, n), q = -1;
            float m = -1;
            for (int64_t t = p + min_ + 1; t < end; ++t)
                if (x[t] > m) m = x[t], q = t;
            if (q < 0) {
                p += min_;
                u = -1;
                continue;
            }
            for (int64_t t = p; t <= q; ++t)
                y[t] = u + static_cast<float>(t - p) * (m - u) / static_cast<float>(q - p);
            p = q;
            u = m;
        }
    }

    int maxBands_;
    int64_t min_, max_;
};
} // namespace

Interface* NewLobeIntegration(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    auto source = args.Get<Map>(0, "Map");
    if (!source) {
        report("LobeIntegration: First parameter error");
        return nullptr;
    }
    double a = 0, b = 0;
    const char* message = nullptr;
    if (!args.GetNumber(1, &a) || peak::ToInt(a) < 1)
        message = "LobeIntegration: Second parameter must be 'Number' Interface";
    else if (!args.GetNumber(2, &b))
        message = "LobeIntegration: Third parameter must be 'Number' Interface";
    if (message) {
        report("%s", message);
        return nullptr;
    }
    auto* map = new LobeIntegration(source.get(), peak::ToInt(a), peak::ToInt(b));
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
