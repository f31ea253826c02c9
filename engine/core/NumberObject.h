// The object a number literal makes: a Number that evaluates to itself.
#pragma once
#include "Input.h"
#include "Number.h"

class NumberObject : public virtual Number {
  public:
    explicit NumberObject(double v = 0) { value = v; }
    Interface* Interpret(Input*, Interface*) override { return this; }
    void* GetInterface(const char* name) override;
};
