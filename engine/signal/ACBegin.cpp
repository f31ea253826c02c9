// ACBegin(feature [, offset]) and ACEnd(feature): the feature's value at the start of a
// segment, frame begin + offset (0 for ACEnd, which also reads begin, not end),
// clamped to the frames the feature holds.
#include <algorithm>

#include "core/Arguments.h"
#include "core/Report.h"
#include "signal/CueModule.h"

namespace {
class ACBegin : public CueModule {
  public:
    ACBegin(Feature* feature, int offset) : CueModule(feature), offset_(offset) {}

    float Value(int32_t begin, int32_t) override {
        int64_t i = int64_t(begin) + offset_;
        if (i < 0)
            i = 0;
        else if (i >= feature_->length)
            i = feature_->length - 1;
        return X(i);
    }

  private:
    int offset_;
};

Interface* NewStart(Input* lexer, Interface* context, bool withOffset, const char* error) {
    Arguments args(lexer, context, withOffset ? 2 : 1);
    auto feature = args.Get<Feature>(0, "Feature");
    if (!feature) {
        report("%s", error);
        return nullptr;
    }
    double offset = 0;
    if (withOffset) args.GetNumber(1, &offset);
    Interface* made = LinkCue(new ACBegin(feature.get(), Clip(offset)), args.At(0));
    return made;
}
} // namespace

Interface* NewACBegin(Input* lexer, Interface* context) {
    return NewStart(lexer, context, true, "ACBegin: First parameter error");
}

Interface* NewACEnd(Input* lexer, Interface* context) {
    return NewStart(lexer, context, false, "ACEnd: First parameter error");
}
