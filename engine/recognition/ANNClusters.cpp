// ANNClusters(s, source, evaluator [, gate [, threshold]]): boundaries where a neural
// boundary detector fires. Every s-th frame t of the source's range is scored as the
// one-frame segment (t, t + 1); t becomes a boundary when the score of the detector's
// second class reaches the threshold (0.5 by default) and, with a gating feature, the
// gate's value at t is not 0. Frame 0 is always the first boundary.
//
// The list grows with the source stream: each Process resumes after the last frame
// examined. While the source grows, the detector keeps 11 frames of right context and
// stays on the step grid; once the source is complete it goes up to count - 2 and the
// final frame, count - 1, closes the list (once: never as a duplicate). Discard
// empties the list for the next utterance.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "ClusterBound.h"
#include "Evaluator.h"
#include "Feature.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"

namespace {
constexpr size_t kInitialCapacity = 16;
constexpr int kRightContext = 11;

class ANNClusters : public ModuleBase, public virtual ClusterBound {
  public:
    ANNClusters(int step, ClusterBound* source, Evaluator* detector, Feature* gate, float threshold)
        : step_(step), source_(source), detector_(detector), gate_(gate), threshold_(threshold) {
        source_->AddRef();
        detector_->AddRef();
        if (gate_) gate_->AddRef();
        boundaries_.reserve(kInitialCapacity);
    }
    ~ANNClusters() override {
        source_->Release();
        detector_->Release();
        if (gate_) gate_->Release();
    }

    int Process() override {
        if (boundaries_.empty()) {
            boundaries_.push_back(0);
            last_ = 0;
        }
        complete = source_->complete;
        frameMs = source_->frameMs;
        int64_t n = std::max(source_->count, 0);
        int64_t limit = complete ? n - 2 : n - n % step_ - kRightContext;
        for (int64_t t = int64_t{last_} + step_; t <= limit; t += step_) {
            int gated = Gate(static_cast<int32_t>(t));
            if (gated < 0) break; // the gate has not reached t yet: resume there later
            last_ = static_cast<int32_t>(t);
            if (gated && Score(last_) >= threshold_) boundaries_.push_back(last_);
        }
        if (complete && boundaries_.back() < n - 1)
            boundaries_.push_back(static_cast<int32_t>(n - 1));
        count = static_cast<int32_t>(boundaries_.size());
        return 0;
    }

    void Discard(int) override {
        std::vector<int32_t>().swap(boundaries_);
        boundaries_.reserve(kInitialCapacity);
        last_ = 0;
        count = 0;
    }

    int32_t Boundary(int32_t i) override {
        if (i < 0 || boundaries_.empty()) return 0;
        if (static_cast<size_t>(i) >= boundaries_.size()) return boundaries_.back();
        return boundaries_[i];
    }
    int32_t Label(int32_t) override { return 0; }

    void* GetInterface(const char* name) override {
        if (!std::strcmp(name, "ClusterBound")) {
            AddRef();
            return static_cast<ClusterBound*>(this);
        }
        return ModuleBase::GetInterface(name);
    }

  private:
    // The detector's second-class score; 0 from a detector with fewer classes.
    float Score(int32_t t) {
        const float* s = detector_->Evaluate(t, t + 1);
        return s && detector_->count > 2 ? s[2] : 0.0f;
    }
    // 1 when the gate is open at t (or there is none), 0 when closed, -1 when a
    // growing gate does not hold t yet. A complete gate is closed beyond its end.
    int Gate(int32_t t) {
        if (!gate_) return 1;
        if (t >= gate_->length) return gate_->complete ? 0 : -1;
        return gate_->data[t] != 0;
    }

    int step_;
    ClusterBound* source_;
    Evaluator* detector_;
    Feature* gate_;
    float threshold_;
    std::vector<int32_t> boundaries_;
    int32_t last_ = 0;
};
} // namespace

Interface* NewANNClusters(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 5);
    double step = 0;
    if (!args.GetNumber(0, &step) || !(step >= 1) || step > 2147483647.0) {
        report("ANNClusters: First parameter must be 'Number' Interface");
        return nullptr;
    }
    auto source = args.Get<ClusterBound>(1, "ClusterBound");
    if (!source) {
        report("ANNClusters: Second parameter must be 'ClusterBound' Interface");
        return nullptr;
    }
    auto detector = args.Get<Evaluator>(2, "Evaluator");
    if (!detector) {
        report("ANNClusters: Third parameter must be 'Evaluator' Interface");
        return nullptr;
    }
    auto gate = args.Get<Feature>(3, "Feature");
    double threshold = 0.5;
    args.GetNumber(4, &threshold);
    auto* clusters = new ANNClusters(static_cast<int>(step), source.get(), detector.get(),
                                     gate.get(), static_cast<float>(threshold));
    Hold self(clusters);
    for (int i = 1; i < 4; ++i)
        if (i < 3 || gate) clusters->Link(args.At(i));
    return clusters;
}
