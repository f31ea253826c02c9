// The volume factory and the object used when there is no mixer (or no microphone line
// on it): every read gives -1 and writes do nothing, so a volume slider shows itself
// disabled.
#include "media/LxVolume.h"

#include "media/LxVolumeInXXX.h"

namespace {

class CNoVolume : public IVolume {
  public:
    bool HasVolumeControl() override { return false; }
    void EnableLine() override {}
    void DisableLine() override {}
    uint32_t GetSteps() override { return UINT32_MAX; }
    uint32_t GetMinVolume() override { return UINT32_MAX; }
    uint32_t GetMaxVolume() override { return UINT32_MAX; }
    uint32_t GetVolume() override { return UINT32_MAX; }
    void SetVolume(uint32_t) override {}
    void SetCallback(Callback, void*) override {}
};

IVolume* NoVolume() {
    return new CNoVolume;
}

LxVolumeFactory g_pfnVolumeFactory = nullptr;

} // namespace

IVolume* LxCreateMicrophoneVolume() {
    if (g_pfnVolumeFactory) return g_pfnVolumeFactory();
    IVolume* volume = CreateMicrophoneVolumeInXXX();
    return volume ? volume : NoVolume();
}

void LxSetVolumeFactory(LxVolumeFactory factory) {
    g_pfnVolumeFactory = factory;
}
