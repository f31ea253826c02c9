// The platform's audio mixer as the microphone volume needs it: the recording side of
// mixer device 0 with its source lines (one of them the microphone), each line's volume
// control, reading and writing that volume, and the controls changed since the last look.
// The real mixer is ALSA's; tests install a system of their own, so that the volume's
// behaviour is checked without a sound card. Calls return 0 or a negative error code.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kMixerMicrophone = 0x1003; // component type of a microphone line
constexpr uint32_t kMixerControlDisabled = 0x80000000u;

struct LxMixerLine {
    uint32_t nComponentType; // kMixerMicrophone, or 0 for any other line
    uint32_t nLineId;
    int nChannels;
    char szShortName[16];
    char szName[64];
};

struct LxMixerControl {
    uint32_t nControlId;
    uint32_t nFlags; // kMixerControlDisabled when the control cannot be used now
    uint32_t nMin, nMax, nSteps;
    char szShortName[16];
};

class ILxMixer {
  public:
    virtual ~ILxMixer() = default;
    virtual int Close() = 0;
    // The number of source lines of the recording destination.
    virtual int GetSourceCount(int* count) = 0;
    virtual int GetSource(int index, LxMixerLine* line) = 0;
    virtual int GetVolumeControl(int index, LxMixerControl* control) = 0;
    // The first channel's volume; writing sets every channel.
    virtual int GetVolume(int index, uint32_t* value) = 0;
    virtual int SetVolume(int index, uint32_t value) = 0;
    // Switches the line on for recording; names the controls it set.
    virtual int EnableSource(int index, std::vector<std::string>* enabled) = 0;
    // The identifiers of the controls changed since the last call; never blocks.
    virtual std::vector<uint32_t> TakeChanges() = 0;
};

class ILxMixerSystem {
  public:
    virtual ~ILxMixerSystem() = default;
    virtual int DeviceCount() = 0;
    // Opens mixer device 0; with notify, TakeChanges reports changes made anywhere.
    virtual int Open(bool notify, ILxMixer** mixer) = 0;
};

// The system in use: ALSA unless a test installed another (null restores ALSA).
ILxMixerSystem* LxMixerSystem();
void LxSetMixerSystem(ILxMixerSystem* system);
