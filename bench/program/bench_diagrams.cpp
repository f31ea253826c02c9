// The sound-development screen's time-diagram page redrawn whole: nine diagrams of
// 512 x 32 pixels, each over a full history of 2048 class scores (four values to a
// pixel column), drawn over the screen's background, against the driver's period (30 ms
// on that screen). The description and its background are made in a temporary folder.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "ui/LxCGUI.h"
#include "ui/LxTimeDiagramm.h"

namespace {
constexpr int kDiagrams = 9;
constexpr int kHistory = 2048;

// Once per run, in a fresh folder that becomes the working folder.
void MakeFixture() {
    char name[] = "/tmp/lexora-bench-diagrams-XXXXXX";
    if (!mkdtemp(name) || chdir(name) != 0) std::abort();
    CLxFile::SetRoots("", "data\\");
    if (mkdir("data", 0755) != 0) std::abort();
    CLxSurface background;
    background.Create(800, 600);
    FillRectPixel(&background, nullptr, 0x203050);
    SaveBitmap(&background, "data/bg.bmp");
    std::string text =
        "<Lexo background=\"bg\">\n<group name=\"al\" position=\"0,172\">\n</group>\n";
    for (int i = 0; i < kDiagrams; ++i)
        text += "<control type=\"timediagramm\" name=\"td" + std::to_string(i) +
                "\"><common rect=\"88," + std::to_string(40 * i) + ",512,32\"/></control>\n";
    std::ofstream("data/d.xml") << text << "</Lexo>\n";
}

void BM_NineTimeDiagrams(benchmark::State& state) {
    static const bool made = (MakeFixture(), true);
    (void)made;
    g_pDrawSurface = CreateSurface(800, 600);
    CLxCGUI gui("data\\d.xml");
    std::vector<float> history(kHistory);
    for (int i = 0; i < kHistory; ++i)
        history[i] = float(i % 97) / 97.0f;
    std::vector<CLxTimeDiagramm*> diagrams;
    for (int i = 0; i < kDiagrams; ++i) {
        auto* d =
            static_cast<CLxTimeDiagramm*>(gui.FindControl(("al.td" + std::to_string(i)).c_str()));
        if (!d) std::abort();
        d->SetData(history.data(), kHistory);
        d->m_nFlags |= CLxTimeDiagramm::kLevels;
        d->SetLevels(CLxTimeDiagramm::kFull / 2, CLxTimeDiagramm::kFull / 3);
        diagrams.push_back(d);
    }
    for (auto _ : state)
        for (CLxTimeDiagramm* d : diagrams)
            d->Draw();
    state.counters["budget_us"] = 30000;
    FreeSurface(&g_pDrawSurface);
}
BENCHMARK(BM_NineTimeDiagrams)->Unit(benchmark::kMicrosecond);
} // namespace
