// What the capture device does for the driver benchmarks: a block of sound written at
// the capture ring's write position, which then moves on.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "media/LxSoundBuffer.h"
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
