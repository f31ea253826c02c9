// Cluster bounds and segmentation: the fixed-step grid, the boundary detector's
// examined frames, thresholds, gate and closing frame, annotation files with their
// kinds of lines, limits and time bases, training lines in their exact format, and the
// read-once texts that every production offers again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ClusterBound.h"
#include "Evaluator.h"
#include "Feature.h"
#include "Input.h"
#include "Module.h"
#include "core/ModuleBase.h"
#include "signal/FeatureChain.h"

namespace {
// A cluster bound set by the test; indices beyond the list give its last boundary.
class StubBound : public ModuleBase, public virtual ClusterBound {
  public:
    void Set(std::vector<int32_t> b, int isComplete = 1) {
        bounds = std::move(b);
        count = static_cast<int32_t>(bounds.size());
        complete = isComplete;
    }
    int32_t Boundary(int32_t i) override {
        if (bounds.empty()) return 0;
        return bounds[std::clamp<int32_t>(i, 0, count - 1)];
    }
    int32_t Label(int32_t) override { return 0; }
    void* GetInterface(const char* name) override {
        if (std::string(name) != "ClusterBound") return ModuleBase::GetInterface(name);
        AddRef();
        return static_cast<ClusterBound*>(this);
    }
    std::vector<int32_t> bounds;
};

// A boundary detector: score 2 of (t, t + 1) comes from a function of t; records the t.
class Detector : public ModuleBase, public virtual Evaluator {
  public:
    Detector() {
        scores = values_;
        count = 3;
    }
    float* Evaluate(int32_t begin, int32_t end) override {
        asked.push_back(begin);
        EXPECT_EQ(end, begin + 1);
        values_[2] = score ? score(begin) : 0.0f;
        return scores;
    }
    void* GetInterface(const char* name) override {
        if (std::string(name) != "Evaluator") return ModuleBase::GetInterface(name);
        AddRef();
        return static_cast<Evaluator*>(this);
    }
    std::function<float(int32_t)> score;
    std::vector<int32_t> asked;

  private:
    float values_[3] = {};
};

// A feature whose values the test sets.
class StubFeature : public ModuleBase, public virtual Feature {
  public:
    void Set(std::vector<float> v, int isComplete) {
        values = std::move(v);
        data = values.data();
        length = static_cast<int32_t>(values.size());
        complete = isComplete;
    }
    void* GetInterface(const char* name) override {
        if (std::string(name) != "Feature") return ModuleBase::GetInterface(name);
        AddRef();
        return static_cast<Feature*>(this);
    }
    std::vector<float> values;
};

// A consumer that reads its source's text once per Process, as a file writer would.
class Reader : public ModuleBase {
  public:
    int Process() override {
        int length = 0, kind = 0;
        if (const char* text = source->Read(&length, &kind)) texts.emplace_back(text, length);
        return 0;
    }
    Input* source = nullptr; // not held: the test's folder keeps it
    std::vector<std::string> texts;
};

// What the interpreter adds when a factory yields no object.
#define kRefused "Warning: '(' not Found\n"

class Segmentation : public FeatureChain {
  protected:
    template <class T> T* Add(const std::string& name, const std::string& in = "") {
        auto* object = new T;
        auto* home =
            QueryInterface<Folder>(Evaluate(in.empty() ? folder : folder + "." + in), "Folder");
        home->Set(name.c_str(), static_cast<int>(name.size()), object, 0);
        home->Release();
        return object;
    }
    ClusterBound* Bound(const std::string& name) {
        auto* cb = QueryInterface<ClusterBound>(Get(name), "ClusterBound");
        if (cb) cb->Release();
        return cb;
    }
    Module* ModuleOf(const std::string& name) {
        auto* module = QueryInterface<Module>(Get(name), "Module");
        if (module) module->Release();
        return module;
    }
    int Process(const std::string& name) { return ModuleOf(name)->Process(); }
    // Every boundary of a cluster bound.
    std::vector<int32_t> Boundaries(const std::string& name) {
        ClusterBound* cb = Bound(name);
        std::vector<int32_t> b;
        for (int32_t i = 0; i < cb->count; ++i)
            b.push_back(cb->Boundary(i));
        return b;
    }
    // One Read of an object's text; "<end>" when it reports the end.
    std::string ReadOnce(const std::string& name) {
        auto* input = QueryInterface<Input>(Get(name), "Input");
        int length = -1, kind = 0;
        const char* text = input->Read(&length, &kind);
        std::string got = text ? std::string(text, length) : "<end>";
        if (text) {
            EXPECT_EQ(kind, kKindText);
        }
        input->Release();
        return got;
    }
};

std::vector<int32_t> Grid(std::initializer_list<int32_t> v) {
    return v;
}

// ---------------------------------------------------------------- FakeClusters

TEST_F(Segmentation, FakeClustersGrid) {
    struct Case {
        int frames, complete, step;
        std::vector<int32_t> want;
    };
    const Case cases[] = {
        {100, 1, 10, Grid({0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 99})},
        {100, 0, 10, Grid({0, 10, 20, 30, 40, 50, 60, 70, 80, 99})},
        // The grid ends on the last frame: no zero-length segment behind it.
        {101, 1, 10, Grid({0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100})},
        {5, 1, 2, Grid({0, 2, 4})},
        {5, 1, 3, Grid({0, 3, 4})},
        {1, 1, 4, Grid({0})},
        {0, 1, 4, Grid({})},
        {7, 1, 100, Grid({0, 6})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.frames) + "/" + std::to_string(c.complete) + "/" +
                     std::to_string(c.step));
        Fresh();
        auto* source = Add<StubBound>("s");
        source->Set(std::vector<int32_t>(c.frames), c.complete);
        source->frameMs = 11.5f;
        ASSERT_EQ(In("f = new FakeClusters(" + std::to_string(c.step) + ", s)"), "");
        EXPECT_EQ(Process("f"), 0);
        EXPECT_EQ(Boundaries("f"), c.want);
        ClusterBound* f = Bound("f");
        EXPECT_EQ(f->complete, c.complete);
        EXPECT_EQ(f->frameMs, 11.5f);
        EXPECT_EQ(f->Boundary(-1), 0);
        EXPECT_EQ(f->Label(0), 0);
        if (!c.want.empty()) {
            EXPECT_EQ(f->Boundary(f->count + 5), c.want.back());
        }
    }
}

// ---------------------------------------------------------------- factories

TEST_F(Segmentation, FactoriesRefuseWhatTheyCannotUse) {
    Add<StubBound>("cb");
    Add<Detector>("e");
    In("p = new SimplePhonemes(\"a\\nb\")");
    In("d = new ACDuration()");
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"ANNClusters(\"2\", cb, e)", "ANNClusters: First parameter must be 'Number' Interface"},
        {"ANNClusters(0, cb, e)", "ANNClusters: First parameter must be 'Number' Interface"},
        {"ANNClusters(-2, cb, e)", "ANNClusters: First parameter must be 'Number' Interface"},
        {"ANNClusters(0.5, cb, e)", "ANNClusters: First parameter must be 'Number' Interface"},
        {"ANNClusters(2, e, e)", "ANNClusters: Second parameter must be 'ClusterBound' Interface"},
        {"ANNClusters(2, cb, cb)", "ANNClusters: Third parameter must be 'Evaluator' Interface"},
        {"FakeClusters(cb, cb)", "FakeClusters: First parameter must be 'Number' Interface"},
        {"FakeClusters(0, cb)", "FakeClusters: First parameter must be 'Number' Interface"},
        {"FakeClusters(-1, cb)", "FakeClusters: First parameter must be 'Number' Interface"},
        {"FakeClusters(3, e)", "FakeClusters: Second parameter must be 'ClusterBound' Interface"},
        {"DatFile(3, cb, p)", "DatFile: First parameter must be 'Input' Interface"},
        {"DatFile(\"x\", cb, cb)", "DatFile: Third parameter must be 'Phonemes' Interface"},
        {"SegmentTrain(e, 1, 0, d)",
         "SegmentTrain: First parameter must be 'ClusterBound' Interface"},
        {"SegmentTrain(cb, \"1\", 0, d)",
         "SegmentTrain: Second parameter must be 'Number' Interface"},
        {"SegmentTrain(cb)", "SegmentTrain: Second parameter must be 'Number' Interface"},
        {"SegmentTrain(cb, 1, cb, d)", "SegmentTrain: Third parameter must be 'Number' Interface"},
        {"SegmentTrain(cb, 1, 0)", "SegmentTrain: Fourth parameter must be 'ACue' Interface"},
        {"SegmentTrain(cb, 1, 0, e)", "SegmentTrain: Fourth parameter must be 'ACue' Interface"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(In(std::string("x = new ") + c.script), std::string(c.message) + "\n" kRefused);
    }
}

TEST_F(Segmentation, InterfacesOfEachClass) {
    Add<StubBound>("cb");
    Add<Detector>("e");
    In("tb = new Folder; tb.sps = 1000; tb.framedist = 1");
    In("p = new SimplePhonemes(\"a\\nb\")");
    In("d = new ACDuration()");
    struct Case {
        const char* script;
        bool input, clusterBound;
    };
    const Case cases[] = {
        {"ANNClusters(2, cb, e)", false, true},
        {"FakeClusters(2, cb)", false, true},
        {"DatFile(\"x\", tb, p)", true, true},
        {"SegmentTrain(cb, 1, 0, d)", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ASSERT_EQ(In(std::string("x = new ") + c.script), "");
        Interface* x = Get("x");
        for (const char* name : {"Module", "Folder", "Interface"}) {
            void* answer = x->GetInterface(name);
            EXPECT_NE(answer, nullptr) << name;
            if (answer) x->Release();
        }
        void* input = x->GetInterface("Input");
        void* cb = x->GetInterface("ClusterBound");
        EXPECT_EQ(input != nullptr, c.input);
        EXPECT_EQ(cb != nullptr, c.clusterBound);
        if (input) x->Release();
        if (cb) x->Release();
        // Linked to its cluster-bound source.
        auto* source = dynamic_cast<StubBound*>(Get("cb"));
        bool usesCb = std::string(c.script).find("cb") != std::string::npos;
        EXPECT_EQ(source->IsDependant(x), usesCb);
    }
}

// ---------------------------------------------------------------- ANNClusters

class Detection : public Segmentation {
  protected:
    // s = a source of the given frames, e = the detector, a = ANNClusters(args).
    void Make(const std::string& args, std::function<float(int32_t)> score = nullptr) {
        Fresh();
        source = Add<StubBound>("s");
        detector = Add<Detector>("e");
        detector->score = std::move(score);
        gate = Add<StubFeature>("g");
        ASSERT_EQ(In("a = new ANNClusters(" + args + ")"), "");
    }
    void Grow(int frames, int complete) {
        source->Set(std::vector<int32_t>(frames), complete);
        source->frameMs = 10;
        Process("a");
    }
    StubBound* source = nullptr;
    Detector* detector = nullptr;
    StubFeature* gate = nullptr;
};

std::vector<int32_t> Multiples(int step, int from, int to) {
    std::vector<int32_t> v;
    for (int t = from; t <= to; t += step)
        v.push_back(t);
    return v;
}

TEST_F(Detection, ExaminesEveryStepAndResumesAfterTheLast) {
    Make("2, s, e");
    Grow(50, 0); // L = 50 - 0 - 11
    EXPECT_EQ(detector->asked, Multiples(2, 2, 38));
    detector->asked.clear();
    Grow(50, 0);
    EXPECT_TRUE(detector->asked.empty());
    Grow(75, 0); // L = 75 - 1 - 11 = 63
    EXPECT_EQ(detector->asked, Multiples(2, 40, 62));
    detector->asked.clear();
    Grow(75, 1); // L = 73
    EXPECT_EQ(detector->asked, Multiples(2, 64, 72));
    EXPECT_EQ(Boundaries("a"), Grid({0, 74})); // nothing fired
    EXPECT_EQ(Bound("a")->complete, 1);
    EXPECT_EQ(Bound("a")->frameMs, 10.0f);
}

// Fed in growing blocks or all at once, the detector finds the same boundaries.
TEST_F(Detection, BlocksGiveTheSameBoundariesAsTheWhole) {
    auto fires = [](int32_t t) { return t % 3 == 0 ? 0.9f : 0.1f; };
    struct Case {
        int step;
        std::vector<int> blocks;
    };
    const Case cases[] = {
        {1, {20, 33, 60, 97}}, {2, {15, 16, 50, 97}}, {4, {97}}, {5, {12, 40, 97}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        Make(std::to_string(c.step) + ", s, e", fires);
        for (size_t i = 0; i < c.blocks.size(); ++i)
            Grow(c.blocks[i], i + 1 == c.blocks.size());
        std::vector<int32_t> want = {0};
        for (int t = c.step; t <= 95; t += c.step)
            if (t % 3 == 0) want.push_back(t);
        want.push_back(96);
        EXPECT_EQ(Boundaries("a"), want);
        // Each frame was examined once.
        std::vector<int32_t> asked = detector->asked;
        std::sort(asked.begin(), asked.end());
        EXPECT_EQ(std::adjacent_find(asked.begin(), asked.end()), asked.end());
    }
}

// A complete source ends with its last frame, once, however often it is processed.
TEST_F(Detection, CompleteSourceEndsOnceWithItsLastFrame) {
    const int frames[] = {10, 11, 12, 2, 1};
    for (int n : frames) {
        SCOPED_TRACE(n);
        Make("3, s, e", [](int32_t) { return 1.0f; });
        for (int pass = 0; pass < 3; ++pass)
            Grow(n, 1);
        std::vector<int32_t> want = Multiples(3, 3, n - 2);
        want.insert(want.begin(), 0);
        if (want.back() < n - 1) want.push_back(n - 1);
        EXPECT_EQ(Boundaries("a"), want);
    }
}

TEST_F(Detection, ThresholdAndGate) {
    // Scores 0.1, 0.2, ... by frame; the threshold compares as a 32-bit float.
    auto rising = [](int32_t t) { return static_cast<float>(t) / 10.0f; };
    Make("1, s, e", rising);
    Grow(10, 1);
    EXPECT_EQ(Boundaries("a"), Grid({0, 5, 6, 7, 8, 9})); // 0.5f reaches 0.5
    Make("1, s, e, 0, 0.7", rising);                      // 0 is no feature: no gate
    Grow(10, 1);
    EXPECT_EQ(Boundaries("a"), Grid({0, 7, 8, 9}));
    Make("1, s, e, g, 0.3", rising);
    gate->Set({1, 1, 1, 0, 1, 0, 1, 1, 0, 1}, 1);
    Grow(10, 1);
    EXPECT_EQ(Boundaries("a"), Grid({0, 4, 6, 7, 9}));
}

// A growing gate that does not reach a frame yet holds the detector back; a complete
// one is closed beyond its end.
TEST_F(Detection, GateShorterThanTheSource) {
    Make("1, s, e, g", [](int32_t) { return 1.0f; });
    gate->Set({1, 1, 1, 1, 1}, 0);
    Grow(30, 0); // L = 19, but the gate holds frames 0 ... 4
    EXPECT_EQ(detector->asked, Multiples(1, 1, 4));
    gate->Set(std::vector<float>(12, 1.0f), 1);
    Grow(30, 1);
    std::vector<int32_t> want = Multiples(1, 0, 11);
    want.push_back(29);
    EXPECT_EQ(Boundaries("a"), want);
}

TEST_F(Detection, DiscardStartsAgain) {
    Make("2, s, e", [](int32_t) { return 1.0f; });
    Grow(20, 1);
    EXPECT_EQ(Bound("a")->count, 11); // 0, 2, ..., 18, 19
    ModuleOf("a")->Discard(-1);
    EXPECT_EQ(Bound("a")->count, 0);
    EXPECT_EQ(Bound("a")->Boundary(0), 0);
    EXPECT_EQ(Bound("a")->Boundary(3), 0);
    detector->asked.clear();
    Grow(7, 1);
    EXPECT_EQ(detector->asked, Grid({2, 4}));
    EXPECT_EQ(Boundaries("a"), Grid({0, 2, 4, 6}));
    EXPECT_EQ(Bound("a")->Boundary(-4), 0);
    EXPECT_EQ(Bound("a")->Boundary(40), 6);
    EXPECT_EQ(Bound("a")->Label(1), 0);
}

// A detector of one class has no second score to read: nothing fires.
TEST_F(Detection, DetectorWithoutASecondClass) {
    Make("1, s, e", [](int32_t) { return 1.0f; });
    detector->count = 2;
    Grow(6, 1);
    EXPECT_EQ(Boundaries("a"), Grid({0, 5}));
}

// ---------------------------------------------------------------- DatFile

class Annotation : public Segmentation {
  protected:
    // p: codes a = 1, b = 2, sz = 3; tb: the time base; d = DatFile("u", tb, p).
    std::string Make(double sps = 22050, double frameDist = 256, const std::string& extra = "") {
        Fresh();
        In("p = new SimplePhonemes(\"a\\nb\\nsz\")");
        In("tb = new Folder; tb.sps = " + Text(sps) + "; tb.framedist = " + Text(frameDist));
        return In("d = new DatFile(\"u\", tb, p" + extra + ")");
    }
    static std::string Text(double v) {
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", v);
        return text;
    }
    // Writes u.dat and loads it; returns what the load printed.
    std::string Load(const std::string& content, const char* file = "u.dat") {
        std::remove("u.dat");
        std::remove("u.huo");
        WriteFile(file, content);
        sink_->Take();
        EXPECT_EQ(Process("d"), 0);
        return sink_->Take();
    }
    std::vector<int32_t> Labels(int n) {
        std::vector<int32_t> v;
        for (int i = 0; i < n; ++i)
            v.push_back(Bound("d")->Label(i));
        return v;
    }
    std::string Orthography() {
        auto* ort = QueryInterface<Input>(Get("d.ort"), "Input");
        EXPECT_NE(ort, nullptr);
        if (!ort) return "<none>";
        int length = 0, kind = 0;
        const char* text = ort->Current(&length, &kind);
        std::string got(text, length);
        ort->Release();
        return got;
    }
};

TEST_F(Annotation, TimesBecomeFrames) {
    ASSERT_EQ(Make(), "");
    EXPECT_EQ(Load("ALL 0 100 250\n"), "");
    double scale = 22050 * 0.001 / 256;
    EXPECT_EQ(Boundaries("d"),
              Grid({0, static_cast<int32_t>(100 * scale), static_cast<int32_t>(250 * scale)}));
    EXPECT_EQ(Boundaries("d"), Grid({0, 8, 21}));
    ClusterBound* d = Bound("d");
    EXPECT_NEAR(d->frameMs, 1 / scale, 1e-4);
    EXPECT_NEAR(d->frameMs, 11.61, 0.005);
    EXPECT_EQ(d->complete, 1);
    EXPECT_EQ(d->Boundary(-2), 0);
    EXPECT_EQ(d->Boundary(7), 21); // beyond the list: the last boundary
}

TEST_F(Annotation, KindsOfLines) {
    struct Case {
        const char* file;
        const char* messages;
        std::vector<int32_t> boundaries, labels;
        const char* text;
        const char* orthography;
    };
    const Case cases[] = {
        {"TYP a b x sz\nALL 0 1 2 3 4\nORT ab ba\n", "WARNING: UNKNOWN PHONEME IN DATAFILE \"x\"\n",
         Grid({0, 1, 2, 3, 4}), Grid({1, 2, -1, 3, 0}), " a b sz = ab ba", "ab ba"},
        // Lines end in CR, LF or both; blanks and tabs part words; kinds by their start.
        {"\r\n  TYPE\ta  b\r\n\r\nALLE 5\t6\rORTX one\n", "", Grid({5, 6}), Grid({1, 2, 0}),
         " a b = one", "one"},
        {"AL 5\nTY a\nOR x\nXYZ\n", "", Grid({}), Grid({0}), " = ", ""},
        // The sentence after three comma fields keeps its last letter; a tab ends it.
        {"LBO: 0,10,20,hello world\tnote\n", "", Grid({}), Grid({0}), " = hello world",
         "hello world"},
        {"LBO:1,2,3,x\n", "", Grid({}), Grid({0}), " = x", "x"},
        // Too few fields: no sentence from that line.
        {"ORT kept\nLBO: 0,10 word\n", "", Grid({}), Grid({0}), " = kept", "kept"},
        {"LBO:\n", "", Grid({}), Grid({0}), " = ", ""},
        // The last ORT or LBO line wins.
        {"ORT first\nORT second one\n", "", Grid({}), Grid({0}), " = second one", "second one"},
        // CMT keeps every word in the text, shares the labels and warns alike.
        {"TYP a\nCMT: zz b\n", "WARNING: UNKNOWN PHONEME IN DATAFILE \"zz\"\n", Grid({}),
         Grid({1, -1, 2, 0}), " a zz b = ", ""},
        {"", "", Grid({}), Grid({0}), " = ", ""},
    };
    Make(1000, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(Load(c.file), c.messages);
        EXPECT_EQ(Boundaries("d"), c.boundaries);
        EXPECT_EQ(Labels(static_cast<int>(c.labels.size())), c.labels);
        EXPECT_EQ(Bound("d")->Label(-1), 0);
        EXPECT_EQ(ReadOnce("d"), c.text);
        EXPECT_EQ(Orthography(), c.orthography);
    }
}

TEST_F(Annotation, HuoFallbackAndMissingFiles) {
    Make(1000, 1);
    EXPECT_EQ(Load("ALL 3 9\nORT x\n", "u.huo"),
              "DatFile: File Not Found (u.dat), trying '.huo'\n");
    EXPECT_EQ(Boundaries("d"), Grid({3, 9}));
    EXPECT_EQ(ReadOnce("d"), " = x");
    std::remove("u.huo");
    EXPECT_EQ(Process("d"), 0);
    EXPECT_EQ(sink_->Take(), "DatFile: File Not Found (u.dat), trying '.huo'\n"
                             "DatFile: File Not Found (u.huo)\n");
    // The previous annotation stays, and its text is not offered again.
    EXPECT_EQ(Boundaries("d"), Grid({3, 9}));
    EXPECT_EQ(Orthography(), "x");
    EXPECT_EQ(ReadOnce("d"), "<end>");
}

TEST_F(Annotation, TimeBaseWarnings) {
    struct Case {
        const char* timeBase;
        const char* messages;
        std::vector<int32_t> boundaries;
    };
    const Case cases[] = {
        {"tb", "", Grid({0, 5, 12})},
        {"e",
         "Datfile: Warning: sps not found, using 1000\n"
         "Datfile: Warning: framedist not found, using 1\n",
         Grid({0, 10, 24})},
        {"s", "Datfile: Warning: framedist not found, using 1\n", Grid({0, 20, 49})},
        {"",
         "DatFile: Warning: Second parameter missing\n"
         "Datfile: Warning: sps not found, using 1000\n"
         "Datfile: Warning: framedist not found, using 1\n",
         Grid({0, 10, 24})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timeBase);
        Make(500, 1);
        In("e = new Folder; s = new Folder; s.sps = 2000");
        sink_->Take();
        EXPECT_EQ(In(std::string("x = new DatFile(\"u\", ") + c.timeBase + ", p)"), c.messages);
        WriteFile("u.dat", "ALL 0 10 24.9\n");
        EXPECT_EQ(Process("x"), 0);
        EXPECT_EQ(Boundaries("x"), c.boundaries);
    }
}

// The time base is read at each load, so a spectrum's rate counts once it is known.
TEST_F(Annotation, TimeBaseIsReadAtEachLoad) {
    Make(1000, 1);
    Load("ALL 0 40\n");
    EXPECT_EQ(Boundaries("d"), Grid({0, 40}));
    auto* sps = QueryInterface<Number>(Get("tb.sps"), "Number");
    sps->value = 4000;
    sps->Release();
    Load("ALL 0 40\n");
    EXPECT_EQ(Boundaries("d"), Grid({0, 160}));
    EXPECT_NEAR(Bound("d")->frameMs, 0.25, 1e-6);
}

// A voice detector's boundaries 0 and 1 (samples) move the annotation onto the
// utterance it found.
TEST_F(Annotation, ShiftOntoTheDetectedUtterance) {
    struct Case {
        const char* times;
        std::vector<int32_t> want;
    };
    const Case cases[] = {
        {"ALL 0 5 12 30 50\n", Grid({0, 0, 2, 20, 25})},
        {"ALL 40 80\n", Grid({0, 25})},
        {"ALL 40\n", Grid({0})},
        {"TYP a\n", Grid({})}, // no boundaries: nothing to move
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.times);
        Fresh();
        auto* vd = Add<StubBound>("vd");
        vd->Set({256 * 10, 256 * 35});
        In("p = new SimplePhonemes(\"a\")");
        In("tb = new Folder; tb.sps = 256000; tb.framedist = 256"); // one frame per ms
        ASSERT_EQ(In("d = new DatFile(\"u\", tb, p, vd)"), "");
        WriteFile("u.dat", c.times);
        Process("d");
        EXPECT_EQ(Boundaries("d"), c.want);
    }
}

TEST_F(Annotation, LimitsOfTheFixedLists) {
    Make(1000, 1);
    std::string all = "ALL", typ = "TYP", cmt = "CMT:", ort = "ORT";
    for (int i = 0; i < 1030; ++i) {
        all += " " + std::to_string(i);
        typ += i < 1029 ? " a" : " b";
        cmt += " zz";
        ort += " ab";
    }
    EXPECT_EQ(Load(all + "\n" + typ + "\n" + ort + "\n"),
              "DatFile: number of values in ALL exceeded the 1024 limit\n"
              "DatFile: number of values in TYP exceeded the 1024 limit\n");
    ClusterBound* d = Bound("d");
    EXPECT_EQ(d->count, 1024);
    EXPECT_EQ(d->Boundary(1022), 1022);
    EXPECT_EQ(d->Boundary(1023), 1029); // later values overwrote the last one
    EXPECT_EQ(d->Label(1022), 1);
    EXPECT_EQ(d->Label(1023), 2);
    EXPECT_EQ(d->Label(1024), 0);
    std::string sentence = Orthography();
    EXPECT_LE(sentence.size(), 1024u);
    EXPECT_GE(sentence.size(), 1023u);
    EXPECT_EQ(sentence.substr(0, 9), "ab ab ab ");
    std::string cmtMessages = Load(cmt + "\n");
    EXPECT_NE(cmtMessages.find("DatFile: number of values in CMT exceeded the 1024 limit\n"),
              std::string::npos);
    EXPECT_EQ(Bound("d")->Label(1023), -1);
    EXPECT_LE(ReadOnce("d").size(), 8192u + 3);
}

// Each load replaces the whole annotation and offers its text once.
TEST_F(Annotation, EachLoadReplacesAndOffersItsTextOnce) {
    Make(1000, 1);
    Load("TYP a b\nALL 0 1 2\nORT ab\n");
    EXPECT_EQ(ReadOnce("d"), " a b = ab");
    EXPECT_EQ(ReadOnce("d"), "<end>");
    auto* input = QueryInterface<Input>(Get("d"), "Input");
    int length = 0, kind = 0;
    const char* current = input->Current(&length, &kind);
    EXPECT_EQ(std::string(current, length), " a b = ab");
    input->Rewind();
    input->Release();
    EXPECT_EQ(ReadOnce("d"), " a b = ab");
    EXPECT_EQ(ReadOnce("d"), "<end>");
    Load("TYP sz\nALL 4 5\n");
    EXPECT_EQ(ReadOnce("d"), " sz = ");
    EXPECT_EQ(Labels(2), Grid({3, 0}));
    EXPECT_EQ(Boundaries("d"), Grid({4, 5}));
    EXPECT_EQ(Orthography(), "");
}

// In a module folder a consumer reading once per pass gets every utterance's text.
TEST_F(Annotation, ConsumerGetsOneTextPerPass) {
    Make(1000, 1);
    In("mf = new ModuleFolder(); mf.d = new DatFile(\"u\", tb, p)");
    auto* reader = Add<Reader>("r", "mf");
    reader->source = QueryInterface<Input>(Get("mf.d"), "Input");
    reader->source->Release();
    ModuleOf("mf.d")->AddDependant(reader);
    In("mf.build()");
    const char* files[] = {"ORT one\n", "ORT two\n", "TYP a\n"};
    for (const char* file : files) {
        WriteFile("u.dat", file);
        In("mf.start()");
    }
    EXPECT_EQ(reader->texts, (std::vector<std::string>{" = one", " = two", " a = "}));
}

// ---------------------------------------------------------------- SegmentTrain

class Training : public Segmentation {
  protected:
    // cb = the given boundaries; b = a feature of values 1 + i / 4; c = ACBegin(b),
    // d = ACDuration(); t = SegmentTrain(cb, args, c, d).
    std::string Make(std::vector<int32_t> bounds, const std::string& args) {
        Source(64, 1);
        cb = Add<StubBound>("cb");
        cb->Set(std::move(bounds));
        FeatureChain::Make("b", "FBand(m, 0)");
        std::vector<float> x;
        for (int i = 0; i < 60; ++i)
            x.push_back(1 + i / 4.0f);
        Feed(x, {});
        In("c = new ACBegin(b); d = new ACDuration()");
        return In("t = new SegmentTrain(cb, " + args + ", c, d)");
    }
    StubBound* cb = nullptr;
};

TEST_F(Training, LinesInTheirExactFormat) {
    struct Case {
        std::vector<int32_t> bounds;
        const char* args;
        const char* text;
    };
    const Case cases[] = {
        // Without edges the first and the last segment are left out.
        {Grid({0, 3, 7, 12, 20}), "3, 0", "1.750000,4.000000,3\n2.750000,5.000000,3\n"},
        {Grid({0, 3, 7, 12, 20}), "3, 1",
         "1.000000,3.000000,3\n1.750000,4.000000,3\n2.750000,5.000000,3\n"
         "4.000000,8.000000,3\n"},
        // Segments of no length give no line.
        {Grid({0, 3, 3, 7, 7}), "12, 1", "1.000000,3.000000,12\n1.750000,4.000000,12\n"},
        {Grid({0, 3, 7}), "0, 0", ""},
        {Grid({0, 3, 7}), "0, 1", "1.000000,3.000000,0\n1.750000,4.000000,0\n"},
        // A negative class writes nothing.
        {Grid({0, 3, 7, 12}), "-1, 1", ""},
        {Grid({5}), "2, 1", ""},
        {Grid({}), "2, 1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        ASSERT_EQ(Make(c.bounds, c.args), "");
        EXPECT_EQ(Process("t"), 1);
        EXPECT_EQ(ReadOnce("t"), c.text);
    }
}

// Steps alternate between producing (1) and nothing (-1); each production offers
// its text once more.
TEST_F(Training, StepsAlternateAndRearmTheText) {
    Make(Grid({0, 3, 7}), "1, 1");
    Module* t = ModuleOf("t");
    EXPECT_EQ(ReadOnce("t"), "<end>"); // nothing produced yet
    EXPECT_EQ(t->Process(), 1);
    const std::string text = "1.000000,3.000000,1\n1.750000,4.000000,1\n";
    EXPECT_EQ(ReadOnce("t"), text);
    EXPECT_EQ(ReadOnce("t"), "<end>");
    EXPECT_EQ(t->Step(), -1);
    EXPECT_EQ(ReadOnce("t"), "<end>");
    cb->Set(Grid({0, 3}));
    EXPECT_EQ(t->Step(), 1);
    EXPECT_EQ(ReadOnce("t"), "1.000000,3.000000,1\n");
    auto* input = QueryInterface<Input>(Get("t"), "Input");
    input->Rewind();
    input->Release();
    EXPECT_EQ(ReadOnce("t"), "1.000000,3.000000,1\n");
    EXPECT_EQ(t->Process(), -1);
    EXPECT_EQ(t->Process(), 1);
}

// Run by a module folder once per utterance, a consumer gets one text per pass.
TEST_F(Training, ConsumerGetsOneTextPerPass) {
    Make(Grid({0, 3}), "2, 1");
    In("mf = new ModuleFolder(); mf.cb = cb; mf.t = t");
    auto* reader = Add<Reader>("r", "mf");
    reader->source = QueryInterface<Input>(Get("t"), "Input");
    reader->source->Release();
    ModuleOf("t")->AddDependant(reader);
    In("mf.build()");
    const std::vector<int32_t> utterances[] = {Grid({0, 3}), Grid({0, 7}), Grid({3, 7})};
    for (const auto& bounds : utterances) {
        cb->Set(bounds);
        In("mf.start()");
    }
    EXPECT_EQ(reader->texts, (std::vector<std::string>{
                                 "1.000000,3.000000,2\n",
                                 "1.000000,7.000000,2\n",
                                 "1.750000,4.000000,2\n",
                             }));
}

// Many segments fill the text to its limit with whole lines only.
TEST_F(Training, TextIsBoundedByWholeLines) {
    std::vector<int32_t> bounds;
    for (int i = 0; i < 3000; ++i)
        bounds.push_back(i % 60 == 59 ? i - 1 : i); // a zero-length segment every 60
    std::sort(bounds.begin(), bounds.end());
    Make(bounds, "7, 1");
    sink_->Take();
    EXPECT_EQ(Process("t"), 1);
    EXPECT_EQ(sink_->Take(), "SegmentTrain: training text exceeded the 16384 character limit\n");
    std::string want, line;
    char text[128];
    for (size_t i = 0; i + 1 < bounds.size(); ++i) {
        int b0 = bounds[i], b1 = bounds[i + 1];
        if (b0 == b1) continue;
        double begin = 1 + std::min(b0, 59) / 4.0;
        std::snprintf(text, sizeof text, "%f,%f,%d\n", begin, double(b1 - b0), 7);
        if (want.size() + std::strlen(text) > 16384) break;
        want += text;
    }
    std::string got = ReadOnce("t");
    EXPECT_EQ(got, want);
    EXPECT_LE(got.size(), 16384u);
    EXPECT_GT(got.size(), 16384u - 64);
}
} // namespace
