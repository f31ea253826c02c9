// The sound cache and the sound bank. Keys are the path, or "path@start-end" for a part;
// they are compared whole, however long. See LxSoundServer.h.
#include "media/LxSoundServer.h"

#include <cstring>

#include "media/LxSoundHelpers.h"
#include "shell/LxXMLParser.h"

CLxSoundServer* g_pSoundServer = nullptr;

CLxSoundServer::~CLxSoundServer() {
    for (Entry& entry : m_entries)
        FreeSound(&entry.sound);
}

CBSoundBuffer* CLxSoundServer::GetSound(const char* path, int startMs, int endMs) {
    if (!path) return nullptr;
    std::string key = path;
    if (startMs != -1) key += "@" + std::to_string(startMs) + "-" + std::to_string(endMs);
    for (int i = 0; i < m_nEntries; i++) {
        Entry& entry = m_entries[i];
        if (entry.sound && entry.key == key) {
            entry.uses++;
            return entry.sound;
        }
    }
    int slot = m_nEntries < kEntries ? m_nEntries : -1;
    for (int i = 0; slot < 0 && i < kEntries; i++) {
        Entry& entry = m_entries[i];
        if (!entry.sound || (entry.uses == 0 && SoundStatus(entry.sound) == 0)) slot = i;
    }
    if (slot < 0) return nullptr;
    Entry& entry = m_entries[slot];
    FreeSound(&entry.sound);
    entry.key.clear();
    entry.uses = 0;
    CBSoundBuffer* sound = LoadWave(path, startMs, endMs);
    if (!sound) return nullptr;
    entry.sound = sound;
    entry.uses = 1;
    entry.key = key;
    if (slot == m_nEntries) m_nEntries++;
    return sound;
}

int CLxSoundServer::Find(const CBSoundBuffer* sound) const {
    for (int i = 0; sound && i < m_nEntries; i++)
        if (m_entries[i].sound == sound) return i;
    return -1;
}

void CLxSoundServer::ReleaseSound(CBSoundBuffer* sound) {
    int i = Find(sound);
    if (i < 0) return;
    Entry& entry = m_entries[i];
    if (entry.uses > 0) entry.uses--;
    if (entry.uses == 0 && SoundStatus(entry.sound) == 0) {
        FreeSound(&entry.sound);
        entry.key.clear();
    }
}

int CLxSoundServer::GetUseCount(const CBSoundBuffer* sound) const {
    int i = Find(sound);
    return i < 0 ? 0 : m_entries[i].uses;
}

const char* CLxSoundServer::GetKey(const CBSoundBuffer* sound) const {
    int i = Find(sound);
    return i < 0 ? nullptr : m_entries[i].key.c_str();
}

CBSoundBuffer* CLxSoundServer::GetBankSound(const char* name) {
    if (!name) return nullptr;
    CLxXMLParser bank;
    if (!bank.Open("data\\speech\\soundbank.xml")) return nullptr;
    while (char* tag = bank.NextTag()) {
        if (!LxTagIs(tag, "sound")) continue;
        const char* soundName = bank.GetAttr(tag, "name");
        if (!soundName || std::strcmp(soundName, name) != 0) continue;
        char* wave = bank.GetAttr(tag, "wave");
        if (!wave) continue;
        std::string path = std::string("data\\speech\\") + wave;
        int range[2];
        if (bank.GetIntList(tag, "range", range, 2) == 2)
            return GetSound(path.c_str(), range[0], range[1]);
        return GetSound(path.c_str(), -1, -1);
    }
    return nullptr;
}
