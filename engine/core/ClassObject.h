// One object per registered class, stored not-owned in "classes". Its factory is
// either its Call (classes written with an argument list, such as Terminal(con))
// or its Interpret (classes built as soon as their name is evaluated, such as Console).
#pragma once
#include "Input.h"
#include "Interface.h"

using Factory = Interface* (*)(Input* lexer, Interface* context);

class ClassObject : public Interface {
  public:
    enum Kind { kCalled, kEvaluated };

    ClassObject(Factory factory, Kind kind, const char* help)
        : factory_(factory), kind_(kind), help_(help ? help : "") {}

    Interface* Call(Input* lexer, Interface* context) override;
    Interface* Interpret(Input* lexer, Interface* context) override;
    const char* Help() override { return help_; }
    int AddRef() override { return 0; }
    int Release() override { return 0; }

  private:
    Factory factory_;
    Kind kind_;
    const char* help_;
};

// Fills "classes" and "bin"; run once while the library loads.
void RegisterClasses();
void RegisterKeywords();
