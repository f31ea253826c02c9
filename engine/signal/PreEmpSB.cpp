// PreEmpSB(source, k): the pre-emphasis filter y[i] = x[i] - k x[i-1], continuous
// across blocks (the last sample of a block is the x[-1] of the next). k defaults to
// 0.97. The output array has the source's capacity at creation; a source block longer
// than that is cut to it, and the filter state is then the last sample used.
#include <algorithm>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "signal/SampleBuffer.h"

namespace {
class PreEmpSB : public SampleBuffer {
  public:
    PreEmpSB(SoundBuffer* source, float k)
        : SampleBuffer(source->capacity), source_(source), k_(k) {
        source_->AddRef();
        length = std::clamp(source_->length, 0, capacity);
        sps = source_->sps;
    }
    ~PreEmpSB() override { source_->Release(); }

    int Process() override {
        int32_t n = source_->data ? std::clamp(source_->length, 0, capacity) : 0;
        length = n;
        if (n == 0) return 0;
        const float* x = source_->data;
        float previous = previous_;
        for (int32_t i = 0; i < n; ++i) {
            float scaled = k_ * previous;
            data[i] = x[i] - scaled;
            previous = x[i];
        }
        previous_ = previous;
        sps = source_->sps;
        complete = source_->complete;
        return 0;
    }

  private:
    SoundBuffer* source_;
    float k_;
    float previous_ = 0.0f;
};
} // namespace

Interface* NewPreEmpSB(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto source = args.Get<SoundBuffer>(0, "SoundBuffer");
    if (!source) {
        report("PreEmpSB: First parameter must be 'SoundBuffer' Interface");
        return nullptr;
    }
    double k = 0.97;
    args.GetNumber(1, &k);
    auto* filter = new PreEmpSB(source.get(), static_cast<float>(k));
    Hold self(filter);
    filter->Link(args.At(0));
    return filter;
}
