// Reading WAV files. The walk keeps its own count of the bytes left in the file, so no
// chunk size, however large, makes it read or skip past the end. See LxWaveFile.h.
#include "media/LxWaveFile.h"

#include <cstring>

#include "media/LxBytes.h"

bool CLxWaveFile::Open(const char* path) {
    m_bMissing = false;
    if (!m_file.Open(path)) {
        m_bMissing = true;
        return false;
    }
    int size = m_file.GetSize();
    if (size < 12) return false;
    unsigned left = static_cast<unsigned>(size);
    uint8_t head[16];
    if (m_file.Read(head, 12) != 12 || std::memcmp(head, "RIFF", 4) ||
        std::memcmp(head + 8, "WAVE", 4))
        return false;
    left -= 12;
    bool haveFormat = false;
    while (left >= 8) {
        if (m_file.Read(head, 8) != 8) return false;
        left -= 8;
        uint32_t chunk = LxRead32(head + 4);
        if (!std::memcmp(head, "data", 4)) {
            if (!haveFormat) return false;
            m_nData = chunk < left ? chunk : left;
            m_nData -= m_nData % BlockAlign();
            return true;
        }
        uint64_t skip = uint64_t(chunk) + (chunk & 1); // chunks are padded to even sizes
        if (skip > left) return false;
        if (!std::memcmp(head, "fmt ", 4)) {
            if (chunk < 16 || m_file.Read(head, 16) != 16) return false;
            m_nChannels = LxRead16(head + 2);
            m_nRate = LxRead32(head + 4);
            m_nBits = LxRead16(head + 14);
            if (LxRead16(head) != 1 || m_nChannels < 1 || m_nChannels > 8 || m_nRate < 1000 ||
                m_nRate > 384000 || (m_nBits != 8 && m_nBits != 16))
                return false;
            haveFormat = true;
            skip -= 16;
        }
        if (skip && m_file.Seek(static_cast<int>(skip), 1) != 0) return false;
        left -= static_cast<unsigned>(uint64_t(chunk) + (chunk & 1));
    }
    return false;
}

void CLxWaveFile::Range(int startMs, int endMs, unsigned* offset, unsigned* length) const {
    *offset = 0;
    *length = m_nData;
    if (startMs < 0 || endMs < startMs) return;
    uint64_t framesPerMs = uint64_t(m_nRate);
    uint64_t start = uint64_t(startMs) * framesPerMs / 1000 * BlockAlign();
    uint64_t count = uint64_t(endMs - startMs) * framesPerMs / 1000 * BlockAlign();
    if (start > m_nData) start = m_nData;
    if (count > m_nData - start) count = m_nData - start;
    *offset = static_cast<unsigned>(start);
    *length = static_cast<unsigned>(count);
}

bool CLxWaveFile::ReadData(unsigned offset, unsigned length, std::vector<uint8_t>* out) {
    if (offset > m_nData || length > m_nData - offset) return false;
    CLxFile& f = m_file; // Open left it at the first data byte
    if (offset && f.Seek(static_cast<int>(offset), 1) != 0) return false;
    out->resize(length);
    unsigned got = 0;
    while (got < length) {
        int n = f.Read(out->data() + got, static_cast<int>(length - got));
        if (n <= 0) return false;
        got += static_cast<unsigned>(n);
    }
    return true;
}
