// The base of the acoustic cues: a module that answers "ACue" before the module base's
// names and holds the feature it condenses (none for the duration) with a reference.
// Every read of a frame goes through the feature's guarded Value, so a cue asked for
// frames that are not there throws instead of reading memory it does not own.
#pragma once
#include <cmath>
#include <cstdint>

#include "ACue.h"
#include "Feature.h"
#include "core/ModuleBase.h"

// A value as an int32 address, saturating; NaN gives 0. Addresses out of range still
// fail in Value, but computing them is never undefined.
inline int32_t Clip(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int32_t>(v);
}

// trunc(L f): the float product of a segment length and a fraction, truncated.
inline int32_t Part(int64_t length, float fraction) {
    return Clip(static_cast<float>(length) * fraction);
}

class CueModule : public ModuleBase, public virtual ACue {
  public:
    explicit CueModule(Feature* feature);
    ~CueModule() override;

    void* GetInterface(const char* name) override;

  protected:
    float X(int64_t address) { return feature_->Value(Clip(address)); }

    Feature* feature_;
};

// Ends a cue factory: links the cue to its feature argument and returns it unheld.
Interface* LinkCue(CueModule* cue, Interface* source);
