// LPCspectrum(lpc, N): the all-pole spectrum of each frame of a linear-prediction map.
// The inverse filter 1, -a_1, ..., -a_p, zero-padded to N, is transformed as the
// spectrum does (magnitudes scaled by 1/N) into |A_k|; band k is 7 / |A_k| for
// k = 1 ... N/2 - 1 (0 where A_k vanishes), and bands 0 and N/2 are 0. The gain band
// is not used.
//
// The factory refuses N that is not a power of two in 8 ... 65536, and a source whose
// order p does not fit into the transform (p >= N); a later block of a higher order
// has its extra coefficients left out.
#include <algorithm>
#include <vector>

#include "core/Hold.h"
#include "core/Report.h"
#include "signal/Fft.h"
#include "signal/MapArguments.h"
#include "signal/MapModule.h"

namespace {
class LPCspectrum : public MapModule {
  public:
    LPCspectrum(Map* source, int size)
        : MapModule(source, size / 2 + 1), fft_(size), filter_(size), magnitude_(size / 2 + 1) {}

    int Process() override {
        int frameCount = BeginBlock();
        int size = fft_.Size();
        int order = std::min(source_->bands - 1, size - 1);
        for (int f = 0; f < frameCount; ++f) {
            std::fill(filter_.begin(), filter_.end(), 0.0f);
            filter_[0] = 1.0f;
            for (int j = 1; j <= order; ++j)
                filter_[j] = -SourceRow(j)[f];
            fft_.Magnitudes(filter_.data(), magnitude_.data());
            for (int k = 0; k < bands; ++k) {
                bool inside = k > 0 && k < size / 2 && magnitude_[k] != 0.0f;
                Row(k)[f] = inside ? 7.0f / magnitude_[k] : 0.0f;
            }
        }
        return 0;
    }

  private:
    Fft fft_;
    std::vector<float> filter_, magnitude_;
};
} // namespace

Interface* NewLPCspectrum(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    Obtained<Map> source(args.Get<Map>(0, "Map"));
    if (!source) {
        report("LPCspectrum: First parameter must be 'Map' Interface");
        return nullptr;
    }
    int size = 0;
    if (!GetInteger(args, 1, 8, kMaxFrameLength, &size) || !IsPowerOfTwo(size) ||
        source->bands - 1 >= size || !FitsMap(size / 2 + 1, source->frames)) {
        report("LPCspectrum: Second parameter must be 'Number' Interface");
        return nullptr;
    }
    auto* map = new LPCspectrum(source.get(), size);
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
