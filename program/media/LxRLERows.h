// The row encoding shared by masks, font glyphs and multi-layer pictures. A row of width
// W is a string of run lengths, one byte each, alternating set and clear and always
// beginning with a set run; the row ends as soon as the runs add up to W. A run longer
// than 255 is written as 255, 0 (an empty run of the other kind) and the rest, and a row
// that begins clear begins with 0. Readers walk rows with LxWalkRow, which never reads
// past the data and never reports a pixel at or past the width, whatever the bytes say.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// Walks the row that starts at data[pos]: run(x, n, set) for each non-empty run, cut so
// that x + n <= width. Ends at the row's end or the data's end; returns the position
// after the bytes read. A row of width 0 takes no bytes.
template <class Run>
size_t LxWalkRow(const uint8_t* data, size_t length, size_t pos, int width, Run run) {
    int x = 0;
    bool set = true;
    while (x < width && pos < length) {
        int n = std::min<int>(data[pos++], width - x);
        if (n > 0) run(x, n, set);
        x += n;
        set = !set;
    }
    return pos;
}

// Writes one row from runs of either kind in order; neighbouring runs of one kind merge,
// empty runs vanish, and the bytes come out in the encoding above.
class CLxRunWriter {
  public:
    explicit CLxRunWriter(std::vector<uint8_t>& out) : m_out(out) {}
    void Add(bool set, int n);
    // Writes the pending run; the row is complete once its runs add up to its width.
    void Finish();

  private:
    void Flush();

    std::vector<uint8_t>& m_out;
    bool m_bSet = true; // kind of the pending run
    int m_nCount = 0;   // its length so far
};

// Appends the encoded row of width pixels (nonzero bytes are set).
void LxEncodeRow(const uint8_t* pixels, int width, std::vector<uint8_t>& out);
