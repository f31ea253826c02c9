// What the driver benchmarks share: the capture device's part (a block of sound written
// at the capture ring's write position, which then moves on) and the measured loop of
// recording ticks over fresh buffers.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "media/LxSoundBuffer.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgram.h"

inline void Capture(const std::vector<int16_t>& sound) {
    void *r1, *r2;
    unsigned l1, l2, write;
    g_pCaptureRing->Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll);
    g_pCaptureRing->GetPositions(nullptr, &write);
    unsigned size = g_pCaptureRing->GetSize(), bytes = unsigned(sound.size() * 2);
    unsigned first = std::min(bytes, size - write);
    std::memcpy(static_cast<uint8_t*>(r1) + write, sound.data(), first);
    std::memcpy(r1, reinterpret_cast<const uint8_t*>(sound.data()) + first, bytes - first);
    g_pCaptureRing->SetPosition((write + bytes) % size);
}

// Records in the driver's mode with sound delivered before every tick; the engine the
// driver uses is set up by the caller.
inline void RecordingTicks(benchmark::State& state, int mode, const std::vector<int16_t>& sound) {
    CBSoundBuffer recording(nullptr), ring(nullptr);
    recording.Create(kRecordingSamples, 22050, 16);
    ring.Create(kCaptureRingSamples, 22050, 16);
    g_pRecording = &recording;
    g_pCaptureRing = &ring;
    g_Driver.nState = mode;
    DriverMessage(kMsgRecord);
    Capture(sound);
    for (auto _ : state) {
        Capture(sound);
        DriverTick(g_nDriverTimer, kMsgRecord);
        if (nRecordWrite > kRecordingBytes - 4096) nRecordWrite = 0;
    }
    DriverMessage(kMsgStop);
    g_pRecording = g_pCaptureRing = nullptr;
}
