// Binding a function of a library loaded at run time (dlopen), for the system libraries
// the engine touches only when a script asks for them (X11 for windows and keys, SDL for
// the microphone): a process that never opens a window or a microphone never loads them.
#pragma once
#include <dlfcn.h>

// Looks name up in library; false (and function null) when it is missing.
template <class F> bool BindSymbol(void* library, const char* name, F* function) {
    *function = reinterpret_cast<F>(dlsym(library, name));
    return *function != nullptr;
}
