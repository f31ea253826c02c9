// The pen that paints mask runs into locked pixel memory. A colour is 0xAARRGGBB, AA the
// weight of the pixel already there: 0 paints the colour, 255 leaves the pixel, values
// between blend. 32- and 24-bit pixels are blue, green, red bytes (a fourth byte is never
// written); 16-bit pixels are RGB565, blended through three channel tables made once per
// pen. Every span is clipped to the target's width and height.
#pragma once
#include <cstdint>

#include "media/LxSurface.h"

class CLxRLEPen {
  public:
    CLxRLEPen(const LxSurfaceDesc& target, uint32_t colour);

    // False when there is nothing to paint into or the depth is not 16, 24 or 32.
    bool CanDraw() const { return m_bUsable; }
    // Paints n pixels from (x, y) rightwards.
    void Span(int x, int y, int n) const;

    static uint16_t Pack565(uint32_t rgb);

  private:
    LxSurfaceDesc m_target;
    bool m_bUsable = false;
    int m_nWeight;      // AA
    uint8_t m_rgb[3];   // blue, green, red
    uint16_t m_nPacked; // the colour as RGB565
    uint16_t m_red[32]; // 16-bit blending: the new channel for each old one
    uint16_t m_green[64];
    uint16_t m_blue[32];
};
