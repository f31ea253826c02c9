// Builds the root folder with "classes", "bin", "proc", "usr", "etc" and "dev",
// all static and stored not-owned, and keeps the per-thread context slot.
#include "core/Root.h"

#include <cstring>

#include "Lock.h"
#include "core/EngineLock.h"
#include "core/Permanent.h"

namespace {
// The root is also the hosts' way to the engine's lock: the one thing a host that
// has only the root can hold around its own work on engine objects.
class RootObject : public FolderBase, public Lock {
  public:
    void* GetInterface(const char* name) override {
        if (std::strcmp(name, "Lock")) return FolderBase::GetInterface(name);
        AddRef();
        return static_cast<Lock*>(this);
    }
    void Enter() override { EngineEnter(); }
    void Leave() override { EngineLeave(); }
    int Held() override { return EngineHeld(); }
};

struct StaticFolders {
    FolderBase* root;
    FolderBase* classes;
    FolderBase* bin;
};

StaticFolders& Statics() {
    static StaticFolders statics = [] {
        StaticFolders s;
        s.root = new Permanent<RootObject>();
        s.root->Adopt(nullptr, "root");
        auto add = [&](const char* name) {
            FolderBase* folder = new Permanent<FolderBase>(s.root);
            s.root->Set(name, static_cast<int>(std::strlen(name)), folder, 1);
            return folder;
        };
        s.classes = add("classes");
        s.bin = add("bin");
        add("proc");
        add("usr");
        add("etc");
        add("dev");
        return s;
    }();
    return statics;
}

thread_local Interface* t_context = nullptr;
} // namespace

FolderBase* RootFolder() {
    return Statics().root;
}
FolderBase* ClassFolder() {
    return Statics().classes;
}
FolderBase* KeywordFolder() {
    return Statics().bin;
}

Interface* ThreadContext() {
    return t_context ? t_context : RootFolder();
}
void SetThreadContext(Interface* context) {
    t_context = context;
}
