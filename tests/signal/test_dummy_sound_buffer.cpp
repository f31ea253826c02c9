// The host-filled sound buffer: the sizes it refuses, and a host run through it that
// starts a new utterance for the spectrum of its folder.
#include <gtest/gtest.h>

#include <string>

#include "ClusterBound.h"
#include "Map.h"
#include "Module.h"
#include "signal/SignalTest.h"

namespace {
class DummySoundBufferTest : public SignalTest {};

TEST_F(DummySoundBufferTest, RefusesSizesThatAreNoCount) {
    for (const char* args : {"0", "-5", "0.5", "\"x\"", "1e12", ""}) {
        SCOPED_TRACE(args);
        std::string written = In(std::string("x = new DummySoundBuffer(") + args + ")");
        EXPECT_EQ(written.substr(0, written.find('\n') + 1),
                  "DummySoundBuffer: First parameter must be 'Number' Interface\n");
    }
}

TEST_F(DummySoundBufferTest, HostFillsItAndEachRunRestartsTheFolder) {
    In("sb = new DummySoundBuffer(512.9); s = new Spectrum(sb, 256, 128, 256, 0)");
    auto* sb = QueryInterface<SoundBuffer>(Get("sb"), "SoundBuffer");
    auto* sbModule = QueryInterface<Module>(Get("sb"), "Module");
    auto* spectrum = QueryInterface<Module>(Get("s"), "Module");
    auto* bound = QueryInterface<ClusterBound>(Get("s"), "ClusterBound");
    EXPECT_EQ(sb->capacity, 512);
    EXPECT_EQ(sb->length, 512);
    EXPECT_EQ(sb->sps, 0);
    for (int i = 0; i < 512; ++i)
        sb->data[i] = static_cast<float>(i);
    sb->sps = 22050;
    sb->complete = 0;
    // Each run restarts the count; the second block also has the first one's tail.
    for (int frames : {3, 4}) {
        EXPECT_EQ(sbModule->Process(), 0);
        spectrum->Process();
        EXPECT_EQ(bound->count, frames);
    }
    EXPECT_EQ(sbModule->Process(), 0);
    EXPECT_EQ(bound->count, 0);
    bound->Release();
    spectrum->Release();
    sbModule->Release();
    sb->Release();
}
} // namespace
