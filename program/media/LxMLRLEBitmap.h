// A multi-layer picture (".mlr"): a canvas with a background colour and coloured masks
// painted over it in file order. The file (little-endian) is 4 unused bytes, the canvas
// width and height (16 bits each) and the background 0x00RRGGBB, then layers to the end:
// x, y, width, height (16 bits each), colour 0x00RRGGBB, and the layer's rows, top row
// first. A layer's length shows only by walking its rows, so a short or lying file simply
// ends the picture; nothing is painted outside the canvas or the target.
#pragma once
#include <cstdint>
#include <vector>

#include "media/LxSurface.h"

class CLxMLRLEBitmap {
  public:
    CLxMLRLEBitmap() = default;
    // An unreadable file or one shorter than its header leaves an empty picture.
    explicit CLxMLRLEBitmap(const char* path);
    CLxMLRLEBitmap(const CLxMLRLEBitmap&) = delete;
    CLxMLRLEBitmap& operator=(const CLxMLRLEBitmap&) = delete;
    virtual ~CLxMLRLEBitmap() = default;

    bool IsEmpty() const { return m_nWidth == 0 || m_nHeight == 0; }
    // Paints into locked pixels of 32 or 16 bits per pixel, clipped to the canvas and to
    // the target; fillBackground first sets the whole canvas to the background.
    void Render(const LxSurfaceDesc& target, bool fillBackground) const;
    // Fills (0, 0, width, height) with the background when asked, then paints the layers:
    // the lock's error or the unlock's result.
    HRESULT RenderTo(CLxSurface* surface, bool fillBackground) const;
    // A new surface of the canvas size with the picture on its background; null when the
    // picture is empty or the surface cannot be made.
    CLxSurface* CreateSurface() const;

    int m_nWidth = 0;
    int m_nHeight = 0;
    uint32_t m_nBackground = 0;
    std::vector<uint8_t> m_layers; // everything after the 12-byte file header
};
