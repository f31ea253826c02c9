// MPQEngine(eval1, eval2, cb, lang, phonemes[, num1, num2, num3, num4]): a sweep over
// the boundaries with one bounded stack of costs (lower is better) per position. The
// stacks are drained in increasing position; each hypothesis is extended by every
// successor of its node over the segments to later boundaries (at most 32 boundaries
// and num4 milliseconds ahead, or straight to the end when that is too far), and the
// extension goes to the stack of its new end. Segments that end the utterance put
// their hypotheses into a final queue whose best entry becomes the result.
//
// The sweep resumes while the boundary source grows: a Process stops (returning -1)
// as soon as it would need one of the last two boundaries of an incomplete source, and
// the Process that finds the source complete reports and empties the stacks.
// Discard(-1) starts an utterance.
//
// Positions live in a ring of 64 stacks: a hypothesis may end 32 boundaries ahead of
// the stack being drained, so a ring of 32 would put it into that very stack.
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "ClusterBound.h"
#include "Evaluator.h"
#include "Hypothesis.h"
#include "Language.h"
#include "Phonemes.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"
#include "core/TextCodec.h"
#include "recognition/Hypotheses.h"
#include "recognition/ScoreQueue.h"
#include "recognition/SearchSupport.h"

extern const char kMPQEngineHelp[] =
    "\tA search engine using different stacks for each time instance\n"
    "\n"
    "\tWe go through all stacks in an increasing (time) order; pop all the\n"
    "hypotheses, extend them in all possible ways, and push the result hypotheses\n"
    "back into the stack according to their new ending time.\n"
    "\n"
    "\n"
    "CREATION:\n"
    "\n"
    "\tMPQEngine(eval1, eval2, cb, lang[, num1:25, num2:0, num3:10, num4:130])\n"
    "\n"
    "\teval1, eval2 : Evaluators for phoneme recognition\n"
    "\tcb           : ClusterBound interface\n"
    "\tlang         : Language module\n"
    "\tnum1         : Number, stack size\n"
    "\tnum2\t\t : Number (really boolean, 0 or 1), may_skip_spaces\n"
    "\tnum3         : Number, minimal length of phonemes\n"
    "\tnum4         : Number, maximal length of phonemes\n";

namespace {
constexpr int kRing = 64;
constexpr int kMaxJump = 32;
constexpr int kResults = 50;
constexpr int kSilent = 100;

class MPQEngine : public ModuleBase, public virtual Hypothesis {
  public:
    MPQEngine(Evaluator* e1, Evaluator* e2, ClusterBound* bounds, Language* lang, int space,
              int size, bool skipSpaces, int maxMs)
        : eval1_(e1), eval2_(e2), cb_(bounds), language_(lang), space_(space), final_(size),
          results_(kResults), skipSpaces_(skipSpaces), maxMs_(maxMs) {
        for (Interface* source : {static_cast<Interface*>(e1), static_cast<Interface*>(e2),
                                  static_cast<Interface*>(bounds), static_cast<Interface*>(lang)})
            source->AddRef();
        for (auto& stack : stacks_)
            stack = std::make_unique<ScoreQueue>(size);
    }
    ~MPQEngine() override {
        Empty();
        results_.Clear();
        Forget();
        eval1_->Release();
        eval2_->Release();
        cb_->Release();
        language_->Release();
    }

    void Discard(int n) override {
        if (n >= 0) return;
        Empty();
        Forget();
        // The start hypothesis is made at the next Process, on the language's first
        // node as it is then: a dictionary rebuilds its tree when it is processed.
        seed_ = true;
    }

    int Process() override {
        if (seed_) {
            seed_ = false;
            Stack(0).PushLowest(TakeHypothesis(nullptr, language_->First(), 0), 0.0);
        }
        const int32_t n = cb_->count;
        const int64_t limit = Limit();
        while (cur_ < n - 1) {
            int32_t a = n - 1;
            while (a > cur_ && Span(cur_, a) > limit)
                --a;
            if (a < n - 1 && a == cur_) a = cur_ + 1;
            if (!cb_->complete && a >= n - 2) return -1;
            Drain(a, n);
            ++cur_;
        }
        double s = 0;
        if (Hypothesis* h = final_.PopLowest(&s)) {
            if (HasLetters(h->node))
                results_.PushLowest(h, s);
            else
                h->Release();
        }
        return cb_->complete ? Step() : -1;
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
        if (HasLetters(node)) {
            std::string path = talvik::WideToLatin2(PathText(h, 1023));
            std::string list = BoundaryList(h, cb_);
            report("Result: %s %14.12lf %ld (%s)", path.c_str(), s, static_cast<long>(evaluations_),
                   list.c_str());
            report_to("aw", "%s ", talvik::WideToLatin2(node->letters).c_str());
        }
        cur_ = 0;
        Empty();
        h->Release();
        return 0;
    }

    void* GetInterface(const char* name) override {
        return AnswerAs<Hypothesis>(this, "Hypothesis", name);
    }

  private:
    static bool HasLetters(Language* n) { return n && n->letters && n->letters[0]; }

    ScoreQueue& Stack(int32_t position) { return *stacks_[position % kRing]; }
    int64_t Span(int32_t from, int32_t to) {
        return static_cast<int64_t>(cb_->Boundary(to)) - cb_->Boundary(from);
    }
    // The longest segment in frames; without a known frame distance there is no limit.
    int64_t Limit() {
        double ms = cb_->frameMs;
        if (!(ms > 0)) return INT64_MAX;
        double frames = std::trunc(maxMs_ / ms);
        return frames >= static_cast<double>(INT_MAX) ? INT64_MAX : static_cast<int64_t>(frames);
    }

    // Expands the stack at cur (reaching at most boundary a), skipping a hypothesis on
    // the same node as the one popped just before it (that one was cheaper).
    void Drain(int32_t a, int32_t n) {
        ScoreQueue& stack = Stack(cur_);
        Hypothesis* previous = nullptr;
        double s = 0;
        while (Hypothesis* g = stack.PopLowest(&s)) {
            if (!previous || g->node != previous->node) Expand(g, s, a, n);
            if (previous) previous->Release();
            previous = g;
        }
        if (previous) previous->Release();
    }

    void Expand(Hypothesis* g, double s, int32_t a, int32_t n) {
        const bool complete = cb_->complete != 0;
        const int64_t limit = Limit();
        bool skip = skipSpaces_;
        for (int32_t e = cur_ + 1; e <= a; ++e) {
            int32_t f = cb_->Boundary(cur_), l = cb_->Boundary(e);
            bool mayJump = (cur_ == 0 && e >= kMaxJump) ||
                           (cur_ != 0 && static_cast<int64_t>(l) - f > limit && e - cur_ > 1);
            bool last = mayJump && complete;
            if (last) {
                e = n - 1;
                l = cb_->Boundary(n - 1);
            } else if (e - cur_ > kMaxJump) {
                return;
            }
            // Kept apart: the second evaluator may be the same object, or share a cache
            // that drops the first array.
            const float* o = eval1_->Evaluate(f, l);
            const int32_t count = eval1_->count;
            scores_.assign(o, o + (count > 0 ? count : 0));
            float x = static_cast<float>(e - cur_) * SegmentScore(eval2_, f, l, 1, 0.0f);
            ++evaluations_;
            Hypothesis* w = g->parent;
            if (skipSpaces_)
                while (w && w->end == cur_)
                    w = w->parent;
            if (w) {
                float span = SegmentScore(eval2_, cb_->Boundary(w->end), l, 2, 0.0f);
                x = x + static_cast<float>(e - w->end) * span;
            }
            double base = x * 0.14 + s;
            for (Language* B = g->node ? g->node->First() : nullptr; B; B = B->Next()) {
                if (skip && space_ >= 1 && B->code == space_) {
                    Stack(cur_).PushLowest(TakeHypothesis(g, B, cur_), s);
                    skip = false;
                }
                if (B->code > kSilent) {
                    if (e == cur_ + 1) Stack(cur_).PushLowest(TakeHypothesis(g, B, cur_), s);
                    continue;
                }
                // End markers carry no class score, and codes beyond the scores belong
                // to another recogniser.
                if (B->code < 1 || B->code >= count) continue;
                float weight = static_cast<float>(l - f) * scores_[B->code];
                double cost = weight * 0.1 + base;
                if (complete && e == n - 1) {
                    if (EndsHere(B)) final_.PushLowest(TakeHypothesis(g, B, e), cost);
                } else {
                    Stack(e).PushLowest(TakeHypothesis(g, B, e), cost);
                }
            }
            if (last) return;
        }
    }

    // Whether a path may end on B: B has no successor, or one of them is an end
    // marker without successors of its own.
    static bool EndsHere(Language* B) {
        if (!B->First()) return true;
        for (Language* S = B->First(); S; S = S->Next())
            if (S->code < 1 && !S->First()) return true;
        return false;
    }

    void Empty() {
        for (auto& stack : stacks_)
            stack->Clear();
        final_.Clear();
        cur_ = 0;
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
    int space_;
    std::unique_ptr<ScoreQueue> stacks_[kRing];
    ScoreQueue final_;
    ScoreQueue results_;
    int32_t cur_ = 0;
    bool skipSpaces_;
    int maxMs_;
    bool seed_ = false;
    int32_t evaluations_ = 0;
    std::vector<float> scores_;
};
} // namespace

Interface* NewMPQEngine(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 9);
    auto e1 = args.Get<Evaluator>(0, "Evaluator");
    auto e2 = args.Get<Evaluator>(1, "Evaluator");
    auto cb = args.Get<ClusterBound>(2, "ClusterBound");
    auto lang = args.Get<Language>(3, "Language");
    auto phonemes = args.Get<Phonemes>(4, "Phonemes");
    const char* problem = !e1 || !e2
                              ? "MPQEngine: First two parameter must be an 'Evaluator' Interface"
                          : !cb       ? "MPQEngine: Third parameter not a 'ClusterBound' Interface"
                          : !lang     ? "MPQEngine: Fourth parameter not a 'Language' Interface"
                          : !phonemes ? "MPQEngine: Fifth parameter not a 'Phonemes' Interface"
                                      : nullptr;
    if (problem) {
        report("%s", problem);
        return nullptr;
    }
    auto* engine = new MPQEngine(e1.get(), e2.get(), cb.get(), lang.get(), phonemes->Code("~"),
                                 CapacityArgument(args, 5, 25), IntegerArgument(args, 6, 0) != 0,
                                 IntegerArgument(args, 8, 390));
    Hold self(engine);
    for (int i = 0; i < 4; ++i)
        engine->Link(args.At(i));
    return engine;
}
