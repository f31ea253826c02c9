// One number per frame, kept for the whole utterance and addressed by absolute frame
// number (its address). Unlike a map, which holds only the current block, a feature
// grows: each Process of its producer appends the values of the new addresses.
// Acoustic cues, evaluators and segmenters read features through Value.
#pragma once
#include <cstdint>

#include "Interface.h"

class Feature : public virtual Interface {
  public:
    // Values present; valid addresses are 0 ... length - 1.
    int32_t length = 0;
    // The values, indexed by address.
    float* data = nullptr;
    // Copied from the source: 1 when the stream has ended.
    int32_t complete = 0;

    // The value at an address, guarded. An address at or past length reports
    // "Feature: address is too big (a, maximum: length)" and throws a new
    // DataNotAvailable: the value is not there yet, and a caller working on a growing
    // stream may retry after more blocks came. A negative address reports
    // "Feature: address is too small (a)" and throws a new IndexError. Defined in the
    // engine library (the messages go to its message output), so only engine code
    // calls it; hosts read the fields.
    float Value(int32_t address);
};
