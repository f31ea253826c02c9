// The recording volume of the microphone: one volume with bounds, read, written and
// reported when it changes elsewhere in the system. Owners hold and delete it through
// this interface; without a mixer HasVolumeControl() is false and the owner disables
// its control.
#pragma once
#include <cstdint>

class IVolume {
  public:
    using Callback = void (*)(uint32_t volume, void* user);

    virtual ~IVolume() = default;
    virtual bool HasVolumeControl() = 0;
    virtual void EnableLine() = 0;
    virtual void DisableLine() = 0;
    virtual uint32_t GetSteps() = 0;
    virtual uint32_t GetMinVolume() = 0;
    virtual uint32_t GetMaxVolume() = 0;
    virtual uint32_t GetVolume() = 0;
    virtual void SetVolume(uint32_t value) = 0;
    virtual void SetCallback(Callback callback, void* user) = 0;
};

// The microphone's volume as the platform gives it: the first microphone line of the
// mixer, or an object without a volume control when the machine has none. Tests install
// a factory of their own.
using LxVolumeFactory = IVolume* (*)();
IVolume* LxCreateMicrophoneVolume();
void LxSetVolumeFactory(LxVolumeFactory factory);

// Delivers the mixer's change notifications to the newest microphone volume object; the
// main window calls it on every 100 ms window tick, so callbacks run on the window thread.
void LxPollVolume();
