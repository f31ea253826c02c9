// The outline fill of the phoneme-pair reading game 4 on the demo data set's lesson
// "b-p": the heaviest drawing of the reading games. Measured: the fill of one member
// after a right piece (its bands blitted from the colour-keyed fill picture), the same
// with the screen's redraw that follows it, and the whole board (the outline font
// chosen, the members drawn, their bands found and fill pictures made). The demo data
// set must have been built into the build tree (tools/demo-data build build/demo);
// without it the benchmarks are skipped.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <memory>

#include "media/LxFile.h"
#include "media/LxFontServer.h"
#include "media/LxSurface.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "reading/LxRPGameScr4.h"
#include "shell/LxProgramData.h"
#include "ui/LxCGUI.h"

namespace {
const char* const kReadingDescription = "data\\olvfej.xml";

// The demo course with "b-p" as the current lesson, once.
bool PairLessonReady() {
    static bool ready = [] {
        if (chdir(LEXORA_DEMO) != 0 || access("data/olvfej_tem.xml", R_OK) != 0) return false;
        CLxFile::SetRoots(".\\", "data\\");
        if (!g_pFontServer) g_pFontServer = new CLxFontServer;
        if (!g_pDrawSurface) g_pDrawSurface = CreateSurface(800, 600);
        LoadAlphabet(kCourseFile, "data\\beszedjav.xml");
        if (!LoadCourse(kCourseFile)) return false;
        g_nCourseLetter = DecodeLetter("b-p");
        g_nCourseLesson = -1;
        ResolveCoursePosition();
        return g_nCourseLesson >= 0;
    }();
    return ready;
}

std::unique_ptr<CLxRPGameScr4> MakeGame4(benchmark::State& state) {
    if (PairLessonReady()) return std::make_unique<CLxRPGameScr4>(kReadingDescription);
    state.SkipWithError("no demo lesson b-p in " LEXORA_DEMO
                        " (run tools/demo-data build build/demo)");
    return nullptr;
}

// One member's fill after c of its six pieces, c going round 1 to 6; with redraw the
// screen is redrawn after each, as a right piece has it.
void FillRounds(benchmark::State& state, bool redraw) {
    auto game = MakeGame4(state);
    if (!game) return;
    int bands[4];
    for (int b = 0; b < 4; ++b)
        bands[b] = game->Band(0, b);
    int c = 0;
    for (auto _ : state) {
        c = c % 6 + 1;
        FillMember(game->GetGUI()->m_pBackground, game->MemberRect(0), bands, game->FillPicture(0),
                   c, 6);
        if (redraw) game->GetGUI()->DrawBackground(nullptr, nullptr, true);
    }
}

void BM_PairGame4Fill(benchmark::State& state) {
    FillRounds(state, false);
}
BENCHMARK(BM_PairGame4Fill)->Unit(benchmark::kMicrosecond);

void BM_PairGame4FillAndRedraw(benchmark::State& state) {
    FillRounds(state, true);
}
BENCHMARK(BM_PairGame4FillAndRedraw)->Unit(benchmark::kMicrosecond);

// The whole screen with its board, built and torn down.
void BM_PairGame4Board(benchmark::State& state) {
    if (!MakeGame4(state)) return;
    for (auto _ : state)
        benchmark::DoNotOptimize(std::make_unique<CLxRPGameScr4>(kReadingDescription));
}
BENCHMARK(BM_PairGame4Board)->Unit(benchmark::kMicrosecond);
} // namespace
