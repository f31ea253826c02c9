// See ResetModules.h.
#include "signal/ResetModules.h"

#include <memory>
#include <vector>

#include "Module.h"

void ResetModules(Folder* folder) {
    if (!folder) return;
    // Collected first: a module's Discard must not change the list being walked.
    std::vector<Module*> modules;
    std::unique_ptr<NameIterator> members(folder->Members(0));
    const char* member = nullptr;
    while (Interface* object = members->Next(&member))
        if (auto* module = QueryInterface<Module>(object, "Module")) modules.push_back(module);
    members.reset();
    for (Module* module : modules) {
        module->Discard(-1);
        module->Release();
    }
}
