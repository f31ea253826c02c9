// The base of every processing class (sound sources, spectra, maps, evaluators,
// search engines, displays): a folder whose members are the object's named
// properties ("sps", "framedist", ...) and at the same time a Module that a
// module folder runs in dependency order.
//
// Each module records its consumers, the dependants, in a list that is never
// pruned and holds one reference to each. A factory registers its new object with
// every source through Link, so sources must exist before their consumers:
//
//     auto* spectrum = new Spectrum(...);
//     spectrum->Link(args.At(0));      // the sound buffer now knows its consumer
//
// A consumer usually keeps its sources too, so a source and its consumer hold each
// other: chains live until a script breaks them.
//
// A derived class overrides Process and Step (both return 0 here: "done, go on"),
// and answers its own interface names in GetInterface before calling this base,
// which answers "Module", then "Folder" and "Interface".
#pragma once
#include <cstring>

#include "Module.h"
#include "core/FolderBase.h"
#include "core/NameList.h"
#include "core/NumberObject.h"

class ModuleBase : public FolderBase, public virtual Module {
  public:
    explicit ModuleBase(Folder* parent = nullptr) : FolderBase(parent) {}

    int Process() override { return 0; }
    int Step() override { return 0; }
    void Discard(int) override {}
    // Records a consumer, always as a new entry (newest first), taking a reference.
    void AddDependant(Interface* module) override;
    // Whether this very object was recorded as a consumer.
    bool IsDependant(Interface* module) override;

    void* GetInterface(const char* name) override;

    // Registers this object as a consumer of source, when source is a Module.
    void Link(Interface* source);

  protected:
    // The GetInterface of a module with one interface of its own: the object as T for
    // that name, otherwise what the module base answers.
    template <class T> void* AnswerAs(T* self, const char* own, const char* name) {
        if (std::strcmp(name, own)) return ModuleBase::GetInterface(name);
        self->AddRef();
        return self;
    }

    // Stores a Number member ("sps", "framedist", ...) and returns it with a reference
    // of the caller's own, so a script replacing the member cannot free it under the
    // module; the module updates its value and releases it when it goes.
    NumberObject* AddProperty(const char* name, double value);

  private:
    NameList dependants_; // unnamed entries
};
