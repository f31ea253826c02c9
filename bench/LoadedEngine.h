// The engine as a host sees it: the library loaded once with dlopen, reached
// through its exported root. Benchmarks drive it only through scripts.
#pragma once
#include <dlfcn.h>

#include "talvik.h"

// The root of the loaded library, or nullptr when it cannot be loaded.
inline Interface* LoadedRoot() {
    static Interface* root = [] {
        void* library = dlopen(TALVIK_LIBRARY, RTLD_NOW | RTLD_NODELETE);
        if (!library) return static_cast<Interface*>(nullptr);
        return static_cast<Interface*>(*static_cast<Folder**>(dlsym(library, "export_root")));
    }();
    return root;
}

// Disposes of a script's value the way the engine does: a temporary dies here.
inline void Dispose(Interface* value) {
    if (!value) return;
    value->AddRef();
    value->Release();
}
