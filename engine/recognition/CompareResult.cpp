// CompareResult(hypothesis, data): compares the recognised path text, without its
// trailing blanks, with the expected text, the "ort" member of data (an annotation
// file), character by character. The expected text is ISO 8859-2 like every engine
// text and becomes wide through the engine's codec, so accented letters compare
// with the wide letters of the language graph. Without an "ort" member the expected
// text is empty.
#include <string>

#include "core/Arguments.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "core/StringInput.h"
#include "core/TextCodec.h"
#include "recognition/Comparison.h"
#include "recognition/HypothesisChain.h"

namespace {
// Both texts are compared in at most this many characters.
constexpr size_t kMaxText = 1024;

class CompareResult : public Comparison {
  public:
    using Comparison::Comparison;

  protected:
    bool Compare() override {
        if (!talvik::HasLetters(hypothesis_)) {
            report("No Hypothesis");
            return false;
        }
        std::string expected;
        if (!ExpectedText(&expected)) {
            report("Missing ORT line!!");
            return false;
        }
        std::wstring result = talvik::PathText(hypothesis_, kMaxText);
        result.erase(result.find_last_not_of(L' ') + 1);
        std::wstring wanted = talvik::Latin2ToWide(expected.substr(0, kMaxText));
        report_wide(L"ort: %ls", wanted.c_str());
        bool match = result == wanted;
        report(match ? "Match!!" : "Not Match!!");
        return match;
    }
};
} // namespace

Interface* NewCompareResult(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto hypothesis = args.Get<Hypothesis>(0, "Hypothesis");
    if (!hypothesis) {
        report("CompareResult: First parameter must be 'Hypothesis' Interface");
        return nullptr;
    }
    Interface* data = args.At(1);
    if (!data || data == context) {
        return nullptr;
    }
    Obtained<Input> expected(ExpectedInput(data));
    if (!expected) expected = Obtain<Input>(new StringInput(""), "Input");
    auto* compare = new CompareResult(hypothesis.get(), data, expected.get());
    Hold self(compare);
    compare->Link(args.At(0));
    return compare;
}
