// The base of objects that are both a text source and a text sink (the console,
// terminals, files): they answer "Input" and "Output" by name.
#pragma once
#include <cstring>

#include "Input.h"
#include "Output.h"

class TextChannel : public virtual Input, public virtual Output {
  public:
    using Output::Write;
    using Output::WriteWide;

    void* GetInterface(const char* name) override {
        if (!std::strcmp(name, "Input")) {
            AddRef();
            return static_cast<Input*>(this);
        }
        if (!std::strcmp(name, "Output")) {
            AddRef();
            return static_cast<Output*>(this);
        }
        return Interface::GetInterface(name);
    }
};
