// The sound system's capture through SDL2; see Capture.h. Only SDL's audio subsystem is
// touched (its reference-counted init), never video or events, so the engine can live
// beside a program that owns SDL. SDL's callback copies each captured block into the
// ring and publishes the new write position; MicIn reads up to it on its own thread.
// SDL is loaded when a microphone is first opened, not with the engine: hosts that only
// run scripts over files never pay for SDL and the libraries it pulls in.
#include <SDL.h>

#include <atomic>

#include "core/Dynamic.h"
#include "signal/Capture.h"

namespace {
constexpr int32_t kRingSamples = Capture::kRingBytes / 2;

// The SDL functions capture uses, bound once for the process; null when libSDL2 is
// missing or lacks one.
struct SdlLibrary {
    int (*InitSubSystem)(Uint32);
    void (*QuitSubSystem)(Uint32);
    const char* (*GetError)();
    SDL_AudioDeviceID (*OpenAudioDevice)(const char*, int, const SDL_AudioSpec*, SDL_AudioSpec*,
                                         int);
    void (*PauseAudioDevice)(SDL_AudioDeviceID, int);
    void (*CloseAudioDevice)(SDL_AudioDeviceID);
};

const SdlLibrary* Sdl() {
    static const SdlLibrary* library = [] {
        void* l = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!l) return static_cast<SdlLibrary*>(nullptr);
        auto* sdl = new SdlLibrary;
        bool bound = BindSymbol(l, "SDL_InitSubSystem", &sdl->InitSubSystem) &&
                     BindSymbol(l, "SDL_QuitSubSystem", &sdl->QuitSubSystem) &&
                     BindSymbol(l, "SDL_GetError", &sdl->GetError) &&
                     BindSymbol(l, "SDL_OpenAudioDevice", &sdl->OpenAudioDevice) &&
                     BindSymbol(l, "SDL_PauseAudioDevice", &sdl->PauseAudioDevice) &&
                     BindSymbol(l, "SDL_CloseAudioDevice", &sdl->CloseAudioDevice);
        if (bound) return sdl;
        delete sdl;
        return static_cast<SdlLibrary*>(nullptr);
    }();
    return library;
}

class SdlCapture : public Capture {
  public:
    SdlCapture() : ring_(new int16_t[kRingSamples]()) {}
    ~SdlCapture() override {
        if (device_) Sdl()->CloseAudioDevice(device_);
        if (initialised_) Sdl()->QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Open(std::string* problem) {
        const SdlLibrary* sdl = Sdl();
        if (!sdl) {
            *problem = "cannot load libSDL2-2.0.so.0";
            return false;
        }
        if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
            *problem = sdl->GetError();
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
        device_ = sdl->OpenAudioDevice(nullptr, 1, &wanted, &obtained, 0);
        if (device_ == 0) *problem = sdl->GetError();
        return device_ != 0;
    }

    void Start() override {
        if (!started_) Sdl()->PauseAudioDevice(device_, 0);
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
