// Feeds arbitrary text through the expander, the lexer and the interpreter, run
// on a scratch folder of the root. Classes that reach the file system, the
// console or other windows are taken away first: random scripts must not append
// to files outside the fuzzer's temporary working folder or wait for input.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ClassObjects.h"
#include "Exceptions.h"
#include "core/FolderBase.h"
#include "core/Root.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    KeepClassObjectsReachable();
    char folder[] = "/tmp/talvik-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    RootFolder()->Set("mnt", 3, nullptr, 0);
    for (const char* name : {"Directory", "File", "Console", "Terminal", "HTTPTerminal",
                             "ActiveWindow", "Wait", "WinSys", "Service", "Socket"}) {
        int length = static_cast<int>(strlen(name));
        ClassFolder()->Set(name, length, nullptr, 0);
    }
    return 0;
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
    // Scripts may tie objects into reference cycles, which reference counting never
    // frees: what is left over after the scratch folder is taken apart is a real leak.
    scratch->Dismantle();
    root->Set("fz", 2, nullptr, 0);
    scratch->Release();
    return 0;
}
