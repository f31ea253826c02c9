// Feeds arbitrary bytes as a data archive through CLxFile: the input is written as
// data9.zip in a scratch folder, and the archive's first member (or a fixed name) is
// opened, sized, skipped and read to its end.
#include <unistd.h>
#include <unzip.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "media/LxFile.h"

namespace {

// The first member's name when it has no folders, so that the lookup reaches it.
std::string FirstMember() {
    std::string name = "x.xml";
    unzFile zip = unzOpen("data9.zip");
    if (!zip) return name;
    char stored[256];
    unz_file_info info;
    if (unzGoToFirstFile(zip) == UNZ_OK &&
        unzGetCurrentFileInfo(zip, &info, stored, sizeof stored, nullptr, 0, nullptr, 0) ==
            UNZ_OK) {
        std::string found = stored;
        if (!found.empty() && found.find_first_of("/\\") == std::string::npos) name = found;
    }
    unzClose(zip);
    return name;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/lexora-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* out = std::fopen("data9.zip", "wb");
    if (!out) return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    std::string path = "data\\" + FirstMember();
    CLxFile file;
    if (!file.Open(path.c_str(), true)) return 0;
    (void)file.GetSize();
    (void)file.Seek(3, SEEK_CUR);
    char buffer[4096];
    while (file.Read(buffer, sizeof buffer) > 0) {
    }
    (void)file.Seek(5, SEEK_SET);
    (void)file.Read(buffer, sizeof buffer);
    return 0;
}
