// Loading the engine as its hosts do: libtalviklib.so beside the executable first,
// then the library search path. The library stays loaded for the process's life.
#pragma once
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "Folder.h"

namespace talvik {

// The folder of the running executable, "." when it cannot be told.
inline std::string ExecutableFolder() {
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    path[n] = 0;
    char* slash = std::strrchr(path, '/');
    if (slash) *slash = 0;
    return path;
}

// The engine's root folder; null with the reason in error when the library cannot be
// loaded or has no root.
inline Folder* LoadEngineLibrary(std::string* error) {
    std::string beside = ExecutableFolder() + "/libtalviklib.so";
    const int flags = RTLD_NOW | RTLD_NODELETE;
    void* library = dlopen(beside.c_str(), flags);
    if (!library) library = dlopen("libtalviklib.so", flags);
    if (!library) {
        *error = std::string("cannot load the engine library libtalviklib.so: ") + dlerror();
        return nullptr;
    }
    auto** root = static_cast<Folder**>(dlsym(library, "export_root"));
    if (!root || !*root) {
        *error = "the engine library has no root (export_root)";
        return nullptr;
    }
    return *root;
}

} // namespace talvik
