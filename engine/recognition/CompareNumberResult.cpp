// CompareNumberResult(hypothesis, data): turns the recognised path text, a Hungarian
// number word (see NumberWords.h), into digits and compares them byte by byte with
// the expected text, the "ort" member of data. Without an expected text the
// comparison counts, silently, as no match.
#include <string>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "core/StringInput.h"
#include "recognition/Comparison.h"
#include "recognition/HypothesisChain.h"
#include "recognition/NumberWords.h"

namespace {
// The path text is parsed in at most this many characters.
constexpr size_t kMaxWords = 256;

class CompareNumberResult : public Comparison {
  public:
    using Comparison::Comparison;

  protected:
    bool Compare() override {
        if (!talvik::HasLetters(hypothesis_)) {
            report("No Hypothesis");
            return false;
        }
        std::string expected;
        if (!ExpectedText(&expected)) return false;
        bool match = expected == talvik::NumberText(talvik::PathText(hypothesis_, kMaxWords));
        report(match ? "Match!!" : "Not Match!!");
        return match;
    }
};
} // namespace

Interface* NewCompareNumberResult(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto hypothesis = args.Get<Hypothesis>(0, "Hypothesis");
    if (!hypothesis) {
        report("CompareNumberResult: First parameter must be a 'Hypothesis' Interface");
        return nullptr;
    }
    Interface* data = args.At(1);
    if (!data || data == context) {
        report("CompareNumberResult: Second parameter required");
        return nullptr;
    }
    Obtained<Input> expected(ExpectedInput(data));
    if (!expected) {
        report("CompareNumberResult: Warning: ort not found, using empty string");
        expected = Obtain<Input>(new StringInput(""), "Input");
    }
    auto* compare = new CompareNumberResult(hypothesis.get(), data, expected.get());
    Hold self(compare);
    compare->Link(args.At(0));
    return compare;
}
