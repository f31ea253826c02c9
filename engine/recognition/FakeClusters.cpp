// FakeClusters(n, source): boundaries at every n-th frame of the source's range, for
// testing the search without a boundary detector: 0, n, 2n, ... and, as the last
// boundary, the source's last frame. A complete source gets the boundaries up to its
// last frame; a growing one leaves out the last grid point, whose segment may still
// lengthen. Everything is derived from the source at each Process.
#include <algorithm>
#include <cstring>

#include "ClusterBound.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"

namespace {
class FakeClusters : public ModuleBase, public virtual ClusterBound {
  public:
    FakeClusters(int step, ClusterBound* source) : step_(step), source_(source) {
        source_->AddRef();
    }
    ~FakeClusters() override { source_->Release(); }

    int Process() override {
        int32_t n = std::max(source_->count, 0);
        complete = source_->complete;
        frameMs = source_->frameMs;
        lastFrame_ = std::max(n - 1, 0);
        if (n == 0) {
            count = 0;
            return 0;
        }
        count = (n - 1) / step_ + 1;
        // The grid may already end on the last frame: no second, zero-length segment.
        if (complete && (n - 1) % step_ != 0) ++count;
        return 0;
    }

    int32_t Boundary(int32_t i) override {
        if (i < 0) return 0;
        if (i >= count - 1) return lastFrame_;
        return step_ * i; // below count - 1, so at most the last frame
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
    int step_;
    ClusterBound* source_;
    int32_t lastFrame_ = 0;
};
} // namespace

Interface* NewFakeClusters(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    double step = 0;
    if (!args.GetNumber(0, &step) || !(step >= 1) || step > 2147483647.0) {
        report("FakeClusters: First parameter must be 'Number' Interface");
        return nullptr;
    }
    auto source = args.Get<ClusterBound>(1, "ClusterBound");
    if (!source) {
        report("FakeClusters: Second parameter must be 'ClusterBound' Interface");
        return nullptr;
    }
    auto* clusters = new FakeClusters(static_cast<int>(step), source.get());
    Hold self(clusters);
    clusters->Link(args.At(1));
    return clusters;
}
