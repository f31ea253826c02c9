// EvalCache(evaluator): remembers every segment's scores until the next utterance. The
// first Evaluate of a (begin, end) asks the wrapped evaluator and keeps a copy of its
// count floats (entry 0 included); later ones copy the kept scores into this object's
// own array. Discard empties it. Process takes the wrapped evaluator's count again.
#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "Evaluator.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"

namespace {
class EvalCache : public ModuleBase, public virtual Evaluator {
  public:
    explicit EvalCache(Evaluator* wrapped) : wrapped_(wrapped) {
        wrapped_->AddRef();
        TakeCount();
    }
    ~EvalCache() override { wrapped_->Release(); }

    int Process() override {
        TakeCount();
        return 0;
    }
    void Discard(int) override { cache_.clear(); }

    float* Evaluate(int32_t begin, int32_t end) override {
        std::vector<float>& entry = cache_[begin][end];
        if (entry.empty()) {
            const float* fresh = wrapped_->Evaluate(begin, end);
            entry.assign(fresh, fresh + count);
        }
        std::copy(entry.begin(), entry.begin() + std::min<size_t>(entry.size(), own_.size()),
                  own_.begin());
        return scores;
    }

    void* GetInterface(const char* name) override {
        return AnswerAs<Evaluator>(this, "Evaluator", name);
    }

  private:
    // A count that changed makes the kept entries the wrong length: they go.
    void TakeCount() {
        int32_t wanted = std::max(wrapped_->count, 0);
        if (wanted != count) cache_.clear();
        count = wanted;
        own_.assign(std::max(count, 1), 0.0f);
        scores = own_.data();
    }

    Evaluator* wrapped_;
    std::vector<float> own_;
    // Descending by first frame, then by end frame.
    std::map<int32_t, std::map<int32_t, std::vector<float>, std::greater<>>, std::greater<>> cache_;
};
} // namespace

Interface* NewEvalCache(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 1);
    auto wrapped = args.Get<Evaluator>(0, "Evaluator");
    if (!wrapped) {
        report("EvalCache: First parameter not an 'Evaluator' Interface");
        return nullptr;
    }
    auto* cache = new EvalCache(wrapped.get());
    Hold self(cache);
    cache->Link(args.At(0));
    return cache;
}
