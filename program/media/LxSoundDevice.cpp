// Opening, reopening and closing the program's sound devices, and their audio callbacks.
// See LxSoundDevice.h.
#include "media/LxSoundDevice.h"

#include <strings.h>

#include <cstring>
#include <vector>

#include "media/LxSoundBuffer.h"

CLxSoundDevice* g_pPlayer = nullptr;
CLxSoundDevice* g_pCapture = nullptr;

namespace {

// Devices that found a driver. SDL has one current audio driver; re-initialising it for a
// second device would close the first one, so later devices stay on the current driver.
int s_nUsers = 0;

// Drivers SDL only uses when asked: "disk" writes a file in the working folder.
bool AskedOnly(const char* name) {
    return std::strcmp(name, "disk") == 0 || std::strcmp(name, "dummy") == 0;
}

int DriverIndex(const char* name) {
    if (!name) return -1;
    for (int i = 0; i < SDL_GetNumAudioDrivers(); i++)
        if (strcasecmp(SDL_GetAudioDriver(i), name) == 0) return i;
    return -1;
}

// The drivers an attempt considers, in order: the given index when valid; else the
// current driver while another device uses it; else the one SDL_AUDIODRIVER names, then
// every other driver apart from those SDL only uses when asked.
std::vector<int> DriverOrder(int driver) {
    int count = SDL_GetNumAudioDrivers();
    if (driver >= 0 && driver < count) return {driver};
    int current = DriverIndex(SDL_GetCurrentAudioDriver());
    if (s_nUsers > 0 && current >= 0) return {current};
    std::vector<int> order;
    int named = DriverIndex(SDL_getenv("SDL_AUDIODRIVER"));
    if (named >= 0) order.push_back(named);
    for (int i = 0; i < count; i++)
        if (i != named && !AskedOnly(SDL_GetAudioDriver(i))) order.push_back(i);
    return order;
}

} // namespace

CLxSoundDevice::CLxSoundDevice(bool capture) : m_bCapture(capture) {
    m_spec.freq = 22050;
    m_spec.format = AUDIO_S16LSB;
    m_spec.channels = 1;
    m_spec.samples = 2048;
    m_spec.callback = capture ? CaptureCallback : PlayerCallback;
}

CLxSoundDevice::~CLxSoundDevice() {
    Stop();
    if (m_bFound) s_nUsers--;
}

bool CLxSoundDevice::OpenPlayer(int driver, int device) {
    return !m_bCapture && Open(driver, device);
}

bool CLxSoundDevice::OpenCapture(int driver, int device) {
    return m_bCapture && Open(driver, device);
}

bool CLxSoundDevice::Open(int driver, int device) {
    Stop();
    for (int attempt = 0; attempt < 2; attempt++) {
        if (attempt == 1) driver = device = -1;
        if (TryDrivers(driver, device)) {
            if (!m_bFound) s_nUsers++;
            m_bFound = true;
            return true;
        }
        if (s_nUsers == 0) SDL_AudioQuit();
    }
    SDL_Log("Failed to open audio player: %s\n", SDL_GetError());
    return false;
}

bool CLxSoundDevice::TryDrivers(int driver, int device) {
    for (int index : DriverOrder(driver)) {
        const char* name = SDL_GetAudioDriver(index);
        const char* current = SDL_GetCurrentAudioDriver();
        if (!current || std::strcmp(current, name) != 0) {
            if (s_nUsers > 0 && current) continue; // would close the other device
            if (SDL_AudioInit(name) != 0) continue;
        }
        if (TryDevices(index, device)) return true;
    }
    return false;
}

bool CLxSoundDevice::TryDevices(int driverIndex, int device) {
    int count = SDL_GetNumAudioDevices(m_bCapture);
    int first = 0, last = count - 1;
    if (device >= 0 && device < count) first = last = device;
    // A driver that lists no devices may still have its default one.
    if (count <= 0) first = last = -1;
    for (int i = first; i <= last; i++) {
        const char* name = i < 0 ? nullptr : SDL_GetAudioDeviceName(i, m_bCapture);
        m_spec.userdata = nullptr;
        SDL_AudioSpec obtained;
        SDL_AudioDeviceID id = SDL_OpenAudioDevice(name, m_bCapture, &m_spec, &obtained, 0);
        if (!id) continue;
        m_nDevice = id;
        m_bDefault = !name;
        m_name = name ? name : "";
        SDL_Log("Open audio %s: %d %s %d %s", m_bCapture ? "capture" : "player", driverIndex,
                SDL_GetAudioDriver(driverIndex), i, name ? name : "(default)");
        return true;
    }
    return false;
}

int CLxSoundDevice::Start(CBSoundBuffer* buffer) {
    Stop();
    if (!buffer) return -1;
    m_bEnded = false;
    m_spec.userdata = buffer;
    const char* name = m_bDefault ? nullptr : m_name.c_str();
    if (!m_bFound) name = SDL_GetAudioDeviceName(0, m_bCapture);
    SDL_AudioSpec obtained;
    m_nDevice = SDL_OpenAudioDevice(name, m_bCapture, &m_spec, &obtained, 0);
    if (!m_nDevice) {
        SDL_Log(m_bCapture ? "Failed to open caputre audio: %s\n" : "Failed to open audio: %s\n",
                SDL_GetError());
        return -1;
    }
    m_pBuffer = buffer; // the device starts paused: no callback sees it before this
    SDL_PauseAudioDevice(m_nDevice, 0);
    return 0;
}

int CLxSoundDevice::Play(CBSoundBuffer* buffer) {
    return m_bCapture ? -1 : Start(buffer);
}

int CLxSoundDevice::StartCapture(CBSoundBuffer* buffer) {
    return m_bCapture ? Start(buffer) : -1;
}

// The buffer stays bound until the device is closed, so a last callback still sees it
// playing and does not reach for the device being closed.
int CLxSoundDevice::Stop() {
    if (!m_nDevice) {
        m_pBuffer = nullptr;
        return -1;
    }
    if (!m_bCapture) SDL_PauseAudioDevice(m_nDevice, 1);
    SDL_CloseAudioDevice(m_nDevice); // waits for a running callback
    m_nDevice = 0;
    m_pBuffer = nullptr;
    return 0;
}

void CLxSoundDevice::Idle() {
    if (m_nDevice && m_bEnded) Stop();
}

void CLxSoundDevice::MarkEnded() {
    m_bEnded = true;
    SDL_PauseAudioDevice(m_nDevice, 1); // SDL's device lock is recursive: safe in a callback
}

// Copies what the buffer has from its read position into the stream; a ring is read
// round as often as the stream needs. The rest of the stream is silence.
void SDLCALL CLxSoundDevice::PlayerCallback(void* user, Uint8* stream, int len) {
    auto* buffer = static_cast<CBSoundBuffer*>(user);
    unsigned n = len > 0 ? static_cast<unsigned>(len) : 0;
    unsigned filled = 0;
    int status = buffer ? buffer->Status() : CBSoundBuffer::kIdle;
    if (status != CBSoundBuffer::kPlaying && status != CBSoundBuffer::kPlayWrapped) {
        std::memset(stream, 0, n);
        if (buffer) buffer->GetDevice()->MarkEnded();
        return;
    }
    while (filled < n) {
        unsigned want = n - filled;
        if (want > buffer->GetSize()) want = buffer->GetSize();
        void *region1, *region2;
        unsigned len1, len2;
        if (buffer->Lock(0, want, &region1, &len1, &region2, &len2, CBSoundBuffer::kLockFromRead))
            break;
        std::memcpy(stream + filled, region1, len1);
        if (region2) std::memcpy(stream + filled + len1, region2, len2);
        buffer->Advance(len1 + len2);
        filled += len1 + len2;
        if (len1 + len2 == 0 || !buffer->IsLooping()) break;
    }
    std::memset(stream + filled, 0, n - filled);
}

// Stores the captured bytes at the read position, wrapping round a ring.
void SDLCALL CLxSoundDevice::CaptureCallback(void* user, Uint8* stream, int len) {
    auto* buffer = static_cast<CBSoundBuffer*>(user);
    unsigned n = len > 0 ? static_cast<unsigned>(len) : 0;
    int status = buffer ? buffer->Status() : CBSoundBuffer::kIdle;
    if (status != CBSoundBuffer::kPlaying && status != CBSoundBuffer::kCaptureWrapped) {
        if (buffer) buffer->GetDevice()->MarkEnded();
        return;
    }
    // A stream longer than the buffer: a ring keeps its newest bytes, a recording (which
    // stops at its end) its first ones.
    if (n > buffer->GetSize()) {
        if (buffer->IsLooping()) stream += n - buffer->GetSize();
        n = buffer->GetSize();
    }
    void *region1, *region2;
    unsigned len1, len2;
    if (buffer->Lock(0, n, &region1, &len1, &region2, &len2, CBSoundBuffer::kLockFromRead)) return;
    std::memcpy(region1, stream, len1);
    if (region2) std::memcpy(region2, stream + len1, len2);
    buffer->Advance(len1 + len2);
}
