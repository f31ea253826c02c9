// ACMaxMin(feature): the spread of a feature over a segment, maximum minus minimum of
// x[begin] ... x[end] (end included), stopping at the last frame the feature holds.
// An empty segment gives 0; a segment starting past the data is not there yet.
#include "Exceptions.h"
#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/CueModule.h"

namespace {
class ACMaxMin : public CueModule {
  public:
    explicit ACMaxMin(Feature* feature) : CueModule(feature) {}

    float Value(int32_t begin, int32_t end) override {
        if (begin >= end) return 0.0f;
        if (begin < 0) throw new IndexError;
        if (begin >= feature_->length) X(begin); // throws DataNotAvailable
        int last = end < feature_->length ? end : feature_->length - 1;
        const float* x = feature_->data;
        float high = x[begin], low = x[begin];
        for (int i = begin + 1; i <= last; ++i) {
            if (x[i] > high)
                high = x[i];
            else if (x[i] < low)
                low = x[i];
        }
        return high - low;
    }
};
} // namespace

Interface* NewACMaxMin(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 1);
    auto feature = args.Get<Feature>(0, "Feature");
    if (!feature) {
        report("ACMaxMin: First parameter error");
        return nullptr;
    }
    Interface* made = LinkCue(new ACMaxMin(feature.get()), args.At(0));
    return made;
}
