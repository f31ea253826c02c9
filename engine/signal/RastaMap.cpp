// RastaMap(map, R, clip, p): a band-pass filter along time in each band of a map,
// restarted (inputs and outputs before the block taken as 0) at every block. Below a
// frame rate R of 200 it is the short filter
//     y[t] = p y[t-1] + 0.1 (2x[t] + x[t-1] - x[t-3] - 2x[t-4]),
// from 200 on the longer one
//     y[t] = 0.85 (x[t] - 1.65066 x[t-1] + 1.65066 x[t-3] - x[t-4])
//            + (p + 1.72178) y[t-1] - (1.72178 p + 0.7871) y[t-2] + 0.78741 p y[t-3].
// With the clip flag set a negative y is written as 0; the filter goes on with the
// unclipped value. The output has the source's bands at construction; bands a later
// block lacks are 0.
#include <algorithm>

#include "core/Hold.h"
#include "core/Report.h"
#include "signal/MapArguments.h"
#include "signal/MapModule.h"

namespace {
class RastaMap : public MapModule {
  public:
    RastaMap(Map* source, float rate, int clip, float pole)
        : MapModule(source, source->bands), fast_(rate >= 200), clip_(clip != 0), pole_(pole) {}

    int Process() override {
        int frameCount = BeginBlock();
        for (int b = 0; b < bands; ++b) {
            float* out = Row(b);
            if (b >= source_->bands) {
                std::fill(out, out + frameCount, 0.0f);
                continue;
            }
            const float* in = SourceRow(b);
            double x[5] = {}, y[4] = {}; // x[i] = x[t-i], y[i] = y[t-i]
            for (int t = 0; t < frameCount; ++t) {
                std::copy_backward(x, x + 4, x + 5);
                std::copy_backward(y, y + 3, y + 4);
                x[0] = in[t];
                y[0] = Filter(x, y);
                out[t] = static_cast<float>(clip_ && y[0] < 0 ? 0.0 : y[0]);
            }
        }
        return 0;
    }

  private:
    // The new output from the inputs x[0 ... 4] and the previous outputs y[1 ... 3].
    double Filter(const double* x, const double* y) const {
        double p = pole_;
        if (!fast_) return p * y[1] + 0.1 * (2 * x[0] + x[1] - x[3] - 2 * x[4]);
        return 0.85 * (x[0] - 1.65066 * x[1] + 1.65066 * x[3] - x[4]) + (p + 1.72178) * y[1] -
               (1.72178 * p + 0.7871) * y[2] + 0.78741 * p * y[3];
    }

    bool fast_, clip_;
    double pole_;
};
} // namespace

Interface* NewRastaMap(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 4);
    Obtained<Map> source(args.Get<Map>(0, "Map"));
    if (!source) {
        report("RastaMap: First parameter must be 'Map' Interface");
        return nullptr;
    }
    float rate = 0, pole = 0;
    int clip = 0;
    if (!GetReal(args, 1, &rate)) {
        report("RastaMap: Second parameter must be 'Number' Interface");
        return nullptr;
    }
    if (!GetInteger(args, 2, -2147483647 - 1, 2147483647, &clip)) {
        report("RastaMap: Third parameter must be 'Number' Interface");
        return nullptr;
    }
    if (!GetReal(args, 3, &pole)) {
        report("RastaMap: Fourth parameter must be 'Number' Interface");
        return nullptr;
    }
    auto* map = new RastaMap(source.get(), rate, clip, pole);
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
