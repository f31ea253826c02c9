// A one-bit shape mask kept as run-length rows (see LxRLERows.h), bottom row first. The
// mask has no colour: Draw takes one, with an optional blend weight (see LxRLEPen.h).
// The ".rle" file is a 32-bit tag, 16-bit width and height (little-endian) and the rows.
// Loaded, scaled and fitted masks are normalised: every row is rewritten with merged
// runs, cut to the width, and rows past the height are dropped. A file shorter than it
// claims keeps the rows it has; the missing ones are clear.
#pragma once
#include <cstdint>
#include <vector>

#include "media/LxRLERows.h"
#include "media/LxSurface.h"
#include "media/LxWin.h"

class CLxRLEBitmap {
  public:
    CLxRLEBitmap() = default;
    explicit CLxRLEBitmap(const char* path) { Load(path); }
    CLxRLEBitmap(const CLxRLEBitmap&) = default;
    CLxRLEBitmap& operator=(const CLxRLEBitmap&) = default;
    virtual ~CLxRLEBitmap() = default;

    // False, with the mask empty, when the file cannot be read or is shorter than 8 bytes.
    bool Load(const char* path);
    // Replaces the rows with a copy of bytes, as they are; ignored for null bytes or a
    // negative size.
    void SetData(uint32_t tag, int width, int height, int length, const uint8_t* bytes);
    void Clear();

    // Paints the mask with its top-left corner at (x, y): the lock's error, else the
    // unlock's result.
    HRESULT Draw(CLxSurface* surface, int x, int y, uint32_t colour) const;
    // The same into locked pixels; PaintOpaque paints the clear runs in background too.
    void Paint(const LxSurfaceDesc& target, int x, int y, uint32_t colour) const;
    void PaintOpaque(const LxSurfaceDesc& target, int x, int y, uint32_t colour,
                     uint32_t background) const;

    // Nearest-row, proportional-run scaling to a new size (at most 65535 each way).
    void Scale(int width, int height);
    // Centres the mask on a new canvas without scaling, cutting what does not fit.
    void Fit(int width, int height);

    // Calls run(x, rowFromTop, n, set) for every run of every stored row.
    template <class Visit> void EachRun(Visit run) const;

    int Length() const { return static_cast<int>(m_data.size()); }
    const uint8_t* Data() const { return m_data.empty() ? nullptr : m_data.data(); }

    std::vector<uint8_t> m_data; // the encoded rows
    // Left 0 and right the width; top is the first row (from the top) with a set pixel,
    // bottom one past the last; a mask without set pixels has top = height, bottom = 0.
    RECT m_rcExtent{0, 0, 0, 0};
    int m_nWidth = 0;
    int m_nHeight = 0;
    uint32_t m_nTag = 0;

  private:
    struct Run {
        bool set;
        int n;
    };
    using Row = std::vector<Run>;
    // The stored rows decoded, each cut or padded with clear to the width; fewer than
    // the height when the data ends early.
    std::vector<Row> DecodeRows() const;
    void Encode(const std::vector<Row>& rows, int width, int height);
    void Normalise();
    void ComputeExtent();
};

template <class Visit> void CLxRLEBitmap::EachRun(Visit run) const {
    size_t pos = 0, length = m_data.size();
    if (m_nWidth <= 0) return;
    for (int stored = 0; stored < m_nHeight && pos < length; ++stored) {
        int row = m_nHeight - 1 - stored;
        pos = LxWalkRow(m_data.data(), length, pos, m_nWidth,
                        [&](int x, int n, bool set) { run(x, row, n, set); });
    }
}
