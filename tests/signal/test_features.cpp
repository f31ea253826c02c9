// Feature streams and their online filters: the bands of a map as features, each
// filter against a direct computation, streams cut into blocks against one block (and
// the filters that restart per block against a per-block computation), Discard, the
// capacity, the time base, FeatureMap, and the arguments the factories refuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "Map.h"
#include "signal/FeatureChain.h"

namespace {
class Features : public FeatureChain {
  protected:
    // The values of filter (reading the band feature "b") over x fed in blocks.
    std::vector<float> Filtered(const std::string& filter, const std::vector<float>& x,
                                const std::vector<int>& cuts, const std::string& timeBase = "",
                                bool complete = true) {
        Source(static_cast<int>(x.size()), 1, timeBase);
        Make("b", "FBand(m, 0)");
        EXPECT_EQ(Make("f", filter), "") << filter;
        Feed(x, cuts, complete);
        return Values("f");
    }
};

void ExpectNear(const std::vector<float>& got, const std::vector<double>& want, double tolerance) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tolerance * (1 + std::fabs(want[i]))) << i;
}

double Frame(const std::vector<float>& x, int k) {
    return x[std::max(k, 0)];
}

// The moving-sum difference straight from its definition.
std::vector<double> Derivative(const std::vector<float>& x, int a, int g, bool absolute,
                               bool complete) {
    int n = static_cast<int>(x.size()), lag = a + g / 2 - 1;
    auto s = [&](int j) {
        double v = 0;
        for (int k = j - a + 1; k <= j; ++k)
            v += Frame(x, k);
        for (int k = j - 2 * a - g + 1; k <= j - a - g; ++k)
            v -= Frame(x, k);
        return absolute ? std::fabs(v) : v;
    };
    std::vector<double> out;
    for (int i = 0; i + lag < n; ++i)
        out.push_back(s(i + lag));
    while (complete && static_cast<int>(out.size()) < n)
        out.push_back(s(n - 1));
    return out;
}

std::vector<double> Median(const std::vector<float>& x, int w, int k, bool complete) {
    int n = static_cast<int>(x.size()), half = w / 2;
    int last = complete ? n : n - (w - half) + 1;
    std::vector<double> out;
    for (int i = 0; i < last; ++i) {
        std::vector<double> window;
        for (int j = i - half; j < i - half + w; ++j)
            window.push_back(j >= 0 && j < n ? x[j] : 0.0);
        std::sort(window.begin(), window.end(), std::greater<double>());
        double u = 0, l = 0;
        for (int j = 0; j < k; ++j)
            u += window[j] / k, l += window[w - 1 - j] / k;
        out.push_back(u <= window[half] ? l : u);
    }
    return out;
}

// Both RASTA forms over one stretch of input, from zero histories.
std::vector<double> Rasta(const std::vector<float>& x, double p, bool fourth, bool clip) {
    std::vector<double> y;
    auto in = [&](int i) { return i >= 0 ? double(x[i]) : 0.0; };
    auto out = [&](int i) { return i >= 0 ? y[i] : 0.0; };
    std::vector<double> written;
    for (int i = 0; i < static_cast<int>(x.size()); ++i) {
        double v = fourth
                       ? 0.85 * (in(i)-1.65066 * in(i - 1) + 1.65066 * in(i - 3) - in(i - 4)) +
                             (p + 1.72178) * out(i - 1) - (1.72178 * p + 0.7871) * out(i - 2) +
                             0.78741 * p * out(i - 3)
                       : p * out(i - 1) + 0.1 * (2 * in(i) + in(i - 1) - in(i - 3) - 2 * in(i - 4));
        y.push_back(v);
        written.push_back(clip && v < 0 ? 0 : v);
    }
    return written;
}

const double kFrameMs = 1000.0 * 64 / 22050; // the default time base

TEST_F(Features, BandAppendsRowsAndClipsAtCapacity) {
    Source(60000, 3);
    Make("b", "FBand(m, 2)");
    std::vector<float> row(60000);
    for (int i = 0; i < 60000; ++i)
        row[i] = static_cast<float>(i);
    Block({std::vector<float>(60000, -1), std::vector<float>(60000, -2), row}, false);
    Block({std::vector<float>(60000, -1), std::vector<float>(60000, -2), row}, true);
    Feature* b = FeatureOf("b");
    ASSERT_EQ(b->length, 100000);
    EXPECT_EQ(b->complete, 1);
    EXPECT_EQ(b->data[59999], 59999.0f);
    EXPECT_EQ(b->data[60000], 0.0f);
    EXPECT_EQ(b->data[99999], 39999.0f);
    // A later block without that band gives zeros.
    Discard("b", -1);
    Block({{5, 6}}, false);
    EXPECT_EQ(Values("b"), (std::vector<float>{0, 0}));
}

TEST_F(Features, DiscardShiftsAddresses) {
    std::vector<float> x = Wobble(10);
    Source(10, 1);
    Make("b", "FBand(m, 0)");
    Feed(x, {});
    Discard("b", 3);
    EXPECT_EQ(Values("b"), std::vector<float>(x.begin() + 3, x.end()));
    Discard("b", 50); // more than there is
    EXPECT_EQ(FeatureOf("b")->length, 0);
}

TEST_F(Features, NoiseGateInBlocks) {
    for (const std::vector<int>& cuts : {std::vector<int>{}, {1}, {1, 1}}) {
        EXPECT_EQ(Filtered("FNoiseGate(b, 5)", {1, 5, 9}, cuts), (std::vector<float>{0, 5, 9}));
    }
}

TEST_F(Features, AgcFollowsItsLevel) {
    // A constant at the start level stays 33 v / (v + eps).
    std::vector<float> c(20, 4.0f);
    for (float v : Filtered("FAGC(b, 0.5, 40, 4)", c, {}))
        EXPECT_NEAR(v, 33 * 4 / 4.5, 1e-5);
    std::vector<float> x = Wobble(50);
    double a = std::exp(-kFrameMs / 40), m = 1;
    std::vector<double> want;
    for (float v : x) {
        m = a * m + (1 - a) * v;
        want.push_back(33 * v / (m + 0.5));
    }
    ExpectNear(Filtered("FAGC(b, 0.5, 40, 1)", x, {}), want, 1e-6);
    // Discard puts the level back at m0: the same input again gives the same output.
    Discard("b", -1);
    Discard("f", -1);
    Feed(x, {});
    ExpectNear(Values("f"), want, 1e-6);
}

TEST_F(Features, DerivativeAgainstItsDefinition) {
    EXPECT_EQ(Filtered("FDerivative(b, 0, 1, 2)", {0, 1, 2, 3, 4}, {}),
              (std::vector<float>{1, 2, 3, 3, 3}));
    struct Case {
        const char* filter;
        int a, g;
        bool absolute;
    };
    const Case cases[] = {
        {"FDerivative(b, 0)", 6, 3, false},       {"FDerivative(b, 1, 0, 0)", 6, 3, true},
        {"FDerivative(b, 0, 2, 5)", 2, 5, false}, {"FDerivative(b, 0, 4, 1)", 4, 1, false},
        {"FDerivative(b, 1, 1, 1)", 1, 1, true},
    };
    std::vector<float> x = Wobble(60);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        ExpectNear(Filtered(c.filter, x, {}), Derivative(x, c.a, c.g, c.absolute, true), 1e-5);
        // While streaming only the centred outputs count.
        ExpectNear(Filtered(c.filter, x, {}, "", false), Derivative(x, c.a, c.g, c.absolute, false),
                   1e-5);
    }
    // Shorter than the lag: held copies of the last sum only.
    ExpectNear(Filtered("FDerivative(b, 0)", {1, 2, 3}, {}), Derivative({1, 2, 3}, 6, 3, 0, 1),
               1e-6);
}

TEST_F(Features, DerivativeRestartsOnReset) {
    std::vector<float> x = Wobble(40);
    std::vector<float> first = Filtered("FDerivative(b, 0, 3, 2)", x, {11});
    Discard("b", -1);
    Discard("f", -1);
    Feed(x, {5, 5});
    EXPECT_EQ(Values("f"), first);
}

TEST_F(Features, MedianAgainstSortedWindows) {
    // W = 3, K = 1: the largest of three, or the smallest where the largest is the median.
    EXPECT_EQ(Filtered("FSMedian(b, 3, 1)", {1, 5, 2, 2, 7, 3}, {}),
              (std::vector<float>{5, 5, 5, 7, 7, 7}));
    EXPECT_EQ(Filtered("FSMedian(b, 3, 1)", {4, 4, 4}, {}), (std::vector<float>{0, 4, 0}));
    std::vector<float> x = Wobble(40);
    for (auto [w, k] : {std::pair{5, 2}, {4, 1}, {1, 1}, {6, 6}, {7, 3}}) {
        SCOPED_TRACE(w * 10 + k);
        std::string filter = "FSMedian(b, " + std::to_string(w) + ", " + std::to_string(k) + ")";
        ExpectNear(Filtered(filter, x, {}), Median(x, w, k, true), 1e-6);
        ExpectNear(Filtered(filter, x, {}, "", false), Median(x, w, k, false), 1e-6);
    }
}

TEST_F(Features, RastaBothOrders) {
    std::vector<float> x = Wobble(70);
    const char* fast = "_sps = 22050; _framedist = 64"; // 344 frames per second
    ExpectNear(Filtered("FRasta(b, 0.94, 0)", x, {}, fast), Rasta(x, 0.94, true, false), 1e-4);
    ExpectNear(Filtered("FRasta(b, 0.94, 1)", x, {}, fast), Rasta(x, 0.94, true, true), 1e-4);
    // No time base at all, or a slow one: the first-order form, from zero in every block.
    for (const char* slow : {"", "_sps = 8000; _framedist = 80", "_sps = 0; _framedist = 0"}) {
        SCOPED_TRACE(slow);
        std::vector<float> got = Filtered("FRasta(b, 0.9, 0)", x, {30}, slow);
        std::vector<double> want = Rasta({x.begin(), x.begin() + 30}, 0.9, false, false);
        std::vector<double> rest = Rasta({x.begin() + 30, x.end()}, 0.9, false, false);
        want.insert(want.end(), rest.begin(), rest.end());
        ExpectNear(got, want, 1e-5);
    }
}

TEST_F(Features, NormMeanDevRestartsEachBlock) {
    std::vector<float> x = Wobble(60, 10);
    auto direct = [](const std::vector<float>& part) {
        double a = std::exp(-kFrameMs / 100), mean = 2, v = 0;
        std::vector<double> out;
        for (float value : part) {
            mean = a * mean + (1 - a) * value;
            double d = value - mean;
            v = a * v + (1 - a) * d * d;
            out.push_back(d / (std::sqrt(v) + 1));
        }
        return out;
    };
    std::vector<double> want = direct({x.begin(), x.begin() + 25});
    std::vector<double> rest = direct({x.begin() + 25, x.end()});
    want.insert(want.end(), rest.begin(), rest.end());
    ExpectNear(Filtered("FNormMeanDevOnline(b, 100, 2)", x, {25}), want, 1e-5);
}

TEST_F(Features, ShortAdaptStartsAtItsSourceLength) {
    std::vector<float> x = Wobble(50, 3);
    Source(50, 1, "_sps = 16000; _framedist = 160"); // 100 frames per second
    Make("b", "FBand(m, 0)");
    Block({std::vector<float>(x.begin(), x.begin() + 10)}, false);
    Make("s", "FShortAdapt(b, 10, 50, 0.5)");
    EXPECT_EQ(FeatureOf("s")->length, 10);
    Block({std::vector<float>(x.begin() + 10, x.begin() + 30)}, false);
    Block({std::vector<float>(x.begin() + 30, x.end())}, true);
    double k1 = 1000.0 / 10 - 1000.0 / 50, k2 = 1000.0 / 50, fps = 100;
    std::vector<double> want(10, 0.0);
    for (auto [from, to] : {std::pair{10, 30}, {30, 50}}) {
        double s = 0;
        for (int i = from; i < to; ++i) {
            double a = s <= x[i] ? (x[i] - s) * k1 / fps : 0;
            want.push_back(a >= 0.5 ? a : 0);
            s = s - s * k2 / fps + a;
        }
    }
    ExpectNear(Values("s"), want, 1e-5);
}

TEST_F(Features, BlocksGiveTheStreamOfOneBlock) {
    struct Case {
        const char* filter;
        const char* timeBase;
    };
    const Case cases[] = {
        {"FNoiseGate(b, 3)", ""},
        {"FAGC(b, 0.5, 40, 3)", ""},
        {"FAGC(b, 0.1, 15)", "_sps = 8000; _framedist = 80"},
        {"FDerivative(b, 0)", ""},
        {"FDerivative(b, 1, 2, 5)", ""},
        {"FDerivative(b, 0, 1, 2)", ""},
        {"FSMedian(b, 5, 2)", ""},
        {"FSMedian(b, 4, 1)", ""},
        {"FRasta(b, 0.94, 0)", "_sps = 22050; _framedist = 64"},
        {"FRasta(b, 0.5, 1)", "_sps = 22050; _framedist = 100"},
        {"FWSum(b, 2, b, -0.5)", ""},
        {"FSum(b, b, b)", ""},
    };
    std::vector<float> x = Wobble(80);
    const std::vector<int> cutsList[] = {{1}, {7, 13, 1, 29}, {1, 1, 1, 1, 1, 1, 1, 1, 1}, {80}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        std::vector<float> whole = Filtered(c.filter, x, {}, c.timeBase);
        ASSERT_FALSE(whole.empty());
        for (const std::vector<int>& cuts : cutsList)
            EXPECT_EQ(Filtered(c.filter, x, cuts, c.timeBase), whole) << cuts.size();
    }
}

TEST_F(Features, SumsRunToTheShortestSource) {
    std::vector<float> x = Wobble(30), y = Wobble(30, -2);
    Source(30, 2);
    Make("b", "FBand(m, 0)");
    Make("c", "FBand(m, 1)");
    Make("d", "FDerivative(c, 0, 1, 2)"); // trails c by 1 while streaming
    Make("s", "FSum(b, d)");
    Make("w", "FWSum(b, 0.5, c, 3, 7, 2)"); // the last pair is no feature
    Block({x, y}, false);
    std::vector<float> d = Values("d"), s = Values("s"), w = Values("w");
    ASSERT_EQ(d.size(), 29u);
    ASSERT_EQ(s.size(), 29u);
    ASSERT_EQ(w.size(), 30u);
    for (int i = 0; i < 29; ++i)
        EXPECT_FLOAT_EQ(s[i], x[i] + d[i]) << i;
    for (int i = 0; i < 30; ++i)
        EXPECT_FLOAT_EQ(w[i], static_cast<float>(0.5 * x[i] + 3.0 * y[i])) << i;
}

TEST_F(Features, FeatureMapRows) {
    std::vector<float> x = Wobble(12), y = Wobble(12, 2);
    Source(12, 2);
    Make("b", "FBand(m, 0)");
    Make("c", "FBand(m, 1)");
    Make("d", "FDerivative(c, 0, 1, 2)");
    Make("map", "FeatureMap(b, 5, d)"); // 5 is no feature
    Block({x, y}, false);
    auto* map = QueryInterface<Map>(Get("map"), "Map");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->bands, 2);
    EXPECT_EQ(map->frames, 11); // d trails
    std::vector<float> d = Values("d");
    for (int f = 0; f < map->frames; ++f) {
        EXPECT_EQ(map->data[f], x[f]);
        EXPECT_EQ(map->data[map->frames + f], d[f]);
    }
    EXPECT_EQ(map->complete, 0);
    Block({{}, {}}, true);
    EXPECT_EQ(map->frames, 12);
    EXPECT_EQ(map->complete, 1);
    map->Release();
}

TEST_F(Features, FactoriesRefuse) {
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"FBand(3, 0)", "FBand: First parameter must be 'Map' Interface"},
        {"FBand(m, 2)", "FBand: Second parameter must be a number"},
        {"FBand(m, -1)", "FBand: Second parameter must be a number"},
        {"FBand(m, \"0\")", "FBand: Second parameter must be a number"},
        {"FAGC(m, 1, 10)", "FAGC: First parameter must be 'Feature' Interface"},
        {"FAGC(b, \"e\", 10)", "FAGC: Second parameter error"},
        {"FAGC(b, 1, 0)", "FAGC: Third parameter error"},
        {"FAGC(b, 1, -5)", "FAGC: Third parameter error"},
        {"FNoiseGate(1, 1)", "FNoiseGate: First parameter must be 'Feature' Interface"},
        {"FNoiseGate(b)", "FNoiseGate: Second parameter error"},
        {"FNormMeanDevOnline(m, 1, 0)",
         "FNormMeanDevOnline: First parameter must be 'Feature' Interface"},
        {"FNormMeanDevOnline(b, 0, 0)", "FNormMeanDevOnline: Second parameter error"},
        {"FNormMeanDevOnline(b, 10)", "FNormMeanDevOnline: Third parameter error"},
        {"FRasta(m, 0.9, 0)", "FRasta: First parameter error must be 'Feature' Interface"},
        {"FRasta(b, \"p\", 0)", "FRasta: Second parameter must be a number"},
        {"FRasta(b, 0.9)", "FRasta: Third parameter must be a number"},
        {"FShortAdapt(m, 10, 50)", "FShortApadt: First parameter must be 'Feature' Interface"},
        {"FShortAdapt(b, 0, 50)", "FShortApadt: Second parameter error"},
        {"FShortAdapt(b, 10, 0)", "FShortApadt: Third parameter error"},
        {"FShortAdapt(b, 10)", "FShortApadt: Third parameter error"},
        {"FSMedian(m, 3, 1)", "FSMedian: First parameter must be 'Feature' Interface"},
        {"FSMedian(b, 0, 1)", "FSMedian: Second parameter error"},
        {"FSMedian(b, -3, 1)", "FSMedian: Second parameter error"},
        {"FSMedian(b, 1e12, 1)", "FSMedian: Second parameter error"},
        {"FSMedian(b, 3, 0)", "FSMedian: Third parameter error"},
        {"FSMedian(b, 3, 4)", "FSMedian: Third parameter error"},
        {"FDerivative(m, 0)", "FDerivative: First parameter must be 'Feature' Interface"},
        {"FDerivative(b)", "FDerivative: Second parameter error"},
        {"FDerivative(b, 0, -2)", "FDerivative: Second parameter error"},
        {"FDerivative(b, 0, 3, -1)", "FDerivative: Second parameter error"},
        {"FDerivative(b, 0, 1e12)", "FDerivative: Second parameter error"},
    };
    Source(4, 2);
    Make("b", "FBand(m, 0)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        In("x = 0");
        EXPECT_EQ(FirstLine(In(std::string("x = new ") + c.script)), std::string(c.message) + "\n");
        EXPECT_EQ(FeatureOf("x"), nullptr);
    }
    // Without any feature the lists make nothing, silently.
    for (const char* script : {"FSum(1, m)", "FWSum(b)", "FWSum(1, 2)", "FeatureMap()"}) {
        SCOPED_TRACE(script);
        In("x = 0");
        In(std::string("x = new ") + script);
        EXPECT_EQ(QueryInterface<Module>(Get("x"), "Module"), nullptr);
    }
}

TEST_F(Features, ModuleFolderRunsAChainFromAFile) {
    std::vector<int16_t> v(4000);
    for (int i = 0; i < 4000; ++i)
        v[i] = static_cast<int16_t>(8000 * std::sin(i * 0.3));
    WriteFile("in.wav", wavfile::Mono16(v));
    EXPECT_EQ(In("m = new ModuleFolder();"
                 "m.w = new WavFileIn(\"in\");"
                 "m.s = new Spectrum(m.w, 512, 256, 512, 1);"
                 "m.b = new FBand(m.s, 3);"
                 "m.d = new FDerivative(m.b, 1);"
                 "m.e = new FSMedian(m.d, 3, 1);"
                 "m.build(); m.start()"),
              "Processing in.wav\n");
    Feature* b = FeatureOf("m.b");
    Feature* e = FeatureOf("m.e");
    EXPECT_EQ(b->length, 4000 / 256 + 1);
    EXPECT_EQ(b->complete, 1);
    EXPECT_EQ(e->length, b->length);
    EXPECT_EQ(e->complete, 1);
}
} // namespace
