// The FFT against a direct DFT, and the short-time spectrum: frame and band counts and
// the time base, pure tones and constants, streaming in blocks against one block, the
// trailing frame, Discard, and the arguments it refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "ClusterBound.h"
#include "Map.h"
#include "Module.h"
#include "Number.h"
#include "signal/Fft.h"
#include "signal/SampleBuffer.h"
#include "signal/SignalTest.h"

namespace {
TEST(Fft, MatchesDirectTransform) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-30000, 30000);
    for (int n = 8; n <= 2048; n *= 2) {
        SCOPED_TRACE(n);
        std::vector<float> x(n), out(n / 2 + 1);
        for (float& v : x)
            v = noise(random);
        Fft fft(n);
        fft.Magnitudes(x.data(), out.data());
        for (int k = 0; k <= n / 2; ++k) {
            std::complex<double> sum = 0;
            for (int j = 0; j < n; ++j)
                sum += double(x[j]) * std::polar(1.0, -2 * std::numbers::pi * j * k / n);
            ASSERT_NEAR(out[k], std::abs(sum) / n, 1e-4 * 30000) << k;
        }
    }
}

class SpectrumTest : public SignalTest {
  protected:
    // A host-filled buffer named "sb" in this test's folder.
    SampleBuffer* Source(int capacity) {
        Fresh();
        auto* sb = new SampleBuffer(capacity);
        Get("")->Set("sb", 2, sb, 0);
        return sb;
    }
    Map* MapOf(const char* path) {
        auto* map = QueryInterface<Map>(Get(path), "Map");
        map->Release();
        return map;
    }
    int Process(const char* path) {
        auto* m = QueryInterface<Module>(Get(path), "Module");
        int result = m->Process();
        m->Release();
        return result;
    }
    // Feeds samples in blocks of the given size (the last one complete) and returns
    // every frame, frame-major.
    std::vector<std::vector<float>> Frames(const std::vector<float>& signal, int block) {
        SampleBuffer* sb = Source(static_cast<int>(signal.size()));
        sb->sps = 22050;
        In("s = new Spectrum(sb, 512, 256, 512, 1)");
        std::vector<std::vector<float>> frames;
        for (size_t at = 0; at < signal.size() || frames.empty(); at += block) {
            size_t n = std::min<size_t>(block, signal.size() - at);
            std::copy(signal.begin() + at, signal.begin() + at + n, sb->data);
            sb->length = static_cast<int>(n);
            sb->complete = at + n >= signal.size();
            Process("s");
            Map* map = MapOf("s");
            for (int f = 0; f < map->frames; ++f) {
                frames.emplace_back(map->bands);
                for (int b = 0; b < map->bands; ++b)
                    frames.back()[b] = map->data[b * map->frames + f];
            }
            if (sb->complete) break;
        }
        return frames;
    }
};

std::vector<float> Sine(int n, float amplitude, double cycles, int period) {
    std::vector<float> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = amplitude * static_cast<float>(std::sin(2 * std::numbers::pi * cycles * i / period));
    return v;
}

TEST_F(SpectrumTest, FramesBandsAndTimeBase) {
    std::vector<std::vector<float>> frames = Frames(Sine(22050, 1000, 440, 22050), 22050);
    EXPECT_EQ(frames.size(), 87u);
    EXPECT_EQ(frames[0].size(), 257u);
    auto* bound = QueryInterface<ClusterBound>(Get("s"), "ClusterBound");
    EXPECT_FLOAT_EQ(bound->frameMs, 11.609977f);
    EXPECT_EQ(bound->count, 87);
    EXPECT_EQ(bound->Boundary(5), 5);
    EXPECT_EQ(bound->Label(5), 0);
    auto* framedist = QueryInterface<Number>(Get("s.framedist"), "Number");
    auto* sps = QueryInterface<Number>(Get("s.sps"), "Number");
    EXPECT_EQ(framedist->value, 256);
    EXPECT_EQ(sps->value, 22050);
    framedist->Release();
    sps->Release();
    // Discard restarts the count only.
    QueryInterface<Module>(Get("s"), "Module")->Discard(3);
    EXPECT_EQ(bound->count, 0);
    bound->Release();
    // 22050 is no multiple of 256, but 22016 is: its last frame starts at the end.
    frames = Frames(Sine(22016, 1000, 440, 22050), 22016);
    ASSERT_EQ(frames.size(), 87u);
    for (float v : frames.back())
        EXPECT_EQ(v, 0.0f);
}

TEST_F(SpectrumTest, BlocksGiveTheSameFramesAsOneBlock) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-8000, 8000);
    std::vector<float> signal(5000);
    for (float& v : signal)
        v = noise(random);
    std::vector<std::vector<float>> whole = Frames(signal, 5000);
    for (int block : {512, 100, 777}) {
        SCOPED_TRACE(block);
        EXPECT_EQ(Frames(signal, block), whole);
    }
}

TEST_F(SpectrumTest, ToneOnABinAndConstant) {
    struct Case {
        const char* what;
        std::vector<float> signal;
        int peak;
        float value;
    };
    std::vector<float> constant(256, 300.0f);
    const Case cases[] = {
        {"bin 1", Sine(256, 1000, 1, 256), 1, 500},
        {"bin 10", Sine(256, 2000, 10, 256), 10, 1000},
        {"bin 127", Sine(256, 1000, 127, 256), 127, 500},
        {"constant", constant, 0, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SampleBuffer* sb = Source(256);
        std::copy(c.signal.begin(), c.signal.end(), sb->data);
        sb->length = 256;
        sb->sps = 8000;
        sb->complete = 0; // the frame that fits only
        In("s = new Spectrum(sb, 256, 256, 256, 0)");
        Process("s");
        Map* map = MapOf("s");
        ASSERT_EQ(map->frames, 1);
        for (int b = 0; b < map->bands; ++b)
            EXPECT_NEAR(map->data[b], b == c.peak ? c.value : 0.0f, 0.01f) << b;
    }
}

TEST_F(SpectrumTest, ShortFrameIsZeroPadded) {
    // A rectangular frame of 4 ones padded to 8: |X[k]| / 8 of a box.
    SampleBuffer* sb = Source(4);
    std::fill(sb->data, sb->data + 4, 1.0f);
    sb->complete = 0;
    In("s = new Spectrum(sb, 4, 4, 8, 0)");
    Process("s");
    Map* map = MapOf("s");
    ASSERT_EQ(map->bands, 5);
    const float expected[] = {0.5f, 0.32664074f, 0.0f, 0.13529903f, 0.0f};
    for (int b = 0; b < 5; ++b)
        EXPECT_NEAR(map->data[b], expected[b], 1e-6f) << b;
}

TEST_F(SpectrumTest, RefusesBadArguments) {
    Source(100);
    const char* cases[] = {
        "512, 0, 512, 1",      "512, -3, 512, 1",    "0, 1, 512, 1",       "512, 256, 0, 1",
        "512, 256, 500, 1",    "512, 256, 4, 1",     "512, 256, 512, 3",   "512, 256, 512, -1",
        "256, 512, 512, 1",    "512, 256, 512",      "512, 256, \"x\", 1", "1e12, 256, 512, 1",
        "512, 256, 131072, 1", "65536, 1, 65536, 1", // the last: 2^34 values
    };
    for (const char* args : cases) {
        SCOPED_TRACE(args);
        std::string written = In(std::string("x = new Spectrum(sb, ") + args + ")");
        EXPECT_EQ(written.substr(0, written.find('\n') + 1), "Spectrum: Parameter error\n");
    }
    std::string written = In("x = new Spectrum(1, 512, 256, 512, 1)");
    EXPECT_EQ(written.substr(0, written.find('\n') + 1),
              "Spectrum: First parameter must be 'SoundBuffer' Interface\n");
}

TEST_F(SpectrumTest, ScriptAnalysesAFileAndWritesItBack) {
    std::vector<int16_t> v(4000);
    for (int i = 0; i < 4000; ++i)
        v[i] = static_cast<int16_t>(8000 * std::sin(i * 0.3));
    WriteFile("in.wav", wavfile::Mono16(v));
    EXPECT_EQ(In("m = new ModuleFolder();"
                 "m.w = new WavFileIn(\"in\");"
                 "m.s = new Spectrum(m.w, 512, 256, 512, 1);"
                 "m.o = new WavFileOut(m.w, \"out\");"
                 "m.build(); m.start()"),
              "Processing in.wav\n");
    EXPECT_EQ(MapOf("m.s")->frames, 4000 / 256 + 1);
    EXPECT_EQ(ReadFile("out.wav"), wavfile::Mono16(v));
}
} // namespace
