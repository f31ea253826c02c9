// LPC(sound, P, L, H, window, a): linear prediction of order P on frames of a sound
// buffer, beside the spectrum. Each block is analysed on its own: frames of L samples
// are centred on the samples 0, H, 2H, ... up to the block's length (samples outside
// the block count as 0), pre-emphasised within the frame (u_i = s_i - a s_{i-1}, the
// frame's first sample taking s_{-1} = 0), windowed (0, 1, 2 as the spectrum's), and
// solved from their autocorrelation by the Levinson-Durbin recursion. Band 0 is the
// square root of the remaining prediction error, bands 1 ... P the predictor
// x^_t = sum_j a_j x_{t-j}. A frame of zeros gives zeros.
//
// Reflection coefficients are clamped to [-1, 1]; once the error reaches 0 (a frame
// predicted exactly) the recursion stops and the remaining coefficients are 0, so
// nothing is divided by zero. The folder keeps the Number members "framedist" (H) and
// "sps" (the source's rate) like the spectrum.
//
// The factory refuses orders outside 1 ... 4095 or not below L (the lags would run
// past the frame), L outside 1 ... 65536, H below 1, unknown windows and outputs
// beyond 2^28 floats. The output holds the
// frames of the largest block the source can deliver; a block beyond that capacity
// has its extra frames dropped.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "Map.h"
#include "SoundBuffer.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "core/ZeroedArray.h"
#include "signal/MapArguments.h"
#include "signal/Window.h"

namespace {
class LPC : public ModuleBase, public virtual Map {
  public:
    LPC(SoundBuffer* source, int order, int frameLength, int hop, int window, float emphasis)
        : source_(source), order_(order), frameLength_(frameLength), hop_(hop), emphasis_(emphasis),
          window_(MakeWindow(window, frameLength)), frame_(frameLength), r_(order + 1),
          a_(order + 1), previous_(order + 1) {
        source_->AddRef();
        bands = order + 1;
        maxFrames_ = std::max(source_->capacity, 0) / hop + 1;
        Map::capacity = bands * maxFrames_;
        values_ = MakeZeroed<float>(Map::capacity);
        Map::data = values_.get();
        frames = maxFrames_; // for consumers that size themselves from a fresh map
        frameDist_ = AddProperty("framedist", hop);
        rate_ = AddProperty("sps", source_->sps);
    }
    ~LPC() override {
        source_->Release();
        frameDist_->Release();
        rate_->Release();
    }

    void* GetInterface(const char* name) override { return AnswerAs<Map>(this, "Map", name); }

    int Process() override {
        const float* d = source_->data;
        int n = d ? std::clamp(source_->length, 0, std::max(source_->capacity, 0)) : 0;
        frames = std::min(n / hop_ + 1, maxFrames_);
        for (int t = 0; t < frames; ++t) {
            Analyse(d, n, static_cast<int64_t>(t) * hop_ - frameLength_ / 2);
            for (int b = 0; b < bands; ++b)
                Map::data[b * frames + t] = static_cast<float>(b ? a_[b] : std::sqrt(error_));
        }
        Map::complete = source_->complete;
        frameDist_->value = hop_;
        rate_->value = source_->sps;
        return 0;
    }

  private:
    // Sets a_ and error_ for the frame of the block's n samples that starts at start.
    void Analyse(const float* d, int n, int64_t start) {
        double last = 0;
        for (int i = 0; i < frameLength_; ++i) {
            int64_t at = start + i;
            double s = at >= 0 && at < n ? d[at] : 0.0;
            frame_[i] = (s - emphasis_ * last) * window_[i];
            last = s;
        }
        for (int j = 0; j <= order_; ++j) {
            double sum = 0;
            for (int i = 0; i + j < frameLength_; ++i)
                sum += frame_[i] * frame_[i + j];
            r_[j] = sum;
        }
        std::fill(a_.begin(), a_.end(), 0.0);
        error_ = r_[0];
        for (int i = 1; i <= order_ && error_ > 0; ++i) {
            double sum = r_[i];
            for (int j = 1; j < i; ++j)
                sum -= a_[j] * r_[i - j];
            double k = std::clamp(sum / error_, -1.0, 1.0);
            previous_ = a_;
            a_[i] = k;
            for (int j = 1; j < i; ++j)
                a_[j] = previous_[j] - k * previous_[i - j];
            error_ = std::max((1 - k * k) * error_, 0.0);
        }
    }

    SoundBuffer* source_;
    int order_, frameLength_, hop_;
    double emphasis_;
    std::vector<float> window_;
    std::vector<double> frame_, r_, a_, previous_;
    double error_ = 0;
    int maxFrames_;
    ZeroedArray<float> values_;
    NumberObject* frameDist_;
    NumberObject* rate_;
};
} // namespace

Interface* NewLPC(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 6);
    Obtained<SoundBuffer> source(args.Get<SoundBuffer>(0, "SoundBuffer"));
    if (!source) {
        report("LPC: First parameter must be 'SoundBuffer' Interface");
        return nullptr;
    }
    int order = 0, length = 0, hop = 0, window = 0;
    float emphasis = 0;
    if (!GetInteger(args, 1, 1, kMaxMapBands - 1, &order) ||
        !GetInteger(args, 2, 1, kMaxFrameLength, &length) ||
        !GetInteger(args, 3, 1, 2147483647, &hop) ||
        !GetInteger(args, 4, 0, kWindowTypes - 1, &window) || !GetReal(args, 5, &emphasis) ||
        order >= length || !FitsMap(order + 1, std::max(source->capacity, 0) / hop + 1)) {
        report("LPC: Parameter error");
        return nullptr;
    }
    auto* lpc = new LPC(source.get(), order, length, hop, window, emphasis);
    Hold self(lpc);
    lpc->Link(args.At(0));
    return lpc;
}
