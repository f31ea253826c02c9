// VoiceDetect(source, mode): cuts utterances out of a sound stream by the energy of a
// sliding window of N samples. Speech starts when the energy rises above a start
// threshold and ends when it falls to a lower stop threshold or below. The object is
// three things at once: a sound buffer holding the utterance (up to a window of
// lead-in before the loud part and a window of tail after it), a cluster bound whose
// boundary 0 is the utterance's first sample and every other boundary the sample one
// past its end, and a reset: when speech starts, every module of the folder it was
// made in drops its data, so analysis starts afresh for each utterance.
//
// Modes: 0 carries the window and the state from block to block and answers 1 when an
// utterance ended, else -1; 1 starts afresh at each block and delivers the first
// utterance of it (or, without one, whatever was collected plus the last window),
// answering 0; 2 carries state like 0 but delivers only what each run produced.
//
// Samples are numbered from the first sample of the source block that the last Process
// began to read; the N samples of the window before it are -N .. -1. The energy is a
// running sum of squares, one addition and one subtraction per sample.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "ClusterBound.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "signal/ResetModules.h"
#include "signal/SampleBuffer.h"

namespace {
constexpr int32_t kWindow = 6000;
constexpr int32_t kRing = 2 * kWindow;
constexpr float kStartEnergy = 2.0e9f;
constexpr float kStopEnergy = 1.0e9f;

class VoiceDetect : public SampleBuffer, public virtual ClusterBound {
  public:
    VoiceDetect(SoundBuffer* source, int mode, Folder* home)
        : SampleBuffer(std::max(source->length, 0)), source_(source), home_(home), mode_(mode),
          ring_(new float[kRing]()) {
        source_->AddRef();
        home_->AddRef();
        ClusterBound::count = 2;
    }
    ~VoiceDetect() override {
        source_->Release();
        home_->Release();
    }

    int Process() override {
        if (mode_ == 1) Restart();
        sps = source_->sps;
        // The samples of the block just left are renumbered from the new block's start.
        oldest_ -= read_;
        start_ -= read_;
        end_ -= read_;
        read_ = 0;
        return Step();
    }

    int Step() override {
        if (mode_ == 2) length = 0;
        if (!inSpeech_) {
            length = 0;
            SoundBuffer::complete = 0;
        }
        for (;;) {
            if (Unread() == 0 && waiting_ == 0) return Exhausted();
            Fill();
            if (!inSpeech_ && !WaitForStart()) continue;
            if (StayInSpeech()) continue;
            inSpeech_ = 0;
            CloseUtterance();
            return mode_ == 1 ? 0 : 1;
        }
    }

    int32_t Boundary(int32_t i) override { return i == 0 ? start_ : end_; }
    int32_t Label(int32_t) override { return 0; }

    void* GetInterface(const char* name) override {
        if (std::strcmp(name, "ClusterBound")) return SampleBuffer::GetInterface(name);
        AddRef();
        return static_cast<ClusterBound*>(this);
    }

  private:
    void Restart() {
        inSpeech_ = 0;
        leave_ = 0;
        waiting_ = 0;
        energy_ = 0;
        std::fill(ring_.get(), ring_.get() + kWindow, 0.0f);
        oldest_ = -kWindow;
        start_ = -kWindow;
        end_ = 0;
        read_ = 0;
    }

    int32_t Unread() const {
        int32_t available = source_->data ? std::max(source_->length, 0) : 0;
        return std::max(available - read_, 0);
    }

    // Copies unread source samples into the free part of the ring (what the window and
    // the waiting samples do not take).
    void Fill() {
        int32_t count = std::min(Unread(), kWindow - waiting_);
        int32_t write = (leave_ + kWindow + waiting_) % kRing;
        for (int32_t i = 0; i < count; ++i) {
            ring_[write] = source_->data[read_ + i];
            write = write + 1 == kRing ? 0 : write + 1;
        }
        read_ += count;
        waiting_ += count;
    }

    // Moves the window one sample on; gives the sample that left it.
    float Slide() {
        int32_t enter = (leave_ + kWindow) % kRing;
        float in = ring_[enter], out = ring_[leave_];
        energy_ += static_cast<double>(in) * in - static_cast<double>(out) * out;
        leave_ = leave_ + 1 == kRing ? 0 : leave_ + 1;
        --waiting_;
        ++oldest_;
        return out;
    }

    // Slides through the waiting samples until the energy passes the start threshold;
    // true when speech started. In silence the start position follows the window, also
    // after an utterance ended in the middle of a block.
    bool WaitForStart() {
        while (waiting_ > 0 && !(energy_ > kStartEnergy))
            Slide();
        start_ = oldest_;
        if (!(energy_ > kStartEnergy)) return false;
        inSpeech_ = 1;
        end_ = oldest_ + kWindow;
        ResetModules(home_);
        return true;
    }

    // Slides through the waiting samples while the energy stays above the stop
    // threshold, collecting what leaves the window; false when speech ended.
    bool StayInSpeech() {
        while (waiting_ > 0 && energy_ > kStopEnergy) {
            float out = Slide();
            end_ = oldest_ + kWindow;
            if (length < capacity) data[length++] = out;
        }
        return energy_ > kStopEnergy;
    }

    // Appends the window, oldest sample first, in the two pieces the ring may hold it in.
    void AppendWindow() {
        int32_t first = std::min(kWindow, kRing - leave_);
        Append(ring_.get() + leave_, first);
        Append(ring_.get(), kWindow - first);
    }

    void Append(const float* samples, int32_t count) {
        if (count <= 0) return;
        int32_t room = capacity - length;
        if (count > room) report("VoiceDetect: stream truncated!");
        int32_t taken = std::min(count, room);
        std::copy(samples, samples + taken, data + length);
        length += taken;
    }

    void CloseUtterance() {
        SoundBuffer::complete = 1;
        AppendWindow();
    }

    int Exhausted() {
        if (mode_ == 0) return -1;
        if (mode_ == 2) return length > 0 ? 0 : -1;
        CloseUtterance();
        return 0;
    }

    SoundBuffer* source_;
    Folder* home_; // held: a reset must not walk a folder that is gone
    int mode_;
    std::unique_ptr<float[]> ring_;
    int32_t leave_ = 0;   // the oldest sample of the window
    int32_t waiting_ = 0; // samples after the window, not yet through it
    double energy_ = 0;
    int32_t read_ = 0;          // samples of the current source block taken into the ring
    int32_t oldest_ = -kWindow; // the number of the window's oldest sample
    int32_t inSpeech_ = 0;
    int32_t start_ = -kWindow;
    int32_t end_ = 0;
};
} // namespace

Interface* NewVoiceDetect(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto source = args.Get<SoundBuffer>(0, "SoundBuffer");
    if (!source) {
        report("VoiceDetect: First parameter error");
        return nullptr;
    }
    Obtained<Folder> home = Obtain<Folder>(context, "Folder");
    if (!home) {
        report("VoiceDetect: Must be called from a 'Folder'");
        return nullptr;
    }
    double value = 0;
    int mode = 0;
    if (args.GetNumber(1, &value) && (std::trunc(value) == 1 || std::trunc(value) == 2))
        mode = static_cast<int>(std::trunc(value));
    auto* detector = new VoiceDetect(source.get(), mode, home.get());
    Hold self(detector);
    detector->Link(args.At(0));
    return detector;
}
