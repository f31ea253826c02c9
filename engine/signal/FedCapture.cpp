// A capture fed from a recording at the pace of a clock; see Capture.h. Each Position
// writes the samples due since the last one into the ring, so a test that moves its
// clock by 100 ms finds 2205 new samples, and a demo hears a WAV file as if spoken.
#include <time.h>

#include <algorithm>

#include "signal/Capture.h"

namespace {
constexpr int64_t kRingSamples = Capture::kRingBytes / 2;

class FedCapture : public Capture {
  public:
    FedCapture(std::vector<int16_t> samples, std::function<int64_t()> clockMs)
        : samples_(std::move(samples)), clock_(std::move(clockMs)), ring_(kRingSamples) {}

    void Start() override {
        if (started_) return;
        started_ = true;
        start_ = clock_();
    }

    int32_t Position() override {
        if (!started_) return 0;
        int64_t due = (clock_() - start_) * kSps / 1000;
        // Only the last ring's worth of a long silence of the reader can still be read.
        if (due - fed_ > kRingSamples) fed_ = due - kRingSamples;
        for (; fed_ < due; ++fed_)
            ring_[fed_ % kRingSamples] = fed_ < static_cast<int64_t>(samples_.size())
                                             ? samples_[static_cast<size_t>(fed_)]
                                             : 0;
        return static_cast<int32_t>(fed_ % kRingSamples * 2);
    }

    const int16_t* Ring() const override { return ring_.data(); }

  private:
    std::vector<int16_t> samples_;
    std::function<int64_t()> clock_;
    std::vector<int16_t> ring_;
    bool started_ = false;
    int64_t start_ = 0;
    int64_t fed_ = 0; // samples written into the ring since Start
};
} // namespace

std::unique_ptr<Capture> NewFedCapture(std::vector<int16_t> samples,
                                       std::function<int64_t()> clockMs) {
    if (!clockMs)
        clockMs = [] {
            timespec now;
            clock_gettime(CLOCK_MONOTONIC, &now);
            return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
        };
    return std::make_unique<FedCapture>(std::move(samples), std::move(clockMs));
}
