// The map normalisers, the band-wise join and the host-filled map: the factory messages,
// the documented small cases, random blocks against direct double computations, the
// calibration file's round trip and its failures, and the reset a host-filled map sends.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ClusterBound.h"
#include "Map.h"
#include "Module.h"
#include "signal/SignalTest.h"

namespace {
using Rows = std::vector<std::vector<float>>;

class NormaliseTest : public SignalTest {
  protected:
    Map* MapOf(const std::string& path) {
        auto* map = QueryInterface<Map>(Get(path), "Map");
        if (map) map->Release();
        return map;
    }
    int Process(const std::string& path) {
        auto* m = QueryInterface<Module>(Get(path), "Module");
        int result = m->Process();
        m->Release();
        return result;
    }
    // The current block of a map, one row per band.
    Rows Block(const std::string& path) {
        Map* map = MapOf(path);
        Rows rows(map->bands, std::vector<float>(map->frames));
        for (int b = 0; b < map->bands; ++b)
            for (int f = 0; f < map->frames; ++f)
                rows[b][f] = map->data[b * map->frames + f];
        return rows;
    }
    // Builds "x = new <call>" on a source map "m" holding rows and runs it once.
    Rows Apply(const std::string& call, const Rows& rows, int maxFrames = 0) {
        Fresh();
        TestMap* m = AddMap("m", maxFrames ? maxFrames : static_cast<int>(rows[0].size()),
                            static_cast<int>(rows.size()));
        m->SetBlock(rows);
        std::string written = In("x = new " + call);
        EXPECT_EQ(written, "");
        EXPECT_EQ(Process("x"), 0);
        return Block("x");
    }
    std::string FirstLine(const std::string& script) {
        std::string written = In(script);
        return written.substr(0, written.find('\n'));
    }
};

void ExpectRows(const Rows& got, const Rows& want, float tolerance) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t b = 0; b < want.size(); ++b) {
        ASSERT_EQ(got[b].size(), want[b].size()) << "band " << b;
        for (size_t f = 0; f < want[b].size(); ++f)
            EXPECT_NEAR(got[b][f], want[b][f], tolerance) << "band " << b << " frame " << f;
    }
}

TEST_F(NormaliseTest, FactoryMessages) {
    AddMap("m", 3, 2);
    AddMap("wide", 2, 513);
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"NormalizeFrames(1)", "NormalizeFrames: First parameter must be 'Map' Interface"},
        {"NormalizeMap(1, 2)", "NormalizeMap: First parameter must be 'Map' Interface"},
        {"NormalizeMap(m)", "NormalizeMap: Second parameter must be 'Number' Interface"},
        {"NormalizeMap(m, \"x\")", "NormalizeMap: Second parameter must be 'Number' Interface"},
        {"NormalizeMeanDev(\"m\")", "NormalizeMeanDev: First parameter must be 'Map' Interface"},
        {"NormMeanDevBand(2)", "NormMeanDevBand: First parameter must be 'Map' Interface"},
        {"MeanSubsMap()", "MeanSubsMap: First parameter must be 'Map' Interface"},
        {"NormMeanDevBandFile(1, \"f\", 0)",
         "NormMeanDevBandFile: First parameter must be 'Map' Interface"},
        {"NormMeanDevBandFile(wide, \"f\", 0)",
         "NormMeanDevBandFile: First parameter must be 'Map' Interface"},
        {"NormMeanDevBandFile(m, 3, 0)",
         "NormMeanDevBandFile: Second parameter must be 'Input' Interface"},
        {"NormMeanDevBandFile(m, \"f\")",
         "NormMeanDevBandFile: Third parameter must be 'Number' Interface"},
        {"NormMeanDevBandFile(m, \"f\", \"0\")",
         "NormMeanDevBandFile: Third parameter must be 'Number' Interface"},
        {"CombineMaps(1, m)", "CombineMaps: First parameter error"},
        {"CombineMaps(m, 1)", "CombineMaps: Second parameter error"},
        {"CombineMaps(m)", "CombineMaps: Second parameter error"},
        {"DummyMap(\"x\", 2)", "DummyMap: First parameter must be 'Number' Interface"},
        {"DummyMap(0, 2)", "DummyMap: First parameter must be 'Number' Interface"},
        {"DummyMap(-4, 2)", "DummyMap: First parameter must be 'Number' Interface"},
        {"DummyMap(1e12, 2)", "DummyMap: First parameter must be 'Number' Interface"},
        {"DummyMap(3)", "DummyMap: Secund parameter must be 'Number' Interface"},
        {"DummyMap(3, 0.5)", "DummyMap: Secund parameter must be 'Number' Interface"},
        {"DummyMap(3, -1)", "DummyMap: Secund parameter must be 'Number' Interface"},
        {"DummyMap(100000, 100000)", "DummyMap: Secund parameter must be 'Number' Interface"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(FirstLine(std::string("x = new ") + c.script), c.message);
    }
    // A context that is no folder: a plain object running the script.
    struct Plain : Interface {};
    auto* plain = new Plain;
    plain->AddRef();
    if (Interface* value = plain->Run("new DummyMap(2, 2)", plain); value && value != plain) {
        value->AddRef();
        value->Release();
    }
    std::string written = sink_->Take();
    EXPECT_EQ(written.substr(0, written.find('\n')),
              "DummyMap: Must be called from 'Folder' Interface");
    plain->Release();
}

TEST_F(NormaliseTest, DocumentedCases) {
    const struct {
        const char* what;
        const char* call;
        Rows in, out;
    } cases[] = {
        {"frames: largest 2.0, all zero, all negative (sign flips)",
         "NormalizeFrames(m)",
         {{2, 0, -2}, {1, 0, -4}},
         {{32767, 0, 32767}, {16383.5f, 0, 65534}}},
        {"frames with a target", "NormalizeFrames(m, 10)", {{1, 4}, {5, 2}}, {{2, 10}, {10, 5}}},
        {"map: largest 4 with target 1",
         "NormalizeMap(m, 1)",
         {{1, -2, 4}, {3, 0, 2}},
         {{0.25f, -0.5f, 1}, {0.75f, 0, 0.5f}}},
        {"map: zero maximum", "NormalizeMap(m, 1)", {{0, -2}, {-1, 0}}, {{0, 0}, {0, 0}}},
        {"mean subtracted", "MeanSubsMap(m)", {{1, 2, 3}, {5, 5, 5}}, {{-1, 0, 1}, {0, 0, 0}}},
        {"band deviation 1, constant band",
         "NormMeanDevBand(m)",
         {{1, 2, 3}, {7, 7, 7}},
         {{-1, 0, 1}, {0, 0, 0}}},
        {"band of one frame has no deviation", "NormMeanDevBand(m)", {{4}, {9}}, {{0}, {0}}},
        {"block deviation", "NormalizeMeanDev(m)", {{1, 2, 3}}, {{-1, 0, 1}}},
        {"block of one value", "NormalizeMeanDev(m)", {{6}}, {{0}}},
        {"constant block", "NormalizeMeanDev(m)", {{2, 2}, {2, 2}}, {{0, 0}, {0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRows(Apply(c.call, c.in), c.out, 1e-6f);
    }
}

// Direct double computations of each class over a whole block.
Rows Direct(const std::string& kind, const Rows& x) {
    int bands = static_cast<int>(x.size()), frames = static_cast<int>(x[0].size());
    Rows y = x;
    auto deviation = [](const std::vector<double>& v, double mean) {
        double s = 0;
        for (double d : v)
            s += (d - mean) * (d - mean);
        return std::sqrt(s / (v.size() - 1));
    };
    auto mean = [](const std::vector<double>& v) {
        double s = 0;
        for (double d : v)
            s += d;
        return s / v.size();
    };
    if (kind == "NormalizeFrames(m, 3)") {
        for (int f = 0; f < frames; ++f) {
            double top = -1e300;
            for (int b = 0; b < bands; ++b)
                top = std::max(top, double(x[b][f]));
            for (int b = 0; b < bands; ++b)
                y[b][f] = static_cast<float>(3 * x[b][f] / top);
        }
    } else if (kind == "NormalizeMap(m, 3)") {
        double top = -1e300;
        for (const auto& row : x)
            for (float v : row)
                top = std::max(top, double(v));
        for (auto& row : y)
            for (float& v : row)
                v = static_cast<float>(3 * v / top);
    } else if (kind == "NormalizeMeanDev(m)") {
        std::vector<double> all;
        for (const auto& row : x)
            all.insert(all.end(), row.begin(), row.end());
        double m = mean(all), s = deviation(all, m);
        for (auto& row : y)
            for (float& v : row)
                v = static_cast<float>((v - m) / s);
    } else {
        for (auto& row : y) {
            std::vector<double> band(row.begin(), row.end());
            double m = mean(band), s = deviation(band, m);
            for (float& v : row)
                v = static_cast<float>(kind == "MeanSubsMap(m)" ? v - m : s > 0 ? (v - m) / s : 0);
        }
    }
    return y;
}

TEST_F(NormaliseTest, RandomBlocksMatchDirectComputation) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> value(-50, 200);
    Rows x(5, std::vector<float>(9));
    for (auto& row : x)
        for (float& v : row)
            v = value(random);
    for (const char* call : {"NormalizeFrames(m, 3)", "NormalizeMap(m, 3)", "NormalizeMeanDev(m)",
                             "NormMeanDevBand(m)", "MeanSubsMap(m)"}) {
        SCOPED_TRACE(call);
        ExpectRows(Apply(call, x), Direct(call, x), 2e-4f);
    }
}

TEST_F(NormaliseTest, FollowsTheSourceAndStaysInsideItsArray) {
    TestMap* m = AddMap("m", 4, 2);
    In("x = new MeanSubsMap(m)");
    // A smaller block, then one with more frames and bands than at construction.
    m->SetBlock({{1, 3}, {2, 2}}, 1);
    Process("x");
    ExpectRows(Block("x"), {{-1, 1}, {0, 0}}, 0);
    EXPECT_EQ(MapOf("x")->complete, 1);
    m->SetBlock({{1, 1, 1, 1, 9, 9}, {2, 2, 2, 2, 2, 2}, {5, 5, 5, 5, 5, 5}});
    Process("x");
    ExpectRows(Block("x"), {{0, 0, 0, 0}, {0, 0, 0, 0}}, 0);
    EXPECT_EQ(MapOf("x")->complete, 0);
}

TEST_F(NormaliseTest, CombineMapsJoinsBandsOverTheCommonFrames) {
    TestMap* a = AddMap("a", 10, 20);
    TestMap* b = AddMap("b", 8, 12);
    Rows ra(20, std::vector<float>(10)), rb(12, std::vector<float>(8));
    for (int i = 0; i < 20; ++i)
        for (int f = 0; f < 10; ++f)
            ra[i][f] = static_cast<float>(100 * i + f);
    for (int i = 0; i < 12; ++i)
        for (int f = 0; f < 8; ++f)
            rb[i][f] = static_cast<float>(-100 * i - f);
    a->SetBlock(ra, 1);
    b->SetBlock(rb, 0);
    EXPECT_EQ(In("c = new CombineMaps(a, b)"), "");
    Process("c");
    EXPECT_EQ(sink_->Take(), "CombineMaps Warning: Not equal sizes\n");
    Rows want;
    for (auto row : ra)
        want.emplace_back(row.begin(), row.begin() + 8);
    want.insert(want.end(), rb.begin(), rb.end());
    ExpectRows(Block("c"), want, 0);
    EXPECT_EQ(MapOf("c")->complete, 0);
    // Equal sizes: no warning, complete when both are.
    a->SetBlock({{1, 2}}, 1);
    b->SetBlock({{3, 4}, {5, 6}}, 1);
    Process("c");
    EXPECT_EQ(sink_->Take(), "");
    ExpectRows(Block("c"), {{1, 2}, {3, 4}, {5, 6}}, 0);
    EXPECT_EQ(MapOf("c")->complete, 1);
}

class CalibrationTest : public NormaliseTest {
  protected:
    // A source "m" of three bands and the calibrating or applying map "x" on it.
    TestMap* Make(const std::string& file, int mode) {
        Fresh();
        TestMap* m = AddMap("m", 4, 3);
        m->SetBlock(kBlock);
        last = In("x = new NormMeanDevBandFile(m, \"" + file + "\", " + std::to_string(mode) + ")");
        return m;
    }
    const Rows kBlock = {{1, 2, 3, 6}, {10, 10, 10, 10}, {-4, 0, 4, 8}};
    std::string last;
};

TEST_F(CalibrationTest, SavesTwoLinesAndALaterObjectReproducesTheOutput) {
    Make("calib.txt", 1);
    EXPECT_EQ(last, "");
    Process("x");
    EXPECT_EQ(sink_->Take(), "MIC parameters saved!\n");
    Rows calibrated = Block("x");
    ExpectRows(calibrated, Direct("NormMeanDevBand(m)", kBlock), 1e-6f);
    // Means 3, 10, 2; inverse deviations 1/sqrt(14/3), 0 (constant band), 1/sqrt(80/3).
    EXPECT_EQ(ReadFile("calib.txt"), "3.000000, 10.000000, 2.000000, \n"
                                     "0.462910, 0.000000, 0.193649, \n");
    EXPECT_FALSE(std::filesystem::exists("calib.txt.tmp"));
    // Read back through the engine's path rules: any letter case.
    TestMap* m = Make("CALIB.TXT", 0);
    EXPECT_EQ(last, "");
    Process("x");
    EXPECT_EQ(sink_->Take(), "");
    ExpectRows(Block("x"), calibrated, 1e-5f);
    // Mode 0 keeps its loaded values whatever the block.
    m->SetBlock({{3, 4}, {11, 12}, {2, 2}});
    Process("x");
    ExpectRows(Block("x"), {{0, 0.46291f}, {0, 0}, {0, 0}}, 1e-5f);
}

TEST_F(CalibrationTest, CalibratesEveryBlockAndReplacesTheFile) {
    TestMap* m = Make("calib.txt", 7);
    Process("x");
    m->SetBlock({{5, 7}, {1, 2}, {0, 0}});
    Process("x");
    EXPECT_EQ(ReadFile("calib.txt"), "6.000000, 1.500000, 0.000000, \n"
                                     "0.707107, 1.414214, 0.000000, \n");
    // A block of one frame has no deviation: inverse deviation 0.
    m->SetBlock({{5}, {1}, {2}});
    Process("x");
    EXPECT_EQ(ReadFile("calib.txt"), "5.000000, 1.000000, 2.000000, \n"
                                     "0.000000, 0.000000, 0.000000, \n");
}

TEST_F(CalibrationTest, UnusableFilesGiveMeanZeroAndDeviationOne) {
    WriteFile("short.txt", "1.0, 2.0, 3.0,\n4.0, 5.0,\n");
    WriteFile("spaces.txt", "1 2 3\n0.5 0.5 0.5\n");
    const struct {
        const char* file;
        const char* message;
        Rows out;
    } cases[] = {
        {"missing.txt", "NormMeanDevBandFile: Cannot open missing.txt\n", kBlock},
        {"short.txt", "NormMeanDevBandFile: Too few values in short.txt\n", kBlock},
        {"spaces.txt", "", {{0, 0.5f, 1, 2.5f}, {4, 4, 4, 4}, {-3.5f, -1.5f, 0.5f, 2.5f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Make(c.file, 0);
        EXPECT_EQ(last, c.message);
        Process("x");
        ExpectRows(Block("x"), c.out, 0);
    }
}

TEST_F(CalibrationTest, UnwritableFileIsReported) {
    Make("no/such/folder/calib.txt", 1);
    Process("x");
    EXPECT_EQ(sink_->Take(), "NormMeanDevBandFile: Cannot write no/such/folder/calib.txt\n");
    ExpectRows(Block("x"), Direct("NormMeanDevBand(m)", kBlock), 1e-6f);
}

TEST_F(NormaliseTest, DummyMapIsFilledByTheHostAndRestartsItsFolder) {
    EXPECT_EQ(In("d = new DummyMap(3.7, 2); n = new NormalizeMap(d, 1);"
                 "sb = new DummySoundBuffer(512); s = new Spectrum(sb, 256, 128, 256, 0)"),
              "");
    Map* d = MapOf("d");
    EXPECT_EQ(d->frames, 3);
    EXPECT_EQ(d->bands, 2);
    EXPECT_EQ(d->complete, 0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(d->data[i], 0.0f);
    // The host writes a block; the normaliser sees it.
    d->frames = 2;
    const float values[] = {1, 2, 8, -4};
    std::copy(values, values + 4, d->data);
    d->complete = 1;
    Process("n");
    ExpectRows(Block("n"), {{0.125f, 0.25f}, {1, -0.5f}}, 0);
    EXPECT_EQ(MapOf("n")->complete, 1);
    // Running the map drops what the folder's modules hold.
    Process("s");
    auto* bound = QueryInterface<ClusterBound>(Get("s"), "ClusterBound");
    EXPECT_GT(bound->count, 0);
    EXPECT_EQ(Process("d"), 0);
    EXPECT_EQ(bound->count, 0);
    bound->Release();
}
} // namespace
