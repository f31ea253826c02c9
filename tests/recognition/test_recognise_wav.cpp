// A script recognises a WAV file, end to end: two tones (low, then high) go through
// a spectrum, two band energies, their logarithms and mean cues into a hand-weighted
// network whose classes are "low" and "high"; the cost-stack search walks a dictionary of
// three two-phoneme words over the spectrum's frames and reports the word whose
// phonemes match the tones, and a comparison scores it against the expected word. Everything is
// built by the script in a module folder.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "signal/SignalTest.h"

namespace {
constexpr int kRate = 8000;

std::vector<int16_t> Tones(const std::vector<double>& frequencies, double seconds) {
    std::vector<int16_t> samples;
    for (double f : frequencies)
        for (int i = 0; i < static_cast<int>(seconds * kRate); ++i)
            samples.push_back(static_cast<int16_t>(10000 * std::sin(2 * M_PI * f * i / kRate)));
    return samples;
}

// Costs (lower is better) of the classes 1 "~" (never), 2 "lo" and 3 "hi". The cues are
// the mean log energies below and above about 1 kHz; "lo" costs little when the first
// is the larger, "hi" when the second is.
const char* kNetwork = "2 3 3 6 2 1 0\n"
                       "0 0   -1 1   1 -1\n"
                       "20 0 0\n";
const char* kTransformation = "#norm\n0 0\n1 1\n#tran\n1 0\n0 1\n";
// A second evaluator that adds no cost: both entries about 0.
const char* kNeutral = "1 2 2 2 2 1 0\n0 0\n-20 -20\n";

const char* kScript = "rec = new ModuleFolder();\n"
                      "rec {\n"
                      "  w = new WavFileIn(\"tones\");\n"
                      "  s = new Spectrum(w, 256, 256, 256, 1);\n"
                      "  b = new BandEnergyRect(s, w, \"Bark\", 4000, 2, 8);\n"
                      "  l = new LogMap(b);\n"
                      "  f0 = new FBand(l, 0); f1 = new FBand(l, 1);\n"
                      "  c0 = new ACMean(f0, 0, 1); c1 = new ACMean(f1, 0, 1);\n"
                      "  e1 = new ANNEvaluator(\"classes.net\", c0, c1);\n"
                      "  e2 = new ANNEvaluator(\"neutral.net\", c0);\n"
                      "  p = new SimplePhonemes(\"~\\nlo\\nhi\");\n"
                      "  d = new Dictionary(\"lo hi = rise\\nhi lo = fall\\nlo lo = low\", p);\n"
                      "  search = new MPQEngine(e1, e2, s, d, p);\n"
                      "  expected = new Folder; expected.ort = \"rise\";\n"
                      "  score = new CompareResult(search, expected);\n"
                      "};\n"
                      "rec.build(); rec.start()";

class RecogniseWav : public SignalTest {
  protected:
    std::string Recognise(const std::vector<double>& tones) {
        WriteFile("tones.wav", wavfile::Mono16(Tones(tones, 0.3), kRate));
        WriteFile("classes.net", kNetwork);
        WriteFile("classes.trf", kTransformation);
        WriteFile("neutral.net", kNeutral);
        WriteFile("neutral.trf", "#norm\n0\n1\n#tran\n1\n");
        return In(kScript);
    }
    static std::string ResultWord(const std::string& printed) {
        size_t at = printed.find("Result: ");
        if (at == std::string::npos) return "";
        return printed.substr(at + 8, printed.find(' ', at + 8) - at - 8);
    }
};

TEST_F(RecogniseWav, TheWordOfTheTones) {
    const struct {
        std::vector<double> tones;
        const char* word;
        const char* score;
    } cases[] = {
        {{500, 2000}, "rise", "Match: 1 from 1 (100.000000%)"},
        {{2000, 500}, "fall", "Match: 0 from 1 (0.000000%)"},
        {{500, 500}, "low", "Match: 0 from 1 (0.000000%)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        Fresh();
        std::string printed = Recognise(c.tones);
        EXPECT_EQ(ResultWord(printed), c.word) << printed;
        // The comparison scores the result against the expected "rise".
        auto* score = QueryInterface<Input>(Get("rec.score"), "Input");
        ASSERT_NE(score, nullptr);
        int length = 0, kind = 0;
        const char* text = score->Current(&length, &kind);
        EXPECT_EQ(std::string(text ? text : "", text ? length : 0), c.score);
        score->Release();
    }
}
} // namespace
