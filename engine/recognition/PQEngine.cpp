// PQEngine(eval1, eval2, cb, lang[, num1, num2]): best-first search over one queue of
// probabilities. The start hypothesis sits at boundary 0 on the language object; the
// best hypothesis is popped and extended by every successor of its node over every
// later boundary (a segment of several clusters at most num2 frames long, unless it
// starts the utterance or reaches its end), scored by the product of the class score
// of the successor, the segment score and the span score of the parent, until the
// best popped hypothesis ends at the last boundary on a node that may end a word.
//
// The engine is a Hypothesis itself: after Process its parent, node and end describe
// the last reported result (node none when there was none).
#include <cmath>
#include <cstring>
#include <vector>

#include "ClusterBound.h"
#include "Evaluator.h"
#include "Hypothesis.h"
#include "Language.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "core/TextCodec.h"
#include "recognition/Hypotheses.h"
#include "recognition/ScoreQueue.h"
#include "recognition/SearchSupport.h"

extern const char kPQEngineHelp[] =
    "\tA search engine, storing all hypotheses in the same stack\n"
    "\n"
    "\tAll hypotheses are stored in the same stack. We pop the most probable,\n"
    "extend it it all possible ways, then push the extended ones back into the\n"
    "stack. We repeat it until the popped hypothesis reached the end of the\n"
    "utterance.\n"
    "\n"
    "\n"
    "CREATION:\n"
    "\n"
    "\tPQEngine(eval1, eval2, cb, lang[, num1:500, num2:130])\n"
    "\n"
    "\teval1, eval2 : Evaluators\n"
    "\tcb           : ClusterBound\n"
    "\tlang         : Language\n"
    "\tnum1         : Number, minimal length of phonemes\n"
    "\tnum2         : Number, maximal length of phonemes\n";

namespace {
constexpr int kResults = 50;

bool EndsWord(Language* node) {
    for (Language* s = node ? node->First() : nullptr; s; s = s->Next())
        if (s->code == -1) return true;
    return false;
}

class PQEngine : public ModuleBase, public virtual Hypothesis {
  public:
    PQEngine(Evaluator* e1, Evaluator* e2, ClusterBound* bounds, Language* lang, int size,
             int longest)
        : eval1_(e1), eval2_(e2), cb_(bounds), language_(lang), main_(size), results_(kResults),
          longest_(longest) {
        for (Interface* source : {static_cast<Interface*>(e1), static_cast<Interface*>(e2),
                                  static_cast<Interface*>(bounds), static_cast<Interface*>(lang)})
            source->AddRef();
    }
    ~PQEngine() override {
        main_.Clear();
        results_.Clear();
        Forget();
        eval1_->Release();
        eval2_->Release();
        cb_->Release();
        language_->Release();
    }

    int Process() override {
        main_.Clear();
        main_.PushHighest(TakeHypothesis(nullptr, language_, 0), 1.0);
        const int32_t n = cb_->count;
        double s = 0;
        while (Hypothesis* p = main_.PopHighest(&s)) {
            if (p->end == n - 1) {
                if (EndsWord(p->node)) {
                    results_.PushHighest(p, s);
                    break;
                }
                p->Release();
                continue;
            }
            Extend(p, s, n);
            p->Release();
        }
        return Step();
    }

    int Step() override {
        double s = 0;
        Hypothesis* h = results_.PopHighest(&s);
        Forget();
        if (!h) return 0;
        parent = h->parent;
        node = h->node;
        end = h->end;
        if (parent) parent->AddRef();
        if (node) node->AddRef();
        if (node && node->letters && node->letters[0]) {
            std::string letters = talvik::WideToLatin2(node->letters);
            std::string list = BoundaryList(h, cb_);
            report("Result: %s %14.12lf %ld (%s)", letters.c_str(), s,
                   static_cast<long>(evaluations_), list.c_str());
            report_to("aw", "%s ", letters.c_str());
        }
        h->Release();
        return 0;
    }

    void* GetInterface(const char* name) override {
        return AnswerAs<Hypothesis>(this, "Hypothesis", name);
    }

  private:
    // Pushes every extension of p (probability s, ending at boundary b) over the
    // segments from b to each later boundary.
    void Extend(Hypothesis* p, double s, int32_t n) {
        const int32_t b = p->end;
        for (int32_t d = 1; b + d < n; ++d) {
            int32_t f = cb_->Boundary(b), l = cb_->Boundary(b + d);
            if (!(b <= 0 || b + d >= n - 1 || l - f <= longest_ || d == 1)) continue;
            // The class scores are kept apart: the second evaluator may be the same
            // object, or share a cache that drops the first array.
            const float* o = eval1_->Evaluate(f, l);
            const int32_t count = eval1_->count;
            scores_.assign(o, o + (count > 0 ? count : 0));
            double w = std::pow(static_cast<double>(SegmentScore(eval2_, f, l, 1, 1.0f)), d);
            ++evaluations_;
            if (Hypothesis* a = p->parent) {
                double span = SegmentScore(eval2_, cb_->Boundary(a->end), l, 2, 1.0f);
                w *= std::pow(span, d + b - a->end);
            }
            double base = std::pow(w, 0.16) * s;
            for (Language* D = p->node ? p->node->First() : nullptr; D; D = D->Next()) {
                if (D->code == -1) continue;
                // Codes the class scores do not cover belong to another recogniser.
                if (D->code < 0 || D->code >= count) continue;
                double key = std::pow(static_cast<double>(scores_[D->code]), d) * base;
                main_.PushHighest(TakeHypothesis(p, D, b + d), key);
            }
        }
    }

    void Forget() {
        if (node) node->Release();
        if (parent) parent->Release();
        node = nullptr;
        parent = nullptr;
    }

    Evaluator* eval1_;
    Evaluator* eval2_;
    ClusterBound* cb_;
    Language* language_;
    ScoreQueue main_;
    ScoreQueue results_;
    int longest_;
    int32_t evaluations_ = 0;
    std::vector<float> scores_;
};
} // namespace

Interface* NewPQEngine(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 6);
    auto e1 = args.Get<Evaluator>(0, "Evaluator");
    auto e2 = args.Get<Evaluator>(1, "Evaluator");
    auto cb = args.Get<ClusterBound>(2, "ClusterBound");
    auto lang = args.Get<Language>(3, "Language");
    const char* problem = !e1 || !e2
                              ? "PQEngine: First two parameter must be an 'Evaluator' Interface"
                          : !cb   ? "PQEngine: Third parameter not a 'ClusterBound' Interface"
                          : !lang ? "PQEngine: Fourth parameter not a 'Language' Interface"
                                  : nullptr;
    if (problem) {
        report("%s", problem);
        return nullptr;
    }
    auto* engine = new PQEngine(e1.get(), e2.get(), cb.get(), lang.get(),
                                CapacityArgument(args, 4, 500), IntegerArgument(args, 5, 130));
    Hold self(engine);
    for (int i = 0; i < 4; ++i)
        engine->Link(args.At(i));
    return engine;
}
