// MicIn(): the engine's live sound source. A sound buffer of 150,000 samples that each
// run fills with what the capture ring received since the previous run (22050 samples
// per second, 16-bit mono, a ring of 1,000,000 bytes), so a chain behind it works on
// live speech block by block. It publishes "_sps" = 22050 in the folder it is made in,
// where the feature filters find their time base.
//
// A read stops at the end of the ring (the start of the ring comes in the next run)
// and at the 150,000 samples the buffer holds (the rest comes in the next run). A run
// that finds nothing new waits up to 10 ms for sound, with the engine's lock let go,
// so a folder that keeps running the microphone neither spins nor shuts out the
// engine's other threads. Without a capture device the object says so once and
// delivers empty blocks.
#include <algorithm>
#include <thread>

#include "core/Arguments.h"
#include "core/EngineLock.h"
#include "core/Report.h"
#include "signal/Capture.h"
#include "signal/SampleBuffer.h"

namespace {
constexpr int32_t kSamples = 150000;
// One read takes at most the ring size shifted by bits per sample / 16.
constexpr int32_t kMaxReadBytes = Capture::kRingBytes >> 1;

class MicIn : public SampleBuffer {
  public:
    explicit MicIn(std::unique_ptr<Capture> capture)
        : SampleBuffer(kSamples), capture_(std::move(capture)) {
        sps = Capture::kSps;
        complete = 0;
    }

    int Process() override {
        if (capture_) capture_->Start();
        return Step();
    }

    int Step() override {
        if (Read() > 0) return 1;
        AddRef();
        {
            EngineUnlocked unlocked;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        Read();
        Release();
        return 1;
    }

  private:
    // Takes the samples captured since the last read; gives their number.
    int32_t Read() {
        length = 0;
        if (!capture_) return 0;
        int32_t position = capture_->Position();
        if (offset_ >= Capture::kRingBytes) offset_ = 0;
        // The capture wrapped: read up to the end of the ring now, its start next time.
        if (offset_ > position) position = Capture::kRingBytes;
        int32_t bytes = std::min({position - offset_, kMaxReadBytes, capacity * 2});
        const int16_t* ring = capture_->Ring() + offset_ / 2;
        for (int32_t i = 0; i < bytes / 2; ++i)
            data[i] = ring[i];
        offset_ += bytes;
        length = bytes / 2;
        return length;
    }

    std::unique_ptr<Capture> capture_;
    int32_t offset_ = 0; // bytes of the ring taken so far
};
} // namespace

Interface* NewMicIn(Input* lexer, Interface* context) {
    Arguments none(lexer, context, 0);
    if (auto home = Obtain<Folder>(context, "Folder")) {
        auto* rate = new NumberObject(Capture::kSps);
        home->Set("_sps", 4, rate, 0);
    }
    std::string problem;
    std::unique_ptr<Capture> capture = OpenCapture(&problem);
    if (!capture)
        report("MicIn: No capture device (%s); the microphone stays silent", problem.c_str());
    return new MicIn(std::move(capture));
}
