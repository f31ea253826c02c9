// The search engines and CalcHeuristic over stub evaluators (scores fixed per segment),
// a hand-set cluster bound and a small dictionary: the word found, the exact result
// line and word line, the sweep of a growing source, the 32-boundary jump that a ring
// of 32 stacks used to lose, scores kept apart from a second evaluator that overwrites
// the first one's array, the statistics of a labelled segmentation by hand, the help
// texts and the argument checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "Hypothesis.h"
#include "Module.h"
#include "core/Root.h"
#include "recognition/Hypotheses.h"
#include "recognition/SearchStubs.h"
#include "signal/SignalTest.h"

namespace {
#define kRefused "Warning: '(' not Found\n"

// Codes: a 1, b 2, c 3, ~ 4; score vectors have entries 0 ... 4.
const char* kPhonemes = "a\nb\nc\n~\n";

class Search : public SignalTest {
  protected:
    void SetUp() override {
        SignalTest::SetUp();
        aw_ = new StringSink;
        RootFolder()->Set("aw", 2, aw_, 0);
    }
    void TearDown() override {
        RootFolder()->Set("aw", 2, nullptr, 0);
        SignalTest::TearDown();
    }
    template <class T, class... A> T* Add(const std::string& name, A... args) {
        auto* object = new T(args...);
        auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
        home->Set(name.c_str(), static_cast<int>(name.size()), object, 0);
        home->Release();
        return object;
    }
    // e1 (class scores, classFallback for every segment not set), e2 (segment score
    // and span score everywhere), cb, and the dictionary d over the phoneme set ph,
    // processed once.
    void Make(const std::string& words, float classFallback, float segment, float span) {
        e1 = Add<TableEvaluator>("e1", std::vector<float>(5, classFallback));
        e2 = Add<TableEvaluator>("e2", std::vector<float>{0, segment, span});
        cb = Add<StubBounds>("cb");
        WriteFile("ph.txt", kPhonemes);
        WriteFile("words.txt", words);
        EXPECT_EQ(In("ph = new SimplePhonemes(new File(\"ph.txt\"));"
                     "d = new Dictionary(new File(\"words.txt\"), ph)"),
                  "");
        Process("d");
    }
    int Process(const std::string& path) {
        auto* module = QueryInterface<Module>(Get(path), "Module");
        int result = module->Process();
        module->Release();
        return result;
    }
    void Discard(const std::string& path, int n) {
        auto* module = QueryInterface<Module>(Get(path), "Module");
        module->Discard(n);
        module->Release();
    }
    Hypothesis* Result(const std::string& path) {
        auto* h = QueryInterface<Hypothesis>(Get(path), "Hypothesis");
        h->Release();
        return h;
    }
    static std::string Line(const char* word, double s, long evaluations, const char* list) {
        char text[256];
        std::snprintf(text, sizeof text, "Result: %s %14.12lf %ld (%s)\n", word, s, evaluations,
                      list);
        return text;
    }

    TableEvaluator* e1 = nullptr;
    TableEvaluator* e2 = nullptr;
    StubBounds* cb = nullptr;
    StringSink* aw_ = nullptr;
};

// Boundaries 0, 12, 30: the dictionary's root takes the first segment, c the second.
TEST_F(Search, PQEngineFindsTheWordAndReportsIt) {
    Make("a b = ab\nc = c\n", 0.01f, 0.5f, 0.5f);
    e1->Set(0, 12, 0, 0.9f);
    e1->Set(12, 30, 3, 0.8f);
    cb->SetBoundaries({0, 12, 30}, 1, 10.0f);
    EXPECT_EQ(In("pq = new PQEngine(e1, e2, cb, d)"), "");
    EXPECT_EQ(Process("pq"), 0);
    // start -> root over (0, 12): 0.9 (0.5)^0.16; -> c over (12, 30): 0.8 and the
    // segment score times the span score from the start, squared, to the power 0.16.
    double root = 0.9f * std::pow(0.5, 0.16);
    double s = 0.8f * std::pow(0.5 * 0.5 * 0.5, 0.16) * root;
    EXPECT_EQ(sink_->Take(), Line("c", s, 3, " 0 12 30"));
    EXPECT_EQ(aw_->Take(), "c \n");
    Hypothesis* h = Result("pq");
    ASSERT_NE(h->node, nullptr);
    EXPECT_EQ(std::wstring(h->node->letters), L"c");
    EXPECT_EQ(h->end, 2);
    ASSERT_NE(h->parent, nullptr);
    EXPECT_EQ(h->parent->end, 1);
    EXPECT_EQ(PathText(h), L"c");
    // A second search counts on from the first.
    Process("pq");
    EXPECT_EQ(sink_->Take(), Line("c", s, 6, " 0 12 30"));
}

// The second evaluator overwrites the first one's array whenever it is asked, as a
// shared cache dropping an entry would: the class scores were copied before.
TEST_F(Search, EnginesKeepTheClassScoresApartFromTheSecondEvaluator) {
    Make("a b = ab\nc = c\n", 0.01f, 0.5f, 0.5f);
    e1->Set(0, 12, 0, 0.9f);
    e1->Set(12, 30, 3, 0.8f);
    e2->clobbers.push_back(e1->scores);
    cb->SetBoundaries({0, 12, 30}, 1, 10.0f);
    In("pq = new PQEngine(e1, e2, cb, d)");
    Process("pq");
    double s = 0.8f * std::pow(0.125, 0.16) * (0.9f * std::pow(0.5, 0.16));
    EXPECT_EQ(sink_->Take(), Line("c", s, 3, " 0 12 30"));

    // Costs, with neutral segment scores: a over (0, 12) and b over (12, 30).
    Fresh();
    Make("a b = ab\nc = c\n", 1.0f, 0.0f, 0.0f);
    e1->Set(0, 12, 1, 0.1f);
    e1->Set(12, 30, 2, 0.1f);
    e2->clobbers.push_back(e1->scores);
    cb->SetBoundaries({0, 12, 30}, 1, 10.0f);
    In("mpq = new MPQEngine(e1, e2, cb, d, ph)");
    Discard("mpq", -1);
    EXPECT_EQ(Process("mpq"), 0);
    s = static_cast<float>(12 * 0.1f) * 0.1;
    s = static_cast<float>(18 * 0.1f) * 0.1 + s;
    EXPECT_EQ(sink_->Take(), Line("ab", s, static_cast<long>(e1->asked.size()), " 0 12 30"));
}

TEST_F(Search, PQEngineWithoutAnEndOfWordReportsNothing) {
    Make("a b = ab\n", 0.5f, 0.5f, 0.5f);
    cb->SetBoundaries({0, 12, 30}, 1, 10.0f);
    In("pq = new PQEngine(e1, e2, cb, d)");
    EXPECT_EQ(Process("pq"), 0);
    EXPECT_EQ(sink_->Take(), "");
    EXPECT_EQ(aw_->Take(), "");
    EXPECT_EQ(Result("pq")->node, nullptr);
    // One boundary: the start itself would have to end a word.
    cb->SetBoundaries({0}, 1, 10.0f);
    EXPECT_EQ(Process("pq"), 0);
    EXPECT_EQ(Result("pq")->node, nullptr);
}

// With neutral segment scores the cost of a path is the sum over its segments of
// 0.1 x frames x class cost.
TEST_F(Search, MPQEngineFindsTheCheapestWord) {
    Make("a b = ab\nb a = ba\nc = c\n", 1.0f, 0.0f, 0.0f);
    e1->Set(0, 12, 1, 0.1f);
    e1->Set(12, 41, 2, 0.1f);
    cb->SetBoundaries({0, 12, 30, 41}, 1, 10.0f);
    EXPECT_EQ(In("mpq = new MPQEngine(e1, e2, cb, d, ph)"), "");
    Discard("mpq", -1);
    EXPECT_EQ(Process("mpq"), 0);
    double s = static_cast<float>(12 * 0.1f) * 0.1;
    s = static_cast<float>(29 * 0.1f) * 0.1 + (0.0f * 0.14 + s);
    EXPECT_EQ(sink_->Take(), Line("ab", s, static_cast<long>(e1->asked.size()), " 0 12 41"));
    EXPECT_EQ(aw_->Take(), "ab \n");
    Hypothesis* h = Result("mpq");
    ASSERT_NE(h->node, nullptr);
    EXPECT_EQ(std::wstring(h->node->letters), L"ab");
    EXPECT_EQ(h->end, 3); // the end is copied with the rest of the result
    EXPECT_EQ(PathText(h), L"ab");

    // Without a new Discard(-1) the stacks are empty: nothing more.
    EXPECT_EQ(Process("mpq"), 0);
    EXPECT_EQ(sink_->Take(), "");
    EXPECT_EQ(Result("mpq")->node, nullptr);
    // And a reset starts the next utterance.
    Discard("mpq", -1);
    Discard("mpq", 3); // not a reset
    EXPECT_EQ(Process("mpq"), 0);
    EXPECT_EQ(sink_->Take().substr(0, 11), "Result: ab ");
}

TEST_F(Search, MPQEngineNeedsAResetBeforeItsFirstUtterance) {
    Make("c = c\n", 1.0f, 0.0f, 0.0f);
    cb->SetBoundaries({0, 12, 30}, 1, 10.0f);
    In("mpq = new MPQEngine(e1, e2, cb, d, ph)");
    EXPECT_EQ(Process("mpq"), 0);
    EXPECT_EQ(sink_->Take(), "");
    EXPECT_TRUE(e1->asked.empty());
}

// While the source grows, no segment reaches one of its last two boundaries.
TEST_F(Search, MPQEngineWaitsForAGrowingSource) {
    Make("a b = ab\nb a = ba\nc = c\n", 1.0f, 0.0f, 0.0f);
    e1->Set(0, 12, 1, 0.1f);
    e1->Set(12, 41, 2, 0.1f);
    In("mpq = new MPQEngine(e1, e2, cb, d, ph)");
    Discard("mpq", -1);
    std::vector<int32_t> frames = {0, 12, 30, 41, 50, 60};
    for (size_t n = 1; n <= frames.size(); ++n) {
        cb->SetBoundaries({frames.begin(), frames.begin() + n}, 0, 10.0f);
        EXPECT_EQ(Process("mpq"), -1);
        for (auto& segment : e1->asked)
            EXPECT_LT(segment.second, frames[n >= 2 ? n - 2 : 0]) << n;
    }
    EXPECT_EQ(sink_->Take(), "");
    // Complete at 41: the word ends there.
    cb->SetBoundaries({0, 12, 30, 41}, 1, 10.0f);
    EXPECT_EQ(Process("mpq"), 0);
    EXPECT_EQ(sink_->Take().substr(0, 11), "Result: ab ");
    EXPECT_EQ(Result("mpq")->end, 3);
}

// 35 boundaries one frame apart; the word's second segment spans 32 boundaries, from
// 1 to 33, so its hypothesis ends 32 positions after the stack being drained. The
// frame distance is unknown (0): no length limit, and the sweep ends.
TEST_F(Search, MPQEngineKeepsAHypothesis32BoundariesAhead) {
    Make("a b c = abc\nb = b\n", 10.0f, 0.0f, 0.0f);
    e1->Set(0, 1, 1, 0.01f);
    e1->Set(1, 33, 2, 0.01f);
    e1->Set(33, 34, 3, 0.01f);
    std::vector<int32_t> frames;
    for (int i = 0; i < 35; ++i)
        frames.push_back(i);
    cb->SetBoundaries(frames, 1, 0.0f);
    In("mpq = new MPQEngine(e1, e2, cb, d, ph)");
    Discard("mpq", -1);
    EXPECT_EQ(Process("mpq"), 0);
    float w1 = 1 * 0.01f, w2 = 32 * 0.01f, w3 = 1 * 0.01f;
    double s = w1 * 0.1;
    s = w2 * 0.1 + (0.0f * 0.14 + s);
    s = w3 * 0.1 + (0.0f * 0.14 + s);
    EXPECT_EQ(sink_->Take(), Line("abc", s, static_cast<long>(e1->asked.size()), " 0 1 33 34"));
}

// Silent nodes (codes above 100) stay at their position at no cost; a space may be
// skipped when num2 is set.
TEST_F(Search, MPQEngineSilentAndSpaceNodes) {
    Make("a ~ b = ab\n", 1.0f, 0.0f, 0.0f);
    e1->Set(0, 12, 1, 0.1f);
    e1->Set(12, 41, 2, 0.1f);
    cb->SetBoundaries({0, 12, 41}, 1, 10.0f);
    // Without skipping, "~" must take a segment of its own, and there is none left.
    In("mpq = new MPQEngine(e1, e2, cb, d, ph)");
    Discard("mpq", -1);
    Process("mpq");
    EXPECT_EQ(sink_->Take(), "");
    In("skip = new MPQEngine(e1, e2, cb, d, ph, 25, 1)");
    Discard("skip", -1);
    Process("skip");
    EXPECT_EQ(sink_->Take().substr(0, 11), "Result: ab ");
    // The space hypothesis ends where a did: the chain is start, a, ~, b.
    Hypothesis* h = Result("skip");
    ASSERT_NE(h->parent, nullptr);
    EXPECT_EQ(h->parent->end, 1);
    EXPECT_EQ(h->parent->node->code, 4);
}

TEST_F(Search, CalcHeuristicByHand) {
    Make("c = c\n", 0.5f, 0.8f, 0.5f);
    e1->Set(0, 10, 1, 0.5f);
    e1->Set(10, 30, 2, 0.25f);
    cb->SetBoundaries({0, 10, 30}, 1, 10.0f, {1, 2});
    EXPECT_EQ(In("h = new CalcHeuristic(e1, e2, cb)"), "");
    auto* text = QueryInterface<Input>(Get("h"), "Input");
    int length = 0, kind = 0;
    EXPECT_EQ(text->Read(&length, &kind), nullptr); // nothing before the first Process
    EXPECT_EQ(Process("h"), 0);
    double segment = 0.8f;
    double g1 = 0.16 * -std::log(segment) - std::log(0.5);
    double g2 = 0.16 * -2 * std::log(segment) + g1 - 2 * std::log(0.25);
    // One sample from i = 0; from i = 1 the span has one segment only.
    char expected[128];
    std::snprintf(expected, sizeof expected, "heur1 = %14.12lf\nheur2 = %14.12lf\n", g2 / 30,
                  std::min(1.0, (g2 - g1) / 20));
    const char* got = text->Read(&length, &kind);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(kind, 103);
    EXPECT_EQ(std::string(got, length), expected);
    EXPECT_EQ(text->Read(&length, &kind), nullptr); // once
    EXPECT_EQ(std::string(text->Current(&length, &kind), length), expected);
    // The statistics accumulate: the same sample again keeps the average.
    Process("h");
    EXPECT_EQ(std::string(text->Read(&length, &kind), length), expected);
    text->Rewind();
    EXPECT_EQ(std::string(text->Read(&length, &kind), length), expected);
    text->Release();
}

TEST_F(Search, CalcHeuristicInitialValues) {
    const char* initial = "heur1 = 1.000000000000\nheur2 = 1.000000000000\n";
    struct Case {
        std::vector<int32_t> frames;
        std::vector<int32_t> labels;
    };
    const Case cases[] = {
        {{0}, {1}},
        {{0, 10}, {1}},
        {{0, 10, 30}, {1, 7}},  // a label beyond the classes ends the span
        {{0, 10, 30}, {-1, 2}}, // an unknown phoneme
        {{0, 10, 30}, {1}},     // an unset label
    };
    for (const Case& c : cases) {
        Fresh();
        Make("c = c\n", 0.5f, 0.8f, 0.5f);
        cb->SetBoundaries(c.frames, 1, 10.0f, c.labels);
        In("h = new CalcHeuristic(e1, e2, cb)");
        Process("h");
        auto* text = QueryInterface<Input>(Get("h"), "Input");
        int length = 0, kind = 0;
        const char* got = text->Read(&length, &kind);
        EXPECT_EQ(std::string(got, length), initial) << c.frames.size();
        text->Release();
    }
}

TEST_F(Search, HelpTexts) {
    EXPECT_EQ(Run("help PQEngine"),
              "\tA search engine, storing all hypotheses in the same stack\n\n"
              "\tAll hypotheses are stored in the same stack. We pop the most probable,\n"
              "extend it it all possible ways, then push the extended ones back into the\n"
              "stack. We repeat it until the popped hypothesis reached the end of the\n"
              "utterance.\n\n\nCREATION:\n\n"
              "\tPQEngine(eval1, eval2, cb, lang[, num1:500, num2:130])\n\n"
              "\teval1, eval2 : Evaluators\n"
              "\tcb           : ClusterBound\n"
              "\tlang         : Language\n"
              "\tnum1         : Number, minimal length of phonemes\n"
              "\tnum2         : Number, maximal length of phonemes\n\n");
    EXPECT_EQ(Run("help MPQEngine"),
              "\tA search engine using different stacks for each time instance\n\n"
              "\tWe go through all stacks in an increasing (time) order; pop all the\n"
              "hypotheses, extend them in all possible ways, and push the result hypotheses\n"
              "back into the stack according to their new ending time.\n\n\nCREATION:\n\n"
              "\tMPQEngine(eval1, eval2, cb, lang[, num1:25, num2:0, num3:10, num4:130])\n\n"
              "\teval1, eval2 : Evaluators for phoneme recognition\n"
              "\tcb           : ClusterBound interface\n"
              "\tlang         : Language module\n"
              "\tnum1         : Number, stack size\n"
              "\tnum2\t\t : Number (really boolean, 0 or 1), may_skip_spaces\n"
              "\tnum3         : Number, minimal length of phonemes\n"
              "\tnum4         : Number, maximal length of phonemes\n\n");
    Make("c = c\n", 0.5f, 0.5f, 0.5f);
    In("pq = new PQEngine(e1, e2, cb, d)");
    EXPECT_EQ(std::string(Get("pq")->Help()), "");
}

TEST_F(Search, ArgumentChecksInOrder) {
    Make("c = c\n", 0.5f, 0.5f, 0.5f);
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"x = new PQEngine(e1, 5, cb, d)",
         "PQEngine: First two parameter must be an 'Evaluator' Interface"},
        {"x = new PQEngine(cb, e2, 5, 5)",
         "PQEngine: First two parameter must be an 'Evaluator' Interface"},
        {"x = new PQEngine(e1, e2, d, 5)",
         "PQEngine: Third parameter not a 'ClusterBound' Interface"},
        {"x = new PQEngine(e1, e2, cb, ph)",
         "PQEngine: Fourth parameter not a 'Language' Interface"},
        {"x = new MPQEngine(5, e2, cb, d, ph)",
         "MPQEngine: First two parameter must be an 'Evaluator' Interface"},
        {"x = new MPQEngine(e1, e2, e1, d, ph)",
         "MPQEngine: Third parameter not a 'ClusterBound' Interface"},
        {"x = new MPQEngine(e1, e2, cb, cb, ph)",
         "MPQEngine: Fourth parameter not a 'Language' Interface"},
        {"x = new MPQEngine(e1, e2, cb, d, d)",
         "MPQEngine: Fifth parameter not a 'Phonemes' Interface"},
        {"x = new MPQEngine(e1, e2, cb, d)",
         "MPQEngine: Fifth parameter not a 'Phonemes' Interface"},
        {"x = new CalcHeuristic(e1, cb, cb)",
         "CalcHeuristic: First two parameter must be an 'Evaluator' Interface"},
        {"x = new CalcHeuristic(e1, e2, d)",
         "CalcHeuristic: Third parameter not a 'ClusterBound' Interface"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(In(c.script), std::string(c.message) + "\n" kRefused) << c.script;
    // Optional numbers: defaults, a text, and a capacity below 1 are all accepted.
    for (const char* script : {"x = new PQEngine(e1, e2, cb, d, 0, \"x\")",
                               "x = new MPQEngine(e1, e2, cb, d, ph, -3, 1, 10, 0)",
                               "x = new CalcHeuristic(e1, e1, cb)"}) {
        EXPECT_EQ(In(script), "") << script;
        EXPECT_NE(Get("x"), nullptr);
    }
}

TEST_F(Search, InterfaceNames) {
    Make("c = c\n", 0.5f, 0.5f, 0.5f);
    In("pq = new PQEngine(e1, e2, cb, d); mpq = new MPQEngine(e1, e2, cb, d, ph);"
       "h = new CalcHeuristic(e1, e2, cb)");
    for (const char* path : {"pq", "mpq", "h"})
        for (const char* name : {"Hypothesis", "Module", "Folder", "Interface"}) {
            Interface* object = Get(path);
            void* answer = object->GetInterface(name);
            EXPECT_NE(answer, nullptr) << path << " " << name;
            if (answer) object->Release(); // the reference the answer took
        }
    auto* input = QueryInterface<Input>(Get("h"), "Input");
    EXPECT_NE(input, nullptr);
    if (input) input->Release();
    EXPECT_EQ(Get("pq")->GetInterface("Input"), nullptr);
}
} // namespace
