// SBS_Bark(map, n, Q, rate, mode): n auditory channels spaced evenly on the Bark scale
// from 0 Bark to the top of the band, one output band each, from the weighted search of
// every spectrum frame (decay Q dB; one-sided for the channels above the last one whose
// centre is at or below 1000 Hz, two-sided up to it).
//
// Mode 1 gives each channel the sum of its counted weighted values, mode 2 its winning
// bin number; modes 3 and 4 place the winner's level, into the channel whose centre is
// nearest the winning bin (the lower channel on a tie) when that is still 0: mode 3 the
// source value v, mode 4 the onset of v^0.666 against an adaptation state of the
// searching channel that decays by 12.5/333 per frame and rises by 37.5/333 of each
// positive difference. The states and the block restart at every Process. A channel
// whose search counts no bin stays empty. A channel whose centre bin equals the one
// handled just before is skipped, also across the frames of a block. Rows K ... 2K - 1
// of a stacked source are copied through where the output has them. The output stays
// incomplete: the stream's end is not passed on.
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
constexpr double kMaxValues = 100000000;
constexpr double kMaxRate = 1e9;

class SBS_Bark : public MapModule {
  public:
    SBS_Bark(Map* source, int channels, int decay, int rate, int mode)
        : MapModule(source, channels), decay_(decay), mode_(mode), centre_(channels),
          state_(channels) {
        int half = rate / 2, k = peak::Considered(source->bands);
        double width = double(half) / (k - 1), step = peak::BarkTop(half) / (channels - 1);
        for (int j = 0; j < channels; ++j) {
            double hz = peak::BarkToHz(j * step);
            centre_[j] = peak::CentreBin(std::trunc(hz / width + 0.5), k);
            if (hz <= 1000) lastLow_ = j;
        }
    }

    int Process() override {
        BeginBlock();
        Map::complete = 0;
        if (!source_->data) frames = 0;
        std::fill(Map::data, Map::data + bands * frames, 0.0f);
        std::fill(state_.begin(), state_.end(), 0.0);
        int sourceBands = std::max(source_->bands, 0), k = peak::Considered(sourceBands);
        if (k < 2) return 0;
        std::vector<float> x(k);
        int last = -1;
        for (int f = 0; f < frames; ++f) {
            for (int b = 0; b < k; ++b)
                x[b] = SourceRow(b)[f];
            for (int j = 0; j < bands; ++j) {
                int e = peak::CentreBin(centre_[j], k);
                if (e == last) continue;
                last = e;
                peak::Found found = peak::WeightedSearch(x.data(), k, e, decay_, j <= lastLow_);
                if (found.bin >= 0) Place(j, f, found, x[found.bin]);
            }
            for (int b = k; b < std::min({2 * k, bands, sourceBands}); ++b)
                Row(b)[f] = SourceRow(b)[f];
        }
        return 0;
    }

  private:
    void Place(int j, int f, const peak::Found& found, float v) {
        if (mode_ == 1) Row(j)[f] = static_cast<float>(found.sum);
        if (mode_ == 2) Row(j)[f] = static_cast<float>(found.bin);
        if (mode_ == 4) {
            double y = v > 0 ? std::pow(double(v), 0.666) : 0, s = state_[j];
            double a = s <= y ? (y - s) * 37.5 / 333 : 0;
            state_[j] = s - s * 12.5 / 333 + a;
            v = static_cast<float>(a);
        }
        if (mode_ != 3 && mode_ != 4) return;
        float& target = Row(Nearest(found.bin))[f];
        if (target == 0) target = v;
    }

    // The first channel of those whose centre is nearest the bin (centres never fall).
    int Nearest(int bin) const {
        auto first = [this](int centre) {
            return std::lower_bound(centre_.begin(), centre_.end(), centre);
        };
        auto above = first(bin);
        if (above == centre_.end()) above = first(centre_.back());
        if (above != centre_.begin()) {
            auto below = first(*(above - 1));
            if (std::abs(bin - *below) <= std::abs(*above - bin)) above = below;
        }
        return static_cast<int>(above - centre_.begin());
    }

    int decay_, mode_;
    int lastLow_ = 0;
    std::vector<int> centre_;
    std::vector<double> state_;
};
} // namespace

Interface* NewSBS_Bark(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 5);
    auto source = args.Get<Map>(0, "Map");
    if (!source || peak::Considered(source->bands) < 2) {
        report("SBS_Bark: First parameter must be 'Map' Interface");
        return nullptr;
    }
    double v[4] = {0, 0, 0, 0};
    int n = 0;
    const char* message = nullptr;
    if (!args.GetNumber(1, &v[0]) || (n = peak::ToInt(v[0])) < 2 || n > kMaxChannels ||
        double(n) * std::max(source->frames, 1) > kMaxValues)
        message = "SBS_Bark: Second parameter must be 'Number' Interface";
    else if (!args.GetNumber(2, &v[1]))
        message = "SBS_Bark: Third parameter must be 'Number' Interface";
    else if (!args.GetNumber(3, &v[2]) || !(v[2] >= 2) || v[2] > kMaxRate)
        message = "SBS_Bark: Fourth parameter must be 'Number' Interface";
    else if (!args.GetNumber(4, &v[3]))
        message = "SBS_Bark: Fifth parameter must be 'Number' Interface";
    if (message) {
        report("%s", message);
        return nullptr;
    }
    auto* map =
        new SBS_Bark(source.get(), n, peak::ToInt(v[1]), peak::ToInt(v[2]), peak::ToInt(v[3]));
    Hold self(map);
    map->Link(args.At(0));
    return map;
}
