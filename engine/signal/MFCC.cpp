// MFCC(map, J, [L]): cepstral coefficients of each frame of a band-energy map by a
// cosine transform, c_j = sqrt(2/B) * sum_k x_k cos((k + 1/2) j pi / B) for
// j = 1 ... J over the B source bands (c_0 is left out), stored as bands 0 ... J-1.
// With a lifter L > 0 each c_j is weighted by 1 + (L/2) sin(j pi / L).
//
// The cosine table is computed for the source's band count and again whenever a block
// comes with another one. The factory refuses J outside 1 ... 4096 and a lifter that
// is given but is no Number.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/Hold.h"
#include "core/Report.h"
#include "signal/MapArguments.h"
#include "signal/MapModule.h"

namespace {
class MFCC : public MapModule {
  public:
    MFCC(Map* source, int count, int lifter) : MapModule(source, count), lifter_(count, 1.0) {
        if (lifter > 0)
            for (int j = 1; j <= count; ++j)
                lifter_[j - 1] = 1.0 + lifter / 2.0 * std::sin(j * std::numbers::pi / lifter);
        sum_.resize(maxFrames_);
    }

    int Process() override {
        int frameCount = BeginBlock();
        int sourceBands = source_->bands;
        if (sourceBands != tableBands_) MakeTable(sourceBands);
        float scale = sourceBands > 0 ? std::sqrt(2.0f / static_cast<float>(sourceBands)) : 0.0f;
        for (int j = 0; j < bands; ++j) {
            std::fill(sum_.begin(), sum_.begin() + frameCount, 0.0);
            const double* cosines = table_.data() + static_cast<size_t>(j) * sourceBands;
            for (int k = 0; k < sourceBands; ++k) {
                const float* x = SourceRow(k);
                for (int f = 0; f < frameCount; ++f)
                    sum_[f] += x[f] * cosines[k];
            }
            float* out = Row(j);
            for (int f = 0; f < frameCount; ++f)
                out[f] = static_cast<float>(scale * sum_[f] * lifter_[j]);
        }
        return 0;
    }

  private:
    // cos((k + 1/2) j pi / B) for the output j = 1 ... J and the source's bins k.
    void MakeTable(int sourceBands) {
        tableBands_ = sourceBands;
        table_.assign(static_cast<size_t>(bands) * std::max(sourceBands, 0), 0.0);
        if (sourceBands <= 0) return;
        double step = static_cast<float>(3.1415926535 / sourceBands);
        for (int j = 1; j <= bands; ++j)
            for (int k = 0; k < sourceBands; ++k)
                table_[static_cast<size_t>(j - 1) * sourceBands + k] =
                    std::cos((k + 0.5) * j * step);
    }

    std::vector<double> lifter_, table_, sum_;
    int tableBands_ = -1;
};
} // namespace

Interface* NewMFCC(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    Obtained<Map> source(args.Get<Map>(0, "Map"));
    if (!source) {
        report("MFCC: First parameter error must be 'Map' interface");
        return nullptr;
    }
    int count = 0, lifter = 0;
    bool lifterGiven = args.At(2) != context;
    if (!GetInteger(args, 1, 1, kMaxMapBands, &count) ||
        (lifterGiven && !GetInteger(args, 2, -2147483647 - 1, 2147483647, &lifter)) ||
        !FitsMap(count, source->frames)) {
        report("MFCC: Second parameter error");
        return nullptr;
    }
    auto* map = new MFCC(source.get(), count, lifter);
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
