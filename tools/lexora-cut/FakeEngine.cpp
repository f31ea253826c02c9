// The fake engine (see FakeEngine.h), and the base class's default behaviour
// that the engine library would bring: the program's binaries never link the library,
// so the fakes' base needs these definitions here.
#include "lexora-cut/FakeEngine.h"

#include <cstring>

Interface* Interface::Run(const char*, Interface*) {
    return nullptr;
}
Interface* Interface::Call(Input*, Interface*) {
    return nullptr;
}
Interface* Interface::Interpret(Input*, Interface*) {
    return nullptr;
}
Interface* Interface::Find(const char*, int) {
    return nullptr;
}
const char* Interface::Set(const char*, int, Interface*, int) {
    return nullptr;
}
void* Interface::GetInterface(const char* name) {
    if (std::strcmp(name, "Interface")) return nullptr;
    AddRef();
    return this;
}
const char* Interface::Help() {
    return "";
}
int Interface::AddRef() {
    return ++refs_;
}
int Interface::Release() {
    int count = --refs_;
    if (count < 1) delete this;
    return count;
}
Interface::~Interface() = default;

FakeLock g_FakeLock;

void* FakeLock::GetInterface(const char* name) {
    if (std::strcmp(name, "Lock")) return Interface::GetInterface(name);
    AddRef();
    return static_cast<Lock*>(this);
}

void* FakeRoot::GetInterface(const char* name) {
    if (!std::strcmp(name, "Lock")) return g_FakeLock.GetInterface(name);
    return Interface::GetInterface(name);
}

FakeRoot::~FakeRoot() {
    for (auto& entry : m_objects)
        entry.second->Release();
}

Interface* FakeRoot::Run(const char* text, Interface*) {
    g_FakeLock.Call();
    m_scripts.push_back(text);
    if (m_onRun) m_onRun(text);
    auto temporary = m_temporaries.find(text);
    if (temporary != m_temporaries.end()) return temporary->second();
    auto found = m_objects.find(text);
    return found == m_objects.end() ? nullptr : found->second;
}

void FakeRoot::Remove(const std::string& name) {
    auto found = m_objects.find(name);
    if (found == m_objects.end()) return;
    found->second->Release();
    m_objects.erase(found);
}

bool FakeRoot::AllReleased() const {
    for (auto& entry : m_objects)
        if (entry.second->RefCount() != 1) return false;
    return true;
}
