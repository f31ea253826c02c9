// Sound buffers: their data, the two-region lock, positions and status. See LxSoundBuffer.h.
#include "media/LxSoundBuffer.h"

#include "media/LxSoundDevice.h"

namespace {
// Set once a capture ring has wrapped round its end.
constexpr unsigned kWrapped = 2;
// Larger buffers are refused: a position must stay far from overflowing.
constexpr uint64_t kMaxBytes = 1u << 30;
} // namespace

CBSoundBuffer::~CBSoundBuffer() {
    Release();
}

bool CBSoundBuffer::Create(unsigned samples, unsigned rate, unsigned bits) {
    (void)rate; // the data are always in the program's format; the rate is the caller's note
    Release();
    uint64_t bytes = uint64_t(samples) * bits / 8;
    if (bytes == 0 || bytes > kMaxBytes) return false;
    m_data.assign(bytes, 0);
    m_nSize = static_cast<unsigned>(bytes);
    return true;
}

int CBSoundBuffer::Lock(unsigned pos, unsigned len, void** region1, unsigned* len1, void** region2,
                        unsigned* len2, unsigned flags) {
    *region1 = *region2 = nullptr;
    *len1 = *len2 = 0;
    unsigned size = m_nSize;
    if (size == 0) return -1;
    if (flags & kLockFromRead) {
        pos = m_nRead;
        if (IsLooping()) pos %= size; // a looping sound's read position runs on past the end
    }
    if (flags & kLockAll) len = size;
    if (pos > size || len > size) return -1;
    *region1 = m_data.data() + pos;
    if (len <= size - pos) {
        *len1 = len;
        return 0;
    }
    *len1 = size - pos;
    if (IsLooping()) {
        *region2 = m_data.data();
        *len2 = len - *len1;
    }
    return 0;
}

void CBSoundBuffer::GetPositions(unsigned* read, unsigned* write) const {
    if (read) *read = m_nRead;
    if (write) *write = m_nWrite;
}

void CBSoundBuffer::SetPosition(unsigned pos) {
    m_nRead = pos;
    m_nWrite = pos;
    m_nFlags &= ~kWrapped;
}

// A player's positions count the bytes played; once a looping sound has passed its end
// they stay in the second round (size .. 2 * size), so they never overflow. A capture
// ring's stay inside the ring; a capture buffer without the loop bit stops at its end.
void CBSoundBuffer::Advance(unsigned n) {
    unsigned size = m_nSize;
    unsigned read = m_nRead, write = m_nWrite;
    if (!m_pDevice || !m_pDevice->IsCapture()) {
        uint64_t nextRead = uint64_t(read) + n, nextWrite = uint64_t(write) + n;
        if (IsLooping() && size && nextRead >= size) nextRead = size + (nextRead - size) % size;
        if (IsLooping() && size && nextWrite >= size) nextWrite = size + (nextWrite - size) % size;
        m_nRead = unsigned(nextRead);
        m_nWrite = unsigned(nextWrite);
        return;
    }
    if (size == 0) return;
    if (!IsLooping()) {
        m_nRead = n < size - read ? read + n : size;
        m_nWrite = n < size - write ? write + n : size;
        return;
    }
    if (n >= size - read) m_nFlags |= kWrapped;
    m_nRead = unsigned((uint64_t(read) + n) % size);
    m_nWrite = unsigned((uint64_t(write) + n) % size);
}

// Playing or recording only while the device is open and still bound to this buffer: a
// sound cut off by another one, or ended by its callback, is idle.
int CBSoundBuffer::Status() const {
    if (!m_pDevice || m_nSize == 0 || !m_pDevice->IsBoundTo(this)) return kIdle;
    if (m_pDevice->IsCapture()) {
        if (IsLooping()) return m_nFlags & kWrapped ? kCaptureWrapped : kPlaying;
        return m_nRead < m_nSize ? kPlaying : kIdle;
    }
    if (m_nRead < m_nSize) return kPlaying;
    return IsLooping() ? kPlayWrapped : kIdle;
}

void CBSoundBuffer::SetLoop(bool loop) {
    if (loop)
        m_nFlags |= kLoop;
    else
        m_nFlags &= ~kLoop;
}

int CBSoundBuffer::GetStatus(int* status) const {
    *status = Status();
    return 0;
}

void CBSoundBuffer::GetFormat(WAVEFORMATEX* format) const {
    *format = WAVEFORMATEX{1, 1, 22050, 44100, 2, 16, 0};
}

int CBSoundBuffer::Start(bool loop) {
    if (!m_pDevice || m_nSize == 0) return -1;
    Stop();
    SetLoop(loop);
    SetPosition(0);
    return m_pDevice->IsCapture() ? m_pDevice->StartCapture(this) : m_pDevice->Play(this);
}

int CBSoundBuffer::StartPlay(bool loop) {
    return m_pDevice && !m_pDevice->IsCapture() ? Start(loop) : -1;
}

int CBSoundBuffer::ContinuePlay() {
    if (!m_pDevice || m_pDevice->IsCapture() || m_nSize == 0) return -1;
    Stop();
    return m_pDevice->Play(this);
}

int CBSoundBuffer::StartRecord(bool loop) {
    return m_pDevice && m_pDevice->IsCapture() ? Start(loop) : -1;
}

int CBSoundBuffer::Stop() {
    if (!m_pDevice || !m_pDevice->Holds(this)) return -1;
    return m_pDevice->Stop();
}

void CBSoundBuffer::Release() {
    Stop();
    m_data.clear();
    m_data.shrink_to_fit();
    m_nSize = 0;
    m_nRead = 0;
    m_nWrite = 0;
    m_nFlags = 0;
}
