// The library's load hook: it registers the keywords and classes, publishes the
// root as export_root and runs the start-up script, which mounts the working
// folder as "mnt" and starts the window thread "sys".
#include "core/ClassObject.h"
#include "core/Root.h"
#include "talvik.h"

TALVIK_EXPORT Folder* export_root = nullptr;

__attribute__((constructor)) static void LoadEngine() {
    FolderBase* root = RootFolder();
    RegisterKeywords();
    RegisterClasses();
    export_root = root;
    root->Run("mnt = new Directory(\"\");sys = new WinSys;", root);
}
