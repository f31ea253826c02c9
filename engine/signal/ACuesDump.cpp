// ACuesDump(cue, cue, ...): the cues of a segment as an evaluator, for inspection and
// training data: Evaluate(begin, end) stores each cue's value in argument order at
// entries 0 ... Q - 1 of its scores (from 0, unlike the class evaluators), count = Q.
// Arguments that are not cues are skipped; with none it has no cues.
#include <cstring>
#include <memory>
#include <vector>

#include "ACue.h"
#include "Evaluator.h"
#include "core/Arguments.h"
#include "core/ModuleBase.h"

namespace {
class ACuesDump : public ModuleBase, public virtual Evaluator {
  public:
    explicit ACuesDump(std::vector<ACue*> cues)
        : cues_(std::move(cues)), values_(new float[cues_.size() + 1]()) {
        scores = values_.get();
        count = static_cast<int32_t>(cues_.size());
    }
    ~ACuesDump() override {
        for (ACue* cue : cues_)
            cue->Release();
    }

    float* Evaluate(int32_t begin, int32_t end) override {
        for (size_t q = 0; q < cues_.size(); ++q)
            scores[q] = cues_[q]->Value(begin, end);
        return scores;
    }
    void* GetInterface(const char* name) override {
        return AnswerAs<Evaluator>(this, "Evaluator", name);
    }

  private:
    std::vector<ACue*> cues_;
    std::unique_ptr<float[]> values_;
};
} // namespace

Interface* NewACuesDump(Input* lexer, Interface* context) {
    Arguments args(lexer, context);
    std::vector<Obtained<ACue>> cues;
    for (int i = 0; i < args.Size(); ++i)
        if (auto cue = args.Get<ACue>(i, "ACue")) cues.push_back(std::move(cue));
    return new ACuesDump(HandOver(cues));
}
