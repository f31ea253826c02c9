// Saving the last recording; see LxRecordingSave.h. The WAV writer puts the file in
// place through a temporary file, so an earlier recording of the word survives a failure.
#include "shell/LxRecordingSave.h"

#include <cstdio>
#include <string>

#include "media/LxSoundHelpers.h"
#include "reading/LxLetters.h"
#include "shell/LxProgram.h"
#include "shell/LxUserRecords.h"

bool SaveRecording(const char* word, int recordedBytes) {
    if (!g_pRecording || recordedBytes <= 0) return false;
    std::string name;
    if (word) {
        std::string part = SafeFileName(ToDoubledText(word));
        if (part.empty()) return false;
        name = "save\\speech\\" + part + ".wav";
    } else {
        char numbered[32];
        std::snprintf(numbered, sizeof numbered, "out%03d.wav", g_nOutFile);
        name = numbered;
    }
    bool written = WriteWave(g_pRecording, name.c_str(), 0, unsigned(recordedBytes));
    if (!word) ++g_nOutFile;
    return written;
}
