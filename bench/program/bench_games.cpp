// Building the colouring game's picture (the outline, the area map from the seeds, the
// uncoloured areas) on the demo house, against the 100 ms of a window-timer tick. And
// one step of each therapy game with its redraw, on the demo data set's descriptions and
// pictures, against the 10 ms driver tick (20 ms in the mole game): a driver step's
// histories are written at a new write index and the game gets the driver's timer event,
// as the recognition driver delivers it. The picture board has no timer step; its step
// is one mouse move of a dragged picture. The demo data set must have been built into
// the build tree (tools/demo-data build build/demo); without it the games are skipped.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <memory>

#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxFontServer.h"
#include "media/LxRLEBitmap.h"
#include "media/LxSurface.h"
#include "reading/LxColoringButton.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgram.h"
#include "shell/LxSettings.h"
#include "shell/LxTHistory.h"
#include "therapy/LxTGameScr1.h"
#include "therapy/LxTGameScr2.h"
#include "therapy/LxTGameScr3.h"
#include "therapy/LxTGameScr4.h"
#include "therapy/LxTGameScr5.h"
#include "therapy/LxTGameScr6.h"
#include "ui/LxCGUI.h"

namespace {
const char* const kDescription = "data\\beszedjavj.xml";

// The program's state a game screen needs, once: the demo data, fonts, the drawing
// surface, the settings and an empty history.
bool GamesReady() {
    static bool ready = [] {
        if (chdir(LEXORA_DEMO) != 0 || access("data/beszedjavj_6.xml", R_OK) != 0) return false;
        CLxFile::SetRoots(".\\", "data\\");
        g_pFontServer = new CLxFontServer;
        g_pDrawSurface = CreateSurface(800, 600);
        g_pHistory = new CLxTHistory;
        ResetSettings();
        g_Driver.fMinLevel = 0.002f;
        g_Driver.fMaxLevel = 0.75f;
        return true;
    }();
    return ready;
}

// One driver step: the measures at the next write index, then the driver's event.
void DriverStep(CLxScreen* screen, float level, float voicing, float pitch, int advance = 1) {
    g_Driver.nWrite = (g_Driver.nWrite + advance) % kHistoryMax;
    int i = g_Driver.nWrite;
    g_Driver.aHistory[kRowLevel][i] = level;
    g_Driver.aHistory[kRowSilence][i] = level > 0.0f ? 0.0f : 1.0f;
    g_Driver.aHistory[kRowVoicing][i] = voicing;
    g_Driver.aHistory[kRowPitch][i] = pitch;
    CLxTimerEvent event(1, 1086, 0);
    static_cast<ILxTimerListener*>(screen)->OnTimerEvent(&event);
}

template <class Game> std::unique_ptr<Game> Make(benchmark::State& state) {
    if (GamesReady()) return std::make_unique<Game>(kDescription);
    state.SkipWithError("no demo data in " LEXORA_DEMO " (run tools/demo-data build build/demo)");
    return nullptr;
}

// A voiced step drives the car 4 pixels and redraws where it was and is.
void BM_CarStep(benchmark::State& state) {
    auto game = Make<CLxTGameScr1>(state);
    if (!game) return;
    for (auto _ : state)
        DriverStep(game.get(), 0.5f, 0.56f, 0.5f);
}
BENCHMARK(BM_CarStep)->Unit(benchmark::kMicrosecond);

// The clown steps on every fourth write index; its height changes every step.
void BM_ClownStep(benchmark::State& state) {
    auto game = Make<CLxTGameScr2>(state);
    if (!game) return;
    g_Driver.nWrite = 0;
    int n = 0;
    for (auto _ : state)
        DriverStep(game.get(), 0.2f + 0.1f * (++n % 4), 0.4f, 0.5f, CLxTGameScr2::kStepEvery);
}
BENCHMARK(BM_ClownStep)->Unit(benchmark::kMicrosecond);

void BM_FrogStep(benchmark::State& state) {
    auto game = Make<CLxTGameScr3>(state);
    if (!game) return;
    int n = 0;
    for (auto _ : state) // a jump of 30 steps, then a landing with its print
        DriverStep(game.get(), ++n % 40 < 30 ? 0.5f : 0.0f, 0.4f, 0.5f);
}
BENCHMARK(BM_FrogStep)->Unit(benchmark::kMicrosecond);

// One mouse move of a small picture dragged over the board.
void BM_PictureDragStep(benchmark::State& state) {
    auto game = Make<CLxTGameScr4>(state);
    if (!game) return;
    CLxCGUI* gui = game->GetGUI();
    RECT home = CLxTGameScr4::HomeRect(0);
    int x = home.left + 36, y = home.top + 36;
    gui->DispatchMouse(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    gui->DispatchMouse(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    int n = 0;
    for (auto _ : state) {
        int dx = ++n % 200 < 100 ? 1 : -1; // back and forth
        x += 2 * dx;
        y -= dx;
        gui->DispatchMouse(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    }
    gui->DispatchMouse(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}
BENCHMARK(BM_PictureDragStep)->Unit(benchmark::kMicrosecond);

// The step that plants a flower (or, past twelve, waters one): the pause after a sound
// whose 31 counted steps are played untimed.
void BM_FlowerStep(benchmark::State& state) {
    auto game = Make<CLxTGameScr5>(state);
    if (!game) return;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 38; ++i)
            DriverStep(game.get(), 0.5f, 0.4f, ++n % 3 ? 0.5f : 0.9f);
        state.ResumeTiming();
        DriverStep(game.get(), 0.0f, 0.0f, 0.0f);
    }
}
BENCHMARK(BM_FlowerStep)->Unit(benchmark::kMicrosecond);

// Digging: a voiced step shades ten columns of the tunnel into the background and
// redraws it with the mole and its shadow. A mole at the edge starts again, untimed.
void BM_MoleDigStep(benchmark::State& state) {
    auto game = Make<CLxTGameScr6>(state);
    if (!game) return;
    int n = 0;
    for (auto _ : state) {
        if (game->X() >= CLxTGameScr6::kRightEdge - 20) {
            state.PauseTiming();
            game = std::make_unique<CLxTGameScr6>(kDescription);
            state.ResumeTiming();
        }
        DriverStep(game.get(), 0.5f, 0.4f, 0.6f + 0.01f * (++n % 30));
    }
}
BENCHMARK(BM_MoleDigStep)->Unit(benchmark::kMicrosecond);

// Following: the lamp mole moves and marks lightning where it leaves the tunnel.
void BM_MoleFollowStep(benchmark::State& state) {
    auto game = Make<CLxTGameScr6>(state);
    if (!game) return;
    auto toFollowing = [&] {
        while (game->GetPhase() == CLxTGameScr6::kDigging)
            DriverStep(game.get(), game->X() < CLxTGameScr6::kRightEdge ? 0.5f : 0.0f, 0.4f, 0.75f);
    };
    toFollowing();
    int n = 0;
    for (auto _ : state) {
        if (game->X() >= CLxTGameScr6::kRightEdge - 20) {
            state.PauseTiming();
            game = std::make_unique<CLxTGameScr6>(kDescription);
            toFollowing();
            state.ResumeTiming();
        }
        DriverStep(game.get(), 0.5f, 0.4f, ++n % 20 < 10 ? 0.3f : 1.2f);
    }
}
BENCHMARK(BM_MoleFollowStep)->Unit(benchmark::kMicrosecond);

// The demo house of lesson "o": its outline and the seeds its lesson gives.
void BM_ColoringPictureBuilt(benchmark::State& state) {
    if (!GamesReady()) return state.SkipWithError("no demo data in the build tree");
    CLxRLEBitmap outline("data\\coloring\\haz.rle");
    if (outline.m_nWidth == 0) return state.SkipWithError("no demo colouring picture");
    const struct {
        uint32_t colour;
        POINT seed;
    } areas[] = {{0x80C8FF, {30, 30}},   {0xFFC020, {450, 110}}, {0xE03020, {240, 220}},
                 {0xF0E0A0, {150, 300}}, {0x905020, {240, 400}}, {0x40B040, {280, 500}}};
    for (auto _ : state) {
        std::vector<LxColoringSegment> segments;
        for (const auto& area : areas) {
            LxColoringSegment segment;
            segment.colours[0] = area.colour;
            CompleteSegmentColours(&segment, 1);
            segment.seeds.push_back(area.seed);
            segments.push_back(segment);
        }
        CLxSurface* picture = CreateSurface(kColoringSize, kColoringSize);
        FillRectRGB(picture, nullptr, 0xFFFFFF);
        outline.Draw(picture, 0, 0, 0);
        benchmark::DoNotOptimize(BuildColoringMap(picture, &segments));
        FreeSurface(&picture);
    }
}
BENCHMARK(BM_ColoringPictureBuilt)->Unit(benchmark::kMillisecond);
} // namespace
