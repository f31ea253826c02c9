// The engine's folder; see FolderBase.h.
#include "core/FolderBase.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/Root.h"

FolderBase::FolderBase(Folder* parent) : parent_(parent) {}

FolderBase::~FolderBase() {
    members_.Clear(Released, this);
    exports_.Clear(Released, this);
}

// A folder that lets go of a child it parents clears the child's parent link, so
// the child never points at a folder that may be gone.
void FolderBase::Released(Interface* object, void* self) {
    auto* child = dynamic_cast<Folder*>(object);
    if (child && child->Parent() == static_cast<Folder*>(static_cast<FolderBase*>(self)))
        child->Adopt(nullptr, "");
}

static bool Is(const char* name, int length, const char* word) {
    return length == static_cast<int>(std::strlen(word)) && std::memcmp(name, word, length) == 0;
}

Interface* FolderBase::FindInFolder(const char* name, int length) {
    if (!name || length < 0) return nullptr;
    if (Is(name, length, "parent")) return parent_;
    if (Is(name, length, "root")) return RootFolder();
    if (NameList::Node* node = members_.Lookup(name, length)) return node->object;
    if (Interface* exported = FindExport(name, length)) return exported;
    if (NameList::Node* node = KeywordFolder()->PlainMembers().Lookup(name, length))
        return node->object;
    return nullptr;
}

Interface* FolderBase::Find(const char* name, int length) {
    return FindInFolder(name, length);
}

const char* FolderBase::Set(const char* name, int length, Interface* value, int notOwned) {
    const char* stored = members_.Put(name, length, value, notOwned, Released, this);
    if (stored && value)
        if (auto* folder = dynamic_cast<Folder*>(value)) folder->Adopt(this, stored);
    return stored;
}

void* FolderBase::GetInterface(const char* name) {
    if (!std::strcmp(name, "Folder")) {
        AddRef();
        return static_cast<Folder*>(this);
    }
    return Interface::GetInterface(name);
}

NameIterator* FolderBase::Members(int which) {
    return new NameListIterator(which ? exports_.Nodes() : members_.Nodes());
}

const char* FolderBase::Name() {
    return name_.c_str();
}

Interface* FolderBase::FindExport(const char* name, int length) {
    for (Folder* folder = this; folder; folder = folder->Parent()) {
        auto* base = dynamic_cast<FolderBase*>(folder);
        if (!base) return folder->FindExport(name, length);
        if (NameList::Node* node = base->exports_.Lookup(name, length)) return node->object;
    }
    return nullptr;
}

const char* FolderBase::Export(const char* name, int length, Interface* value) {
    const char* stored = exports_.Put(name, length, value, 0, Released, this);
    if (stored && value)
        if (auto* folder = dynamic_cast<Folder*>(value)) folder->Adopt(this, stored);
    return stored;
}

// A folder stored below itself keeps its old parent: a cycle of parent links
// would make every climb to the root run for ever.
void FolderBase::Adopt(Folder* parent, const char* name) {
    for (Folder* up = parent; up; up = up->Parent())
        if (up == static_cast<Folder*>(this)) return;
    parent_ = parent;
    name_ = name ? name : "";
}

// Copies one list of the other folder into ours: missing names are added, folders
// present on both sides are merged, any other clash keeps our object.
static void MergeList(NameList& mine, NameIterator* theirs, FolderBase* self, bool exported) {
    const char* name = nullptr;
    while (Interface* object = theirs->Next(&name)) {
        int length = static_cast<int>(std::strlen(name));
        NameList::Node* node = mine.Lookup(name, length);
        if (!node) {
            if (exported)
                self->Export(name, length, object);
            else
                self->Set(name, length, object, 0);
            continue;
        }
        auto* ours = dynamic_cast<Folder*>(node->object);
        auto* other = dynamic_cast<Folder*>(object);
        if (ours && other && ours != other) ours->Merge(other);
    }
    delete theirs;
}

void FolderBase::Merge(Folder* other) {
    if (!other || other == this) return;
    MergeList(members_, other->Members(0), this, false);
    MergeList(exports_, other->Members(1), this, true);
}

namespace {

bool Inside(Folder* folder, Folder* outer) {
    for (; folder; folder = folder->Parent())
        if (folder == outer) return true;
    return false;
}

void CollectInside(NameList& list, Folder* outer, std::vector<FolderBase*>* found) {
    for (const NameList::Node& node : list.Nodes()) {
        auto* folder = dynamic_cast<FolderBase*>(node.object);
        if (!folder || !Inside(folder, outer)) continue;
        if (std::find(found->begin(), found->end(), folder) != found->end()) continue;
        found->push_back(folder);
        CollectInside(folder->PlainMembers(), outer, found);
        CollectInside(folder->ExportedMembers(), outer, found);
    }
}

} // namespace

void FolderBase::Dismantle() {
    std::vector<FolderBase*> folders{this};
    CollectInside(members_, this, &folders);
    CollectInside(exports_, this, &folders);
    for (FolderBase* folder : folders)
        folder->AddRef();
    for (FolderBase* folder : folders) {
        for (bool exported : {false, true}) {
            NameList& list = exported ? folder->exports_ : folder->members_;
            std::vector<std::string> names;
            for (const NameList::Node& node : list.Nodes())
                names.push_back(node.name);
            for (const std::string& name : names) {
                int length = static_cast<int>(name.size());
                if (exported)
                    folder->Export(name.data(), length, nullptr);
                else
                    folder->Set(name.data(), length, nullptr, 0);
            }
        }
    }
    for (FolderBase* folder : folders)
        folder->Release();
}
