// The drawing side of an engine display window, as the display objects (map, feature
// and hypothesis displays) use it when the window asks them to draw. Coordinates are
// pixels of the drawing area, which starts right of the window's 50-pixel member
// list; y grows downwards.
#pragma once
#include <cstdint>

#include "Interface.h"

class Window : public virtual Interface {
  public:
    // Sets the drawing area's size and shows the window.
    virtual void SetSize(int32_t width, int32_t height) = 0;
    // Clears the drawing area and lets every selected member draw itself.
    virtual void Redraw() = 0;
    // Copies a bottom-up BMP picture to the drawing area's top left corner: header is
    // the 40-byte information header (followed, at 8 bits per pixel, by 256 palette
    // entries blue, green, red, 0), bits its rows, each filled to a multiple of 4 bytes.
    virtual void DrawBitmap(const void* header, const void* bits) = 0;
    virtual int32_t Width() = 0;
    virtual int32_t Height() = 0;
    // The pen for the lines that follow; colour is 0x00BBGGRR.
    virtual void SetColor(uint32_t colour) = 0;
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    virtual void LineTo(int32_t x, int32_t y) = 0;
};
