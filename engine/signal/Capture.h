// The seam between MicIn and the platform's sound capture. A capture fills a ring of
// 1,000,000 bytes with 16-bit mono samples at 22050 samples per second, looping, and
// tells how far it has written; MicIn polls it and takes what came since its last
// read. Three sources stand behind it: the sound system's capture (SDL2), a recording
// fed into the ring at the pace of a clock (demos and tests), and none at all.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Capture {
  public:
    static constexpr int32_t kRingBytes = 1000000;
    static constexpr int32_t kSps = 22050;

    virtual ~Capture() = default;
    // Starts looping capture; calls after the first do nothing.
    virtual void Start() = 0;
    // The byte offset in the ring up to which captured samples are safe to read; even,
    // below kRingBytes.
    virtual int32_t Position() = 0;
    // The ring, kRingBytes / 2 samples.
    virtual const int16_t* Ring() const = 0;
};

// The capture that TALVIK_CAPTURE names: "none", "file:<wav>" (a mono 16-bit WAV at
// 22050 samples per second, played into the ring in real time), or, when it is unset,
// the sound system's default capture device. Null, with the reason in problem, when
// there is none.
std::unique_ptr<Capture> OpenCapture(std::string* problem);

// Replaces how MicIn opens its capture (tests); null restores OpenCapture. Gives the
// previous opener.
using CaptureOpener = std::unique_ptr<Capture> (*)(std::string* problem);
CaptureOpener SetCaptureOpener(CaptureOpener opener);

// A recording played into the ring as a clock (milliseconds) advances from Start;
// silence follows its end.
std::unique_ptr<Capture> NewFedCapture(std::vector<int16_t> samples,
                                       std::function<int64_t()> clockMs);
// The sound system's capture device, or null with the reason.
std::unique_ptr<Capture> NewSdlCapture(std::string* problem);
