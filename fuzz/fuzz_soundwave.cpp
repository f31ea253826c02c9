// Feeds arbitrary bytes as a WAV file to the program's sound loading: the input is
// written as s.wav in a scratch folder and loaded whole and in a part, converted to the
// program's format, and copied unconverted into a small buffer.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "media/LxFile.h"
#include "media/LxSoundDevice.h"
#include "media/LxSoundHelpers.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/lexora-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    CLxFile::SetRoots(".\\", "data\\");
    g_pPlayer = new CLxSoundDevice(false); // never opened: loading needs only the object
    if (!std::freopen("/dev/null", "w", stdout)) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen("s.wav", "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    for (int range : {-1, 10}) {
        CBSoundBuffer* sound = LoadWave("s.wav", range, range * 3);
        FreeSound(&sound);
    }
    CBSoundBuffer small(g_pPlayer);
    if (small.Create(64, 22050, 16)) InsertWave(&small, 50, "s.wav", -1, -1);
    return 0;
}
