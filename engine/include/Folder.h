// A container of named members with a parent and a list of exported members that
// are visible from every folder below it.
#pragma once
#include "Interface.h"

enum : int { kMaxName = 32 };

// Walks the members of a folder, newest first. Not reference counted: the caller deletes it.
class NameIterator {
  public:
    virtual ~NameIterator() = default;
    // The next object and its name, or nullptr at the end.
    virtual Interface* Next(const char** name) = 0;
};

class Folder : public virtual Interface {
  public:
    virtual Folder* Parent() = 0;
    // which: 0 plain members, 1 exported members.
    virtual NameIterator* Members(int which) = 0;
    virtual const char* Name() = 0;
    // This folder's exports, then the parents' up to the root.
    virtual Interface* FindExport(const char* name, int length) = 0;
    virtual const char* Export(const char* name, int length, Interface* value) = 0;
    virtual void Adopt(Folder* parent, const char* name) = 0;
    virtual void Merge(Folder* other) = 0;
};
