// The map outputs: BMP pictures and HTK parameter files read back with readers written
// here from the formats' public descriptions (not with the engine's own code), the
// picture levels and palettes, file naming, failed writes, and the mel filterbank
// against a direct triangular-filter computation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "Map.h"
#include "Module.h"
#include "core/NumberObject.h"
#include "core/StringInput.h"
#include "signal/MapPicture.h"
#include "signal/SignalTest.h"

namespace {
namespace fs = std::filesystem;
using Rows = std::vector<std::vector<float>>;

uint32_t U32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<uint8_t>(s[at + i]);
    return v;
}
uint16_t U16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1])
                                                                   << 8);
}

// A BMP decoder for uncompressed 8-bit (palette) and 24-bit files, bottom-up rows
// padded to four bytes. pixel[y][x] is 0x00RRGGBB with y = 0 the bottom row.
struct Bmp {
    uint32_t fileSize = 0, offset = 0, width = 0, height = 0, bits = 0;
    std::vector<std::vector<uint32_t>> pixel;
};
Bmp DecodeBmp(const std::string& s) {
    Bmp b;
    if (s.size() < 54 || s.compare(0, 2, "BM")) return b;
    b.fileSize = U32(s, 2);
    b.offset = U32(s, 10);
    b.width = U32(s, 18);
    b.height = U32(s, 22);
    b.bits = U16(s, 28);
    size_t stride = ((b.width * b.bits + 31) / 32) * 4;
    for (uint32_t y = 0; y < b.height; ++y) {
        std::vector<uint32_t> row;
        for (uint32_t x = 0; x < b.width; ++x) {
            size_t at = b.offset + y * stride + x * (b.bits / 8);
            if (b.bits == 8) at = 54 + 4 * static_cast<uint8_t>(s[at]);
            row.push_back(static_cast<uint8_t>(s[at + 2]) << 16 |
                          static_cast<uint8_t>(s[at + 1]) << 8 | static_cast<uint8_t>(s[at]));
        }
        b.pixel.push_back(row);
    }
    return b;
}

// An HTK parameter file read as the toolkit's format describes it, little-endian.
struct Htk {
    int32_t vectors = 0, period = 0;
    int16_t bytesPerVector = 0, kind = 0;
    std::vector<float> values;
};
Htk ReadHtk(const std::string& s) {
    Htk h;
    if (s.size() < 12) return h;
    h.vectors = static_cast<int32_t>(U32(s, 0));
    h.period = static_cast<int32_t>(U32(s, 4));
    h.bytesPerVector = static_cast<int16_t>(U16(s, 8));
    h.kind = static_cast<int16_t>(U16(s, 10));
    for (size_t at = 12; at + 4 <= s.size(); at += 4) {
        uint32_t bits = U32(s, at);
        float v;
        std::memcpy(&v, &bits, 4);
        h.values.push_back(v);
    }
    return h;
}

class MapOutputs : public SignalTest {
  protected:
    TestMap* Source(const Rows& rows) {
        TestMap* m = AddMap("m", static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
        m->SetBlock(rows);
        return m;
    }
    int Process(const std::string& path) {
        auto* module = QueryInterface<Module>(Get(path), "Module");
        int result = module ? module->Process() : -99;
        if (module) module->Release();
        return result;
    }
    // Files of the working folder that a failed write could have left behind.
    static int FilesIn(const std::string& dir) {
        int n = 0;
        for (auto& entry : fs::directory_iterator(dir))
            n += entry.is_regular_file();
        return n;
    }
};

Rows Ramp(int bands, int frames) {
    Rows rows(bands, std::vector<float>(frames));
    for (int b = 0; b < bands; ++b)
        for (int f = 0; f < frames; ++f)
            rows[b][f] = static_cast<float>(b * frames + f);
    return rows;
}

struct SizeCase {
    const char* arguments;
    uint32_t offset, bits, fileSize;
};

TEST_F(MapOutputs, BmpLayoutOfTenFramesByThreeBands) {
    const SizeCase cases[] = {{"", 1078, 8, 1078 + 3 * 12}, {", 0, 60, 0, 1", 54, 24, 54 + 3 * 32}};
    for (const SizeCase& c : cases) {
        Fresh();
        Source(Ramp(3, 10));
        EXPECT_EQ(In(std::string("x = new MapFileOut(m, \"pic\"") + c.arguments + ")"), "");
        EXPECT_EQ(Process("x"), 0);
        std::string file = ReadFile("pic.bmp");
        Bmp b = DecodeBmp(file);
        EXPECT_EQ(file.size(), c.fileSize) << c.arguments;
        EXPECT_EQ(b.fileSize, c.fileSize);
        EXPECT_EQ(b.offset, c.offset);
        EXPECT_EQ(b.bits, c.bits);
        EXPECT_EQ(b.width, 10u);
        EXPECT_EQ(b.height, 3u);
        EXPECT_EQ(U32(file, 14), 40u);
        EXPECT_EQ(U32(file, 38), 800u);
        EXPECT_EQ(U16(file, 26), 1);
    }
}

TEST_F(MapOutputs, GreyPixelsSpreadTheBlockOverTheInvertedPalette) {
    Rows rows = Ramp(3, 10);
    Source(rows);
    In("x = new MapFileOut(m, \"grey\")");
    Process("x");
    Bmp b = DecodeBmp(ReadFile("grey.bmp"));
    ASSERT_EQ(b.pixel.size(), 3u);
    for (int band = 0; band < 3; ++band)
        for (int f = 0; f < 10; ++f) {
            // Value v of 0 ... 29: shade trunc(v * 255 / 29), drawn as 255 - shade.
            uint32_t shade = static_cast<uint32_t>(rows[band][f] * 255.0 / 29.0);
            uint32_t grey = 255 - shade;
            EXPECT_EQ(b.pixel[band][f], grey * 0x010101u) << band << "," << f;
        }
}

TEST_F(MapOutputs, AFlatBlockIsOneShade) {
    Source({{5, 5, 5}, {5, 5, 5}});
    In("x = new MapFileOut(m, \"flat\")");
    Process("x");
    Bmp b = DecodeBmp(ReadFile("flat.bmp"));
    for (auto& row : b.pixel)
        for (uint32_t p : row)
            EXPECT_EQ(p, 0xFFFFFFu);
}

TEST_F(MapOutputs, ColourPixelsFollowTheLevelsAndPalettes) {
    // r = 60 dB below q = 1: 1 is the top level, 0.001 level 1, 0 level 0; palette 3
    // shows f = (32767 - e) / 128 in grey, palette 2 e / 128.
    Source({{1.0f, 0.001f, 0.0f, 0.1f}});
    In("x = new MapFileOut(m, \"p3\", 3, 60, 0, 1); y = new MapFileOut(m, \"p2\", 2, 60, 0, 1)");
    Process("x");
    Process("y");
    auto level = [](double v) {
        double e = v > 0 ? 20 * std::log10(v) * (32766.0 / 60) + 32767 : 0;
        return e < 0 ? 0 : e;
    };
    Bmp p3 = DecodeBmp(ReadFile("p3.bmp")), p2 = DecodeBmp(ReadFile("p2.bmp"));
    const float values[] = {1.0f, 0.001f, 0.0f, 0.1f};
    for (int f = 0; f < 4; ++f) {
        uint32_t g3 = static_cast<uint32_t>(std::min(255.0, (32767 - level(values[f])) / 128));
        uint32_t g2 = static_cast<uint32_t>(std::min(255.0, level(values[f]) / 128));
        EXPECT_EQ(p3.pixel[0][f], g3 * 0x010101u) << f;
        EXPECT_EQ(p2.pixel[0][f], g2 * 0x010101u) << f;
    }
}

struct LevelCase {
    float value;
    int range;
    float offset, reference;
    double level;
};

TEST(PictureLevels, DecibelAndLinearScales) {
    const LevelCase cases[] = {
        {1.0f, 60, 0, 1, 32767}, {0.001f, 60, 0, 1, 1},    {0.0f, 60, 0, 1, 0},
        {1e-9f, 60, 0, 1, 0},    {10.0f, 60, 0, 1, 43689}, {3.0f, 0, 1, 2, 32767},
        {0.5f, 0, 1, 2, 0},      {1.0f, -5, 0, 1, 32767},
    };
    for (const LevelCase& c : cases) {
        PictureScale s{true, 0, c.range, c.offset, c.reference};
        EXPECT_NEAR(PictureLevel(s, c.value), c.level, 1.0) << c.value << " r=" << c.range;
    }
}

struct PaletteCase {
    int palette;
    double level;
    int red, green, blue;
};

TEST(PictureLevels, PaletteColours) {
    const PaletteCase cases[] = {
        {0, 9000, 18, 0, 253},     {0, 9001, 18, 0, 255}, {0, 20000, 218, 0, 0},
        {0, 32767, 255, 254, 0},   {0, 40000, 0, 255, 0}, {0, -1, 255, 0, 255},
        {0, 0, 0, 0, 0},           {1, 32767, 254, 0, 0}, {2, 32767, 255, 255, 255},
        {2, 99999, 255, 255, 255}, {3, 0, 255, 255, 255}, {3, 32767, 0, 0, 0},
        {7, 12800, 100, 100, 100},
    };
    for (const PaletteCase& c : cases) {
        Rgb rgb = PaletteColour(c.palette, c.level);
        EXPECT_EQ(rgb.red, c.red) << c.palette << " at " << c.level;
        EXPECT_EQ(rgb.green, c.green) << c.palette << " at " << c.level;
        EXPECT_EQ(rgb.blue, c.blue) << c.palette << " at " << c.level;
    }
}

struct NameCase {
    const char* name;
    std::vector<const char*> files;
};

TEST_F(MapOutputs, FilesAreNumberedFromTheCutName) {
    fs::create_directories("save/my_dir");
    fs::create_directories("d.v2");
    const NameCase cases[] = {
        {"spec", {"spec.bmp", "spec_01.bmp", "spec_02.bmp"}},
        {"rec.take1", {"rec.bmp", "rec_01.bmp"}},
        {"run_7", {"run.bmp"}},
        {"save/my_dir/spec", {"save/my_dir/spec.bmp", "save/my_dir/spec_01.bmp"}},
        {"d.v2/x_y", {"d.v2/x.bmp"}},
        {"_lead", {"_lead.bmp"}},
    };
    for (const NameCase& c : cases) {
        Fresh();
        Source({{1, 2}});
        In(std::string("x = new MapFileOut(m, \"") + c.name + "\")");
        for (const char* file : c.files) {
            EXPECT_FALSE(fs::exists(file)) << file;
            Process("x");
            EXPECT_TRUE(fs::exists(file)) << c.name << " -> " << file;
        }
    }
}

TEST_F(MapOutputs, FailedWritesReportAndLeaveNoPartialFile) {
    Source({{1, 2}});
    fs::create_directory("taken.bmp"); // a folder where the picture should go
    fs::create_directory("taken.par");
    EXPECT_EQ(In("a = new MapFileOut(m, \"nowhere/pic\"); b = new MapFileOut(m, \"taken\");"
                 "c = new MapOutForHTK(m, \"nowhere/h\"); d = new MapOutForHTK(m, \"taken\")"),
              "");
    for (const char* name : {"a", "b", "c", "d"}) {
        EXPECT_EQ(Process(name), 0);
        EXPECT_NE(sink_->Take().find(": Cannot write "), std::string::npos) << name;
    }
    EXPECT_TRUE(fs::is_directory("taken.bmp"));
    EXPECT_EQ(FilesIn("."), 0);
}

TEST_F(MapOutputs, OverLongNamesAreBoundedAndRefused) {
    TestMap* m = Source({{1, 2}});
    // A name longer than a script line holds, as a file's text would give it.
    m->Set("n", 1, new StringInput(std::string(5000, 'n')), 0);
    EXPECT_EQ(In("a = new MapFileOut(m, m.n); b = new MapOutForHTK(m, m.n)"), "");
    EXPECT_EQ(Process("a"), 0);
    EXPECT_EQ(Process("b"), 0);
    EXPECT_NE(sink_->Take().find("Cannot write"), std::string::npos);
    EXPECT_EQ(FilesIn("."), 0);
    // At the bound the name still works where the file system allows it.
    std::string fits(200, 'f');
    In("c = new MapFileOut(m, \"" + fits + "\")");
    Process("c");
    EXPECT_TRUE(fs::exists(fits + ".bmp"));
}

struct PeriodCase {
    const char* timeBase;
    int32_t period;
};

TEST_F(MapOutputs, HtkHeaderAndVectorsMatchTheMap) {
    const PeriodCase cases[] = {
        {"_framedist = 256; _sps = 22050;", 116100},
        {"", 29025}, // 64 samples at 22050 per second
        {"_framedist = 160.7; _sps = 16000.9;", 100000},
        {"_framedist = 0; _sps = -5;", 29025},
    };
    for (const PeriodCase& c : cases) {
        Fresh();
        Rows rows = Ramp(3, 5);
        rows[1][2] = -1.5e-7f;
        Source(rows);
        In(std::string(c.timeBase) + "h = new MapOutForHTK(m, \"out\")");
        EXPECT_EQ(Process("h"), 0);
        Htk h = ReadHtk(ReadFile("out.par"));
        EXPECT_EQ(h.vectors, 5) << c.timeBase;
        EXPECT_EQ(h.period, c.period) << c.timeBase;
        EXPECT_EQ(h.bytesPerVector, 12);
        EXPECT_EQ(h.kind, 9);
        ASSERT_EQ(h.values.size(), 15u);
        for (int f = 0; f < 5; ++f)
            for (int b = 0; b < 3; ++b)
                EXPECT_EQ(h.values[f * 3 + b], rows[b][f]);
    }
}

TEST_F(MapOutputs, HtkFileIsReplacedAtEveryRun) {
    TestMap* m = Source(Ramp(2, 4));
    In("h = new MapOutForHTK(m, \"out\")");
    Process("h");
    m->SetBlock({{7}, {8}});
    Process("h");
    Htk h = ReadHtk(ReadFile("out.par"));
    EXPECT_EQ(h.vectors, 1);
    EXPECT_EQ(h.values, (std::vector<float>{7, 8}));
}

TEST_F(MapOutputs, FactoryMessages) {
    Source({{1}});
    struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"x = new MapFileOut(5, \"a\")", "MapFileOut: First parameter error\n"},
        {"x = new MapOutForHTK(\"m\", \"a\")", "MapOutForHTK: First parameter error\n"},
        {"x = new HTK_FBLE(5, 24)", "HTK_FBLE: First parameter must be 'Map' interface\n"},
        {"x = new HTK_FBLE(m, 24)", "HTK_FBLE: First parameter must have an 'sps' property\n"},
    };
    for (auto& c : cases) {
        EXPECT_NE(In(c.script).find(c.message), std::string::npos) << c.script;
        EXPECT_EQ(Get("x"), nullptr);
    }
}

// The toolkit's filterbank written from its description: Q triangles evenly spaced on
// the mel scale from 0 to the frequency of the top bin, each rising from the previous
// centre and falling to the next; a bin at mel m adds tri(m) times its value. The
// toolkit works with the sample period in whole 100 ns units.
std::vector<double> MelFilterbank(const std::vector<double>& spectrum, int sps, int Q) {
    int K = static_cast<int>(spectrum.size());
    double rate = 1e7 / (10000000 / sps);
    auto mel = [](double hz) { return 1127 * std::log(1 + hz / 700); };
    double top = mel(rate / 2);
    auto centre = [&](int j) { return j < 0 ? 0.0 : (j + 1) * top / (Q + 1); };
    std::vector<double> out(Q);
    for (int k = 1; k < K - 1; ++k) {
        double m = mel(k * rate / (2.0 * (K - 1)));
        for (int j = 0; j < Q; ++j) {
            double lo = centre(j - 1), c = centre(j), hi = centre(j + 1);
            if (m > lo && m <= c) out[j] += spectrum[k] * (m - lo) / (c - lo);
            if (m > c && m < hi) out[j] += spectrum[k] * (hi - m) / (hi - c);
        }
    }
    return out;
}

class Filterbank : public MapOutputs {
  protected:
    void Compare(Map* spectrum, Map* fble, int sps, int Q, bool logarithm) {
        ASSERT_EQ(fble->bands, Q);
        ASSERT_EQ(fble->frames, spectrum->frames);
        for (int f = 0; f < spectrum->frames; ++f) {
            std::vector<double> column(spectrum->bands);
            for (int k = 0; k < spectrum->bands; ++k)
                column[k] = spectrum->data[k * spectrum->frames + f];
            std::vector<double> expected = MelFilterbank(column, sps, Q);
            for (int j = 0; j < Q; ++j) {
                double e = logarithm ? std::log(std::max(expected[j], 1.0)) : expected[j];
                EXPECT_NEAR(fble->data[j * fble->frames + f], e, 1e-4 * std::max(1.0, std::fabs(e)))
                    << "frame " << f << " channel " << j;
            }
        }
    }
    Map* MapAt(const std::string& path) {
        auto* map = QueryInterface<Map>(Get(path), "Map");
        if (map) map->Release();
        return map;
    }
};

TEST_F(Filterbank, MatchesTheTriangularFiltersOnAGeneratedSignal) {
    std::vector<int16_t> v(6000);
    for (int i = 0; i < 6000; ++i)
        v[i] = static_cast<int16_t>(6000 * std::sin(i * 0.21) + 3000 * std::sin(i * 1.3 + 0.5) +
                                    500 * std::sin(i * 2.7));
    WriteFile("in.wav", wavfile::Mono16(v, 16000));
    EXPECT_EQ(In("m = new ModuleFolder();"
                 "m.w = new WavFileIn(\"in\");"
                 "m.s = new Spectrum(m.w, 400, 160, 512, 1);"
                 "m.f = new HTK_FBLE(m.s, 24);"
                 "m.g = new HTK_FBLE(m.s, 26, 0);"
                 "m.build(); m.start()"),
              "Processing in.wav\n");
    Map* spectrum = MapAt("m.s");
    ASSERT_GT(spectrum->frames, 30);
    Compare(spectrum, MapAt("m.f"), 16000, 24, true);
    Compare(spectrum, MapAt("m.g"), 16000, 26, false);
    EXPECT_EQ(MapAt("m.f")->complete, 1);
}

TEST_F(Filterbank, TablesFollowTheSourceRateAndTheBlockGrows) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(0, 50);
    auto block = [&](int frames) {
        Rows rows(129, std::vector<float>(frames));
        for (auto& row : rows)
            for (float& x : row)
                x = value(random);
        return rows;
    };
    TestMap* m = Source(block(3));
    auto* sps = new NumberObject(22050);
    m->Set("sps", 3, sps, 0);
    In("f = new HTK_FBLE(m, 20, 0)");
    EXPECT_EQ(Process("f"), 0);
    Compare(m, MapAt("f"), 22050, 20, false);
    sps->value = 8000.7;
    m->SetBlock(block(40), 1); // more frames than at construction
    EXPECT_EQ(Process("f"), 0);
    Compare(m, MapAt("f"), 8000, 20, false);
    EXPECT_EQ(MapAt("f")->complete, 1);
}

TEST_F(Filterbank, LogFloorsEnergiesBelowOne) {
    TestMap* m = Source(Rows(65, std::vector<float>(2, 0.01f)));
    m->Set("sps", 3, new NumberObject(16000), 0);
    In("f = new HTK_FBLE(m, 12)");
    Process("f");
    Map* f = MapAt("f");
    for (int i = 0; i < f->bands * f->frames; ++i)
        EXPECT_EQ(f->data[i], 0.0f);
}

TEST_F(Filterbank, RefusesBadChannelCounts) {
    TestMap* m = Source({{1}});
    m->Set("sps", 3, new NumberObject(16000), 0);
    for (const char* q : {"0", "-3", "\"x\"", "1e12"})
        EXPECT_NE(In(std::string("f = new HTK_FBLE(m, ") + q + ")")
                      .find("HTK_FBLE: Second parameter error\n"),
                  std::string::npos)
            << q;
}
} // namespace
