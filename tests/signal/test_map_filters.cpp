// The element-wise compressions and the RASTA filter: value tables, the first frames
// of the filter on a constant, both filter forms against their recurrences, clipping
// that leaves the state alone, and the restart at every block.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "signal/FeatureMapTest.h"

namespace {
class MapFiltersTest : public FeatureMapTest {};

TEST_F(MapFiltersTest, LogAndCubeRoot) {
    const struct {
        float in, log, cube;
    } cases[] = {
        {0.5f, 0, std::pow(0.5f, 0.666f)},
        {1, 0, 1},
        {std::numbers::e_v<float>, 1, std::pow(std::numbers::e_v<float>, 0.666f)},
        {0, 0, 0},
        {100, std::log(100.0f), std::pow(100.0f, 0.666f)},
        {-8, 0, -std::pow(8.0f, 0.666f)},
    };
    Rows rows(2);
    for (const auto& c : cases) {
        rows[0].push_back(c.in);
        rows[1].push_back(2 * c.in);
    }
    TestMap* m = AddMap("m", static_cast<int>(rows[0].size()), 2);
    m->SetBlock(rows, 1);
    In("lg = new LogMap(m); cr = new CubRMap(m)");
    Rows logs = Block("lg"), cubes = Block("cr");
    ASSERT_EQ(logs.size(), 2u);
    for (size_t i = 0; i < rows[0].size(); ++i) {
        SCOPED_TRACE(cases[i].in);
        EXPECT_NEAR(logs[0][i], cases[i].log, 1e-6);
        EXPECT_NEAR(cubes[0][i], cases[i].cube, 1e-5 * (1 + std::fabs(cases[i].cube)));
        float twice = 2 * cases[i].in;
        EXPECT_NEAR(logs[1][i], twice >= 1 ? std::log(twice) : 0, 1e-6);
    }
    EXPECT_EQ(MapOf("lg")->complete, 1);
    EXPECT_EQ(MapOf("cr")->complete, 1);
    // A later block with one band less: the missing band is 0.
    m->SetBlock({{std::exp(2.0f), 3}});
    logs = Block("lg");
    ASSERT_EQ(logs.size(), 2u);
    EXPECT_NEAR(logs[0][0], 2, 1e-6);
    EXPECT_EQ(logs[1], std::vector<float>({0, 0}));
}

// The two filters written out with explicit indices (inputs and outputs before the
// block are 0).
std::vector<double> Rasta(const std::vector<float>& x, double rate, double p) {
    auto in = [&](int t) { return t < 0 ? 0.0 : double(x[t]); };
    std::vector<double> y(x.size());
    auto out = [&](int t) { return t < 0 ? 0.0 : y[t]; };
    for (int t = 0; t < static_cast<int>(x.size()); ++t)
        y[t] = rate < 200
                   ? p * out(t - 1) + 0.1 * (2 * in(t) + in(t - 1) - in(t - 3) - 2 * in(t - 4))
                   : 0.85 * (in(t)-1.65066 * in(t - 1) + 1.65066 * in(t - 3) - in(t - 4)) +
                         (p + 1.72178) * out(t - 1) - (1.72178 * p + 0.7871) * out(t - 2) +
                         0.78741 * p * out(t - 3);
    return y;
}

TEST_F(MapFiltersTest, RastaFirstFramesOfAConstant) {
    const float v = 10, p = 0.94f;
    TestMap* m = AddMap("m", 6, 1);
    m->SetBlock({std::vector<float>(6, v)});
    In("r = new RastaMap(m, 100, 0, 0.94)");
    Rows out = Block("r");
    EXPECT_NEAR(out[0][0], 0.2 * v, 1e-5);
    EXPECT_NEAR(out[0][1], 0.3 * v + p * 0.2 * v, 1e-5);
    // From the fifth frame on the input terms cancel: only the pole remains.
    EXPECT_NEAR(out[0][5], p * out[0][4], 1e-4);
    // Each block starts afresh.
    EXPECT_EQ(Block("r"), out);
}

TEST_F(MapFiltersTest, RastaMatchesItsRecurrences) {
    std::mt19937 random(8);
    std::uniform_real_distribution<float> value(-5, 20);
    Rows rows(3, std::vector<float>(40));
    for (auto& row : rows)
        for (float& v : row)
            v = value(random);
    struct Case {
        double rate, pole;
        int clip;
    };
    const Case cases[] = {
        {100, 0.94, 0}, {100, 0.5, 1}, {200, 0.94, 0}, {400, 0.98, 1}, {199.5, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " " + std::to_string(c.clip));
        Fresh();
        AddMap("m", 40, 3)->SetBlock(rows, 1);
        In("r = new RastaMap(m, " + Num(c.rate) + ", " + std::to_string(c.clip) + ", " +
           Num(c.pole) + ")");
        Rows out = Block("r");
        ASSERT_EQ(out.size(), 3u);
        bool anyNegative = false;
        for (int b = 0; b < 3; ++b) {
            std::vector<double> y = Rasta(rows[b], c.rate, static_cast<float>(c.pole));
            for (int t = 0; t < 40; ++t) {
                anyNegative = anyNegative || y[t] < 0;
                double expected = c.clip && y[t] < 0 ? 0 : y[t];
                EXPECT_NEAR(out[b][t], expected, 1e-4 * (1 + std::fabs(y[t]))) << b << " " << t;
            }
        }
        EXPECT_TRUE(anyNegative); // so clipping was put to the test
        EXPECT_EQ(MapOf("r")->complete, 1);
    }
}

TEST_F(MapFiltersTest, RastaRestartsAtEveryBlock) {
    TestMap* m = AddMap("m", 8, 2);
    Rows first = {{1, 2, 3, 4, 5, 6, 7, 8}, {8, 7, 6, 5, 4, 3, 2, 1}};
    Rows second = {{4, 4, 4}, {0, 9, 0}};
    In("r = new RastaMap(m, 300, 0, 0.9)");
    m->SetBlock(first);
    Block("r");
    m->SetBlock(second);
    Rows out = Block("r");
    ASSERT_EQ(out[0].size(), 3u);
    for (int b = 0; b < 2; ++b) {
        std::vector<double> y = Rasta(second[b], 300, 0.9f);
        for (int t = 0; t < 3; ++t)
            EXPECT_NEAR(out[b][t], y[t], 1e-4) << b << " " << t;
    }
}
} // namespace
