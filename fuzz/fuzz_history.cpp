// A child's history page from arbitrary bytes: read, written, read and written again;
// the two pages written must be the same.
#include "RecordFuzz.h"
#include "shell/LxTHistory.h"

using namespace record_fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = "save\\theraphy\\x\\history.html";
    Write("save/theraphy/x/history.html", data, size);
    CLxTHistory first;
    if (!first.Load(path) || !first.Save(path)) return 0;
    std::string once = Read("save/theraphy/x/history.html");
    CLxTHistory second;
    if (!second.Load(path) || !second.Save(path)) std::abort();
    SameOrAbort(once, Read("save/theraphy/x/history.html"));
    return 0;
}
