// LineSpectrum(map, f, [r]): keeps the local peaks of every spectrum frame and zeroes the
// rest. Two peaks must lie at least f Hz apart, and with an octave width r a peak must
// also be the largest within a factor 2^(r/2) of its bin.
//
// Per frame, every bin starts alive; passes repeat until nothing changes. An alive bin k
// looks at its neighbourhood [lo, hi), lo = min(k * 0.5^(r/2), k - d), hi = max(k *
// 2^(r/2), k + d), with d = 2 f (K - 1) / sps bins: it dies when a larger value lies
// there, and kills the alive bins of its own value there. The source value is kept at
// every alive, non-zero bin 1 ... K - 2. Each pass kills a bin or ends the loop, so
// there are at most K + 1 of them. The rate is "_sps" of the creation folder.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "signal/MapModule.h"
#include "signal/PeakSearch.h"

namespace {
class LineSpectrum : public MapModule {
  public:
    LineSpectrum(Map* source, double distance, double octaves, Interface* home)
        : MapModule(source, source->bands), maxBands_(bands), distance_(distance),
          up_(std::pow(2.0, octaves / 2)), down_(std::pow(0.5, octaves / 2)), home_(home) {
        home_->AddRef();
    }
    ~LineSpectrum() override { home_->Release(); }

    int Process() override {
        BeginBlock();
        if (!source_->data) frames = 0;
        bands = std::clamp(source_->bands, 0, maxBands_);
        std::fill(Map::data, Map::data + bands * frames, 0.0f);
        int k = peak::Considered(bands);
        double d = std::trunc(2 * distance_ * (k - 1) / peak::SampleRate(home_));
        int bins = static_cast<int>(std::clamp(std::isnan(d) ? 0 : d, -2.0 * k, 2.0 * k));
        std::vector<float> v(k);
        std::vector<char> alive(k);
        for (int f = 0; f < frames; ++f) {
            for (int b = 0; b < k; ++b)
                v[b] = SourceRow(b)[f];
            std::fill(alive.begin(), alive.end(), 1);
            while (Pass(v, alive, bins)) {
            }
            for (int b = 1; b < k - 1; ++b)
                if (alive[b] && v[b] != 0) Row(b)[f] = v[b];
            for (int b = k; b < bands; ++b)
                Row(b)[f] = SourceRow(b)[f];
        }
        return 0;
    }

  private:
    // One pass over the alive bins; whether it killed any.
    bool Pass(const std::vector<float>& v, std::vector<char>& alive, int d) const {
        int k = static_cast<int>(v.size());
        bool changed = false;
        for (int b = 0; b < k; ++b) {
            if (!alive[b]) continue;
            int lo = std::max(0, std::min(Scaled(b, down_, k), b - d));
            int hi = std::min(k, std::max(Scaled(b, up_, k), b + d));
            float best = v[b];
            int at = b;
            for (int j = lo; j < hi; ++j) {
                if (j != b && alive[j] && v[j] == v[b]) alive[j] = 0, changed = true;
                if (v[j] > best) best = v[j], at = j;
            }
            if (at != b) alive[b] = 0, changed = true;
        }
        return changed;
    }
    // trunc(b * factor), kept within 0 ... k.
    static int Scaled(int b, double factor, int k) {
        double s = std::trunc(b * factor);
        return static_cast<int>(std::clamp(std::isnan(s) ? 0.0 : s, 0.0, double(k)));
    }

    int maxBands_;
    double distance_, up_, down_;
    Interface* home_; // held: the rate is looked up there at every block
};
} // namespace

Interface* NewLineSpectrum(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    auto source = args.Get<Map>(0, "Map");
    if (!source) {
        report("LineSpectrum: First parameter must be 'Map' Interface");
        return nullptr;
    }
    double distance = 0, octaves = 0;
    if (!args.GetNumber(1, &distance)) {
        report("LineSpectrum: Second parameter must be 'Number' Interface");
        return nullptr;
    }
    args.GetNumber(2, &octaves);
    auto* map = new LineSpectrum(source.get(), distance, octaves, context);
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
