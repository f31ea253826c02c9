// The recognition driver's own work per tick, with the fake engine of the tests standing
// in for the recogniser (so only the driver's part is measured): a levels-only tick
// (capture copy, 512 conversions, level, pitch and voicing, histories), a per-phoneme
// tick with a nine-class evaluator, and the pitch measure alone. The period the tick must
// stay well inside is 25 ms, 10 ms in the games.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "BenchCapture.h"
#include "lexora-cut/FakeEngine.h"
#include "media/LxSoundBuffer.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxPitch.h"
#include "shell/LxProgram.h"

namespace {

constexpr int kTickSamples = 551; // 25 ms

std::vector<int16_t> Sound(int n) {
    std::vector<int16_t> s(n);
    for (int i = 0; i < n; i++)
        s[i] = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 180 * i / 22050) +
                                    2000 * std::sin(2 * M_PI * 1234 * i / 22050));
    return s;
}

void Tick(benchmark::State& state, int mode) {
    FakeRoot root;
    root.Add("mod_sb.wfi", new FakeSoundBuffer(512));
    root.Add("mod.wfi", new FakeSoundBuffer(512));
    root.Add("mod.anne", new FakeEvaluator({0.1f, 0.2f, 0.9f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.3f}));
    DriverInit(&root);
    RecordingTicks(state, mode, Sound(kTickSamples));
    g_Driver.pRoot = nullptr;
}

void BM_DriverTickLevels(benchmark::State& state) {
    Tick(state, 0);
}
BENCHMARK(BM_DriverTickLevels)->Unit(benchmark::kMicrosecond);

void BM_DriverTickPerPhoneme(benchmark::State& state) {
    Tick(state, 1);
}
BENCHMARK(BM_DriverTickPerPhoneme)->Unit(benchmark::kMicrosecond);

void BM_PitchEstimate(benchmark::State& state) {
    std::vector<int16_t> sound = Sound(512);
    std::vector<float> block(512);
    for (auto _ : state) {
        std::copy(sound.begin(), sound.end(), block.begin());
        float voicing;
        benchmark::DoNotOptimize(PitchEstimate(block.data(), 512, 50, 800, &voicing));
    }
}
BENCHMARK(BM_PitchEstimate)->Unit(benchmark::kMicrosecond);

} // namespace
