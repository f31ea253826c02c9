// Reads a factory argument list of any length: every position up to the closing
// bracket is evaluated in the context. As with Arguments, temporaries die with the
// reader unless the new object took a reference.
#pragma once
#include <vector>

#include "Input.h"

class ArgumentList {
  public:
    ArgumentList(Input* lexer, Interface* context);
    ~ArgumentList();
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;

    int Size() const { return static_cast<int>(values_.size()); }
    Interface* At(int position) const { return values_[position]; }
    template <class T> T* Get(int position, const char* name) const {
        return QueryInterface<T>(values_[position], name);
    }
    bool GetNumber(int position, double* value) const;

  private:
    std::vector<Interface*> values_;
};
