// The time base of features and cues: the Number members "_framedist" (samples between
// frames) and "_sps" (samples per second), looked up at every use in the folder the
// object was made in, which it holds. A member that is missing, not a Number, or not
// positive counts as absent and gives the caller's default, so no rate divides by zero.
#pragma once
#include "Interface.h"

class TimeBase {
  public:
    explicit TimeBase(Interface* home);
    ~TimeBase();
    TimeBase(const TimeBase&) = delete;
    TimeBase& operator=(const TimeBase&) = delete;

    double FrameDist(double fallback) const { return LookUp("_framedist", fallback); }
    double Sps(double fallback) const { return LookUp("_sps", fallback); }

  private:
    double LookUp(const char* name, double fallback) const;

    Interface* home_;
};
