// The program against the real engine and the demo data set: one recognition driver
// tick in state 0 (levels only, through "mod_sb") and in state 1 (per-frame class
// scores, running "mod" for every tick), and one frame rendered and presented in an
// 800 x 600 window (the copy of the drawing surface and the scaled present). The demo
// data set must have been built into the build tree (tools/demo-data build build/demo,
// as tools/run does); without it the engine ticks are skipped.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <unistd.h>

#include "BenchCapture.h"
#include "Folder.h"
#include "media/LxDraw.h"
#include "media/LxSoundBuffer.h"
#include "media/LxSurface.h"
#include "media/LxVideo.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxEngineBinding.h"
#include "shell/LxMainWindow.h"
#include "shell/LxProgram.h"
#include "shell/LxStartup.h"

namespace {

constexpr int kTickSamples = 551; // 25 ms of sound per tick

// The engine's root with the demo recogniser built, or null without the demo data.
Interface* DemoEngine() {
    static Interface* root = []() -> Interface* {
        if (chdir(LEXORA_DEMO) != 0) return nullptr;
        void* library = dlopen(TALVIK_LIBRARY, RTLD_NOW | RTLD_NODELETE);
        if (!library) return nullptr;
        auto** export_root = static_cast<Folder**>(dlsym(library, "export_root"));
        if (!export_root || !*export_root) return nullptr;
        DriverInit(*export_root);
        LxEngineHold hold;
        return EngineRun("mnt.data.recogniser24x3()") ? *export_root : nullptr;
    }();
    return root;
}

void DemoTick(benchmark::State& state, int mode) {
    if (!DemoEngine()) {
        state.SkipWithError("no demo data in " LEXORA_DEMO
                            " (run tools/demo-data build build/demo)");
        return;
    }
    std::vector<int16_t> sound(kTickSamples);
    for (int i = 0; i < kTickSamples; i++)
        sound[i] = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 180 * i / 22050));
    RecordingTicks(state, mode, sound);
}

void BM_DriverTickLevels(benchmark::State& state) {
    DemoTick(state, 0);
}
void BM_DriverTickClassScores(benchmark::State& state) {
    DemoTick(state, 1);
}
BENCHMARK(BM_DriverTickLevels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DriverTickClassScores)->Unit(benchmark::kMicrosecond);

// A frame as the main loop shows it: the drawing surface copied to the screen surface
// and presented, stretched, in the program's window.
void BM_RenderFrame(benchmark::State& state) {
    if (!CreateMainWindow() || !InitVideo()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    RECT all{0, 0, 800, 600};
    FillRectRGB(g_pDrawSurface, &all, 0x336699);
    g_bRenderEnabled = 1;
    for (auto _ : state)
        Render();
    ReleaseVideo();
    DestroyMainWindow();
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
