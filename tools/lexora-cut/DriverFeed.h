// Feeds a recorded stream through the program's recognition driver as a sound device
// would: capture blocks written into the capture ring as their time comes, a fake clock
// moving one main-loop period at a time, the driver polled after each step. The engine is
// the fake root of FakeEngine.h: while the driver waits for an utterance it asks the
// engine only for the analysed block's buffer and, at the utterance's end, fills the
// whole-utterance recogniser's buffer and runs its search; the fake root keeps what was
// handed over. So what comes out is exactly the cut the program's recogniser gets.
//
// The driver, the clock and the sound buffers are program-wide: one DriverFeed at a time.
#pragma once
#include <cstdint>
#include <vector>

#include "lexora-cut/FakeEngine.h"

// What the driver made of a stream.
struct DriverCut {
    bool started = false; // an utterance started at some time
    bool ended = false;   // one ended (and went to the recogniser unless too short)
    int state = 0;        // the driver's state when the stream was over or recognised
    int begin = 0;        // the last utterance's first sample in the stream
    int end = 0;          // and its end (-1 while it is open)
    // The samples the driver handed to the whole-utterance recogniser; empty when it
    // handed none (no utterance ended, or one too short to recognise).
    std::vector<int16_t> utterance;
};

class DriverFeed {
  public:
    static constexpr int kDeviceBlock = 2048; // samples per capture block, as the device has
    static constexpr int kPeriodMs = 25;      // the main loop's period

    DriverFeed();
    ~DriverFeed();
    DriverFeed(const DriverFeed&) = delete;
    DriverFeed& operator=(const DriverFeed&) = delete;

    // The driver as at start-up, on this feed's engine.
    void Restart();
    // Records samples (22050 Hz) with the driver waiting for an utterance, delivered in
    // blocks of block samples, until the utterance is recognised or the stream is over.
    DriverCut Listen(const std::vector<int16_t>& samples, int block = kDeviceBlock);

    FakeRoot& Root() { return m_root; }

  private:
    void Deliver(const std::vector<int16_t>& samples, int from, int to);

    FakeRoot m_root;
    FakeSoundBuffer* m_pUtterance; // the whole-utterance recogniser's buffer
    DriverCut* m_pListening = nullptr;
};
