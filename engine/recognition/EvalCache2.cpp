// EvalCache2(evaluator, [maximum]): keeps the scores of at most maximum segments
// (1000 by default) in a tree ordered by begin, then end. A miss asks the wrapped
// evaluator and keeps a copy; when the tree is full the entry of the earliest segment
// goes first. Evaluate returns the kept array itself, valid until that entry goes.
// The key is the pair (begin, end), the order of begin * 65536 + end for segments that
// fit 16 bits, without its overflow and collisions for longer material.
#include <algorithm>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "Evaluator.h"
#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/ModuleBase.h"
#include "core/Report.h"

namespace {
class EvalCache2 : public ModuleBase, public virtual Evaluator {
  public:
    EvalCache2(Evaluator* wrapped, size_t maximum) : wrapped_(wrapped), maximum_(maximum) {
        wrapped_->AddRef();
        count = std::max(wrapped_->count, 0);
    }
    ~EvalCache2() override { wrapped_->Release(); }

    void Discard(int) override { cache_.clear(); }

    float* Evaluate(int32_t begin, int32_t end) override {
        auto key = std::make_pair(begin, end);
        auto hit = cache_.find(key);
        if (hit != cache_.end()) return scores = hit->second.data();
        const float* fresh = wrapped_->Evaluate(begin, end);
        std::vector<float> copy(fresh, fresh + count);
        if (copy.empty()) copy.push_back(0.0f);
        if (cache_.size() >= maximum_) cache_.erase(cache_.begin());
        return scores = cache_.emplace(key, std::move(copy)).first->second.data();
    }

    void* GetInterface(const char* name) override {
        return AnswerAs<Evaluator>(this, "Evaluator", name);
    }

  private:
    Evaluator* wrapped_;
    size_t maximum_;
    std::map<std::pair<int32_t, int32_t>, std::vector<float>> cache_;
};
} // namespace

Interface* NewEvalCache2(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto wrapped = args.Get<Evaluator>(0, "Evaluator");
    if (!wrapped) {
        report("EvalCache2: First parameter not an 'Evaluator' Interface");
        return nullptr;
    }
    double maximum = 1000;
    if (!args.GetNumber(1, &maximum) || !(maximum >= 1)) maximum = 1000;
    auto* cache = new EvalCache2(wrapped.get(), static_cast<size_t>(std::min(maximum, 1e9)));
    Hold self(cache);
    cache->Link(args.At(0));
    return cache;
}
