// Feeds arbitrary text through the expander, the lexer and the interpreter, run
// on a scratch folder of the root. The working folder is a fresh temporary one,
// so scripts that reach files touch nothing else.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "Exceptions.h"
#include "core/FolderBase.h"
#include "core/Root.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/talvik-fuzz-XXXXXX";
    if (mkdtemp(folder) && chdir(folder) == 0) return 0;
    std::abort();
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
    root->Set("fz", 2, nullptr, 0);
    scratch->Release();
    return 0;
}
