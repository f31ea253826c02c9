// Feeds arbitrary text through the expander, the lexer and the interpreter, run
// on a scratch folder of the root. Classes that reach the file system, the
// console or other windows are taken away first: random scripts must not append
// to files outside the fuzzer's temporary working folder or wait for input.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "core/FolderBase.h"
#include "core/Root.h"

// Class objects live as long as the library; the ones taken away stay reachable here,
// in a list that is never destroyed (the leak check runs after static destructors).
std::vector<Interface*>* g_removedClasses = new std::vector<Interface*>;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/talvik-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    RootFolder()->Set("mnt", 3, nullptr, 0);
    for (const char* name : {"Directory", "File", "Console", "Terminal", "HTTPTerminal",
                             "ActiveWindow", "Wait", "WinSys", "Service", "Socket"}) {
        int length = static_cast<int>(strlen(name));
        if (NameList::Node* node = ClassFolder()->PlainMembers().Lookup(name, length))
            g_removedClasses->push_back(node->object);
        ClassFolder()->Set(name, length, nullptr, 0);
    }
    return 0;
}

// Whether folder lies inside scratch (is it, or has it among its parents).
bool Inside(Folder* folder, Folder* scratch) {
    for (; folder; folder = folder->Parent())
        if (folder == scratch) return true;
    return false;
}

void Collect(NameList& list, Folder* scratch, std::vector<FolderBase*>* found) {
    for (const NameList::Node& node : list.Nodes()) {
        auto* folder = dynamic_cast<FolderBase*>(node.object);
        if (!folder || !Inside(folder, scratch)) continue;
        if (std::find(found->begin(), found->end(), folder) != found->end()) continue;
        found->push_back(folder);
        Collect(folder->PlainMembers(), scratch, found);
        Collect(folder->ExportedMembers(), scratch, found);
    }
}

// Scripts may tie objects into reference cycles ("x = {...}" keeps the folder in itself,
// "a.b.c = a"), which reference counting never frees. Before the scratch folder goes,
// every folder inside it is emptied, held meanwhile so that none goes while another is
// being emptied: what is left over after that is a real leak.
void Dismantle(FolderBase* scratch) {
    std::vector<FolderBase*> folders{scratch};
    Collect(scratch->PlainMembers(), scratch, &folders);
    Collect(scratch->ExportedMembers(), scratch, &folders);
    for (FolderBase* folder : folders)
        folder->AddRef();
    for (FolderBase* folder : folders) {
        for (NameList* list : {&folder->PlainMembers(), &folder->ExportedMembers()}) {
            std::vector<std::string> names;
            for (const NameList::Node& node : list->Nodes())
                names.push_back(node.name);
            for (const std::string& name : names) {
                int length = static_cast<int>(name.size());
                if (list == &folder->PlainMembers())
                    folder->Set(name.data(), length, nullptr, 0);
                else
                    folder->Export(name.data(), length, nullptr);
            }
        }
    }
    for (FolderBase* folder : folders)
        folder->Release();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    FolderBase* root = RootFolder();
    // Made directly, since an earlier input may have broken "new" or "Folder".
    auto* scratch = new FolderBase(root);
    scratch->AddRef();
    root->Set("fz", 2, scratch, 0);
    try {
        Interface* value = scratch->Run(text.c_str(), scratch);
        if (value) {
            value->AddRef();
            value->Release();
        }
    } catch (Exception* e) {
        delete e;
    }
    Dismantle(scratch);
    root->Set("fz", 2, nullptr, 0);
    scratch->Release();
    return 0;
}
