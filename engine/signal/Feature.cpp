// The guarded accessor of the Feature interface; see Feature.h. Out-of-range
// addresses are reported before the throw, since the engine never catches these
// exceptions: the message is what the user sees of a cue that read too far.
#include "Feature.h"

#include "Exceptions.h"
#include "core/Report.h"

float Feature::Value(int32_t address) {
    if (address >= length) {
        report_wide(L"Feature: address is too big (%d, maximum: %d)", address, length);
        throw new DataNotAvailable;
    }
    if (address < 0) {
        report_wide(L"Feature: address is too small (%d)", address);
        throw new IndexError;
    }
    return data[address];
}
