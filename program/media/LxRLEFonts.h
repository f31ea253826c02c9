// A bitmap font: 256 glyph masks indexed by letter code (see reading/LxLetters.h), drawn
// into an attached locked surface in a normal or an accent colour. The font description
// is an XML file: a "Font" tag whose "base" names a file of packed glyph records, and
// "char" tags naming a letter whose "lowercase" and "uppercase" children name ".rle"
// files for its two codes. Names are relative to the folder of the description. A
// base record is: code (1 byte), N (4), tag (4), width (2), height (2), N bytes of rows;
// N is at most 16384, and a later record for a code replaces an earlier one.
//
// In drawn text "$" paints the next letter in the accent colour and "@" moves on to the
// next multiple of 32 pixels; each glyph takes its width and 2 pixels of spacing.
#pragma once
#include <cstdint>
#include <string>

#include "media/LxRLEBitmap.h"
#include "media/LxSurface.h"

class CLxRLEFonts {
  public:
    CLxRLEFonts() = default;
    CLxRLEFonts(const CLxRLEFonts&) = delete;
    CLxRLEFonts& operator=(const CLxRLEFonts&) = delete;
    virtual ~CLxRLEFonts() = default;

    // Loads the description and its glyph files. False when the description cannot be
    // read or its path is longer than 127 characters; the font has no glyphs then.
    bool Load(const char* descriptionPath);
    const char* Path() const { return m_path.c_str(); }

    // Draws into the pixels of a locked surface from now on; null detaches. Drawing calls
    // paint nothing while detached but still answer their widths.
    void Attach(const LxSurfaceDesc* locked);
    // Normal colour (r, g, b); accent (ar, ag, ab), or the normal colour when ar is -1.
    void SetColors(int r, int g, int b, int ar = -1, int ag = 0, int ab = 0);

    // Paints the glyph with its top-left corner at (x, y); its width, 0 when absent.
    int DrawChar(int code, uint32_t colour, int x, int y);
    // The same with the clear pixels of the glyph painted in background.
    int DrawCharOpaque(int code, uint32_t colour, uint32_t background, int x, int y);
    // Paints the glyph centred on (x, y), turned by direction × 45° (0..7), or mirrored
    // and turned (8..15); the side of the square it took, or code when nothing was drawn
    // (also for a glyph with a side over 1024).
    int DrawCharRotated(int code, uint32_t colour, int x, int y, int direction);
    // Paints text decoded letter by letter; the advance in pixels.
    int DrawText(const char* text, int x, int y);
    // Paints each byte as a code, without decoding or tabs; the advance.
    int DrawRawText(const char* bytes, int x, int y);
    int TextWidth(const char* text) const;
    // As TextWidth per byte; "{{name}}" is the width of the bitmap file name(.bmp).
    int RawTextWidth(const char* bytes) const;
    int Height() const { return m_nHeight; }

    // The glyph of a code, or null when the font has none (width 0).
    const CLxRLEBitmap* Glyph(int code) const;

    uint32_t m_nColor = 0;
    uint32_t m_nAccent = 0;
    CLxRLEBitmap m_glyphs[256];

  private:
    bool LoadBase(const std::string& path);
    void LoadGlyph(int code, const std::string& path);

    std::string m_path;
    LxSurfaceDesc m_target;
    int m_nHeight = 0;
};

// The width of a code's glyph in a font; 0 without the font or the glyph.
int GlyphWidth(const CLxRLEFonts* font, int code);
