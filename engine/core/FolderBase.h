// The folder every container of the engine is made of: plain members, exported
// members, a parent link and a name. Lookup order: "parent", "root", members,
// the export chain up to the root, then the keywords of "bin".
#pragma once
#include <string>

#include "Folder.h"
#include "core/NameList.h"

class FolderBase : public virtual Folder {
  public:
    explicit FolderBase(Folder* parent = nullptr);
    ~FolderBase() override;

    Interface* Find(const char* name, int length) override;
    const char* Set(const char* name, int length, Interface* value, int notOwned) override;
    void* GetInterface(const char* name) override;

    Folder* Parent() override { return parent_; }
    NameIterator* Members(int which) override;
    const char* Name() override;
    Interface* FindExport(const char* name, int length) override;
    const char* Export(const char* name, int length, Interface* value) override;
    void Adopt(Folder* parent, const char* name) override;
    void Merge(Folder* other) override;

    NameList& PlainMembers() { return members_; }
    NameList& ExportedMembers() { return exports_; }

    // Takes every member out of this folder and out of every folder inside it (the ones
    // it parents, directly or through others), holding them all meanwhile. Scripts can
    // tie objects into reference cycles ("f.f = f", a statement left unfinished), which
    // reference counting never frees; a folder whose scripts are done (a network
    // session's) is taken apart this way so that nothing is left behind.
    void Dismantle();

  protected:
    // The folder lookup without any subclass extension (Directory adds the disk).
    Interface* FindInFolder(const char* name, int length);

  private:
    static void Released(Interface* object, void* self);

    NameList members_;
    Folder* parent_;
    NameList exports_;
    std::string name_;
};
