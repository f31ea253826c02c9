// The practice words page from arbitrary bytes: read, written, read and written again;
// the two pages written must be the same.
#include "RecordFuzz.h"
#include "shell/LxWords.h"

using namespace record_fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Write("save/theraphy/words.html", data, size);
    LoadWords();
    if (!SaveWords()) return 0;
    std::string once = Read("save/theraphy/words.html");
    LoadWords();
    if (!SaveWords()) std::abort();
    SameOrAbort(once, Read("save/theraphy/words.html"));
    return 0;
}
