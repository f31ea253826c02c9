// Media benchmarks of the program: a full-screen blit, a multi-layer picture rendered
// onto the screen, a line of text in the 48-pixel font, and a flood fill of a 600 x 600
// area. Each reports its time per operation and, as "bytes", the memory the drawn data
// takes (surface pixels, encoded layers, glyph rows). The fixtures (a picture of
// coloured discs, a font rendered from DejaVu Serif) are made in a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "FontWriter.h"
#include "PictureWriter.h"
#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxMLRLEBitmap.h"
#include "media/LxRLEFonts.h"

namespace {
const char* kSerif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

// A fresh working folder for the fixtures, made once.
const std::string& Folder() {
    static std::string folder = [] {
        char name[] = "/tmp/lexora-bench-XXXXXX";
        std::string made = mkdtemp(name) ? name : "/tmp";
        if (chdir(made.c_str()) != 0) std::abort();
        CLxFile::SetRoots("", "data\\");
        return made;
    }();
    return folder;
}

void BM_FullScreenBlit(benchmark::State& state) {
    CLxSurface from, to;
    from.Create(800, 600);
    to.Create(800, 600);
    FillRectPixel(&from, nullptr, 0x336699);
    for (auto _ : state)
        BltSurface(&to, nullptr, &from, nullptr, 0);
    state.counters["bytes"] = 800.0 * 600 * 4;
}
BENCHMARK(BM_FullScreenBlit)->Unit(benchmark::kMicrosecond);

void BM_MultiLayerPicture(benchmark::State& state) {
    Folder();
    LxImage image;
    image.width = image.height = 600;
    image.pixels.assign(600 * 600, 0xFFFFFFFF);
    for (int disc = 0; disc < 40; ++disc) {
        int cx = 40 + disc * 37 % 520, cy = 40 + disc * 53 % 520, r = 20 + disc % 5 * 8;
        uint32_t colour = 0xFF000000 | (disc * 0x3F1F7u & 0xFFFFFF);
        for (int y = cy - r; y < cy + r; ++y)
            for (int x = cx - r; x < cx + r; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r)
                    image.pixels[y * 600 + x] = colour;
    }
    std::string bytes = EncodeLayers(image);
    if (!SaveBytes("discs.mlr", bytes)) return state.SkipWithError("cannot write the picture");
    CLxMLRLEBitmap picture("discs.mlr");
    CLxSurface screen;
    screen.Create(800, 600);
    for (auto _ : state)
        picture.RenderTo(&screen, true);
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_MultiLayerPicture)->Unit(benchmark::kMicrosecond);

void BM_TextLine48(benchmark::State& state) {
    Folder();
    LxFontRequest request{kSerif, 48, "data/fonts", "tnr48"};
    int glyphs = 0;
    std::string error;
    if (system("mkdir -p data/fonts") != 0 || !WriteFont(request, &glyphs, &error))
        return state.SkipWithError(("no font: " + error).c_str());
    CLxRLEFonts font;
    if (!font.Load("data\\fonts\\tnr48.xml")) return state.SkipWithError("font not loaded");
    CLxSurface screen;
    screen.Create(800, 600);
    const char* line = "Gyere, olvass velem egy sz\xE9p mes\xE9t!";
    long rows = 0;
    for (int code = 0; code < 256; ++code)
        if (const CLxRLEBitmap* glyph = font.Glyph(code)) rows += glyph->Length();
    for (auto _ : state) {
        LxSurfaceDesc desc;
        screen.Lock(nullptr, &desc);
        font.Attach(&desc);
        font.SetColors(0, 0, 0);
        benchmark::DoNotOptimize(font.DrawText(line, 10, 200));
        font.Attach(nullptr);
    }
    state.counters["bytes"] = static_cast<double>(rows);
}
BENCHMARK(BM_TextLine48)->Unit(benchmark::kMicrosecond);

void BM_FloodFill600(benchmark::State& state) {
    CLxSurface screen;
    screen.Create(800, 600);
    RECT box{100, 0, 700, 600};
    uint32_t colours[2] = {0xFF0000, 0x00FF00};
    FillRectPixel(&screen, &box, 0xFFFFFF);
    FrameRect(&screen, &box, 0);
    int turn = 0, filled = 0;
    for (auto _ : state)
        filled = FloodFill(&screen, 400, 300, colours[turn++ & 1], nullptr);
    state.counters["pixels"] = filled;
    state.counters["bytes"] = 800.0 * 600 * 4;
}
BENCHMARK(BM_FloodFill600)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
