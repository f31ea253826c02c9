// The chunk walk of a RIFF/WAVE file read through the data-file layer: finds the format
// and the data chunk, checking every size against the file, and reads parts of the data.
#pragma once
#include <cstdint>
#include <vector>

#include "media/LxFile.h"

class CLxWaveFile {
  public:
    // Opens path and walks its chunks up to the data. False when the file is missing
    // (Missing() tells) or its header is short, lying or not 8/16-bit PCM.
    bool Open(const char* path);
    bool Missing() const { return m_bMissing; }

    unsigned Channels() const { return m_nChannels; }
    unsigned Rate() const { return m_nRate; }
    unsigned Bits() const { return m_nBits; }
    unsigned BlockAlign() const { return m_nChannels * m_nBits / 8; }
    // Data bytes present in the file (a data size beyond the file's end is cut to it).
    unsigned DataSize() const { return m_nData; }
    bool IsProgramFormat() const { return m_nChannels == 1 && m_nRate == 22050 && m_nBits == 16; }

    // The byte range of startMs..endMs inside the data, whole frames, clipped to the
    // data; the whole data when startMs is negative or endMs < startMs.
    void Range(int startMs, int endMs, unsigned* offset, unsigned* length) const;
    // Reads length bytes from offset into the data, once after Open; false when the file
    // gives fewer.
    bool ReadData(unsigned offset, unsigned length, std::vector<uint8_t>* out);

  private:
    CLxFile m_file;
    bool m_bMissing = false;
    unsigned m_nChannels = 0, m_nRate = 0, m_nBits = 0;
    unsigned m_nData = 0;
};
