// A phoneme set: the integer codes (from 1) that index the evaluators' score vectors,
// and the symbols written for them. Several symbols may share one code.
#pragma once
#include "Interface.h"

class Phonemes : public virtual Interface {
  public:
    // The code of the first symbol equal to symbol in its first 11 characters; -1 when
    // there is none.
    virtual int Code(const char* symbol) = 0;
    // The first symbol of a code; "" when there is none.
    virtual const char* Symbol(int code) = 0;
    // The number of codes, which is the highest code.
    virtual int Count() = 0;
};
