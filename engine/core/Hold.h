// Keeps an object alive while a script statement still uses it: a statement may
// release the very folder it is storing into or running in (x.a = (x = 0), or
// x { x = 0 }). The hold takes a reference and gives it back afterwards without
// destroying: an object nobody else holds then is a temporary again, like a
// freshly made one, and its statement's disposal deals with it.
#pragma once
#include "Interface.h"

class Hold {
  public:
    explicit Hold(Interface* object) : object_(object) {
        if (object_) object_->AddRef();
    }
    ~Hold() {
        if (!object_) return;
        if (object_->RefCount() > 1)
            object_->Release();
        else
            object_->ForgetReference();
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

  private:
    Interface* object_;
};
