// The sound system's capture through SDL2; see Capture.h. Only SDL's audio subsystem is
// touched (its reference-counted init), never video or events, so the engine can live
// beside a program that owns SDL. SDL's callback copies each captured block into the
// ring and publishes the new write position; MicIn reads up to it on its own thread.
#include <SDL.h>

#include <atomic>

#include "signal/Capture.h"

namespace {
constexpr int32_t kRingSamples = Capture::kRingBytes / 2;

class SdlCapture : public Capture {
  public:
    SdlCapture() : ring_(new int16_t[kRingSamples]()) {}
    ~SdlCapture() override {
        if (device_) SDL_CloseAudioDevice(device_);
        if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Open(std::string* problem) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            *problem = SDL_GetError();
            return false;
        }
        initialised_ = true;
        SDL_AudioSpec wanted{};
        wanted.freq = kSps;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 1;
        wanted.samples = 512;
        wanted.callback = Captured;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        device_ = SDL_OpenAudioDevice(nullptr, 1, &wanted, &obtained, 0);
        if (device_ == 0) *problem = SDL_GetError();
        return device_ != 0;
    }

    void Start() override {
        if (!started_) SDL_PauseAudioDevice(device_, 0);
        started_ = true;
    }
    int32_t Position() override { return write_.load(std::memory_order_acquire) * 2; }
    const int16_t* Ring() const override { return ring_.get(); }

  private:
    static void Captured(void* self, Uint8* stream, int bytes) {
        auto* capture = static_cast<SdlCapture*>(self);
        const auto* samples = reinterpret_cast<const int16_t*>(stream);
        int32_t write = capture->write_.load(std::memory_order_relaxed);
        for (int i = 0; i < bytes / 2; ++i) {
            capture->ring_[write] = samples[i];
            write = write + 1 == kRingSamples ? 0 : write + 1;
        }
        capture->write_.store(write, std::memory_order_release);
    }

    std::unique_ptr<int16_t[]> ring_;
    std::atomic<int32_t> write_{0}; // in samples
    SDL_AudioDeviceID device_ = 0;
    bool initialised_ = false;
    bool started_ = false;
};
} // namespace

std::unique_ptr<Capture> NewSdlCapture(std::string* problem) {
    auto capture = std::make_unique<SdlCapture>();
    if (!capture->Open(problem)) return nullptr;
    return capture;
}
