// The row writer and encoder; see LxRLERows.h.
#include "media/LxRLERows.h"

void CLxRunWriter::Add(bool set, int n) {
    if (n <= 0) return;
    if (set == m_bSet) {
        m_nCount += n;
        return;
    }
    // The first run of a clear-first row flushes an empty set run: the leading 0.
    Flush();
    m_bSet = set;
    m_nCount = n;
}

void CLxRunWriter::Flush() {
    int n = m_nCount;
    for (; n > 255; n -= 255) {
        m_out.push_back(255);
        m_out.push_back(0);
    }
    m_out.push_back(static_cast<uint8_t>(n));
}

void CLxRunWriter::Finish() {
    if (m_nCount > 0) Flush();
    m_bSet = true;
    m_nCount = 0;
}

void LxEncodeRow(const uint8_t* pixels, int width, std::vector<uint8_t>& out) {
    CLxRunWriter writer(out);
    for (int x = 0; x < width; ++x)
        writer.Add(pixels[x] != 0, 1);
    writer.Finish();
}
