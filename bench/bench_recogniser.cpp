// The recogniser's costs: the data folder's recogniser script builds mod and
// mod_classic (their network paths pointed at the source tree's data). The answer:
// each iteration does what the program does at the end of an utterance, fill
// mod_classic.wfi with n ms of sound (a vowel-like buzz behind the driver's 125 ms
// lead-in and 450 ms tail), run mod_classic.start() and read mod_classic.te. The
// therapy tick: what the driver does every 25 ms on the therapy screens, 512 samples
// into mod.wfi, mod.start() and the class scores of mod.anne.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "Evaluator.h"
#include "Hypothesis.h"
#include "LoadedEngine.h"
#include "SoundBuffer.h"

namespace {
const std::string kData = std::string(TALVIK_SOURCE) + "/data/lexora/";

bool BuildRecogniser(Interface* root) {
    static bool built = [root] {
        std::ifstream in(kData + "recogniser24x3");
        std::stringstream text;
        text << in.rdbuf();
        std::string script = text.str();
        for (size_t at = script.find("\"data/"); at != std::string::npos;
             at = script.find("\"data/", at + kData.size()))
            script.replace(at + 1, 5, kData);
        Dispose(root->Run(("bench_rec = new Folder; bench_rec {" + script + "}").c_str(), root));
        return root->Run("bench_rec.mod_classic.te", root) != nullptr;
    }();
    return built;
}

void BM_RecogniserAnswer(benchmark::State& state) {
    Interface* root = LoadedRoot();
    if (!root || !BuildRecogniser(root)) return state.SkipWithError("recogniser not built");
    auto* sb =
        QueryInterface<SoundBuffer>(root->Run("bench_rec.mod_classic.wfi", root), "SoundBuffer");
    if (!sb) return state.SkipWithError("no sound buffer");
    const int rate = 22050, lead = rate / 8, tail = rate * 45 / 100;
    const int sound = static_cast<int>(state.range(0) * rate / 1000);
    const int length = lead + sound + tail;
    for (int i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / rate;
        bool on = i >= lead && i < lead + sound;
        sb->data[i] = static_cast<float>(on ? 4000 * std::sin(2 * M_PI * 140 * t) +
                                                  2000 * std::sin(2 * M_PI * 700 * t)
                                            : 20 * std::sin(2 * M_PI * 50 * t));
    }
    for (auto _ : state) {
        sb->length = length;
        sb->sps = rate;
        sb->complete = 1;
        Dispose(root->Run("bench_rec.mod_classic.start()", root));
        auto* te =
            QueryInterface<Hypothesis>(root->Run("bench_rec.mod_classic.te", root), "Hypothesis");
        benchmark::DoNotOptimize(te);
        if (te) te->Release();
    }
    sb->Release();
}
BENCHMARK(BM_RecogniserAnswer)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(3000)
    ->ArgName("speech_ms")
    ->Unit(benchmark::kMillisecond);

void BM_TherapyTick(benchmark::State& state) {
    Interface* root = LoadedRoot();
    if (!root || !BuildRecogniser(root)) return state.SkipWithError("recogniser not built");
    auto* sb = QueryInterface<SoundBuffer>(root->Run("bench_rec.mod.wfi", root), "SoundBuffer");
    auto* anne = QueryInterface<Evaluator>(root->Run("bench_rec.mod.anne", root), "Evaluator");
    if (!sb || !anne) {
        if (sb) sb->Release();
        if (anne) anne->Release();
        return state.SkipWithError("no mod.wfi or mod.anne");
    }
    const int rate = 22050, block = 512;
    for (auto _ : state) {
        for (int i = 0; i < block; ++i)
            sb->data[i] = static_cast<float>(3000 * std::sin(2 * M_PI * 4000 * i / rate));
        sb->length = block;
        sb->sps = rate;
        sb->complete = 0;
        Dispose(root->Run("bench_rec.mod.start()", root));
        benchmark::DoNotOptimize(anne->Evaluate(0, 0));
    }
    anne->Release();
    sb->Release();
}
BENCHMARK(BM_TherapyTick)->Unit(benchmark::kMicrosecond);
} // namespace
