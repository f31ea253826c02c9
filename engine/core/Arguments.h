// Reads the parenthesised argument list of a factory: each of its positions is
// evaluated in the context, then the list is closed. The arguments are disposed
// of when the reader goes: a temporary argument (a number or text written in the
// call) dies unless the new object took a reference to it.
#pragma once
#include <string>
#include <vector>

#include "Input.h"
#include "Number.h"
#include "core/Obtained.h"

class Arguments {
  public:
    Arguments(Input* lexer, Interface* context, int count);
    // Every position up to the closing bracket, for classes taking lists of any length.
    Arguments(Input* lexer, Interface* context);
    ~Arguments();
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    int Size() const { return static_cast<int>(values_.size()); }
    // The argument at a position; the context when it was left out.
    Interface* At(int position) const { return values_[position]; }
    // The named interface of an argument, held with one reference (empty when the
    // argument has no such interface).
    template <class T> Obtained<T> Get(int position, const char* name) const {
        return Obtain<T>(values_[position], name);
    }
    // The value of a Number argument; false when it is none.
    bool GetNumber(int position, double* value) const;
    // The text of an Input argument (kind 103); false when it is none.
    bool GetText(int position, std::string* text) const;

  private:
    Interface* context_;
    std::vector<Interface*> values_;
};
