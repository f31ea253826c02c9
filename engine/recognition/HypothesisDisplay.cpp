// HypothesisDisplay(hypothesis, bounds, window, name, colour): draws the boundaries
// of the recognised path into a display window, one vertical line per hypothesis of
// the chain at the frame of its end boundary. It stores itself in the window under
// its name; each run redraws the window, which calls back to draw.

#include "ClusterBound.h"
#include "DisplayWindow.h"
#include "Hypothesis.h"
#include "Input.h"
#include "core/Arguments.h"
#include "core/DisplayArguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"

namespace {
class HypothesisDisplay : public ModuleBase {
  public:
    HypothesisDisplay(Hypothesis* hypothesis, ClusterBound* bounds, Window* window, uint32_t colour)
        : hypothesis_(hypothesis), bounds_(bounds), window_(window), colour_(colour) {
        hypothesis_->AddRef();
        bounds_->AddRef();
        window_->AddRef();
    }
    ~HypothesisDisplay() override {
        window_->Release();
        bounds_->Release();
        hypothesis_->Release();
    }

    int Process() override {
        window_->Redraw();
        return 0;
    }

    // Without a lexer this is the window's request to draw. A boundary index the
    // bounds do not hold (yet) is not asked for.
    Interface* Call(Input* lexer, Interface* context) override {
        if (lexer) return ModuleBase::Call(lexer, context);
        window_->SetColor(colour_);
        int h = window_->Height();
        for (Hypothesis* p = hypothesis_; p; p = p->parent) {
            if (p->end < 0 || p->end >= bounds_->count) continue;
            int x = bounds_->Boundary(p->end);
            window_->MoveTo(x, 0);
            window_->LineTo(x, h);
        }
        return nullptr;
    }

  private:
    Hypothesis* hypothesis_;
    ClusterBound* bounds_;
    Window* window_; // held: a run never reaches a window that is gone
    uint32_t colour_;
};
} // namespace

Interface* NewHypothesisDisplay(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 5);
    auto hypothesis = args.Get<Hypothesis>(0, "Hypothesis");
    if (!hypothesis) {
        report("HypothesisDisplay: First parameter must be 'Hypothesis' Interface");
        return nullptr;
    }
    auto bounds = args.Get<ClusterBound>(1, "ClusterBound");
    if (!bounds) {
        report("HypothesisDisplay: Second parameter must be 'ClusterBound' Interface");
        return nullptr;
    }
    DisplayTarget target;
    if (!ReadDisplayTarget(args, 2, "HypothesisDisplay", &target)) return nullptr;
    auto* display = new HypothesisDisplay(hypothesis.get(), bounds.get(), target.window.get(),
                                          ReadColour(args, 4));
    Hold self(display);
    display->Link(args.At(0));
    display->Link(args.At(1));
    ShowInWindow(target, display);
    return display;
}
