// A child's settings file from arbitrary bytes: read, written, read and written again
// from the defaults; the two files written must be the same.
#include "RecordFuzz.h"
#include "shell/LxSettings.h"

using namespace record_fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Write("save/theraphy/x/settings.xml", data, size);
    ResetSettings();
    LoadSettings("x");
    if (!SaveSettings("x")) return 0;
    std::string once = Read("save/theraphy/x/settings.xml");
    ResetSettings();
    LoadSettings("x");
    if (!SaveSettings("x")) std::abort();
    SameOrAbort(once, Read("save/theraphy/x/settings.xml"));
    return 0;
}
