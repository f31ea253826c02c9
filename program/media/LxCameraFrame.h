// Camera frames and their hand-over between threads. A capture source converts what
// its device delivers into 32-bit 0x00RRGGBB pixels on its own thread and puts the
// frame into a CLxFrameSlot; the window thread takes the newest frame out and draws it.
// Only the slot's two buffers are shared, swapped under its mutex, so the drawing
// surface is touched by the window thread alone. Frames a slow window thread misses are
// dropped: only the newest one counts.
#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

// A frame of top-down (or, with bBottomUp, bottom-up) rows of 0x00RRGGBB pixels.
struct LxCameraFrame {
    int nWidth = 0;
    int nHeight = 0;
    bool bBottomUp = false;
    std::vector<uint32_t> pixels;
};

// Conversions of the device formats, width x height pixels from rows pitch bytes apart.
// BGR24: bytes blue, green, red (a little-endian 24-bit pixel with red in bits 16-23).
void ConvertBGR24(const uint8_t* src, int width, int height, int pitch, uint32_t* dst);
void ConvertRGB24(const uint8_t* src, int width, int height, int pitch, uint32_t* dst);
// YUYV 4:2:2 (Y0 U Y1 V per two pixels), ITU-R BT.601 limited range; width even.
void ConvertYUYV(const uint8_t* src, int width, int height, int pitch, uint32_t* dst);
// Turns the rows upside down in place.
void FlipRows(uint32_t* pixels, int width, int height);
// Mirrors every row left to right in place.
void MirrorRows(uint32_t* pixels, int width, int height);

class CLxFrameSlot {
  public:
    // The capture thread's frame to fill; Publish hands it over.
    LxCameraFrame& Back() { return m_back; }
    // Makes the back frame the newest; true when the window thread had taken the
    // previous one (so a wake-up is worth sending).
    bool Publish();
    // Swaps the newest frame into out (whose old buffer the capture thread reuses);
    // false when nothing new came since the last take.
    bool Take(LxCameraFrame* out);

  private:
    std::mutex m_mutex;
    LxCameraFrame m_back;  // the capture thread's, unshared
    LxCameraFrame m_ready; // shared, under m_mutex
    bool m_bFresh = false;
};
