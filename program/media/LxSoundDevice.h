// The program's two sound devices: the player (output) and the capture device (input).
// Both work in one format, 22050 Hz 16-bit signed mono, with 2048-sample device buffers.
// A device is reopened for every sound or recording, bound to that one buffer, so only
// one sound plays at a time. The callbacks run on SDL's audio threads: they move the
// buffer's positions (atomics) and, at the end, only pause the device and mark it ended;
// closing always happens on the window thread (Play, StartCapture, Stop or Idle).
#pragma once
#include <SDL.h>

#include <atomic>
#include <string>

class CBSoundBuffer;

class CLxSoundDevice {
  public:
    explicit CLxSoundDevice(bool capture);
    CLxSoundDevice(const CLxSoundDevice&) = delete;
    CLxSoundDevice& operator=(const CLxSoundDevice&) = delete;
    virtual ~CLxSoundDevice();

    // Finds and opens a device: driver and device are indices into SDL's lists, -1 for
    // any. False, with a log line, when nothing opens.
    bool OpenPlayer(int driver, int device);
    bool OpenCapture(int driver, int device);

    // Reopen the device for buffer and start it; 0, or -1 with a log line.
    int Play(CBSoundBuffer* buffer);
    int StartCapture(CBSoundBuffer* buffer);
    // Pause and close; -1 when already closed.
    int Stop();
    // Closes the device when its callback has marked the end. Called by the window thread.
    void Idle();

    bool IsCapture() const { return m_bCapture; }
    bool IsOpen() const { return m_nDevice != 0; }
    SDL_AudioDeviceID GetId() const { return m_nDevice; }
    // The open device was started for buffer (its callback may have ended it since).
    bool Holds(const CBSoundBuffer* buffer) const { return m_nDevice && m_pBuffer == buffer; }
    // The buffer the open device plays or fills, while its callback has not ended it.
    bool IsBoundTo(const CBSoundBuffer* buffer) const { return Holds(buffer) && !m_bEnded; }
    // Called from a callback: the buffer is done; pauses the device.
    void MarkEnded();

    static void SDLCALL PlayerCallback(void* user, Uint8* stream, int len);
    static void SDLCALL CaptureCallback(void* user, Uint8* stream, int len);

  private:
    bool Open(int driver, int device);
    bool TryDrivers(int driver, int device);
    bool TryDevices(int driverIndex, int device);
    int Start(CBSoundBuffer* buffer);

    SDL_AudioDeviceID m_nDevice = 0;
    SDL_AudioSpec m_spec{};
    bool m_bCapture;
    std::string m_name;      // the device found by Open, reopened for every sound
    bool m_bFound = false;   // Open found a driver and device
    bool m_bDefault = false; // the driver lists no devices: its default one is used
    std::atomic<CBSoundBuffer*> m_pBuffer{nullptr};
    std::atomic<bool> m_bEnded{false};
};

extern CLxSoundDevice* g_pPlayer;
extern CLxSoundDevice* g_pCapture;
