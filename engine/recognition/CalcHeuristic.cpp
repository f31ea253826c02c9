// CalcHeuristic(eval1, eval2, cb): statistics of the per-frame cost of a labelled
// segmentation, used to tune the search constants. For every start boundary i and
// every span of up to 9 labelled segments after it, the cost g of the span (class
// scores of each segment's label, segment and span scores, as the engines weigh
// them) is accumulated: the average of g per frame of the span, and the least slope of
// g from one segment to the next. Both persist from call to call; the text
// "heur1 = ...\nheur2 = ...\n" gives them, readable once after each Process or Rewind.
//
// A segment whose label the class scores do not cover (unknown, unset or beyond the
// recogniser's classes) ends the span there.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "ClusterBound.h"
#include "Evaluator.h"
#include "Hypothesis.h"
#include "Input.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "recognition/SearchSupport.h"

namespace {
class CalcHeuristic : public ModuleBase, public virtual Input, public virtual Hypothesis {
  public:
    CalcHeuristic(Evaluator* e1, Evaluator* e2, ClusterBound* bounds)
        : eval1_(e1), eval2_(e2), cb_(bounds) {
        eval1_->AddRef();
        eval2_->AddRef();
        cb_->AddRef();
        Format();
    }
    ~CalcHeuristic() override {
        eval1_->Release();
        eval2_->Release();
        cb_->Release();
    }

    int Process() override {
        Rewind();
        const int32_t n = cb_->count;
        for (int32_t i = 0; i < n - 1; ++i)
            Span(i, n);
        Format();
        return 0;
    }

    const char* Read(int* length, int* kind) override {
        if (!ready_) return nullptr;
        ready_ = false;
        return Current(length, kind);
    }
    const char* Current(int* length, int* kind) override {
        if (length) *length = static_cast<int>(text_.size());
        if (kind) *kind = kKindText;
        return text_.c_str();
    }
    void Rewind() override {
        Format();
        ready_ = true;
    }

    void* GetInterface(const char* name) override {
        if (!std::strcmp(name, "Input")) {
            AddRef();
            return static_cast<Input*>(this);
        }
        if (!std::strcmp(name, "Hypothesis")) {
            AddRef();
            return static_cast<Hypothesis*>(this);
        }
        return ModuleBase::GetInterface(name);
    }

  private:
    void Span(int32_t i, int32_t n) {
        double a = 0, b = 0;
        for (int32_t j = 1; i + j < n && j < 10; ++j) {
            int32_t lo = cb_->Boundary(i + j - 1), hi = cb_->Boundary(i + j);
            int32_t k = cb_->Label(i + j - 1);
            const float* s = eval1_->Evaluate(lo, hi);
            if (k < 1 || k >= eval1_->count) return;
            double classScore = s[k];
            double f = -j * std::log(double{SegmentScore(eval2_, lo, hi, 1, 1.0f)});
            if (i != 0)
                f -= j * std::log(double{SegmentScore(eval2_, cb_->Boundary(i - 1), hi, 2, 1.0f)});
            double g = 0.16 * f + b - j * std::log(classScore);
            if (j > 1) {
                int32_t frames = hi - cb_->Boundary(i);
                if (frames > 0) {
                    sum_ += g / frames;
                    ++samples_;
                    average_ = sum_ / samples_;
                }
                if (hi > lo) {
                    double q = (g - a) / (hi - lo);
                    if (q < slope_) slope_ = q;
                }
            }
            a = g;
            b = g;
        }
    }

    void Format() {
        char text[128];
        std::snprintf(text, sizeof text, "heur1 = %14.12lf\nheur2 = %14.12lf\n", average_, slope_);
        text_ = text;
    }

    Evaluator* eval1_;
    Evaluator* eval2_;
    ClusterBound* cb_;
    double slope_ = 1.0, average_ = 1.0, sum_ = 0.0;
    int32_t samples_ = 0;
    std::string text_;
    bool ready_ = false;
};
} // namespace

Interface* NewCalcHeuristic(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    auto e1 = args.Get<Evaluator>(0, "Evaluator");
    auto e2 = args.Get<Evaluator>(1, "Evaluator");
    auto cb = args.Get<ClusterBound>(2, "ClusterBound");
    const char* problem =
        !e1 || !e2 ? "CalcHeuristic: First two parameter must be an 'Evaluator' Interface"
        : !cb      ? "CalcHeuristic: Third parameter not a 'ClusterBound' Interface"
                   : nullptr;
    if (problem) {
        report("%s", problem);
        return nullptr;
    }
    auto* heuristic = new CalcHeuristic(e1.get(), e2.get(), cb.get());
    Hold self(heuristic);
    for (int i = 0; i < 3; ++i)
        heuristic->Link(args.At(i));
    return heuristic;
}
