// LPCcepstrum(lpc, Q): the first Q cepstral coefficients c_0 ... c_{Q-1} of each
// frame of a linear-prediction map (band 0 the gain g, bands 1 ... p the predictor
// a_1 ... a_p), by the recursion of the all-pole model: c_0 = ln g and
// c_n = a_n + (1/n) sum_{k=max(1,n-p)}^{n-1} k c_k a_{n-k}, with a_n = 0 past p.
// A frame without a positive gain gives zeros. The factory refuses Q outside
// 1 ... 4096.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Hold.h"
#include "core/Report.h"
#include "signal/MapArguments.h"
#include "signal/MapModule.h"

namespace {
class LPCcepstrum : public MapModule {
  public:
    LPCcepstrum(Map* source, int count) : MapModule(source, count), c_(count) {}

    int Process() override {
        int frameCount = BeginBlock();
        int order = source_->bands - 1;
        a_.resize(std::max(order + 1, 1));
        for (int f = 0; f < frameCount; ++f) {
            for (int k = 0; k <= order; ++k)
                a_[k] = SourceRow(k)[f];
            Cepstrum(order);
            for (int n = 0; n < bands; ++n)
                Row(n)[f] = static_cast<float>(c_[n]);
        }
        return 0;
    }

  private:
    // c_ from the gain a_[0] and the predictor a_[1 ... order].
    void Cepstrum(int order) {
        std::fill(c_.begin(), c_.end(), 0.0);
        if (order < 0 || !(a_[0] > 0)) return;
        c_[0] = std::log(a_[0]);
        for (int n = 1; n < bands; ++n) {
            double sum = 0;
            for (int k = std::max(1, n - order); k < n; ++k)
                sum += k * c_[k] * a_[n - k];
            c_[n] = (n <= order ? a_[n] : 0.0) + sum / n;
        }
    }

    std::vector<double> a_, c_;
};
} // namespace

Interface* NewLPCcepstrum(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    Obtained<Map> source(args.Get<Map>(0, "Map"));
    if (!source) {
        report("LPCcepstrum: First parameter must be 'Map' Interface");
        return nullptr;
    }
    int count = 0;
    if (!GetInteger(args, 1, 1, kMaxMapBands, &count) || !FitsMap(count, source->frames)) {
        report("LPCcepstrum: Second parameter must be 'Number' Interface");
        return nullptr;
    }
    auto* map = new LPCcepstrum(source.get(), count);
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
