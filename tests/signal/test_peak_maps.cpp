// The spectral peak maps: the factory messages and refused numbers, LineSpectrum's
// neighbourhood rules, LobeIntegration's lines, and the auditory-channel selections of
// SBS and SBS_Bark against direct computations with no decay (every search then spans
// its whole side, so the winner is a plain arg-max over a known range of bins).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "Map.h"
#include "Module.h"
#include "signal/SignalTest.h"

namespace {
using Rows = std::vector<std::vector<float>>;

class PeakMapTest : public SignalTest {
  protected:
    Map* MapOf(const std::string& path) {
        auto* map = QueryInterface<Map>(Get(path), "Map");
        if (map) map->Release();
        return map;
    }
    Rows Block(const std::string& path) {
        Map* map = MapOf(path);
        Rows rows(map->bands, std::vector<float>(map->frames));
        for (int b = 0; b < map->bands; ++b)
            for (int f = 0; f < map->frames; ++f)
                rows[b][f] = map->data[b * map->frames + f];
        return rows;
    }
    // Runs "x = new <call>" once on a source "m" holding rows (in a fresh folder, after
    // the given set-up script) and returns its block.
    Rows Apply(const std::string& call, const Rows& rows, const std::string& setup = "") {
        Fresh();
        TestMap* m = AddMap("m", static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
        m->SetBlock(rows, 1);
        if (!setup.empty()) In(setup);
        EXPECT_EQ(In("x = new " + call), "");
        auto* module = QueryInterface<Module>(Get("x"), "Module");
        EXPECT_EQ(module->Process(), 0);
        module->Release();
        return Block("x");
    }
    std::string FirstLine(const std::string& script) {
        std::string written = In(script);
        return written.substr(0, written.find('\n'));
    }
};

// One frame of K bands as rows.
Rows Column(const std::vector<float>& v) {
    Rows rows;
    for (float x : v)
        rows.push_back({x});
    return rows;
}
std::vector<float> Frame(const Rows& rows, int f = 0) {
    std::vector<float> v;
    for (const auto& row : rows)
        v.push_back(row[f]);
    return v;
}

TEST_F(PeakMapTest, FactoryMessages) {
    AddMap("m", 3, 9);
    AddMap("thin", 3, 2);
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"LineSpectrum(1, 50)", "LineSpectrum: First parameter must be 'Map' Interface"},
        {"LineSpectrum(m)", "LineSpectrum: Second parameter must be 'Number' Interface"},
        {"LineSpectrum(m, \"50\")", "LineSpectrum: Second parameter must be 'Number' Interface"},
        {"LobeIntegration(1, 2, 5)", "LobeIntegration: First parameter error"},
        {"LobeIntegration(m, \"2\", 5)",
         "LobeIntegration: Second parameter must be 'Number' Interface"},
        {"LobeIntegration(m, 0, 5)",
         "LobeIntegration: Second parameter must be 'Number' Interface"},
        {"LobeIntegration(m, -3, 5)",
         "LobeIntegration: Second parameter must be 'Number' Interface"},
        {"LobeIntegration(m, 0.9, 5)",
         "LobeIntegration: Second parameter must be 'Number' Interface"},
        {"LobeIntegration(m, 2)", "LobeIntegration: Third parameter must be 'Number' Interface"},
        {"SBS(1, 20, 1, 10)", "SBS: First parameter must be 'Map' Interface"},
        {"SBS(m, \"x\", 1, 10)", "SBS: Second parameter must be 'Number' Interface"},
        {"SBS(m, 1, 1, 10)", "SBS: Second parameter must be 'Number' Interface"},
        {"SBS(m, 0, 1, 10)", "SBS: Second parameter must be 'Number' Interface"},
        {"SBS(m, 1e9, 1, 10)", "SBS: Second parameter must be 'Number' Interface"},
        {"SBS(m, 20)", "SBS: Third parameter must be 'Number' Interface"},
        {"SBS(m, 20, 1)", "SBS: Fourth parameter must be 'Number' Interface"},
        {"SBS_Bark(1, 20, 10, 22050, 1)", "SBS_Bark: First parameter must be 'Map' Interface"},
        {"SBS_Bark(thin, 20, 10, 22050, 1)", "SBS_Bark: First parameter must be 'Map' Interface"},
        {"SBS_Bark(m, 1, 10, 22050, 1)", "SBS_Bark: Second parameter must be 'Number' Interface"},
        {"SBS_Bark(m, 1e9, 10, 22050, 1)", "SBS_Bark: Second parameter must be 'Number' Interface"},
        {"SBS_Bark(m, 20, \"q\", 22050, 1)",
         "SBS_Bark: Third parameter must be 'Number' Interface"},
        {"SBS_Bark(m, 20, 10)", "SBS_Bark: Fourth parameter must be 'Number' Interface"},
        {"SBS_Bark(m, 20, 10, 0, 1)", "SBS_Bark: Fourth parameter must be 'Number' Interface"},
        {"SBS_Bark(m, 20, 10, -8000, 1)", "SBS_Bark: Fourth parameter must be 'Number' Interface"},
        {"SBS_Bark(m, 20, 10, 22050)", "SBS_Bark: Fifth parameter must be 'Number' Interface"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(FirstLine(std::string("x = new ") + c.script), c.message);
    }
}

TEST_F(PeakMapTest, LineSpectrumNeighbourhoods) {
    // K = 9 bands and _sps = 16 make d = trunc(f) bins.
    const std::vector<float> x = {5, 1, 0, 3, 3, 7, 2, 0, 9};
    const struct {
        const char* what;
        const char* call;
        const char* setup;
        std::vector<float> in, out;
    } cases[] = {
        {"d = 0: every non-zero inner bin",
         "LineSpectrum(m, 0)",
         "_sps = 16",
         x,
         {0, 1, 0, 3, 3, 7, 2, 0, 0}},
        {"d = 1: a larger lower neighbour kills, an equal one dies",
         "LineSpectrum(m, 1)",
         "_sps = 16",
         x,
         {0, 0, 0, 0, 3, 7, 0, 0, 0}},
        {"no _sps: 22050, so d = 0", "LineSpectrum(m, 1)", "", x, {0, 1, 0, 3, 3, 7, 2, 0, 0}},
        {"_sps 0 counts as missing",
         "LineSpectrum(m, 1)",
         "_sps = 0",
         x,
         {0, 1, 0, 3, 3, 7, 2, 0, 0}},
        {"octave width 2: [k/2, 2k)",
         "LineSpectrum(m, 0, 2)",
         "_sps = 16",
         {0, 4, 1, 2, 6, 1, 1, 5, 0},
         {0, 4, 0, 0, 6, 0, 0, 0, 0}},
        {"a huge width keeps the largest inner bin",
         "LineSpectrum(m, 1e30, 1e30)",
         "",
         {1, 2, 8, 4, 3},
         {0, 0, 8, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Frame(Apply(c.call, Column(c.in), c.setup)), c.out);
    }
    // A stacked source: the second half is copied through.
    std::vector<float> stacked = {0, 4, 1, 2, 9, 8, 7, 6};
    EXPECT_EQ(Frame(Apply("LineSpectrum(m, 1)", Column(stacked), "_sps = 6")),
              (std::vector<float>{0, 4, 0, 0, 9, 8, 7, 6}));
}

TEST_F(PeakMapTest, LobeIntegrationDrawsLinesBetweenMaxima) {
    const struct {
        const char* what;
        const char* call;
        std::vector<float> in, out;
    } cases[] = {
        {"lines between maxima",
         "LobeIntegration(m, 1, 4)",
         {2, 0, 5, 1, 0, 8, 3, 0, 0, 1},
         {2, 3.5f, 5, 6, 7, 8, 4, 0, 0.5f, 1}},
        {"no candidate moves on by a from -1",
         "LobeIntegration(m, 1, 3)",
         {1, -5, -5, 3, 0, 0},
         {0, -1, 1, 3, 1.5f, 0}},
        {"b = a + 1 finds nothing", "LobeIntegration(m, 2, 3)", {1, 2, 3, 4, 5}, {0, 0, 0, 0, 0}},
        {"values at or below -1 never qualify",
         "LobeIntegration(m, 1, 3)",
         {-5, -5, -5, -5, -5},
         {0, 0, 0, 0, 0}},
        {"a huge b spans the block", "LobeIntegration(m, 1, 1e12)", {0, 0, 0, 6}, {0, 2, 4, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rows out = Apply(c.call, {c.in, c.in});
        ASSERT_EQ(out.size(), 2u);
        for (const auto& row : out)
            EXPECT_EQ(row, c.out);
    }
}

// The channel centres and the arg-max ranges of a search without decay (Q = 0).
struct Channel {
    int centre;
    bool twoSided;
};
std::vector<Channel> Channels(bool bark, int n, int k, double rate) {
    int half = static_cast<int>(rate) / 2;
    double top = 6.7 * std::asinh((half - 20) / 600.0), width = double(half) / (k - 1);
    std::vector<Channel> channels;
    for (int i = 0; i < n; ++i) {
        double z = bark ? i * top / (n - 1) : i * (top - 0.557) / (n - 1) + 0.557;
        double hz = 600 * std::sinh(z / 6.7) + 20;
        double bin = bark ? std::floor(hz / width + 0.5) : std::floor(hz / width);
        int e = static_cast<int>(std::clamp(bin, 1.0, double(k - 1)));
        channels.push_back({e, hz <= 1000});
    }
    return channels;
}
// Without decay a one-sided search visits e ... 1 and a two-sided one e - 1 ... 1, then
// e ... K - 1; the first visited of equal values wins.
int ArgMax(const std::vector<float>& x, int k, const Channel& c, double* sum) {
    std::vector<int> order;
    for (int b = c.twoSided ? c.centre - 1 : c.centre; b >= 1; --b)
        order.push_back(b);
    if (c.twoSided)
        for (int b = c.centre; b <= k - 1; ++b)
            order.push_back(b);
    int best = order[0];
    *sum = 0;
    for (int b : order) {
        *sum += x[b];
        if (x[b] > x[best]) best = b;
    }
    return best;
}

std::vector<float> Noise(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> level(0, 100);
    std::vector<float> v(n);
    for (float& x : v)
        x = level(random);
    return v;
}

TEST_F(PeakMapTest, SbsMarksMatchDirectSelection) {
    const int k = 65, n = 12;
    std::vector<float> x = Noise(k, 5);
    std::vector<Channel> channels = Channels(false, n, k, 22050);
    std::vector<double> marks(k);
    int last = -1, counted = 0;
    for (const Channel& c : channels) {
        if (c.centre == last) continue;
        last = c.centre;
        double sum;
        marks[ArgMax(x, k, c, &sum)] += 10000;
        ++counted;
    }
    double total = 0;
    for (float v : x)
        total += v;
    std::vector<float> kept(k), scaled(k), marked(k);
    for (int b = 0; b < k; ++b) {
        marked[b] = static_cast<float>(marks[b]);
        kept[b] = marks[b] > 10000 ? x[b] : 0;
        scaled[b] = static_cast<float>(marks[b] * 0.7 * total / (10000.0 * counted));
    }
    EXPECT_EQ(Frame(Apply("SBS(m, 12, 0, 0)", Column(x))), marked);
    EXPECT_EQ(Frame(Apply("SBS(m, 12, 1, 0)", Column(x))), kept);
    std::vector<float> got = Frame(Apply("SBS(m, 12, 2, 0)", Column(x)));
    for (int b = 0; b < k; ++b)
        EXPECT_NEAR(got[b], scaled[b], 1e-3f) << b;
    // More survivors than positive bins keep them all; one keeps the largest.
    EXPECT_EQ(Frame(Apply("SBS(m, 12, 0, 0, 1000)", Column(x))), marked);
    std::vector<float> one(k);
    int top = static_cast<int>(std::max_element(marked.begin(), marked.end()) - marked.begin());
    one[top] = marked[top];
    EXPECT_EQ(Frame(Apply("SBS(m, 12, 0, 0, 1)", Column(x))), one);
}

TEST_F(PeakMapTest, SbsModeOneKeepsNothingPickedOnce) {
    // Peaks apart from each other: with a steep decay each channel picks its own bin.
    std::vector<float> x(257, 1.0f);
    std::vector<float> got = Frame(Apply("SBS(m, 4, 0, 60)", Column(x)));
    for (float v : got)
        EXPECT_LE(v, 10000);
    EXPECT_GT(std::count(got.begin(), got.end(), 10000.0f), 1);
    for (float v : Frame(Apply("SBS(m, 4, 1, 60)", Column(x))))
        EXPECT_EQ(v, 0);
}

TEST_F(PeakMapTest, SbsBarkMatchesDirectSelection) {
    const int k = 129, n = 16;
    const double rate = 16000;
    std::vector<float> x = Noise(k, 9);
    std::vector<Channel> channels = Channels(true, n, k, rate);
    std::vector<float> sums(n), bins(n), placed(n);
    int last = -1;
    for (int j = 0; j < n; ++j) {
        if (channels[j].centre == last) continue;
        last = channels[j].centre;
        double sum;
        int p = ArgMax(x, k, channels[j], &sum);
        sums[j] = static_cast<float>(sum);
        bins[j] = static_cast<float>(p);
        int nearest = 0;
        for (int t = 1; t < n; ++t)
            if (std::abs(channels[t].centre - p) < std::abs(channels[nearest].centre - p))
                nearest = t;
        if (placed[nearest] == 0) placed[nearest] = x[p];
    }
    std::vector<float> got = Frame(Apply("SBS_Bark(m, 16, 0, 16000, 1)", Column(x)));
    ASSERT_EQ(got.size(), size_t(n));
    for (int j = 0; j < n; ++j)
        EXPECT_NEAR(got[j], sums[j], 1e-3f * sums[j]) << j;
    EXPECT_EQ(Frame(Apply("SBS_Bark(m, 16, 0, 16000, 2)", Column(x))), bins);
    EXPECT_EQ(Frame(Apply("SBS_Bark(m, 16, 0, 16000, 3)", Column(x))), placed);
    // Bin numbers whatever the levels.
    for (float& v : x)
        v *= 1000;
    EXPECT_EQ(Frame(Apply("SBS_Bark(m, 16, 0, 16000, 2)", Column(x))), bins);
    EXPECT_EQ(MapOf("x")->complete, 0);
}

TEST_F(PeakMapTest, SbsBarkAdaptsWithinABlockAndRestartsEachBlock) {
    // One steady bin over three frames: the onset shrinks as the state rises.
    const int k = 33;
    Rows rows(k, std::vector<float>(3, 0.0f));
    for (float& v : rows[5])
        v = 64;
    Rows out = Apply("SBS_Bark(m, 8, 0, 8000, 4)", rows);
    double y = std::pow(64.0, 0.666), s = 0;
    std::vector<float> onsets;
    for (int f = 0; f < 3; ++f) {
        double a = (y - s) * 37.5 / 333;
        s = s - s * 12.5 / 333 + a;
        onsets.push_back(static_cast<float>(a));
    }
    float largest[3] = {0, 0, 0};
    for (const auto& row : out)
        for (int f = 0; f < 3; ++f)
            largest[f] = std::max(largest[f], row[f]);
    for (int f = 0; f < 3; ++f)
        EXPECT_NEAR(largest[f], onsets[f], 1e-4f) << f;
    EXPECT_GT(largest[0], largest[2]);
}
} // namespace
