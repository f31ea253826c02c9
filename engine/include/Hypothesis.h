// A search hypothesis: a path through a language graph over the segments of the
// material, read back from its last element. It extends parent (nullptr for a start
// hypothesis) by node, ending at boundary index end of the cluster bound. A
// hypothesis holds one reference to its parent and one to its node. The text of a
// path is its parent's text followed by node's letters; a start contributes nothing.
//
// The search engines are hypotheses too: their own fields describe the last result.
#pragma once
#include <cstdint>

#include "Interface.h"
#include "Language.h"

class Hypothesis : public virtual Interface {
  public:
    int32_t reserved0 = 0;
    Hypothesis* parent = nullptr;
    Language* node = nullptr;
    int32_t end = 0;
    int32_t reserved1 = 0;
    // Written by the cost stacks when the hypothesis is pushed.
    double score = 0;
    int32_t reserved2 = 0, reserved3 = 0;
    // A serial number per class, from 1.
    int32_t id = 0;
};
