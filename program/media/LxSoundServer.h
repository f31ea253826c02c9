// The cache of the program's short sounds: up to 32 loaded WAV files or parts of files,
// shared by key and counted by use, and the sound bank that names them.
#pragma once
#include <string>

#include "media/LxSoundBuffer.h"

class CLxSoundServer {
  public:
    static constexpr int kEntries = 32;

    CLxSoundServer() = default;
    CLxSoundServer(const CLxSoundServer&) = delete;
    CLxSoundServer& operator=(const CLxSoundServer&) = delete;
    virtual ~CLxSoundServer();

    // The sound of path (startMs -1: the whole file, else startMs..endMs), loaded on
    // first use; null when it cannot be loaded or every entry is in use.
    CBSoundBuffer* GetSound(const char* path, int startMs, int endMs);
    // One use fewer; an unused sound that does not play is freed.
    void ReleaseSound(CBSoundBuffer* sound);
    // The sound the bank file names name, through GetSound; null when none.
    CBSoundBuffer* GetBankSound(const char* name);

    int GetUseCount(const CBSoundBuffer* sound) const;
    const char* GetKey(const CBSoundBuffer* sound) const;

  private:
    struct Entry {
        CBSoundBuffer* sound = nullptr;
        int uses = 0;
        std::string key;
    };
    int Find(const CBSoundBuffer* sound) const;

    Entry m_entries[kEntries];
    int m_nEntries = 0; // entries ever filled; never compacted
};

extern CLxSoundServer* g_pSoundServer;
