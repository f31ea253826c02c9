// Masks: loading, normalising, drawing, scaling and fitting; see LxRLEBitmap.h. Every
// rebuild decodes the rows into runs that add up exactly to the width and encodes them
// again with CLxRunWriter, so a rebuilt mask is always well formed.
#include "media/LxRLEBitmap.h"

#include <algorithm>
#include <cstdio>

#include "media/LxBytes.h"
#include "media/LxFile.h"
#include "media/LxRLEPen.h"

namespace {
constexpr int kMaxSide = 65535;
} // namespace

bool CLxRLEBitmap::Load(const char* path) {
    Clear();
    CLxFile file;
    if (!path || !file.Open(path)) return false;
    int size = file.GetSize();
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(size, 0)));
    bool read = size >= 8 && file.Read(bytes.data(), size) == size;
    file.Close();
    if (!read) {
        std::printf("Bad mask file %s\n", path);
        std::fflush(stdout);
        return false;
    }
    m_nTag = LxRead32(bytes.data());
    m_nWidth = static_cast<int>(LxRead16(bytes.data() + 4));
    m_nHeight = static_cast<int>(LxRead16(bytes.data() + 6));
    m_data.assign(bytes.begin() + 8, bytes.end());
    Normalise();
    return true;
}

void CLxRLEBitmap::SetData(uint32_t tag, int width, int height, int length, const uint8_t* bytes) {
    if (!bytes || width < 0 || height < 0 || length < 0) return;
    m_nTag = tag;
    m_nWidth = width;
    m_nHeight = height;
    m_data.assign(bytes, bytes + length);
    ComputeExtent();
}

void CLxRLEBitmap::Clear() {
    m_data.clear();
    m_data.shrink_to_fit();
    m_rcExtent = RECT{0, 0, 0, 0};
    m_nWidth = m_nHeight = 0;
    m_nTag = 0;
}

HRESULT CLxRLEBitmap::Draw(CLxSurface* surface, int x, int y, uint32_t colour) const {
    if (!surface) return E_POINTER;
    LxSurfaceDesc desc;
    int locked = surface->Lock(nullptr, &desc);
    if (locked != 0) return locked;
    Paint(desc, x, y, colour);
    return surface->Unlock();
}

void CLxRLEBitmap::Paint(const LxSurfaceDesc& target, int x, int y, uint32_t colour) const {
    CLxRLEPen pen(target, colour);
    if (!pen.CanDraw()) return;
    EachRun([&](int rx, int row, int n, bool set) {
        if (set) pen.Span(x + rx, y + row, n);
    });
}

void CLxRLEBitmap::PaintOpaque(const LxSurfaceDesc& target, int x, int y, uint32_t colour,
                               uint32_t background) const {
    CLxRLEPen pen(target, colour), back(target, background);
    if (!pen.CanDraw()) return;
    EachRun([&](int rx, int row, int n, bool set) { (set ? pen : back).Span(x + rx, y + row, n); });
}

std::vector<CLxRLEBitmap::Row> CLxRLEBitmap::DecodeRows() const {
    std::vector<Row> rows;
    size_t pos = 0, length = m_data.size();
    if (m_nWidth <= 0) return rows;
    while (static_cast<int>(rows.size()) < m_nHeight && pos < length) {
        Row row;
        int covered = 0;
        pos = LxWalkRow(m_data.data(), length, pos, m_nWidth, [&](int, int n, bool set) {
            row.push_back(Run{set, n});
            covered += n;
        });
        if (covered < m_nWidth) row.push_back(Run{false, m_nWidth - covered});
        rows.push_back(std::move(row));
    }
    return rows;
}

void CLxRLEBitmap::Encode(const std::vector<Row>& rows, int width, int height) {
    std::vector<uint8_t> out;
    CLxRunWriter writer(out);
    for (const Row& row : rows) {
        for (const Run& run : row)
            writer.Add(run.set, run.n);
        writer.Finish();
    }
    m_data = std::move(out);
    m_data.shrink_to_fit();
    m_nWidth = width;
    m_nHeight = height;
    ComputeExtent();
}

void CLxRLEBitmap::Normalise() {
    if (m_nWidth <= 0 || m_nHeight <= 0) m_data.clear();
    Encode(DecodeRows(), m_nWidth, m_nHeight);
}

void CLxRLEBitmap::ComputeExtent() {
    int top = m_nHeight, bottom = 0;
    EachRun([&](int, int row, int, bool set) {
        if (!set) return;
        top = std::min(top, row);
        bottom = std::max(bottom, row + 1);
    });
    m_rcExtent = RECT{0, top, m_nWidth, bottom};
}

void CLxRLEBitmap::Scale(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        Clear();
        return;
    }
    if (m_nWidth <= 0 || m_nHeight <= 0) return;
    std::vector<Row> source = DecodeRows(), rows;
    const Row clear{Run{false, m_nWidth}};
    for (int i = 0; i < height; ++i) {
        size_t from = static_cast<size_t>(static_cast<int64_t>(i) * m_nHeight / height);
        const Row& in = from < source.size() ? source[from] : clear;
        Row out;
        int64_t b = 0, mapped = 0;
        for (const Run& run : in) {
            b += run.n;
            int64_t next = width * b / m_nWidth;
            out.push_back(Run{run.set, static_cast<int>(next - mapped)});
            mapped = next;
        }
        rows.push_back(std::move(out));
    }
    Encode(rows, width, height);
}

void CLxRLEBitmap::Fit(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        Clear();
        return;
    }
    std::vector<Row> source = DecodeRows(), rows;
    const Row clear{Run{false, width}};
    int below = height > m_nHeight ? (height - m_nHeight) / 2 : 0;
    int skipped = m_nHeight > height ? (m_nHeight - height) / 2 : 0;
    int copied = std::min(m_nHeight, height);
    int pad = width > m_nWidth ? (width - m_nWidth) / 2 : 0;
    int cut = m_nWidth > width ? (m_nWidth - width) / 2 : 0;
    int kept = std::min(m_nWidth, width);
    rows.assign(static_cast<size_t>(below), clear);
    for (int i = 0; i < copied; ++i) {
        size_t from = static_cast<size_t>(skipped + i);
        if (from >= source.size()) {
            rows.push_back(clear);
            continue;
        }
        Row out{Run{false, pad}};
        int x = 0;
        for (const Run& run : source[from]) {
            int a = std::max(x, cut), b = std::min(x + run.n, cut + kept);
            if (a < b) out.push_back(Run{run.set, b - a});
            x += run.n;
        }
        out.push_back(Run{false, width - pad - kept});
        rows.push_back(std::move(out));
    }
    rows.resize(static_cast<size_t>(height), clear);
    Encode(rows, width, height);
}
