// The off-screen picture of an engine window: 0x00RRGGBB pixels behind a mutex of
// its own, so that a thread showing it on a display can take a copy while the engine
// draws. Drawing is clipped to the canvas; nothing outside it is touched.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

class Canvas {
  public:
    static constexpr uint32_t kBackground = 0xFFFFFF;
    // Sizes beyond this are limited to it.
    static constexpr int kMaxSide = 8192;

    Canvas(int width, int height) { Resize(width, height); }

    // Drawing leaves the columns left of x alone (a strip kept for something else).
    void SetLeft(int x) { left_ = x; }
    // Sets the size and clears to the background.
    void Resize(int width, int height);
    // Clears the columns from x on.
    void ClearFrom(int x);
    void Line(int x0, int y0, int x1, int y1, uint32_t rgb);
    // Copies a picture whose rows come bottom-up; see Window::DrawBitmap.
    void DrawBmp(int x, int y, const uint8_t* header, const uint8_t* bits);

    int Width() const;
    int Height() const;
    // The pixel at (x, y); the background outside the canvas.
    uint32_t At(int x, int y) const;
    // A copy of the pixels, row by row, with the size.
    std::vector<uint32_t> Snapshot(int* width, int* height) const;

  private:
    void Put(int x, int y, uint32_t rgb);

    mutable std::mutex mutex_;
    int width_ = 0, height_ = 0, left_ = 0;
    std::vector<uint32_t> pixels_;
};
