// The neural evaluator and the two caches: forward passes checked by hand (layered and
// explicit wiring, logistic and softmax outputs), the transformation file's sections
// and messages, refused network files, and the caches' hit, miss and eviction rules.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ACue.h"
#include "Evaluator.h"
#include "Module.h"
#include "core/ModuleBase.h"
#include "signal/SignalTest.h"

namespace {
// A cue whose value is fixed by the test.
class FixedCue : public ModuleBase, public virtual ACue {
  public:
    float Value(int32_t, int32_t) override { return value; }
    void* GetInterface(const char* name) override {
        if (std::string(name) != "ACue") return ModuleBase::GetInterface(name);
        AddRef();
        return static_cast<ACue*>(this);
    }
    float value = 0;
};

// An evaluator that counts its calls; score 1 is begin, score 2 end.
class CountingEvaluator : public ModuleBase, public virtual Evaluator {
  public:
    CountingEvaluator() {
        scores = values_;
        count = 3;
    }
    float* Evaluate(int32_t begin, int32_t end) override {
        ++calls;
        values_[1] = static_cast<float>(begin);
        values_[2] = static_cast<float>(end);
        return scores;
    }
    void* GetInterface(const char* name) override {
        if (std::string(name) != "Evaluator") return ModuleBase::GetInterface(name);
        AddRef();
        return static_cast<Evaluator*>(this);
    }
    int calls = 0;

  private:
    float values_[3] = {};
};

double Logistic(double a) {
    return 1 / (1 + std::exp(-a));
}

class Evaluators : public SignalTest {
  protected:
    template <class T> T* Add(const std::string& name) {
        auto* object = new T;
        auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
        home->Set(name.c_str(), static_cast<int>(name.size()), object, 0);
        home->Release();
        return object;
    }
    // Builds "e" from a network file and cues c1 ... cn; returns what it printed.
    std::string Make(const std::string& net, const char* trf, int cues) {
        WriteFile("n.net", net);
        if (trf) WriteFile("n.trf", trf);
        std::string list;
        for (int i = 1; i <= cues; ++i) {
            if (!Get("c" + std::to_string(i))) Add<FixedCue>("c" + std::to_string(i));
            list += ", c" + std::to_string(i);
        }
        sink_->Take();
        return In("e = new ANNEvaluator(\"n.net\"" + list + ")");
    }
    float* Scores(int begin = 0, int end = 1) {
        auto* e = QueryInterface<Evaluator>(Get("e"), "Evaluator");
        float* s = e->Evaluate(begin, end);
        count_ = e->count;
        e->Release();
        return s;
    }
    void Cue(int i, float v) {
        auto* cue = dynamic_cast<FixedCue*>(Get("c" + std::to_string(i)));
        cue->value = v;
    }
    int count_ = 0;
};

// What the interpreter adds when a factory yields no object.
#define kRefused "Warning: '(' not Found\n"

const char* kIdentity = "#norm\n0 0\n1 1\n#tran\n1 0\n0 1\n";

// 2 inputs, one hidden layer of 2, 1 output; weights by hand.
TEST_F(Evaluators, LayeredLogisticForwardPass) {
    EXPECT_EQ(Make("2 1 3 6 3  2  1 0\n"
                   "0.5 -1   2 1   1 -2\n"
                   "0.1 -0.2 0.3\n",
                   kIdentity, 2),
              "");
    In("after = 1"); // the argument list was read to its end, not beyond
    EXPECT_NE(Get("after"), nullptr);
    Cue(1, 1.0f);
    Cue(2, 2.0f);
    float* s = Scores();
    EXPECT_EQ(count_, 2);
    double h1 = Logistic(0.1 + 0.5 * 1 - 1 * 2), h2 = Logistic(-0.2 + 2 * 1 + 1 * 2);
    EXPECT_NEAR(s[1], Logistic(0.3 + h1 - 2 * h2), 1e-6);
}

// Explicit wiring: unit 0 takes input 1, unit 1 (an output) takes unit 0 and input 0;
// softmax over the two outputs.
TEST_F(Evaluators, ExplicitWiringAndSoftmax) {
    EXPECT_EQ(Make("2 2 3 4 0 1 1\n"
                   "1 0  0 1\n"
                   "2 0  1 2  2 0\n"
                   "1 0  3 0\n"
                   "2 -1 0.5 3\n"
                   "0 0.25 -1\n",
                   kIdentity, 2),
              "");
    Cue(1, 0.5f);
    Cue(2, 1.5f);
    float* s = Scores();
    EXPECT_EQ(count_, 3);
    double u0 = Logistic(2 * 1.5);
    double a1 = 0.25 + (-1) * u0 + 0.5 * 0.5, a2 = -1 + 3 * 0.5;
    double total = std::exp(a1) + std::exp(a2);
    EXPECT_NEAR(s[1], std::exp(a1) / total, 1e-6);
    EXPECT_NEAR(s[2], std::exp(a2) / total, 1e-6);
    EXPECT_NEAR(s[1] + s[2], 1.0, 1e-6);
}

// Normalisation and the matrix: y = T x with x = (c - mean) / deviation.
TEST_F(Evaluators, TransformationNormalisesAndMixesTheCues) {
    const char* trf = "# a comment section\nignored 1 2 3\n"
                      "#norm\n1, 2, 3\n2\t0 4\n"
                      "#tran\n1 1 1\n0,0,2\n";
    // An identity-like network: each output is the logistic of its input.
    EXPECT_EQ(Make("2 2 2 4 2 1 0  1 0 0 1  0 0", trf, 3), "");
    for (int i = 1; i <= 3; ++i)
        Cue(i, 5.0f);
    float* s = Scores();
    double x1 = (5 - 1) / 2.0, x2 = 0 /* deviation 0 */, x3 = (5 - 3) / 4.0;
    EXPECT_NEAR(s[1], Logistic(x1 + x2 + x3), 1e-6);
    EXPECT_NEAR(s[2], Logistic(2 * x3), 1e-6);
}

TEST_F(Evaluators, TransformationMessages) {
    const char* net = "2 2 2 4 2 1 0  1 0 0 1  0 0";
    struct Case {
        const char* trf;
        const char* messages;
    };
    const Case cases[] = {
        {"#norm\n1\n1 1\n1 1\n#tran\n1 0\n0 1\n", "ANNEvaluator: n.trf: error in vector length\n"
                                                  "ANNEvaluator: n.trf: error in vector length\n"},
        {"#tran\n1 0\n0\n1 1\n", "ANNEvaluator: n.trf: error in vector length\n"
                                 "ANNEvaluator: n.trf: too many rows in transformation\n"},
        {"#tran\n1 0\n", "ANNEvaluator: n.trf: few data for transformation\n"},
        {"#norm\n0 0\n1 1\n", "ANNEvaluator: n.trf: few data for transformation\n"},
        {nullptr, "ANNEvaluator: File : n.trf Not Found\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trf ? c.trf : "missing");
        Fresh();
        std::remove("n.trf");
        EXPECT_EQ(Make(net, c.trf, 2), c.messages);
        EXPECT_NE(Get("e"), nullptr);
    }
    // Missing: mean 0, deviation 1, no matrix.
    Cue(1, 0.5f);
    EXPECT_NEAR(Scores()[1], Logistic(0.5), 1e-6);
}

TEST_F(Evaluators, RefusesNetworksThatDoNotFit) {
    struct Case {
        const char* net;
        const char* trf;
        int cues;
        const char* message;
    };
    const Case cases[] = {
        {"2 1 1 1 2 1 0 1 0", kIdentity, 2,
         "ANNEvaluator: n.net: fewer weights than the layers need\n" kRefused},
        {"2 1 2 2 2 1 0", kIdentity, 2,
         "ANNEvaluator: n.net: layer sizes do not add up to the units\n" kRefused},
        {"2 1 1 2 0 1 0  2 0  0 0  5 1", kIdentity, 2,
         "ANNEvaluator: n.net: bad wiring in the network file\n" kRefused},
        {"2 1 1 2 0 1 0  2 0  0 0  1 9", kIdentity, 2,
         "ANNEvaluator: n.net: bad wiring in the network file\n" kRefused},
        {"2 1 1 2 2 1 0 1", kIdentity, 2,
         "ANNEvaluator: n.net: missing weights in the network file\n" kRefused},
        {"2 1 1", kIdentity, 2, "ANNEvaluator: n.net: the network file is too short\n" kRefused},
        {"0 1 1 0 2 1 0", kIdentity, 2,
         "ANNEvaluator: n.net: impossible sizes in the network file\n" kRefused},
        {"2 1 1 2 2 1 0 1 1 0", "#norm\n0 0 0\n1 1 1\n", 3,
         "ANNEvaluator: n.trf: few data for transformation\n"
         "ANNEvaluator: n.trf: 3 cues for a network of 2 inputs\n" kRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.net);
        Fresh();
        EXPECT_EQ(Make(c.net, c.trf, c.cues), c.message);
        EXPECT_EQ(Get("e"), nullptr);
    }
    sink_->Take();
    EXPECT_EQ(In("e = new ANNEvaluator(\"missing.net\", c1)"),
              "ANNEvaluator: missing.net: cannot open the network file\n" kRefused);
}

TEST_F(Evaluators, FactoryArguments) {
    Add<FixedCue>("c1");
    EXPECT_EQ(In("e = new ANNEvaluator(5, c1)"),
              "ANNEvaluator: First parameter must be 'Input' Interface\n" kRefused);
    // No cues: no object, and no message of the class's own.
    EXPECT_EQ(In("e = new ANNEvaluator(\"n.net\")"), kRefused);
    EXPECT_EQ(Get("e"), nullptr);
    sink_->Take();
    EXPECT_EQ(In("e = new EvalCache(c1)"),
              "EvalCache: First parameter not an 'Evaluator' Interface\n" kRefused);
    EXPECT_EQ(In("e = new EvalCache2(5)"),
              "EvalCache2: First parameter not an 'Evaluator' Interface\n" kRefused);
}

TEST_F(Evaluators, RandomWeightsAreSmallAndDifferBetweenLoads) {
    float first = 0;
    for (int load = 0; load < 2; ++load) {
        Fresh();
        // One output over 1 input: a logistic of w x + b with |w|, |b| <= 0.05.
        Make("1 1 1 1 2 0 0", "#tran\n1\n", 1);
        Cue(1, 1.0f);
        float s = Scores()[1];
        EXPECT_GE(s, Logistic(-0.1) - 1e-6);
        EXPECT_LE(s, Logistic(0.1) + 1e-6);
        if (load == 0)
            first = s;
        else
            EXPECT_NE(s, first);
    }
}

TEST_F(Evaluators, EvalCacheAsksOncePerSegmentUntilDiscard) {
    auto* wrapped = Add<CountingEvaluator>("w");
    In("c = new EvalCache(w)");
    auto* cache = QueryInterface<Evaluator>(Get("c"), "Evaluator");
    auto* module = QueryInterface<Module>(Get("c"), "Module");
    EXPECT_EQ(cache->count, 3);
    EXPECT_EQ(cache->Evaluate(3, 7)[2], 7.0f);
    EXPECT_EQ(cache->Evaluate(3, 9)[2], 9.0f);
    EXPECT_EQ(cache->Evaluate(3, 7)[2], 7.0f);
    EXPECT_EQ(cache->Evaluate(3, 7)[1], 3.0f);
    EXPECT_EQ(wrapped->calls, 2);
    module->Discard(0);
    cache->Evaluate(3, 7);
    EXPECT_EQ(wrapped->calls, 3);
    module->Release();
    cache->Release();
}

TEST_F(Evaluators, EvalCache2EvictsTheEarliestSegment) {
    auto* wrapped = Add<CountingEvaluator>("w");
    In("c = new EvalCache2(w, 2)");
    auto* cache = QueryInterface<Evaluator>(Get("c"), "Evaluator");
    float* kept = cache->Evaluate(1, 2);
    cache->Evaluate(0, 1);
    cache->Evaluate(2, 3); // evicts (0, 1)
    EXPECT_EQ(wrapped->calls, 3);
    EXPECT_EQ(cache->Evaluate(1, 2), kept); // a hit returns the kept array itself
    EXPECT_EQ(wrapped->calls, 3);
    EXPECT_EQ(cache->Evaluate(0, 1)[2], 1.0f);
    EXPECT_EQ(wrapped->calls, 4);
    cache->Release();
}

// Segments that the 16-bit key would mix up stay apart.
TEST_F(Evaluators, EvalCache2KeepsLongMaterialApart) {
    Add<CountingEvaluator>("w");
    In("c = new EvalCache2(w)");
    auto* cache = QueryInterface<Evaluator>(Get("c"), "Evaluator");
    EXPECT_EQ(cache->Evaluate(0, 65536)[2], 65536.0f);
    EXPECT_EQ(cache->Evaluate(1, 0)[2], 0.0f);
    EXPECT_EQ(cache->Evaluate(40000, 40001)[1], 40000.0f);
    EXPECT_EQ(cache->Evaluate(0, 65536)[2], 65536.0f);
    cache->Release();
}
} // namespace
