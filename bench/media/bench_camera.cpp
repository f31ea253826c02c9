// The camera mirror's frame: a 640 x 480 device frame converted to the program's pixels
// (YUYV or BGR24, as V4L2 gives them; on the capture thread), turned upright and scaled
// (on the window thread) into the sound-development screen's rectangle (480 x 360) of the drawing
// surface. The budget is one frame of a 30 frames-a-second camera, 33333 us.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "media/LxCameraFrame.h"
#include "media/LxSurface.h"

namespace {
constexpr int kWidth = 640, kHeight = 480;
constexpr RECT kDisplay = {98, 198, 578, 558};

using Convert = void (*)(const uint8_t*, int, int, int, uint32_t*);

void FrameIntoRectangle(benchmark::State& state, Convert convert, int bytesPerPixel) {
    std::vector<uint8_t> device(static_cast<size_t>(kWidth) * kHeight * bytesPerPixel);
    for (size_t i = 0; i < device.size(); ++i)
        device[i] = static_cast<uint8_t>(i * 7);
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    CLxSurface screen;
    screen.Create(800, 600);
    for (auto _ : state) {
        convert(device.data(), kWidth, kHeight, kWidth * bytesPerPixel, pixels.data());
        FlipRows(pixels.data(), kWidth, kHeight);
        CLxSurface frame;
        frame.Attach(SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), kWidth, kHeight, 32,
                                                        kWidth * 4, SDL_PIXELFORMAT_RGB888));
        screen.Blt(&kDisplay, &frame, nullptr, 0, 0);
    }
    state.counters["budget_us"] = 33333;
}

void BM_CameraFrameYUYV(benchmark::State& state) {
    FrameIntoRectangle(state, ConvertYUYV, 2);
}
BENCHMARK(BM_CameraFrameYUYV)->Unit(benchmark::kMicrosecond);

void BM_CameraFrameBGR24(benchmark::State& state) {
    FrameIntoRectangle(state, ConvertBGR24, 3);
}
BENCHMARK(BM_CameraFrameBGR24)->Unit(benchmark::kMicrosecond);
} // namespace
