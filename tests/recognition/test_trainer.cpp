// The recogniser's trainer against the engine's evaluator: a net trained on a small
// set of separable cue vectors, written by the trainer and loaded by ANNEvaluator,
// must score each class's vectors best for that class: cheapest in the cost form the
// cost search adds, most probable (summing to 1) in the softmax form. Training lines
// are read in SegmentTrain's format, and malformed lines are refused. A net may be
// given more outputs than its lines have classes, and a vector classified among a
// range of classes only. Several members trained together are written as one net whose
// choice is that of their mean.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "ACue.h"
#include "Evaluator.h"
#include "core/ModuleBase.h"
#include "lexora-train/Trainer.h"
#include "signal/SignalTest.h"

namespace {
// Three classes around three centres in two cues, in SegmentTrain's line format.
std::string Lines(unsigned seed, int perClass) {
    const double centres[3][2] = {{0, 0}, {4, 0}, {0, 4}};
    std::mt19937 random(seed);
    std::normal_distribution<double> spread(0.0, 0.6);
    std::string text;
    char line[96];
    for (int i = 0; i < perClass; ++i)
        for (int c = 0; c < 3; ++c) {
            std::snprintf(line, sizeof line, "%f,%f,%d\n", centres[c][0] + spread(random),
                          10 + centres[c][1] + spread(random), c + 1);
            text += line;
        }
    return text;
}

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

class NetTraining : public SignalTest {
  protected:
    // Trains on the three classes, writes net.net and net.trf and makes the evaluator
    // "e" of the cues "a" and "b".
    void Make(bool softmax, int members = 1) {
        Samples samples;
        std::string error;
        ASSERT_TRUE(ParseSamples(Lines(1, 40), &samples, &error)) << error;
        TrainerOptions options;
        options.hidden = 6;
        options.epochs = 60;
        options.softmax = softmax;
        options.members = members;
        trained = std::make_unique<Trainer>(options);
        trained->Train(samples);
        ASSERT_TRUE(trained->Write("net.net", &error)) << error;
        auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
        a = new FixedCue;
        b = new FixedCue;
        home->Set("a", 1, a, 0);
        home->Set("b", 1, b, 0);
        home->Release();
        In("e = new ANNEvaluator(\"net.net\", a, b)");
    }
    // The evaluator's class scores for a cue vector.
    std::vector<float> Scores(float x, float y) {
        a->value = x;
        b->value = y;
        auto* e = QueryInterface<Evaluator>(Get("e"), "Evaluator");
        EXPECT_NE(e, nullptr);
        if (!e) return {};
        float* s = e->Evaluate(0, 1);
        std::vector<float> scores(s + 1, s + e->count);
        e->Release();
        return scores;
    }
    FixedCue* a = nullptr;
    FixedCue* b = nullptr;
    std::unique_ptr<Trainer> trained;
};

TEST_F(NetTraining, KeepsUnusedOutputsAndClassifiesAmongARange) {
    Samples samples;
    std::string error;
    ASSERT_TRUE(ParseSamples(Lines(1, 40), &samples, &error)) << error;
    TrainerOptions options;
    options.classes = 5;
    options.softmax = true;
    Trainer trainer(options);
    trainer.Train(samples);
    const float first[] = {0, 10}, third[] = {0, 14};
    EXPECT_EQ(trainer.Classify(first), 1);
    EXPECT_EQ(trainer.Classify(third), 3);
    EXPECT_EQ(trainer.Classify(third, 2, 3), 3);
    int among = trainer.Classify(first, 2, 3);
    EXPECT_TRUE(among == 2 || among == 3) << among;
    EXPECT_GE(trainer.Classify(first, 4, 0), 4); // last 0: up to the last output
    ASSERT_TRUE(trainer.Write("wide.net", &error)) << error;
    auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
    a = new FixedCue;
    b = new FixedCue;
    home->Set("a", 1, a, 0);
    home->Set("b", 1, b, 0);
    home->Release();
    In("w = new ANNEvaluator(\"wide.net\", a, b)");
    auto* e = QueryInterface<Evaluator>(Get("w"), "Evaluator");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->count, 6); // five outputs, scores 1 ... 5
    e->Release();
}

TEST_F(NetTraining, SeparatesHeldOutLines) {
    Samples train, held;
    std::string error;
    ASSERT_TRUE(ParseSamples(Lines(1, 40), &train, &error)) << error;
    ASSERT_TRUE(ParseSamples(Lines(2, 20), &held, &error)) << error;
    EXPECT_EQ(train.cues, 2u);
    Trainer trainer(TrainerOptions{});
    trainer.Train(train);
    EXPECT_GT(trainer.Accuracy(held), 0.95);
}

TEST_F(NetTraining, RefusesLinesThatAreNotTrainingLines) {
    const char* bad[] = {"", "1,2,3\n1,2\n", "1,2,0\n", "\n\n"};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        Samples samples;
        std::string error;
        EXPECT_FALSE(ParseSamples(text, &samples, &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(NetTraining, TheEvaluatorReadsTheWrittenNet) {
    const struct {
        float a, b;
        int best; // index from 0
    } points[] = {{0, 10, 0}, {4, 10, 1}, {0, 14, 2}};
    for (bool softmax : {false, true}) {
        SCOPED_TRACE(softmax ? "softmax" : "costs");
        Fresh();
        Make(softmax);
        for (const auto& p : points) {
            std::vector<float> s = Scores(p.a, p.b);
            ASSERT_EQ(s.size(), 3u);
            int best = 0;
            for (int j = 1; j < 3; ++j)
                if (softmax ? s[j] > s[best] : s[j] < s[best]) {
                    best = j;
                }
            EXPECT_EQ(best, p.best);
            if (softmax) {
                EXPECT_NEAR(s[0] + s[1] + s[2], 1.0, 1e-5);
            }
        }
    }
}

// Three members, each the net its seed alone trains, written as one: the evaluator's
// cheapest class is the trainer's choice everywhere, also between the classes where
// the members disagree most.
TEST_F(NetTraining, MembersAreWrittenAsOneNetOfTheirMeanChoice) {
    Make(false, 3);
    ASSERT_EQ(trained->Members(), 3);
    Samples train, held;
    std::string error;
    ASSERT_TRUE(ParseSamples(Lines(1, 40), &train, &error)) << error;
    ASSERT_TRUE(ParseSamples(Lines(2, 20), &held, &error)) << error;
    for (int m = 0; m < 3; ++m) {
        TrainerOptions options;
        options.hidden = 6;
        options.epochs = 60;
        options.seed = 1 + static_cast<unsigned>(m);
        Trainer alone(options);
        alone.Train(train);
        EXPECT_EQ(trained->Accuracy(held, m), alone.Accuracy(held)) << m;
    }
    for (float x = -1; x <= 5; x += 0.5f)
        for (float y = 9; y <= 15; y += 0.5f) {
            std::vector<float> s = Scores(x, y);
            ASSERT_EQ(s.size(), 3u);
            const float cues[] = {x, y};
            int cheapest = static_cast<int>(std::min_element(s.begin(), s.end()) - s.begin()) + 1;
            EXPECT_EQ(cheapest, trained->Classify(cues)) << x << ", " << y;
        }
}
} // namespace
