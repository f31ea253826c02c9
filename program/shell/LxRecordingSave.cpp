// Saving the last recording; see LxRecordingSave.h. The WAV writer puts the file in
// place through a temporary file, so an earlier recording of the word survives a failure.
// Numbered recordings continue after the highest number already in the folder, so a new
// run never overwrites an earlier run's recordings.
#include "shell/LxRecordingSave.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "media/LxFile.h"
#include "media/LxSoundHelpers.h"
#include "reading/LxLetters.h"
#include "shell/LxProgram.h"
#include "shell/LxUserRecords.h"

namespace {

// One more than the highest n of the "out<n>.wav" files in the working folder; 0 when
// there are none.
int NextFreeOutNumber() {
    int next = 0;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(CLxFile::RecordPath("", false), error)) {
        std::string name = entry.path().filename().string();
        int number = 0, used = 0;
        if (std::sscanf(name.c_str(), "out%9d.wav%n", &number, &used) == 1 &&
            used == static_cast<int>(name.size()) && number >= next)
            next = number + 1;
    }
    return next;
}

} // namespace

bool SaveRecording(const char* word, int recordedBytes) {
    if (!g_pRecording || recordedBytes <= 0) return false;
    std::string name;
    if (word) {
        std::string part = SafeFileName(ToDoubledText(word));
        if (part.empty()) return false;
        name = "save\\speech\\" + part + ".wav";
    } else {
        g_nOutFile = std::max(g_nOutFile, NextFreeOutNumber());
        char numbered[32];
        std::snprintf(numbered, sizeof numbered, "out%03d.wav", g_nOutFile);
        name = numbered;
    }
    bool written = WriteWave(g_pRecording, name.c_str(), 0, unsigned(recordedBytes));
    if (!word) ++g_nOutFile;
    return written;
}
