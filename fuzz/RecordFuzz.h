// Shared set-up of the record fuzz targets: a scratch working folder with the save
// folders a child's records go to, the data roots pointing at it, and small file helpers.
// Each target loads the fuzzer's bytes as a record, saves it, loads and saves again: the
// two saves must be the same bytes, or something read was not written back as read.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "media/LxFile.h"

namespace record_fuzz {

inline void MakeScratchFolder() {
    char folder[] = "/tmp/lexora-records-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    std::filesystem::create_directories("save/theraphy/x");
    std::filesystem::create_directories("data");
    CLxFile::SetRoots(".\\", "data\\");
}

inline void Write(const char* path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
}

inline std::string Read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Aborts, so that the fuzzer keeps the input, when a second round trip changed the file.
inline void SameOrAbort(const std::string& first, const std::string& second) {
    if (first != second) std::abort();
}

} // namespace record_fuzz
