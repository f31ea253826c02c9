// Acoustic cues over segments of a feature whose frames all differ, so each case shows
// which frames were read: the edges of the stream, segments past its end on a complete
// and on a growing feature, empty features, prefix sums after Discard, the cue dump as
// an evaluator, and the arguments the factories refuse.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "ACue.h"
#include "Evaluator.h"
#include "signal/FeatureChain.h"

namespace {
constexpr int kFrames = 40;

float X(int i) {
    return static_cast<float>((i + 1) * (i + 1));
}
// The mean of x[i+1] ... x[j].
double Mean(int i, int j) {
    double sum = 0;
    for (int k = i + 1; k <= j; ++k)
        sum += X(k);
    return sum / (j - i);
}

struct Outcome {
    float value = 0;
    int code = 0; // the exception's, 0 when a value came
};

class Cues : public FeatureChain {
  protected:
    // A chain m -> b (kFrames values X, or the given ones) -> c = cue.
    std::string Build(const std::string& cue, bool complete = true,
                      std::vector<float> x = std::vector<float>()) {
        if (x.empty())
            for (int i = 0; i < kFrames; ++i)
                x.push_back(X(i));
        Source(static_cast<int>(x.size()) + 1, 1);
        Make("b", "FBand(m, 0)");
        std::string written = Make("c", cue);
        Feed(x, {static_cast<int>(x.size()) / 3}, complete);
        return written;
    }
    Outcome Ask(const std::string& name, int begin, int end) {
        auto* cue = QueryInterface<ACue>(Get(name), "ACue");
        EXPECT_NE(cue, nullptr) << name;
        Outcome out;
        if (!cue) return out;
        try {
            out.value = cue->Value(begin, end);
        } catch (Exception* e) {
            out.code = e->code;
            delete e;
        }
        cue->Release();
        return out;
    }
};

TEST_F(Cues, ValuesOverSegments) {
    struct Case {
        const char* cue;
        int begin, end;
        double want;
    };
    const Case cases[] = {
        {"ACDuration()", 10, 25, 15},
        {"ACDuration()", 25, 10, -15},
        {"ACBegin(b)", 3, 9, X(3)},
        {"ACBegin(b, 2)", 3, 9, X(5)},
        {"ACBegin(b, -3)", 1, 9, X(0)},
        {"ACBegin(b)", -4, 2, X(0)},
        {"ACBegin(b, 5)", 37, 39, X(39)},
        {"ACBegin(b)", 60, 70, X(39)},
        {"ACEnd(b)", 3, 9, X(3)},
        {"ACEnd(b)", -2, 9, X(0)},
        {"ACEnd(b)", 45, 50, X(39)},
        {"ACMiddle(b)", 4, 11, X(7)},
        {"ACMiddle(b)", 5, 5, X(5)},
        {"ACMiddle(b, 0.25, 0.5)", 0, 8, X(3)},
        {"ACMiddle(b, 0, 1, 2)", -3, 0, X(0)}, // floor(-3 / 2) = -2, not -1
        {"ACMiddle(b, 0, 1, 3)", -3, 0, X(1)},
        {"ACMiddle(b)", 30, 60, X(39)},
        {"ACMean(b, 0, 1)", 0, 4, Mean(0, 4)},
        {"ACMean(b, 0, 1)", 2, 2, X(2)},
        {"ACMean(b, 0.5, 1)", 2, 10, Mean(6, 10)},
        {"ACMean(b, 0, 1, 3)", 5, 9, X(5)},
        {"ACMean(b, 0, 1, 8)", 5, 9, Mean(1, 5)},
        {"ACMean(b, 0, 1, 8)", 1, 5, X(1) / 4.0}, // cut at frame 0, divisor kept
        {"ACMean(b, 0, 1, -3)", 2, 6, Mean(6, 9)},
        {"ACMean(b, 0, 1)", 30, 60, Mean(30, 39)},
        {"ACMean(b, 0, 1, -5)", 30, 36, Mean(36, 39)}, // right context cut at the end
        {"ACMean(b, 0, 1, -5)", 30, 39, X(39)},
        {"ACDiff(b, 0, 0.5, 1)", 0, 8, Mean(5, 8) - Mean(0, 4)},
        {"ACDiff(b, 0, 0, 0.5)", 2, 6, X(4) - X(2)},
        {"ACDiff(b, 0, 0.5, 1)", 30, 60, X(39) - Mean(30, 39)},
        {"ACMaxMin(b)", 7, 7, 0},
        {"ACMaxMin(b)", 2, 5, X(5) - X(2)},
        {"ACMaxMin(b)", 35, 60, X(39) - X(35)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cue) + " " + std::to_string(c.begin) + "," +
                     std::to_string(c.end));
        ASSERT_EQ(Build(c.cue), "");
        Outcome out = Ask("c", c.begin, c.end);
        EXPECT_EQ(out.code, 0);
        EXPECT_NEAR(out.value, c.want, 1e-6 * (1 + std::fabs(c.want)));
        EXPECT_EQ(sink_->Take(), "");
    }
}

TEST_F(Cues, FramesNotThereYet) {
    struct Case {
        const char* cue;
        bool complete;
        int begin, end;
        int code;
        const char* message;
    };
    const Case cases[] = {
        // A growing feature: frames past the end may still come.
        {"ACMean(b, 0, 1, -5)", false, 30, 36, 1,
         "Feature: address is too big (41, maximum: 40)\n"},
        {"ACDiff(b, 0, 0.5, 1)", false, 30, 60, 1,
         "Feature: address is too big (45, maximum: 40)\n"},
        {"ACModS(b, 10)", false, 30, 45, 1, "Feature: address is too big (40, maximum: 40)\n"},
        {"ACMaxMin(b)", true, 40, 45, 1, "Feature: address is too big (40, maximum: 40)\n"},
        {"ACMaxMin(b)", true, -1, 5, 2, ""},
        {"ACDiff(b, -1, 0, 1)", true, 0, 4, 0, ""},
        {"ACDiff(b, 0, 0, -1)", true, 0, 4, 2, "Feature: address is too small (-4)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cue);
        Build(c.cue, c.complete);
        EXPECT_EQ(Ask("c", c.begin, c.end).code, c.code);
        EXPECT_EQ(sink_->Take(), c.message);
    }
}

TEST_F(Cues, EmptyFeature) {
    struct Case {
        const char* cue;
        int code;
    };
    const Case cases[] = {
        {"ACBegin(b)", 2},           {"ACEnd(b)", 2},
        {"ACMiddle(b)", 2},          {"ACMean(b, 0, 1)", 1},
        {"ACDiff(b, 0, 0.5, 1)", 1}, {"ACMaxMin(b)", 1},
        {"ACModS(b, 5)", 0}, // a complete stream of nothing: no frames, 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cue);
        Source(4, 1);
        Make("b", "FBand(m, 0)");
        Make("c", c.cue);
        Block({{}}, true);
        EXPECT_EQ(Ask("c", 0, 3).code, c.code);
        sink_->Take();
    }
}

TEST_F(Cues, PrefixSumsFollowDiscard) {
    struct Case {
        const char* cue;
        double shifted; // (3, 11) once 4 frames went: old frames 7 ... 15
        double fresh;   // (3, 11) of a new stream 100, 100, ...
    };
    const Case cases[] = {
        {"ACMean(b, 0, 1)", Mean(7, 15), 100},
        {"ACDiff(b, 0, 0.5, 1)", Mean(12, 15) - Mean(7, 11), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cue);
        Build(c.cue);
        // The trim a source may send: everything drops its first 4 frames.
        Discard("b", 4);
        Discard("c", 4);
        EXPECT_NEAR(Ask("c", 3, 11).value, c.shifted, 1e-4 * c.shifted);
        // A new utterance: the sums start again from the new frames.
        Discard("b", -1);
        Discard("c", -1);
        Feed(std::vector<float>(kFrames, 100.0f), {9});
        EXPECT_NEAR(Ask("c", 3, 11).value, c.fresh, 1e-4);
    }
}

TEST_F(Cues, ModulationStrength) {
    // fm = 0 on a constant: its absolute value.
    Build("ACModS(b, 0)", true, std::vector<float>(20, -2.5f));
    EXPECT_FLOAT_EQ(Ask("c", 3, 9).value, 2.5f);
    EXPECT_EQ(Ask("c", 4, 4).value, 0.0f);
    EXPECT_EQ(Ask("c", 9, 4).value, 0.0f);
    // The Fourier sum in floats at 22050 / 64 = 344 frames per second (integer rate).
    auto direct = [](int begin, int end, float fm) {
        float omega = fm * 6.2831855f / 344, cs = 0, sn = 0;
        int n = end - begin + 1;
        for (int i = 0; i < n; ++i) {
            float phi = static_cast<float>(i) * omega;
            cs = cs + X(begin + i) * std::cos(phi);
            sn = sn + X(begin + i) * std::sin(phi);
        }
        return std::sqrt(cs * cs + sn * sn) / static_cast<float>(n);
    };
    Build("ACModS(b, 30)");
    EXPECT_NEAR(Ask("c", 2, 9).value, direct(2, 9, 30), 1e-3);
    // w = 50 ms is 17 frames: (10, 12) widens by 7 on each side.
    Build("ACModS(b, 30, 50)");
    EXPECT_NEAR(Ask("c", 10, 12).value, direct(3, 19, 30), 1e-3);
    EXPECT_NEAR(Ask("c", 1, 3).value, direct(0, 10, 30), 1e-3);    // not before frame 0
    EXPECT_NEAR(Ask("c", 37, 39).value, direct(30, 39, 30), 1e-3); // not past the end
    // Its own time base: 16000 / 160 = 100 frames per second.
    In("_sps = 16000; _framedist = 160");
    auto slow = [](int begin, int end) {
        float omega = 30 * 6.2831855f / 100, cs = 0, sn = 0;
        for (int i = 0; i <= end - begin; ++i) {
            cs = cs + X(begin + i) * std::cos(static_cast<float>(i) * omega);
            sn = sn + X(begin + i) * std::sin(static_cast<float>(i) * omega);
        }
        return std::sqrt(cs * cs + sn * sn) / static_cast<float>(end - begin + 1);
    };
    EXPECT_NEAR(Ask("c", 10, 20).value, slow(10, 20), 1e-3);
}

TEST_F(Cues, DumpEvaluatesEachCueInOrder) {
    Source(kFrames, 1);
    Make("b", "FBand(m, 0)");
    Make("c", "ACBegin(b)");
    Make("d", "ACMean(b, 0, 1)");
    Make("e", "ACDuration()");
    Make("dump", "ACuesDump(c, 7, d, \"x\", e)"); // the number and the text are skipped
    std::vector<float> x;
    for (int i = 0; i < kFrames; ++i)
        x.push_back(X(i));
    Feed(x, {});
    auto* dump = QueryInterface<Evaluator>(Get("dump"), "Evaluator");
    ASSERT_NE(dump, nullptr);
    EXPECT_EQ(dump->count, 3);
    float* scores = dump->Evaluate(3, 9);
    EXPECT_EQ(scores, dump->scores);
    EXPECT_EQ(scores[0], X(3));
    EXPECT_FLOAT_EQ(scores[1], static_cast<float>(Mean(3, 9)));
    EXPECT_EQ(scores[2], 6.0f);
    dump->Release();
    In("none = new ACuesDump()");
    auto* none = QueryInterface<Evaluator>(Get("none"), "Evaluator");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->count, 0);
    none->Evaluate(0, 1);
    none->Release();
}

TEST_F(Cues, FactoriesRefuse) {
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"ACBegin(m)", "ACBegin: First parameter error"},
        {"ACBegin()", "ACBegin: First parameter error"},
        {"ACEnd(3)", "ACEnd: First parameter error"},
        {"ACMiddle(m, 0, 1)", "ACMiddle: First parameter must be 'Feature' Intrerface"},
        {"ACMean(m, 0, 1)", "ACMean: First parameter error"},
        {"ACMean(b, 0)", "ACMean: Bound parameters error"},
        {"ACMean(b, \"0\", 1)", "ACMean: Bound parameters error"},
        {"ACDiff(1, 0, 0.5, 1)", "ACDiff: First parameter error"},
        {"ACDiff(b, 0, 0.5)", "ACDiff: Bound parameters error"},
        {"ACDiff(b)", "ACDiff: Bound parameters error"},
        {"ACMaxMin(m)", "ACMaxMin: First parameter error"},
        {"ACModS(m, 10)", "ACModS: First parameter must be 'Feature' Interface"},
        {"ACModS(b)", "ACModS: Parameter error"},
    };
    Source(4, 1);
    Make("b", "FBand(m, 0)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        In("x = 0");
        EXPECT_EQ(FirstLine(In(std::string("x = new ") + c.script)), std::string(c.message) + "\n");
        EXPECT_EQ(QueryInterface<ACue>(Get("x"), "ACue"), nullptr);
    }
}
} // namespace
