// An acoustic cue: condenses a feature over a segment of frames into one number.
#pragma once
#include <cstdint>

#include "Interface.h"

class ACue : public virtual Interface {
  public:
    // The cue of the frames from begin up to (not including) end; frame numbers are
    // feature addresses.
    virtual float Value(int32_t begin, int32_t end) = 0;
};
