// A processing object run by a module folder in dependency order.
#pragma once
#include "Interface.h"

class Module : public virtual Interface {
  public:
    // 0: done; > 0: produced output and has more through Step; < 0: produced nothing.
    virtual int Process() = 0;
    virtual int Step() = 0;
    // Drop buffered data; n < 0 drops all.
    virtual void Discard(int n) = 0;
    virtual void AddDependant(Interface* module) = 0;
    virtual bool IsDependant(Interface* module) = 0;

    // Set by the module folder's build: the modules to run after this one, nullptr-terminated.
    Module** runList = nullptr;
};
