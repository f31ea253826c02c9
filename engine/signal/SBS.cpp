// SBS(map, n, mode, Q, [S]): marks, per spectrum frame, the dominant bin of each of n
// auditory channels spaced evenly on the Bark scale from 0.557 Bark to the top of the
// band (the rate is "_sps" of the creation folder, 22050 by default).
//
// Every channel adds 10000 at the bin its weighted search picks (decay Q dB; one-sided
// below its centre above 1000 Hz, two-sided at or below). A channel whose centre bin
// equals the one handled just before is skipped, also across the frames of a block.
// Mode 1 keeps the source value of bins picked more than once and zeroes the rest; mode
// 2 scales the marks by 0.7 times the frame's sum over the picks counted; other modes
// keep the marks. With S > 0 only the S largest positive values remain (fewer when
// fewer are positive). Needs n >= 2 to space its channels.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "signal/MapModule.h"
#include "signal/PeakSearch.h"

namespace {
constexpr int kMaxChannels = 100000;

class SBS : public MapModule {
  public:
    SBS(Map* source, int channels, int mode, int decay, int survivors, Interface* home)
        : MapModule(source, source->bands), maxBands_(bands), channels_(channels), mode_(mode),
          decay_(decay), survivors_(survivors), home_(home) {
        home_->AddRef();
    }
    ~SBS() override { home_->Release(); }

    int Process() override {
        BeginBlock();
        if (!source_->data) frames = 0;
        bands = std::clamp(source_->bands, 0, maxBands_);
        std::fill(Map::data, Map::data + bands * frames, 0.0f);
        int k = peak::Considered(bands);
        if (k < 2) return 0;
        int half = static_cast<int>(std::min(peak::SampleRate(home_), 2e9)) / 2;
        double top = peak::BarkTop(half), width = double(half) / (k - 1);
        std::vector<float> x(k);
        std::vector<double> out(k);
        int last = -1;
        for (int f = 0; f < frames; ++f) {
            double total = 0;
            for (int b = 0; b < k; ++b)
                total += x[b] = SourceRow(b)[f];
            std::fill(out.begin(), out.end(), 0.0);
            double count = 0;
            for (int i = 1; i <= channels_; ++i) {
                double z = (i - 1) * (top - 0.557) / (channels_ - 1) + 0.557;
                double hz = peak::BarkToHz(z);
                int e = peak::CentreBin(std::trunc(hz / width), k);
                if (e == last) continue;
                last = e;
                bool twoSided = hz <= 1000;
                peak::Found found = peak::WeightedSearch(x.data(), k, e, decay_, twoSided);
                if (found.bin >= 0) out[found.bin] += 10000;
                if (found.bin >= 0 || !twoSided) count += 10000;
            }
            Select(x, total, count, out);
            for (int b = 0; b < k; ++b)
                Row(b)[f] = static_cast<float>(out[b]);
            for (int b = k; b < bands; ++b)
                Row(b)[f] = SourceRow(b)[f];
        }
        return 0;
    }

  private:
    void Select(const std::vector<float>& x, double total, double count,
                std::vector<double>& out) const {
        int k = static_cast<int>(out.size());
        if (mode_ == 1)
            for (int b = 0; b < k; ++b)
                out[b] = out[b] > 10000 ? x[b] : 0;
        if (mode_ == 2) {
            double factor = count > 0 ? 0.7 * total / count : 0;
            for (double& v : out)
                v *= factor;
        }
        if (survivors_ < 1) return;
        std::vector<char> kept(k);
        for (int s = 0; s < survivors_; ++s) {
            int at = -1;
            for (int b = 0; b < k; ++b)
                if (!kept[b] && out[b] > 0 && (at < 0 || out[b] > out[at])) at = b;
            if (at < 0) break; // no positive value left
            kept[at] = 1;
        }
        for (int b = 0; b < k; ++b)
            if (!kept[b]) out[b] = 0;
    }

    int maxBands_, channels_, mode_, decay_, survivors_;
    Interface* home_; // held: the rate is looked up there at every block
};
} // namespace

Interface* NewSBS(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 5);
    auto source = args.Get<Map>(0, "Map");
    if (!source) {
        report("SBS: First parameter must be 'Map' Interface");
        return nullptr;
    }
    double v[4] = {0, 0, 0, 0};
    const char* message = nullptr;
    if (!args.GetNumber(1, &v[0]) || peak::ToInt(v[0]) < 2 || peak::ToInt(v[0]) > kMaxChannels)
        message = "SBS: Second parameter must be 'Number' Interface";
    else if (!args.GetNumber(2, &v[1]))
        message = "SBS: Third parameter must be 'Number' Interface";
    else if (!args.GetNumber(3, &v[2]))
        message = "SBS: Fourth parameter must be 'Number' Interface";
    if (message) {
        report("%s", message);
        return nullptr;
    }
    args.GetNumber(4, &v[3]);
    auto* map = new SBS(source.get(), peak::ToInt(v[0]), peak::ToInt(v[1]), peak::ToInt(v[2]),
                        peak::ToInt(v[3]), context);
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
