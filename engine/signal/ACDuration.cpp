// ACDuration(): the length of a segment in frames, end - begin.
#include "core/Arguments.h"
#include "signal/CueModule.h"

namespace {
class ACDuration : public CueModule {
  public:
    ACDuration() : CueModule(nullptr) {}

    float Value(int32_t begin, int32_t end) override {
        return static_cast<float>(int64_t(end) - begin);
    }
};
} // namespace

Interface* NewACDuration(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 0);
    return new ACDuration;
}
