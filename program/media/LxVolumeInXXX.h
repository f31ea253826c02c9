// The microphone's recording volume on the platform mixer. The object adopts one source
// line of the recording destination and that line's volume control; it reads and writes
// the volume and reports changes made elsewhere through its callback. Every step is
// reported on standard output with the prefix ".InputXxxVolume: ". Only the most
// recently built object whose mixer opened is notified; LxPollVolume (in LxVolume.h),
// called from the window thread's 100 ms tick, delivers its notifications.
#pragma once
#include "media/LxMixer.h"
#include "media/LxVolume.h"

class CVolumeInXXX : public IVolume {
  public:
    explicit CVolumeInXXX(int line);
    CVolumeInXXX(const CVolumeInXXX&) = delete;
    CVolumeInXXX& operator=(const CVolumeInXXX&) = delete;
    ~CVolumeInXXX() override;

    bool HasVolumeControl() override { return m_bVolume; }
    void EnableLine() override;
    void DisableLine() override;
    uint32_t GetSteps() override { return m_bVolume ? m_nSteps : UINT32_MAX; }
    uint32_t GetMinVolume() override { return m_bVolume ? m_nMin : UINT32_MAX; }
    uint32_t GetMaxVolume() override { return m_bVolume ? m_nMax : UINT32_MAX; }
    uint32_t GetVolume() override;
    void SetVolume(uint32_t value) override;
    void SetCallback(Callback callback, void* user) override;

    // A control of the mixer has changed: the callback hears of its volume's new value.
    void OnControlChange(uint32_t controlId);
    // Looks for changes and handles each; does nothing without a mixer.
    void Poll();

  private:
    bool AdoptLine(int line);
    void CloseMixer();

    bool m_bMixer = false;
    bool m_bLine = false;
    bool m_bVolume = false;
    ILxMixer* m_pMixer = nullptr;
    uint32_t m_nLineId = 0;
    uint32_t m_nControlId = 0;
    int m_nChannels = 0;
    int m_nLine = 0;
    int m_nMicLine = -1;
    uint32_t m_nMin = UINT32_MAX, m_nMax = UINT32_MAX;
    uint32_t m_nSteps = 0;
    Callback m_pCallback = nullptr;
    void* m_pUser = nullptr;
};

// Calls callback with each source line of the recording destination of mixer device 0,
// in index order, until it returns false. False without a callback, without a mixer, or
// when the mixer fails.
using LxSourceLineCallback = bool (*)(int index, const LxMixerLine& line, void* user);
bool EnumSourceLines(LxSourceLineCallback callback, void* user);

// The volume of the first microphone line; null when there is none (or no mixer).
IVolume* CreateMicrophoneVolumeInXXX();
