// The module base of processing classes; see ModuleBase.h.
#include "core/ModuleBase.h"

#include <cstring>

#include "core/Hold.h"

void ModuleBase::AddDependant(Interface* module) {
    if (!module) return;
    // Put would replace the entry of the same (empty) name: every link is kept.
    dependants_.AddUnnamed(module);
}

bool ModuleBase::IsDependant(Interface* module) {
    for (const NameList::Node& node : dependants_.Nodes())
        if (node.object == module) return true;
    return false;
}

void* ModuleBase::GetInterface(const char* name) {
    if (std::strcmp(name, "Module")) return FolderBase::GetInterface(name);
    AddRef();
    return static_cast<Module*>(this);
}

void ModuleBase::Link(Interface* source) {
    // Our query must not destroy a source that nobody holds yet (a fresh object):
    // it would take this object, now one of its dependants, with it.
    Hold keep(source);
    auto* module = QueryInterface<Module>(source, "Module");
    if (!module) return;
    module->AddDependant(static_cast<Interface*>(this));
    module->Release();
}

NumberObject* ModuleBase::AddProperty(const char* name, double value) {
    auto* number = new NumberObject(value);
    number->AddRef();
    Set(name, static_cast<int>(std::strlen(name)), number, 0);
    return number;
}
