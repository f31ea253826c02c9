// The program's side of the engine's object model (see LxEngineBinding.h).
#include "shell/LxEngineBinding.h"

#include <cstdio>

#include "Exceptions.h"
#include "Lock.h"
#include "Number.h"
#include "shell/LxDriverBlock.h"

namespace {

// Disposes of a script's value the way the engine does: a temporary (no references)
// dies here, an object of the tree keeps its owner's reference.
void Dispose(Interface* value) {
    if (!value) return;
    value->AddRef();
    value->Release();
}

Interface* RunOnRoot(const char* text) {
    Interface* root = g_Driver.pRoot;
    return root ? root->Run(text, root) : nullptr;
}

} // namespace

// Asking the root for its lock is the one engine call made before holding it: the root
// lives as long as the process, and answering an interface reads nothing that scripts
// change. Its reference is given back while the lock is still held.
LxEngineHold::LxEngineHold() : m_pLock(QueryInterface<Lock>(g_Driver.pRoot, "Lock")) {
    if (m_pLock) m_pLock->Enter();
}

LxEngineHold::~LxEngineHold() {
    if (!m_pLock) return;
    m_pLock->Release();
    m_pLock->Leave();
}

bool EngineRun(const char* text) {
    if (!g_Driver.pRoot) return false;
    Dispose(RunOnRoot(text));
    return true;
}

void* EngineInterface(const char* name, const char* iface) {
    Interface* value = RunOnRoot(name);
    if (!value) return nullptr;
    void* result = value->GetInterface(iface);
    Dispose(value); // the interface, if any, holds the object now
    return result;
}

double EngineNumber(const char* name, double fallback) {
    LxEngineRef<Number> number = EngineGet<Number>(name, "Number");
    return number ? number->value : fallback;
}

bool EngineStartRecogniser() {
    LxEngineHold hold;
    try {
        return EngineRun("con = new Console;term = new Terminal(con);export out = term;"
                         "mnt.data.recogniser24x3()");
    } catch (Exception* e) {
        std::fprintf(stderr, "lexora: the recogniser script ended by engine exception %d\n",
                     e->code);
        delete e;
        return false;
    }
}
