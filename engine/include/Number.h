// A number exposed by an object, read and written through its public field.
#pragma once
#include "Interface.h"

class Number : public virtual Interface {
  public:
    double value = 0;
};
