// The references a factory takes from its arguments: whatever argument a factory
// refuses, each interface it took from the earlier ones is given back exactly once, so
// an object named in a script keeps the count it had (one more would be a leak, one
// fewer a double release that destroys it under its owner).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/Root.h"
#include "support/EngineTest.h"

namespace {

class FactoryReferences : public EngineTest {};

struct RefusedCall {
    const char* call;           // refused after the first argument was taken
    const char* held;           // the named object that argument took a reference of
    const char* says = nullptr; // how its message begins, when not with the class name
};

TEST_F(FactoryReferences, ARefusedArgumentGivesBackWhatTheEarlierOnesTook) {
    Run("m = new DummyMap(10, 10);sb = new DummySoundBuffer(1000);f = new FBand(m, 0);"
        "c = new ACMaxMin(f);e = new ACuesDump(c);w = \"a b\";p = new SimplePhonemes(\"a b\")");
    const RefusedCall cases[] = {
        // A map first.
        {"CombineMaps(m, sb)", "m"},
        {"BandEnergyRect(m, m, \"Bark\", 8000, 20, 1)", "m"},
        {"FBand(m, \"x\")", "m"},
        {"LineSpectrum(m, \"x\")", "m"},
        {"LobeIntegration(m, \"x\")", "m"},
        {"NormMeanDevBandFile(m, 5, 1)", "m"},
        {"NormalizeMap(m, \"x\")", "m"},
        {"SBS(m, \"x\")", "m"},
        {"SBS_Bark(m, \"x\")", "m"},
        {"MFCC(m, \"x\")", "m"},
        {"LPCcepstrum(m, \"x\")", "m"},
        {"LPCspectrum(m, \"x\")", "m"},
        {"RastaMap(m, \"x\")", "m"},
        // A sound buffer first.
        {"Spectrum(sb, \"x\", 1, 256, 0)", "sb"},
        {"LPC(sb, \"x\", 400, 160, 1, 0.97)", "sb"},
        {"WavFileOut(sb, 5)", "sb"},
        {"WavOutput(sb, 5)", "sb"},
        // A feature first.
        {"ACDiff(f, \"x\", 1, 1)", "f"},
        {"ACMean(f, \"x\", 1)", "f"},
        {"ACModS(f, \"x\")", "f"},
        {"FAGC(f, \"x\")", "f"},
        {"FDerivative(f, \"x\")", "f"},
        {"FNoiseGate(f, \"x\")", "f"},
        {"FNormMeanDevOnline(f, \"x\")", "f"},
        {"FRasta(f, \"x\")", "f"},
        {"FSMedian(f, \"x\")", "f"},
        {"FShortAdapt(f, \"x\")", "f", "FShortApadt"},
        // Evaluators first, taken twice.
        {"PQEngine(e, e, m, m)", "e"},
        {"MPQEngine(e, e, m, m, p)", "e"},
        {"CalcHeuristic(e, e, m)", "e"},
        // A text first.
        {"SoundBufferCache(w, 5)", "w"},
        {"SpecTextIn(w, \"x\")", "w"},
        {"StringFileOut(w, 5)", "w"},
        {"Dictionary(w, 5)", "w"},
        {"MakeWSP(w, 5)", "w"},
        {"DatFile(w, 5, 5)", "w"},
        {"Terminal(w)", "w"},
        {"HTTPTerminal(w)", "w"},
        // Cues kept for the new object, refused before it is made.
        {"ANNEvaluator(5, c)", "c"},
        {"ANNEvaluator(\"missing.net\", c)", "c"},
    };
    for (const RefusedCall& c : cases) {
        SCOPED_TRACE(c.call);
        Interface* held = Member(c.held);
        ASSERT_NE(held, nullptr);
        int before = held->RefCount();
        std::string out = Run(std::string("x = new ") + c.call);
        std::string says = c.says ? c.says : std::string(c.call, std::strcspn(c.call, "("));
        EXPECT_EQ(out.rfind(says + ":", 0), 0u) << out;
        EXPECT_EQ(RootFolder()->PlainMembers().Lookup("x", 1), nullptr);
        EXPECT_EQ(held->RefCount(), before);
    }
}

} // namespace
