// Band energies: the band edges on both scales against their formulas, scale names,
// the rectangular and triangular weights bin by bin, whole maps against a direct sum,
// and a sound buffer without a rate.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "signal/BandEnergy.h"
#include "signal/FeatureMapTest.h"

namespace {
TEST(BandEdges, BarkExample) {
    std::vector<BandEdge> edges = BandEdges(BandScale::kBark, 11025, 20, 1.0f);
    ASSERT_EQ(edges.size(), 20u);
    const BandEdge expected[] = {{20, 109}, {129, 222}, {242, 341}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(edges[i].low, expected[i].low) << i;
        EXPECT_EQ(edges[i].high, expected[i].high) << i;
    }
    // The last band ends at the upper frequency (up to the truncation).
    EXPECT_NEAR(edges.back().high, 11025, 1);
}

// Edges computed here from the scale formulas in double precision.
TEST(BandEdges, BothScalesFollowTheirFormulas) {
    struct Case {
        BandScale scale;
        int upper, count;
        float width;
    };
    auto z = [](BandScale s, double f) {
        return s == BandScale::kBark ? 6.7 * std::asinh((f - 20) / 600)
                                     : std::log10(1 + f / 165.4) / 0.054;
    };
    auto hz = [](BandScale s, double z) {
        return s == BandScale::kBark ? 600 * std::sinh(z / 6.7) + 20
                                     : 165.4 * (std::pow(10.0, 0.054 * z) - 1);
    };
    const Case cases[] = {
        {BandScale::kBark, 11025, 20, 1.0f},      {BandScale::kBark, 8000, 7, 2.5f},
        {BandScale::kGreenwood, 11025, 20, 3.0f}, {BandScale::kGreenwood, 4000, 12, 1.5f},
        {BandScale::kGreenwood, 8000, 1, 4.0f},   {BandScale::kBark, 5000, 1, 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upper);
        std::vector<BandEdge> edges = BandEdges(c.scale, c.upper, c.count, c.width);
        ASSERT_EQ(edges.size(), static_cast<size_t>(c.count));
        double step = c.count > 1 ? (z(c.scale, c.upper) - c.width) / (c.count - 1) : 0;
        for (int i = 0; i < c.count; ++i) {
            double lo = hz(c.scale, i * step), hi = hz(c.scale, i * step + c.width);
            // The Hz may fall either side of a whole number by a float's rounding.
            EXPECT_NEAR(edges[i].low, std::trunc(lo), 1) << i;
            EXPECT_NEAR(edges[i].high, std::trunc(hi), 1) << i;
            EXPECT_LT(edges[i].low, edges[i].high) << i;
        }
    }
    // The first Greenwood band starts at 0 Hz.
    EXPECT_EQ(BandEdges(BandScale::kGreenwood, 11025, 20, 3.0f)[0].low, 0);
}

TEST(BandEdges, ScaleNamesByTheirFirstLetters) {
    const struct {
        const char* name;
        bool known;
        BandScale scale;
    } cases[] = {
        {"Bark", true, BandScale::kBark},
        {"Barkhausen", true, BandScale::kBark},
        {"Greenwood", true, BandScale::kGreenwood},
        {"Greenwood1961", true, BandScale::kGreenwood},
        {"Bar", false, {}},
        {"bark", false, {}},
        {"Greenwoo", false, {}},
        {"", false, {}},
        {"Mel", false, {}},
    };
    for (const auto& c : cases) {
        BandScale scale = c.scale == BandScale::kBark ? BandScale::kGreenwood : BandScale::kBark;
        EXPECT_EQ(ParseBandScale(c.name, &scale), c.known) << c.name;
        if (c.known) {
            EXPECT_EQ(scale, c.scale) << c.name;
        }
    }
}

class BandEnergyTest : public FeatureMapTest {};

// With a rate of twice the bin count a bin is a whole Hz, so a single Bark band from
// 20 Hz whose high edge is hi covers the bins 20 ... hi. Each frame of the source has a
// 1 at one bin (frame f at bin 20 + f), so frame f of the output is that bin's weight.
TEST_F(BandEnergyTest, WeightsBinByBin) {
    struct Case {
        const char* kind;
        int high;
        std::vector<float> weights; // of the bins 20, 21, ...; 0 beyond
    };
    const Case cases[] = {
        {"Triang", 24, {0.5f, 1, 1, 0.5f, 0}},
        {"Triang", 23, {0.5f, 1, 0.5f, 0}},
        {"Triang", 22, {1, 1, 0}},
        {"Triang", 21, {1, 0}},
        {"Triang", 20, {1}},
        {"Rect", 24, {1, 1, 1, 1, 0}},
        {"Rect", 21, {1, 0}},
        {"Rect", 20, {0}},
    };
    const int kBins = 64, kFrames = 8;
    SampleBuffer* sb = Sound("sb", 16);
    sb->sps = 2 * kBins;
    TestMap* spectrum = AddMap("spec", kFrames, kBins);
    Rows deltas(kBins, std::vector<float>(kFrames, 0.0f));
    for (int f = 0; f < kFrames; ++f)
        deltas[20 + f][f] = 1;
    spectrum->SetBlock(deltas, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.high));
        // The width whose high edge lands half a Hz above hi.
        double width = 6.7 * std::asinh((c.high + 0.5 - 20) / 600);
        ASSERT_EQ(BandEdges(BandScale::kBark, 100, 1, static_cast<float>(width))[0].high, c.high);
        ASSERT_EQ(In("e = new BandEnergy" + std::string(c.kind) + "(spec, sb, \"Bark\", 100, 1, " +
                     Num(width) + ")"),
                  "");
        Rows out = Block("e");
        ASSERT_EQ(out.size(), 1u);
        ASSERT_EQ(out[0].size(), static_cast<size_t>(kFrames));
        for (int f = 0; f < kFrames; ++f) {
            float expected = f < static_cast<int>(c.weights.size()) ? c.weights[f] : 0.0f;
            EXPECT_FLOAT_EQ(out[0][f], expected) << f;
        }
        EXPECT_EQ(MapOf("e")->complete, 1);
    }
}

// Whole maps against a direct sum over the bins of each band, on a spectrum whose
// upper bands lie beyond the highest bin (clamped) and whose lower ones are empty.
TEST_F(BandEnergyTest, MapsMatchADirectSum) {
    const int kBins = 33, kFrames = 5;
    std::mt19937 random(11);
    std::uniform_real_distribution<float> level(0, 100);
    Rows spectrumRows(kBins, std::vector<float>(kFrames));
    for (auto& row : spectrumRows)
        for (float& v : row)
            v = level(random);
    SampleBuffer* sb = Sound("sb", 16);
    sb->sps = 16000;
    AddMap("spec", kFrames, kBins)->SetBlock(spectrumRows);
    for (const char* scale : {"Bark", "Greenwood"})
        for (bool triangular : {false, true}) {
            SCOPED_TRACE(std::string(scale) + (triangular ? " triangular" : " rectangular"));
            BandScale s = std::string(scale) == "Bark" ? BandScale::kBark : BandScale::kGreenwood;
            std::vector<BandEdge> edges = BandEdges(s, 9000, 12, 2.5f);
            In(std::string("e = new ") + (triangular ? "BandEnergyTriang" : "BandEnergyRect") +
               "(spec, sb, \"" + scale + "\", 9000, 12, 2.5)");
            Rows out = Block("e");
            ASSERT_EQ(out.size(), 12u);
            auto bin = [&](int hz) {
                return std::min(static_cast<int>(hz * 2.0 * kBins / 16000), kBins - 1);
            };
            for (int i = 0; i < 12; ++i) {
                int lo = bin(edges[i].low), hi = bin(edges[i].high), m = hi - lo + 1;
                for (int f = 0; f < kFrames; ++f) {
                    double sum = 0;
                    for (int j = 0; j < m; ++j) {
                        double w = !triangular ? (j < m - 1)
                                   : m == 1    ? 1
                                   : j < m / 2 ? (j + 1.0) / (m / 2)
                                               : (m - 1.0 - j) / (m / 2);
                        sum += w * spectrumRows[lo + j][f];
                    }
                    EXPECT_NEAR(out[i][f], sum, 1e-3) << i << " " << f;
                }
            }
            EXPECT_EQ(MapOf("e")->complete, 0);
        }
}

TEST_F(BandEnergyTest, NoRateGivesZeros) {
    SampleBuffer* sb = Sound("sb", 16);
    AddMap("spec", 3, 20)->SetBlock(Rows(20, std::vector<float>(3, 5.0f)));
    In("e = new BandEnergyRect(spec, sb, \"Bark\", 8000, 4, 3)");
    for (int sps : {0, -8000}) {
        sb->sps = sps;
        for (const auto& row : Block("e"))
            for (float v : row)
                EXPECT_EQ(v, 0.0f);
    }
}
} // namespace
