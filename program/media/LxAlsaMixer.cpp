// The mixer on ALSA: the simple mixer elements of the "default" control device. The
// source lines are the elements with a capture volume, in the mixer's order; a line is
// the microphone when its name contains "Mic", or, on cards without such an element, when
// it is the card's one recording volume "Capture". Volumes are the element's raw capture
// range, moved up to start at 0 when it would start below. The control device is opened
// non-blocking, so looking for changes (TakeChanges) returns at once; element callbacks
// collect what changed.
#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "media/LxMixer.h"

namespace {

constexpr uint32_t kControlBase = 0x100; // volume control ids: base + line index

bool HasMic(const char* name) {
    for (const char* p = name; *p; ++p)
        if (strncasecmp(p, "mic", 3) == 0) return true;
    return false;
}

class CLxAlsaMixer : public ILxMixer {
  public:
    ~CLxAlsaMixer() override { Close(); }

    int Attach(bool notify) {
        snd_hctl_t* hctl = nullptr;
        int result = snd_hctl_open(&hctl, "default", SND_CTL_NONBLOCK);
        if (result < 0) return result;
        if ((result = snd_mixer_open(&m_pMixer, 0)) < 0) {
            snd_hctl_close(hctl);
            return result;
        }
        if ((result = snd_mixer_attach_hctl(m_pMixer, hctl)) < 0 ||
            (result = snd_mixer_selem_register(m_pMixer, nullptr, nullptr)) < 0 ||
            (result = snd_mixer_load(m_pMixer)) < 0)
            return result;
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(m_pMixer); e; e = snd_mixer_elem_next(e))
            if (snd_mixer_selem_has_capture_volume(e)) m_aSources.push_back(e);
        bool anyMic = std::any_of(m_aSources.begin(), m_aSources.end(), [](snd_mixer_elem_t* e) {
            return HasMic(snd_mixer_selem_get_name(e));
        });
        for (snd_mixer_elem_t* e : m_aSources) {
            const char* name = snd_mixer_selem_get_name(e);
            m_aMic.push_back(anyMic ? HasMic(name) : std::strcmp(name, "Capture") == 0);
            if (!notify) continue;
            snd_mixer_elem_set_callback(e, OnElement);
            snd_mixer_elem_set_callback_private(e, this);
        }
        return 0;
    }

    int Close() override {
        if (!m_pMixer) return 0;
        int result = snd_mixer_close(m_pMixer);
        m_pMixer = nullptr;
        m_aSources.clear();
        return result;
    }

    int GetSourceCount(int* count) override {
        if (!m_pMixer) return -EBADFD;
        *count = int(m_aSources.size());
        return 0;
    }

    int GetSource(int index, LxMixerLine* line) override {
        snd_mixer_elem_t* e = Source(index);
        if (!e) return -EINVAL;
        std::memset(line, 0, sizeof *line);
        line->nComponentType = m_aMic[size_t(index)] ? kMixerMicrophone : 0;
        line->nLineId = uint32_t(index);
        line->nChannels = 0;
        for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c)
            if (snd_mixer_selem_has_capture_channel(e, snd_mixer_selem_channel_id_t(c)))
                ++line->nChannels;
        if (snd_mixer_selem_is_capture_mono(e)) line->nChannels = 1;
        const char* name = snd_mixer_selem_get_name(e);
        unsigned id = snd_mixer_selem_get_index(e);
        if (id)
            std::snprintf(line->szName, sizeof line->szName, "%s,%u", name, id);
        else
            std::snprintf(line->szName, sizeof line->szName, "%s", name);
        std::snprintf(line->szShortName, sizeof line->szShortName, "%.15s", line->szName);
        return 0;
    }

    int GetVolumeControl(int index, LxMixerControl* control) override {
        snd_mixer_elem_t* e = Source(index);
        if (!e) return -EINVAL;
        long low = 0, high = 0;
        int result = snd_mixer_selem_get_capture_volume_range(e, &low, &high);
        if (result < 0) return result;
        std::memset(control, 0, sizeof *control);
        control->nControlId = kControlBase + uint32_t(index);
        control->nFlags = snd_mixer_selem_is_active(e) ? 0 : kMixerControlDisabled;
        control->nMin = uint32_t(low - Offset(low));
        control->nMax = uint32_t(high - Offset(low));
        control->nSteps = control->nMax - control->nMin + 1;
        std::snprintf(control->szShortName, sizeof control->szShortName, "%.15s",
                      snd_mixer_selem_get_name(e));
        return 0;
    }

    int GetVolume(int index, uint32_t* value) override {
        snd_mixer_elem_t* e = Source(index);
        long low = 0, high = 0, raw = 0;
        int result = e ? snd_mixer_selem_get_capture_volume_range(e, &low, &high) : -EINVAL;
        if (result == 0) result = snd_mixer_selem_get_capture_volume(e, FirstChannel(e), &raw);
        if (result == 0) *value = uint32_t(raw - Offset(low));
        return result;
    }

    int SetVolume(int index, uint32_t value) override {
        snd_mixer_elem_t* e = Source(index);
        long low = 0, high = 0;
        int result = e ? snd_mixer_selem_get_capture_volume_range(e, &low, &high) : -EINVAL;
        if (result == 0)
            result = snd_mixer_selem_set_capture_volume_all(e, long(value) + Offset(low));
        return result;
    }

    // The line's capture switch on, and every capture source selector set to the line.
    int EnableSource(int index, std::vector<std::string>* enabled) override {
        snd_mixer_elem_t* source = Source(index);
        if (!source) return -EINVAL;
        const char* name = snd_mixer_selem_get_name(source);
        if (snd_mixer_selem_has_capture_switch(source) &&
            snd_mixer_selem_set_capture_switch_all(source, 1) == 0)
            enabled->push_back(name);
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(m_pMixer); e; e = snd_mixer_elem_next(e)) {
            if (!snd_mixer_selem_is_enum_capture(e)) continue;
            int items = snd_mixer_selem_get_enum_items(e);
            for (int item = 0; item < items; ++item) {
                char text[64];
                if (snd_mixer_selem_get_enum_item_name(e, unsigned(item), sizeof text, text) < 0 ||
                    strcasecmp(text, name) != 0)
                    continue;
                if (snd_mixer_selem_set_enum_item(e, SND_MIXER_SCHN_MONO, unsigned(item)) == 0)
                    enabled->push_back(snd_mixer_selem_get_name(e));
            }
        }
        return 0;
    }

    std::vector<uint32_t> TakeChanges() override {
        if (m_pMixer) snd_mixer_handle_events(m_pMixer);
        std::vector<uint32_t> changes;
        changes.swap(m_aChanged);
        return changes;
    }

  private:
    static int OnElement(snd_mixer_elem_t* e, unsigned int mask) {
        auto* self = static_cast<CLxAlsaMixer*>(snd_mixer_elem_get_callback_private(e));
        if (mask == SND_CTL_EVENT_MASK_REMOVE || !(mask & SND_CTL_EVENT_MASK_VALUE)) return 0;
        auto it = std::find(self->m_aSources.begin(), self->m_aSources.end(), e);
        if (it == self->m_aSources.end()) return 0;
        uint32_t id = kControlBase + uint32_t(it - self->m_aSources.begin());
        if (std::find(self->m_aChanged.begin(), self->m_aChanged.end(), id) ==
            self->m_aChanged.end())
            self->m_aChanged.push_back(id);
        return 0;
    }

    snd_mixer_elem_t* Source(int index) const {
        return index >= 0 && size_t(index) < m_aSources.size() ? m_aSources[size_t(index)]
                                                               : nullptr;
    }
    static long Offset(long low) { return low < 0 ? low : 0; }
    static snd_mixer_selem_channel_id_t FirstChannel(snd_mixer_elem_t* e) {
        for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c)
            if (snd_mixer_selem_has_capture_channel(e, snd_mixer_selem_channel_id_t(c)))
                return snd_mixer_selem_channel_id_t(c);
        return SND_MIXER_SCHN_FRONT_LEFT;
    }

    snd_mixer_t* m_pMixer = nullptr;
    std::vector<snd_mixer_elem_t*> m_aSources;
    std::vector<bool> m_aMic;
    std::vector<uint32_t> m_aChanged;
};

class CLxAlsaMixerSystem : public ILxMixerSystem {
  public:
    int DeviceCount() override {
        int card = -1;
        return snd_card_next(&card) == 0 && card >= 0 ? 1 : 0;
    }
    int Open(bool notify, ILxMixer** mixer) override {
        auto* alsa = new CLxAlsaMixer;
        int result = alsa->Attach(notify);
        if (result < 0) {
            delete alsa;
            *mixer = nullptr;
            return result;
        }
        *mixer = alsa;
        return 0;
    }
};

CLxAlsaMixerSystem g_alsa;
ILxMixerSystem* g_pSystem = nullptr;

} // namespace

ILxMixerSystem* LxMixerSystem() {
    return g_pSystem ? g_pSystem : &g_alsa;
}

void LxSetMixerSystem(ILxMixerSystem* system) {
    g_pSystem = system;
}
