// VoiceDetect on generated streams: silence, bursts at and above the start threshold,
// falls to the stop threshold, two utterances, utterances running to the end of a
// block, the three modes, and a naive detector as an oracle for a stream cut into
// blocks of any size.
#include <algorithm>
#include <random>
#include <vector>

#include "ClusterBound.h"
#include "Module.h"
#include "signal/SignalTest.h"

namespace {
constexpr int N = 6000;

// A module that counts the resets it receives.
class ResetProbe : public ModuleBase {
  public:
    void Discard(int n) override {
        if (n < 0) ++resets;
    }
    int resets = 0;
};

// A stream of silence with bursts of constant level: {begin, end, level}.
struct Burst {
    int begin, end;
    float level;
};
std::vector<float> Stream(int length, const std::vector<Burst>& bursts) {
    std::vector<float> samples(length, 0.0f);
    for (const Burst& b : bursts)
        std::fill(samples.begin() + b.begin, samples.begin() + b.end, b.level);
    return samples;
}

class VoiceDetectTest : public SignalTest {
  protected:
    // Makes a source of the given capacity and a detector over it in this test's folder.
    void Make(int capacity, int mode) {
        In("src = new DummySoundBuffer(" + std::to_string(capacity) + ")");
        source = Buffer("src");
        probe = new ResetProbe;
        auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
        home->Set("probe", 5, probe, 0);
        home->Release();
        In("vd = new VoiceDetect(src, " + std::to_string(mode) + ")");
        out = Buffer("vd");
        ASSERT_NE(out, nullptr);
        module = QueryInterface<Module>(Get("vd"), "Module");
        bound = QueryInterface<ClusterBound>(Get("vd"), "ClusterBound");
        module->Release();
        bound->Release();
    }
    void Feed(const std::vector<float>& block) {
        ASSERT_LE(static_cast<int>(block.size()), source->capacity);
        std::copy(block.begin(), block.end(), source->data);
        source->length = static_cast<int32_t>(block.size());
    }
    std::vector<float> Output() const { return {out->data, out->data + out->length}; }

    SoundBuffer* source = nullptr;
    SoundBuffer* out = nullptr;
    Module* module = nullptr;
    ClusterBound* bound = nullptr;
    ResetProbe* probe = nullptr;
};

// The samples of a stream from begin to end, zeros before its start.
std::vector<float> Slice(const std::vector<float>& s, int begin, int end) {
    std::vector<float> out;
    for (int i = begin; i < end; ++i)
        out.push_back(i < 0 ? 0.0f : s[i]);
    return out;
}

TEST_F(VoiceDetectTest, SilenceStartsNothing) {
    Make(20000, 0);
    Feed(Stream(20000, {}));
    EXPECT_EQ(module->Process(), -1);
    EXPECT_EQ(out->length, 0);
    EXPECT_EQ(probe->resets, 0);
}

// 2000 samples of 1000 give exactly 2.0e9: no start; one more starts speech. A window
// of exactly 1.0e9 ends it.
TEST_F(VoiceDetectTest, ThresholdsAreStrictAboveToStartAndInclusiveToStop) {
    struct Case {
        int loud;
        int result;
    } cases[] = {{2000, -1}, {2001, 1}};
    for (const Case& c : cases) {
        Fresh();
        Make(30000, 0);
        auto stream = Stream(30000, {{10000, 10000 + c.loud, 1000.0f}});
        Feed(stream);
        EXPECT_EQ(module->Process(), c.result) << c.loud;
        EXPECT_EQ(probe->resets, c.result == 1 ? 1 : 0) << c.loud;
    }
}

TEST_F(VoiceDetectTest, BurstGivesLeadInLoudPartAndTailWithItsBoundaries) {
    Make(40000, 0);
    auto stream = Stream(40000, {{10000, 13000, 1000.0f}});
    Feed(stream);
    EXPECT_EQ(module->Process(), 1);
    // Starts when the 2001st loud sample enters the window; ends when the window holds
    // only 1000 loud samples (exactly 1.0e9).
    EXPECT_EQ(bound->Boundary(0), 6001);
    EXPECT_EQ(bound->Boundary(1), 18000);
    EXPECT_EQ(bound->Boundary(7), 18000);
    EXPECT_EQ(bound->Label(0), 0);
    EXPECT_EQ(out->complete, 1);
    EXPECT_EQ(Output(), Slice(stream, 6001, 18000));
    EXPECT_EQ(probe->resets, 1);
    EXPECT_EQ(module->Step(), -1);
    EXPECT_EQ(out->length, 0);
}

TEST_F(VoiceDetectTest, TwoFullScaleSamplesStartSpeech) {
    Make(20000, 0);
    Feed(Stream(20000, {{5000, 5002, 32767.0f}}));
    EXPECT_EQ(module->Process(), 1);
    EXPECT_EQ(bound->Boundary(0), 5002 - N);
}

TEST_F(VoiceDetectTest, StartInTheFirstWindowIsNegativeAndLeadsWithZeros) {
    Make(20000, 1);
    auto stream = Stream(20000, {{0, 3000, 1000.0f}});
    Feed(stream);
    EXPECT_EQ(module->Process(), 0);
    EXPECT_EQ(bound->Boundary(0), 2001 - N);
    EXPECT_EQ(bound->Boundary(1), 2000 + N);
    EXPECT_EQ(Output(), Slice(stream, 2001 - N, 2000 + N));
}

// Modes 0 and 2 find both utterances of one block, one run each; mode 1 only the first.
TEST_F(VoiceDetectTest, TwoUtterancesInOneBlock) {
    auto stream = Stream(60000, {{10000, 13000, 1000.0f}, {35000, 38000, 1000.0f}});
    struct Case {
        int mode;
        std::vector<int> results;
    } cases[] = {{0, {1, 1, -1}}, {2, {1, 1, -1}}, {1, {0}}};
    for (const Case& c : cases) {
        Fresh();
        Make(60000, c.mode);
        Feed(stream);
        std::vector<int> results = {module->Process()};
        std::vector<std::vector<float>> outputs = {Output()};
        std::vector<int> starts = {bound->Boundary(0)};
        while (results.size() < c.results.size()) {
            results.push_back(module->Step());
            outputs.push_back(Output());
            starts.push_back(bound->Boundary(0));
        }
        EXPECT_EQ(results, c.results) << c.mode;
        EXPECT_EQ(outputs[0], Slice(stream, 6001, 18000)) << c.mode;
        EXPECT_EQ(starts[0], 6001);
        if (c.results.size() < 2) continue;
        EXPECT_EQ(starts[1], 31001) << c.mode;
        EXPECT_EQ(outputs[1], Slice(stream, 31001, 43000)) << c.mode;
        EXPECT_EQ(probe->resets, 2);
    }
}

// The second utterance starts among the samples already in the detector's ring when
// the first one ends, with nothing of the block left unread: it is still found in the
// same block instead of waiting for the next one.
TEST_F(VoiceDetectTest, UtteranceAmongTheWaitingSamplesIsFound) {
    Make(12000, 0);
    Feed(Stream(12000, {{1000, 4000, 1000.0f}, {10000, 10002, 32767.0f}}));
    EXPECT_EQ(module->Process(), 1);
    EXPECT_EQ(bound->Boundary(0), 1000 + 2001 - N);
    EXPECT_EQ(bound->Boundary(1), 3000 + N);
    EXPECT_EQ(module->Step(), -1); // the second one runs to the end of the block
    EXPECT_EQ(bound->Boundary(0), 10002 - N);
    EXPECT_EQ(probe->resets, 2);
}

TEST_F(VoiceDetectTest, UtteranceRunningToTheEndOfAFile) {
    auto stream = Stream(20000, {{12000, 20000, 1000.0f}});
    // Mode 1 closes it at the end of the block; mode 0 waits for more; mode 2 gives
    // what it has so far.
    struct Case {
        int mode, result, complete, length;
    } cases[] = {{1, 0, 1, 20000 - 8001}, {0, -1, 0, 5999}, {2, 0, 0, 5999}};
    for (const Case& c : cases) {
        Fresh();
        Make(20000, c.mode);
        Feed(stream);
        EXPECT_EQ(module->Process(), c.result) << c.mode;
        EXPECT_EQ(bound->Boundary(0), 8001) << c.mode;
        EXPECT_EQ(out->complete, c.complete) << c.mode;
        EXPECT_EQ(out->length, c.length) << c.mode;
        EXPECT_EQ(Output(), Slice(stream, 8001, 8001 + c.length)) << c.mode;
    }
}

// Mode 0: an utterance spread over blocks grows one output, complete in the run where
// the energy falls; the boundaries are numbered from the latest block. Mode 2 gives
// each run's samples alone.
TEST_F(VoiceDetectTest, LongUtteranceOverBlocks) {
    auto stream = Stream(40000, {{8000, 25000, 1000.0f}});
    struct Case {
        int mode;
        std::vector<int> results, lengths;
    } cases[] = {{0, {-1, -1, 1, -1}, {0, 9999, 10000, 0}},
                 {2, {-1, 0, 1, -1}, {0, 9999, 10000, 0}}};
    for (const Case& c : cases) {
        Fresh();
        Make(10000, c.mode);
        std::vector<int> results, lengths;
        for (int block = 0; block < 4; ++block) {
            Feed(Slice(stream, block * 10000, block * 10000 + 10000));
            results.push_back(module->Process());
            lengths.push_back(out->length);
            if (results.back() != 1) continue;
            EXPECT_EQ(out->complete, 1);
            EXPECT_EQ(bound->Boundary(0), 4001 - 20000);
            EXPECT_EQ(bound->Boundary(1), 30000 - 20000);
        }
        EXPECT_EQ(results, c.results) << c.mode;
        // The output's capacity is the source's length at creation: the rest is dropped.
        EXPECT_EQ(lengths, c.lengths) << c.mode;
    }
}

TEST_F(VoiceDetectTest, ModeOneWithoutSpeechGivesTheLastWindow) {
    struct Case {
        int length;
    } cases[] = {{20000}, {1000}};
    for (const Case& c : cases) {
        Fresh();
        Make(20000, 1);
        std::vector<float> block(c.length);
        for (int i = 0; i < c.length; ++i)
            block[i] = static_cast<float>(i % 50);
        Feed(block);
        EXPECT_EQ(module->Process(), 0);
        EXPECT_EQ(out->complete, 1);
        EXPECT_EQ(bound->Boundary(0), c.length - N);
        EXPECT_EQ(Output(), Slice(block, c.length - N, c.length));
        EXPECT_EQ(probe->resets, 0);
    }
}

TEST_F(VoiceDetectTest, OutputOfNoCapacityIsTruncatedWithAMessage) {
    In("src = new DummySoundBuffer(100)");
    Buffer("src")->length = 0;
    In("vd = new VoiceDetect(src, 1)");
    auto* module = QueryInterface<Module>(Get("vd"), "Module");
    module->Release();
    std::string said = sink_->Take();
    EXPECT_EQ(module->Process(), 0);
    EXPECT_NE(sink_->Take().find("VoiceDetect: stream truncated!"), std::string::npos);
    EXPECT_EQ(Buffer("vd")->length, 0);
}

TEST_F(VoiceDetectTest, FactoryMessages) {
    EXPECT_NE(In("vd = new VoiceDetect(5)").find("VoiceDetect: First parameter error"),
              std::string::npos);
    EXPECT_EQ(Get("vd"), nullptr);
}

// A naive detector that recomputes the window's energy at every position, over the
// whole stream at once; the detector in mode 0 over blocks of random sizes must find
// the same utterances.
struct Utterance {
    long start, end;
    bool operator==(const Utterance&) const = default;
};
std::vector<Utterance> NaiveUtterances(const std::vector<float>& s) {
    std::vector<Utterance> found;
    bool speech = false;
    long start = 0;
    auto energy = [&](long leave) {
        double e = 0;
        for (long i = leave; i < leave + N; ++i)
            if (i >= 0) e += static_cast<double>(s[i]) * s[i];
        return e;
    };
    for (long leave = -N; leave + N <= static_cast<long>(s.size()); ++leave) {
        double e = energy(leave);
        if (!speech && e > 2.0e9) speech = true, start = leave;
        if (speech && e <= 1.0e9) speech = false, found.push_back({start, leave + N});
    }
    return found;
}

TEST_F(VoiceDetectTest, BlocksOfAnySizeFindWhatTheWholeStreamHolds) {
    std::mt19937 random(7);
    std::vector<float> stream(60000);
    std::uniform_real_distribution<float> quiet(-300, 300), loud(-3000, 3000);
    for (size_t i = 0; i < stream.size(); ++i) {
        bool speaking = (i / 6000) % 3 == 1;
        stream[i] = std::round(speaking ? loud(random) : quiet(random));
    }
    std::vector<Utterance> expected = NaiveUtterances(stream);
    ASSERT_GE(expected.size(), 3u);

    Make(50000, 0);
    std::vector<Utterance> found;
    std::uniform_int_distribution<int> size(1, 20000);
    for (size_t at = 0; at < stream.size();) {
        size_t n = std::min<size_t>(size(random), stream.size() - at);
        Feed(std::vector<float>(stream.begin() + at, stream.begin() + at + n));
        for (int r = module->Process(); r == 1; r = module->Step()) {
            found.push_back({bound->Boundary(0) + static_cast<long>(at),
                             bound->Boundary(1) + static_cast<long>(at)});
            EXPECT_EQ(Output(), Slice(stream, found.back().start, found.back().end));
        }
        at += n;
    }
    EXPECT_EQ(found, expected);
}
} // namespace
