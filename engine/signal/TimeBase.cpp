// Time-base look-ups; see TimeBase.h.
#include "signal/TimeBase.h"

#include <cstring>

#include "Number.h"

TimeBase::TimeBase(Interface* home) : home_(home) {
    if (home_) home_->AddRef();
}

TimeBase::~TimeBase() {
    if (home_) home_->Release();
}

double TimeBase::LookUp(const char* name, double fallback) const {
    if (!home_) return fallback;
    auto* number =
        QueryInterface<Number>(home_->Find(name, static_cast<int>(std::strlen(name))), "Number");
    if (!number) return fallback;
    double value = number->value;
    number->Release();
    return value > 0 ? value : fallback;
}
