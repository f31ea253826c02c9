// HTK_FBLE(map, Q, log): the mel filterbank energies of a spectrum, made the way the
// HTK toolkit makes them, so that its parameter files can be compared with the
// toolkit's own analysis. Q triangular channels are spread evenly on the mel scale
// from 0 to the top bin (mel = 1127 ln(1 + f / 700)); each bin but the first and the
// last adds its value, unsquared, to the two channels whose centres enclose it,
// weighted by its distance to them. With the log flag (the default) each channel
// becomes ln(max(v, 1)).
//
// The tables follow the "sps" member of the source's producer and are remade when it
// changes; the toolkit computes with the sample period in whole 100 ns units, and so
// do they. The output grows with the source's largest block.
#include <cmath>
#include <cstring>
#include <vector>

#include "Map.h"
#include "Number.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "core/ZeroedArray.h"
#include "signal/MapArguments.h"

namespace {
class HTK_FBLE : public ModuleBase, public virtual Map {
  public:
    HTK_FBLE(Map* source, Number* sps, int channels, bool logarithm)
        : source_(source), sps_(sps), channels_(channels), log_(logarithm) {
        source_->AddRef();
        sps_->AddRef();
        bands = channels;
        Grow(std::max(source_->frames, 1));
        frames = std::max(source_->frames, 0);
    }
    ~HTK_FBLE() override {
        sps_->Release();
        source_->Release();
    }

    void* GetInterface(const char* name) override { return AnswerAs<Map>(this, "Map", name); }

    int Process() override {
        int K = source_->bands, F = std::max(source_->frames, 0);
        double rate = sps_->value;
        int sps = rate >= 1 && rate < 2147483648.0 ? static_cast<int>(rate) : 0;
        if (sps != tableSps_ || K != tableBands_) MakeTables(sps, K);
        if (F > maxFrames_) Grow(F);
        frames = F;
        complete = source_->complete;
        std::vector<double> channel(channels_ + 1);
        for (int f = 0; f < F; ++f) {
            std::fill(channel.begin(), channel.end(), 0.0);
            for (int k = 1; k < K - 1 && !lower_.empty(); ++k) {
                double x = source_->data[static_cast<size_t>(k) * F + f];
                int i = lower_[k];
                double w = weight_[k] * x;
                if (i > 0) channel[i - 1] += w;
                channel[i] += x - w; // channel Q, past the last, is dropped below
            }
            for (int c = 0; c < channels_; ++c) {
                double v = channel[c];
                if (log_) v = std::log(std::max(v, 1.0));
                data[static_cast<size_t>(c) * F + f] = static_cast<float>(v);
            }
        }
        return 0;
    }

  private:
    void Grow(int frameCount) {
        values_ = MakeZeroed<float>(static_cast<size_t>(channels_ + 1) * frameCount);
        maxFrames_ = frameCount;
        data = values_.get();
        capacity = (channels_ + 1) * frameCount;
    }

    // The lower channel and weight of every bin for a spectrum of K bands at sps; no
    // bins (all channels zero) when the rate or the spectrum gives no scale.
    void MakeTables(int sps, int K) {
        tableSps_ = sps;
        tableBands_ = K;
        lower_.clear();
        weight_.clear();
        int period = sps > 0 ? 10000000 / sps : 0;
        if (period <= 0 || K < 3) return;
        double fres = 10000000.0 / (2.0 * (K - 1) * period * 700.0);
        auto mel = [fres](int k) { return 1127.0 * std::log(1.0 + k * fres); };
        std::vector<double> centre(channels_ + 1);
        for (int i = 0; i <= channels_; ++i)
            centre[i] = (i + 1.0) / (channels_ + 1.0) * mel(K - 1);
        lower_.assign(K, 0);
        weight_.assign(K, 0.0f);
        for (int k = 1; k < K - 1; ++k) {
            double m = mel(k);
            int i = 0;
            while (i < channels_ && centre[i] < m)
                ++i;
            lower_[k] = i;
            weight_[k] = static_cast<float>(i > 0 ? (centre[i] - m) / (centre[i] - centre[i - 1])
                                                  : (centre[0] - m) / centre[0]);
        }
    }

    Map* source_;
    Number* sps_;
    int channels_;
    bool log_;
    int tableSps_ = -1, tableBands_ = -1;
    std::vector<int> lower_;
    std::vector<float> weight_;
    ZeroedArray<float> values_;
    int maxFrames_ = 0;
};
} // namespace

Interface* NewHTK_FBLE(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    auto map = args.Get<Map>(0, "Map");
    if (!map) {
        report("HTK_FBLE: First parameter must be 'Map' interface");
        return nullptr;
    }
    auto sps = Obtain<Number>(args.At(0)->Find("sps", 3), "Number");
    if (!sps) {
        report("HTK_FBLE: First parameter must have an 'sps' property");
        return nullptr;
    }
    int channels = 0, logarithm = 1;
    if (!GetInteger(args, 1, 1, kMaxMapBands, &channels)) {
        report("HTK_FBLE: Second parameter error");
        return nullptr;
    }
    double flag = 0;
    if (args.GetNumber(2, &flag)) logarithm = std::trunc(flag) != 0;
    auto* fble = new HTK_FBLE(map.get(), sps.get(), channels, logarithm != 0);
    Hold self(fble);
    fble->Link(args.At(0));
    return fble;
}
