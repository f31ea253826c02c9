// Cepstra and linear prediction: MFCC against a direct cosine transform with and
// without the lifter, LPC recovering an AR(2) process and matching the normal
// equations solved here, its framing and time base, the LPC cepstrum against the
// power series of the log of the all-pole model, and the LPC spectrum of known
// predictors.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "Number.h"
#include "signal/FeatureMapTest.h"

namespace {
constexpr double kPi = std::numbers::pi;

class CepstraTest : public FeatureMapTest {};

Rows Noise(int bands, int frames, unsigned seed, float low, float high) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(low, high);
    Rows rows(bands, std::vector<float>(frames));
    for (auto& row : rows)
        for (float& v : row)
            v = value(random);
    return rows;
}

TEST_F(CepstraTest, MfccMatchesADirectTransform) {
    struct Case {
        int bands, count, lifter;
    };
    const Case cases[] = {{24, 12, 0}, {24, 12, 22}, {20, 13, 10}, {8, 12, 0}, {1, 3, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bands) + " " + std::to_string(c.count) + " " +
                     std::to_string(c.lifter));
        Fresh();
        Rows source = Noise(c.bands, 6, c.bands, 0, 20);
        AddMap("m", 6, c.bands)->SetBlock(source, 1);
        std::string lifter = c.lifter ? ", " + std::to_string(c.lifter) : "";
        ASSERT_EQ(In("c = new MFCC(m, " + std::to_string(c.count) + lifter + ")"), "");
        Rows out = Block("c");
        ASSERT_EQ(out.size(), static_cast<size_t>(c.count));
        for (int j = 1; j <= c.count; ++j) {
            double weight = c.lifter ? 1 + c.lifter / 2.0 * std::sin(j * kPi / c.lifter) : 1;
            for (int f = 0; f < 6; ++f) {
                double sum = 0;
                for (int k = 0; k < c.bands; ++k)
                    sum += source[k][f] * std::cos((k + 0.5) * j * kPi / c.bands);
                double expected = std::sqrt(2.0 / c.bands) * sum * weight;
                EXPECT_NEAR(out[j - 1][f], expected, 2e-4 * (1 + std::fabs(expected)))
                    << j << " " << f;
            }
        }
        EXPECT_EQ(MapOf("c")->complete, 1);
    }
}

TEST_F(CepstraTest, MfccOfAConstantFrameIsZeroAndFollowsTheBandCount) {
    TestMap* m = AddMap("m", 4, 24);
    m->SetBlock(Rows(24, std::vector<float>(4, 37.5f)));
    In("c = new MFCC(m, 12)");
    for (const auto& row : Block("c"))
        for (float v : row)
            EXPECT_NEAR(v, 0.0f, 1e-4f);
    // A block with fewer bands is transformed over those bands.
    Rows narrow = Noise(10, 3, 5, 0, 20);
    m->SetBlock(narrow);
    Rows out = Block("c");
    ASSERT_EQ(out[0].size(), 3u);
    double sum = 0;
    for (int k = 0; k < 10; ++k)
        sum += narrow[k][2] * std::cos((k + 0.5) * 2 * kPi / 10);
    EXPECT_NEAR(out[1][2], std::sqrt(0.2) * sum, 1e-4);
}

// x_t = 1.3 x_{t-1} - 0.6 x_{t-2} + e_t, a stable AR(2) process.
std::vector<float> Ar2(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> e(0, 1000);
    std::vector<float> x(n);
    double x1 = 0, x2 = 0;
    for (int t = 0; t < n; ++t) {
        double v = 1.3 * x1 - 0.6 * x2 + e(random);
        x[t] = static_cast<float>(v);
        x2 = x1;
        x1 = v;
    }
    return x;
}

TEST_F(CepstraTest, LpcRecoversAnAr2Process) {
    std::vector<float> x = Ar2(40000, 2);
    SampleBuffer* sb = Sound("sb", 40000);
    std::copy(x.begin(), x.end(), sb->data);
    sb->length = 40000;
    sb->sps = 16000;
    sb->complete = 1;
    for (int order : {2, 4}) {
        SCOPED_TRACE(order);
        In("l = new LPC(sb, " + std::to_string(order) + ", 8192, 8192, 0, 0)");
        Rows out = Block("l");
        ASSERT_EQ(out.size(), static_cast<size_t>(order + 1));
        ASSERT_EQ(out[0].size(), 40000u / 8192 + 1);
        // The frames wholly inside the block.
        for (int f = 1; f <= 3; ++f) {
            EXPECT_NEAR(out[1][f], 1.3, 0.05) << f;
            EXPECT_NEAR(out[2][f], -0.6, 0.05) << f;
            for (int j = 3; j <= order; ++j)
                EXPECT_NEAR(out[j][f], 0.0, 0.05) << f;
            // The error left is the excitation's: 1000 per sample.
            EXPECT_NEAR(out[0][f] / std::sqrt(8192.0), 1000, 50) << f;
        }
        EXPECT_EQ(MapOf("l")->complete, 1);
    }
}

// Order 2 with pre-emphasis and a Hamming window, against the normal equations
// solved here for each frame (the first one half outside the block).
TEST_F(CepstraTest, LpcMatchesTheNormalEquations) {
    const int kLength = 400, kHop = 160, kSamples = 1000;
    std::vector<float> x = Ar2(kSamples, 9);
    SampleBuffer* sb = Sound("sb", 4000);
    std::copy(x.begin(), x.end(), sb->data);
    sb->length = kSamples;
    In("l = new LPC(sb, 2, 400, 160, 1, 0.97)");
    Rows out = Block("l");
    ASSERT_EQ(out[0].size(), static_cast<size_t>(kSamples / kHop + 1));
    for (int t = 0; t <= kSamples / kHop; ++t) {
        std::vector<double> u(kLength);
        double last = 0;
        for (int i = 0; i < kLength; ++i) {
            int at = t * kHop - kLength / 2 + i;
            double s = at >= 0 && at < kSamples ? x[at] : 0;
            double w = 0.54 - 0.46 * std::cos(2 * kPi * i / kLength);
            u[i] = (s - 0.97 * last) * w;
            last = s;
        }
        double r[3] = {};
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i + j < kLength; ++i)
                r[j] += u[i] * u[i + j];
        double det = r[0] * r[0] - r[1] * r[1];
        double a1 = (r[1] * r[0] - r[1] * r[2]) / det, a2 = (r[0] * r[2] - r[1] * r[1]) / det;
        double error = r[0] - a1 * r[1] - a2 * r[2];
        EXPECT_NEAR(out[1][t], a1, 1e-4) << t;
        EXPECT_NEAR(out[2][t], a2, 1e-4) << t;
        EXPECT_NEAR(out[0][t], std::sqrt(error), 1e-4 * std::sqrt(error)) << t;
    }
    EXPECT_EQ(NumberAt((folder + ".l.framedist").c_str()), 160);
    EXPECT_EQ(NumberAt((folder + ".l.sps").c_str()), 0);
}

TEST_F(CepstraTest, LpcFramingZerosAndTimeBase) {
    SampleBuffer* sb = Sound("sb", 1000);
    sb->sps = 8000;
    In("l = new LPC(sb, 3, 64, 100, 2, 0.9)");
    // Silence gives zeros.
    sb->length = 1000;
    Rows out = Block("l");
    ASSERT_EQ(out.size(), 4u);
    ASSERT_EQ(out[0].size(), 11u);
    for (const auto& row : out)
        for (float v : row)
            EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(NumberAt((folder + ".l.framedist").c_str()), 100);
    EXPECT_EQ(NumberAt((folder + ".l.sps").c_str()), 8000);
    // Fewer samples than the hop: one frame, centred on sample 0, so it holds only the
    // first 32 samples.
    std::vector<float> x = Ar2(99, 4);
    std::copy(x.begin(), x.end(), sb->data);
    sb->length = 99;
    out = Block("l");
    ASSERT_EQ(out[0].size(), 1u);
    EXPECT_GT(out[0][0], 0.0f);
    Rows first = out;
    std::fill(sb->data + 32, sb->data + 99, 12345.0f);
    EXPECT_EQ(Block("l"), first);
    // A pure tone is predicted almost exactly by high orders: no NaN comes out.
    for (int i = 0; i < 1000; ++i)
        sb->data[i] = static_cast<float>(10000 * std::sin(i * 0.2));
    sb->length = 1000;
    In("h = new LPC(sb, 40, 512, 128, 0, 0)");
    for (const auto& row : Block("h"))
        for (float v : row)
            EXPECT_TRUE(std::isfinite(v));
}

// ln(g / A(z)) with A(z) = 1 - P(z), P(z) = sum a_j z^-j: ln g plus the power series of
// -ln(1 - P) = sum_m P^m / m, truncated at z^-(Q-1).
std::vector<double> CepstrumBySeries(double g, const std::vector<double>& a, int q) {
    std::vector<double> c(q, 0.0), p(q, 0.0), power(q, 0.0);
    c[0] = std::log(g);
    for (size_t j = 1; j < a.size() && static_cast<int>(j) < q; ++j)
        p[j] = a[j];
    power[0] = 1;
    for (int m = 1; m < q; ++m) {
        std::vector<double> next(q, 0.0);
        for (int i = 0; i < q; ++i)
            for (int j = 1; i + j < q; ++j)
                next[i + j] += power[i] * p[j];
        power = next;
        for (int n = 1; n < q; ++n)
            c[n] += power[n] / m;
    }
    return c;
}

TEST_F(CepstraTest, LpcCepstrumMatchesTheLogOfTheModel) {
    struct Case {
        std::vector<double> frame; // gain, a_1 ... a_p
        int count;
    };
    const Case cases[] = {
        {{2.5, 0.9}, 8},
        {{100, 1.3, -0.6}, 12},
        {{0.3, 0.5, -0.2, 0.1, 0.05}, 3},
        {{7, 0.4, 0.3, -0.25, 0.1, -0.05}, 16},
        {{1, -0.7}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame.size());
        Fresh();
        int bands = static_cast<int>(c.frame.size());
        Rows rows(bands, std::vector<float>(2));
        for (int b = 0; b < bands; ++b)
            rows[b] = {static_cast<float>(c.frame[b]), static_cast<float>(c.frame[b])};
        rows[0][1] = 0; // no gain: zeros
        AddMap("l", 2, bands)->SetBlock(rows, 1);
        In("c = new LPCcepstrum(l, " + std::to_string(c.count) + ")");
        Rows out = Block("c");
        ASSERT_EQ(out.size(), static_cast<size_t>(c.count));
        std::vector<double> a(bands);
        for (int b = 0; b < bands; ++b)
            a[b] = static_cast<float>(c.frame[b]);
        std::vector<double> expected = CepstrumBySeries(a[0], a, c.count);
        for (int n = 0; n < c.count; ++n) {
            EXPECT_NEAR(out[n][0], expected[n], 1e-5 * (1 + std::fabs(expected[n]))) << n;
            EXPECT_EQ(out[n][1], 0.0f) << n;
        }
        EXPECT_EQ(MapOf("c")->complete, 1);
    }
    // Order 1: c_n = a^n / n.
    Fresh();
    AddMap("l", 1, 2)->SetBlock({{1}, {0.8f}});
    In("c = new LPCcepstrum(l, 6)");
    Rows out = Block("c");
    for (int n = 1; n < 6; ++n)
        EXPECT_NEAR(out[n][0], std::pow(0.8, n) / n, 1e-6) << n;
}

TEST_F(CepstraTest, LpcSpectrumOfKnownPredictors) {
    const std::vector<std::vector<float>> predictors = {{0.5f}, {1.3f, -0.6f}, {}, {0.2f, 0.1f}};
    for (int size : {8, 64, 512})
        for (const auto& a : predictors) {
            SCOPED_TRACE(std::to_string(size) + " " + std::to_string(a.size()));
            Fresh();
            Rows rows = {{123.0f}}; // the gain, unused
            for (float v : a)
                rows.push_back({v});
            AddMap("l", 1, static_cast<int>(rows.size()))->SetBlock(rows);
            ASSERT_EQ(In("s = new LPCspectrum(l, " + std::to_string(size) + ")"), "");
            Rows out = Block("s");
            ASSERT_EQ(out.size(), static_cast<size_t>(size / 2 + 1));
            EXPECT_EQ(out[0][0], 0.0f);
            EXPECT_EQ(out[size / 2][0], 0.0f);
            for (int k = 1; k < size / 2; ++k) {
                std::complex<double> sum = 1;
                for (size_t j = 0; j < a.size(); ++j)
                    sum -= double(a[j]) * std::polar(1.0, -2 * kPi * (j + 1.0) * k / size);
                double expected = 7.0 * size / std::abs(sum);
                EXPECT_NEAR(out[k][0], expected, 1e-4 * expected) << k;
            }
        }
}
} // namespace
