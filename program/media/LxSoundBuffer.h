// A block of sound data in the program's format (22050 Hz, 16-bit mono) that plays on the
// player device or is filled by the capture device. With the loop bit it is a ring:
// reading and writing wrap around its end. Positions are bytes and are atomics, since
// the audio callback moves them while the window thread reads them.
#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

class CLxSoundDevice;

struct WAVEFORMATEX {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;
};

class CBSoundBuffer {
  public:
    static constexpr unsigned kLoop = 1;
    static constexpr unsigned kLockFromRead = 1; // Lock: start at the read position
    static constexpr unsigned kLockAll = 2;      // Lock: the whole size
    // GetStatus values.
    static constexpr int kIdle = 0, kPlaying = 1, kCaptureWrapped = 3, kPlayWrapped = 5;

    explicit CBSoundBuffer(CLxSoundDevice* device) : m_pDevice(device) {}
    CBSoundBuffer(const CBSoundBuffer&) = delete;
    CBSoundBuffer& operator=(const CBSoundBuffer&) = delete;
    virtual ~CBSoundBuffer();

    // Size = samples * bits / 8 bytes; false when that is 0 or too large.
    bool Create(unsigned samples, unsigned rate, unsigned bits);

    // The memory of len bytes from pos as one or two regions (the second one only when a
    // ring wraps); 0, or -1 when pos or len exceeds the size.
    int Lock(unsigned pos, unsigned len, void** region1, unsigned* len1, void** region2,
             unsigned* len2, unsigned flags);
    void Unlock() {}

    void GetPositions(unsigned* read, unsigned* write) const;
    void SetPosition(unsigned pos);
    void Advance(unsigned n);
    int GetStatus(int* status) const;
    int Status() const;
    void GetFormat(WAVEFORMATEX* format) const;
    unsigned GetSize() const { return m_nSize; }
    bool IsLooping() const { return m_nFlags & kLoop; }
    void SetLoop(bool loop);
    CLxSoundDevice* GetDevice() const { return m_pDevice; }

    // Plays on from where playback stood when it was stopped (by Stop, or by another
    // sound taking the device).
    int ContinuePlay();
    int StartPlay(bool loop);
    int StartRecord(bool loop);
    // Closes the device when it is bound to this buffer; another sound plays on.
    int Stop();
    void Release();

  private:
    int Start(bool loop);

    CLxSoundDevice* m_pDevice;
    std::vector<uint8_t> m_data;
    std::atomic<unsigned> m_nSize{0};
    std::atomic<unsigned> m_nRead{0};
    std::atomic<unsigned> m_nWrite{0};
    std::atomic<unsigned> m_nFlags{0};
};
