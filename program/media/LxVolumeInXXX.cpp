// The microphone volume on the platform mixer; see LxVolumeInXXX.h. Where the original
// platform posted a window message for a changed control, this port asks the mixer for
// its changed controls on every window tick (LxPollVolume), so the callback still runs
// on the window thread. A failure anywhere leaves the object without a volume control.
#include "media/LxVolumeInXXX.h"

#include <cstdarg>
#include <cstdio>

namespace {

// The object that hears of changes: the newest one whose mixer opened.
CVolumeInXXX* g_pNotified = nullptr;

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...) {
    std::fputs(".InputXxxVolume: ", stdout);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

} // namespace

CVolumeInXXX::CVolumeInXXX(int line) {
    ILxMixerSystem* system = LxMixerSystem();
    if (system->DeviceCount() <= 0) return;
    int result = system->Open(true, &m_pMixer);
    if (result != 0 || !m_pMixer) {
        Say("FAILURE: Could not open Mixer. mmResult=%d\n", result);
        m_pMixer = nullptr;
        return;
    }
    m_bMixer = true;
    g_pNotified = this;
    if (AdoptLine(line)) return;
    CloseMixer();
}

CVolumeInXXX::~CVolumeInXXX() {
    if (m_bMixer) CloseMixer();
}

void CVolumeInXXX::CloseMixer() {
    if (m_pMixer->Close() != 0) Say("WARNING: Could not close Mixer.\n");
    delete m_pMixer;
    m_pMixer = nullptr;
    m_bMixer = false;
    m_bVolume = false;
    if (g_pNotified == this) g_pNotified = nullptr;
}

bool CVolumeInXXX::AdoptLine(int line) {
    Say("Initializing for the Source Line (%d) ..\n", line);
    int count = 0;
    int result = m_pMixer->GetSourceCount(&count);
    if (result != 0) {
        Say("FAILURE: Could not get WaveIn Destionation Line for the requested source while "
            "initilaizing. mmResult=%d\n",
            result);
        return false;
    }
    if (line < 0 || line >= count) {
        Say("FAILURE: Invalid Source Line index passed.\n");
        return false;
    }
    LxMixerLine source;
    result = m_pMixer->GetSource(line, &source);
    if (result != 0) {
        Say("FAILURE: Could not get the requested Source Line while initilaizing. "
            "mmResult=%d\n",
            result);
        return false;
    }
    Say("\"%s\" Source Line adopted.\n", source.szShortName);

    LxMixerControl control;
    result = m_pMixer->GetVolumeControl(line, &control);
    if (result != 0) {
        Say("WARNING: Could not get the requested Source Line Volume Control for the requested "
            "line while initilaizing. mmResult=%d\n",
            result);
    } else if (control.nFlags & kMixerControlDisabled) {
        Say("WARNING: The Volume Control is disabled.\n");
    } else {
        m_bVolume = true;
        Say("\"%s\" Volume control for the Source Line adopted\n", control.szShortName);
    }

    m_nMicLine = -1;
    for (int i = 0; i < count && m_nMicLine < 0; ++i) {
        LxMixerLine other;
        if (m_pMixer->GetSource(i, &other) != 0 || other.nComponentType != kMixerMicrophone)
            continue;
        m_nMicLine = i;
        Say("Microphone Source Line \"%s\" has been found.\n", other.szShortName);
    }
    if (m_nMicLine < 0) Say("WARNING: Could not retrieve Microphone Source Line.\n");

    m_nLine = line;
    m_nChannels = source.nChannels;
    m_nLineId = source.nLineId;
    if (m_bVolume) {
        m_nControlId = control.nControlId;
        m_nMin = control.nMin;
        m_nMax = control.nMax;
        m_nSteps = control.nSteps;
    }
    m_bLine = true;
    return true;
}

void CVolumeInXXX::EnableLine() {
    if (!m_bLine) return;
    int count = 0;
    int result = m_pMixer->GetSourceCount(&count);
    if (result != 0) {
        Say("FAILURE: Could not get the Destination Line while enabling. mmResult=%d\n", result);
        return;
    }
    std::vector<std::string> enabled;
    result = m_pMixer->EnableSource(m_nLine, &enabled);
    if (result != 0) {
        Say("FAILURE: Could not get the line's controls while enabling. mmResult=%d\n", result);
        return;
    }
    for (const std::string& name : enabled)
        Say("Enabling Line: Line control \"%s\" has been enabled.\n", name.c_str());
    if (enabled.empty()) Say("WARNING: No controls were found for enabling the line.\n");
}

void CVolumeInXXX::DisableLine() {
    Say("WARNING: Disable line has no sense. The function not implemented.\n");
}

uint32_t CVolumeInXXX::GetVolume() {
    if (!m_bVolume) return UINT32_MAX;
    uint32_t value = 0;
    int result = m_pMixer->GetVolume(m_nLine, &value);
    if (result == 0) return value;
    Say("FAILURE: Could not get volume. mmResult=%d\n", result);
    return UINT32_MAX;
}

void CVolumeInXXX::SetVolume(uint32_t value) {
    if (!m_bVolume || value < m_nMin || value > m_nMax) return;
    int result = m_pMixer->SetVolume(m_nLine, value);
    if (result != 0) Say("FAILURE: Could not set volume(%d) mmResult=%d\n", int(value), result);
}

void CVolumeInXXX::SetCallback(Callback callback, void* user) {
    m_pCallback = callback;
    m_pUser = user;
}

void CVolumeInXXX::OnControlChange(uint32_t controlId) {
    if (!m_bVolume || controlId != m_nControlId) return;
    uint32_t volume = GetVolume();
    if (volume != UINT32_MAX && m_pCallback) m_pCallback(volume, m_pUser);
}

void CVolumeInXXX::Poll() {
    if (!m_bMixer) return;
    for (uint32_t id : m_pMixer->TakeChanges())
        OnControlChange(id);
}

void LxPollVolume() {
    if (g_pNotified) g_pNotified->Poll();
}

bool EnumSourceLines(LxSourceLineCallback callback, void* user) {
    if (!callback) return false;
    ILxMixerSystem* system = LxMixerSystem();
    if (system->DeviceCount() <= 0) return false;
    ILxMixer* mixer = nullptr;
    int result = system->Open(false, &mixer);
    if (result != 0 || !mixer) {
        Say("FAILURE: Could not open Mixer. mmResult=%d\n", result);
        return false;
    }
    auto close = [mixer] {
        mixer->Close();
        delete mixer;
    };
    int count = 0;
    result = mixer->GetSourceCount(&count);
    if (result != 0) {
        close();
        Say("FAILURE: Could not get WaveIn Destionation Line for the requested source while "
            "enumerating. mmResult=%d\n",
            result);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        LxMixerLine line;
        result = mixer->GetSource(i, &line);
        if (result != 0) {
            close();
            Say("FAILURE: Could not get the interated Source Line while enumerating. "
                "mmResult=%d\n",
                result);
            return false;
        }
        if (!callback(i, line, user)) break;
    }
    close();
    return true;
}

IVolume* CreateMicrophoneVolumeInXXX() {
    int microphone = -1;
    EnumSourceLines(
        [](int index, const LxMixerLine& line, void* user) {
            if (line.nComponentType != kMixerMicrophone) return true;
            *static_cast<int*>(user) = index;
            return false;
        },
        &microphone);
    return microphone < 0 ? nullptr : new CVolumeInXXX(microphone);
}
