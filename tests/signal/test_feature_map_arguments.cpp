// The factories of the feature maps: every message for each argument they refuse,
// the numbers refused because they would divide by zero, size arrays badly or not fit
// a transform, and the calls accepted; then a whole chain from a WAV file run by a
// module folder.
#include <gtest/gtest.h>

#include <cmath>

#include "signal/FeatureMapTest.h"

namespace {
class FeatureMapArgumentsTest : public FeatureMapTest {};

TEST_F(FeatureMapArgumentsTest, Messages) {
    const struct {
        const char* call;
        const char* message; // "" when accepted
    } cases[] = {
        {"BandEnergyRect(1, sb, \"Bark\", 8000, 20, 1)", "BandEnergyRect: First parameter error"},
        {"BandEnergyRect(m, m, \"Bark\", 8000, 20, 1)", "BandEnergyRect: Second parameter error"},
        {"BandEnergyRect(m, sb, 5, 8000, 20, 1)", "BandEnergyRect: Third parameter error"},
        {"BandEnergyRect(m, sb, \"Mel\", 8000, 20, 1)", "BandEnergyRect: Third parameter error"},
        {"BandEnergyRect(m, sb, \"Bar\", 8000, 20, 1)", "BandEnergyRect: Third parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", 8000, 0, 1)", "BandEnergyRect: Parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", 8000, -2, 1)", "BandEnergyRect: Parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", 8000, 4097, 1)", "BandEnergyRect: Parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", 8000, 20, 0)", "BandEnergyRect: Parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", 8000, 20, -1)", "BandEnergyRect: Parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", 0, 20, 1)", "BandEnergyRect: Parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", 1e12, 20, 1)", "BandEnergyRect: Parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", \"x\", 20, 1)", "BandEnergyRect: Parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", 8000, 20)", "BandEnergyRect: Parameter error"},
        {"BandEnergyRect(m, sb, \"Bark\", 8000, 20, 1)", ""},
        {"BandEnergyRect(m, sb, \"Greenwood\", 8000, 1, 0.5)", ""},
        {"BandEnergyTriang(1, sb, \"Bark\", 8000, 20, 1)",
         "BandEnergytriang: First parameter error"},
        {"BandEnergyTriang(m, 1, \"Bark\", 8000, 20, 1)",
         "BandEnergytriang: Second parameter error"},
        {"BandEnergyTriang(m, sb, m, 8000, 20, 1)", "BandEnergytriang: Third parameter error"},
        {"BandEnergyTriang(m, sb, \"Greenwoo\", 8000, 20, 1)",
         "BandEnergytriang: Third parameter error"},
        {"BandEnergyTriang(m, sb, \"Bark\", 8000, 0, 1)", "BandEnergytriang: Parameter error"},
        {"BandEnergyTriang(m, sb, \"Bark\", 8000, 20, 0)", "BandEnergytriang: Parameter error"},
        {"BandEnergyTriang(m, sb, \"Greenwood\", 8000, 20, 2)", ""},
        {"MFCC(1, 12)", "MFCC: First parameter error must be 'Map' interface"},
        {"MFCC(sb, 12)", "MFCC: First parameter error must be 'Map' interface"},
        {"MFCC(m, 0)", "MFCC: Second parameter error"},
        {"MFCC(m, -1)", "MFCC: Second parameter error"},
        {"MFCC(m, 4097)", "MFCC: Second parameter error"},
        {"MFCC(m)", "MFCC: Second parameter error"},
        {"MFCC(m, \"x\")", "MFCC: Second parameter error"},
        {"MFCC(m, 12, \"x\")", "MFCC: Second parameter error"},
        {"MFCC(m, 12)", ""},
        {"MFCC(m, 12, 22)", ""},
        {"LPC(m, 12, 400, 160, 1, 0.97)", "LPC: First parameter must be 'SoundBuffer' Interface"},
        {"LPC(sb, 0, 400, 160, 1, 0.97)", "LPC: Parameter error"},
        {"LPC(sb, -1, 400, 160, 1, 0.97)", "LPC: Parameter error"},
        {"LPC(sb, 400, 400, 160, 1, 0.97)", "LPC: Parameter error"},
        {"LPC(sb, 12, 0, 160, 1, 0.97)", "LPC: Parameter error"},
        {"LPC(sb, 12, 70000, 160, 1, 0.97)", "LPC: Parameter error"},
        {"LPC(sb, 12, 400, 0, 1, 0.97)", "LPC: Parameter error"},
        {"LPC(sb, 12, 400, -160, 1, 0.97)", "LPC: Parameter error"},
        {"LPC(sb, 12, 400, 160, 3, 0.97)", "LPC: Parameter error"},
        {"LPC(sb, 12, 400, 160, -1, 0.97)", "LPC: Parameter error"},
        {"LPC(sb, 12, 400, 160, 1)", "LPC: Parameter error"},
        {"LPC(sb, 12, 400, 160, 1, \"x\")", "LPC: Parameter error"},
        {"LPC(sb, 399, 400, 160, 1, 0.97)", ""},
        {"LPC(sb, 12, 100, 300, 0, 0)", ""},
        {"LPCcepstrum(sb, 12)", "LPCcepstrum: First parameter must be 'Map' Interface"},
        {"LPCcepstrum(m, 0)", "LPCcepstrum: Second parameter must be 'Number' Interface"},
        {"LPCcepstrum(m)", "LPCcepstrum: Second parameter must be 'Number' Interface"},
        {"LPCcepstrum(m, \"x\")", "LPCcepstrum: Second parameter must be 'Number' Interface"},
        {"LPCcepstrum(m, 12)", ""},
        {"LPCspectrum(1, 256)", "LPCspectrum: First parameter must be 'Map' Interface"},
        {"LPCspectrum(m, 4)", "LPCspectrum: Second parameter must be 'Number' Interface"},
        {"LPCspectrum(m, 0)", "LPCspectrum: Second parameter must be 'Number' Interface"},
        {"LPCspectrum(m, 12)", "LPCspectrum: Second parameter must be 'Number' Interface"},
        {"LPCspectrum(m, 131072)", "LPCspectrum: Second parameter must be 'Number' Interface"},
        {"LPCspectrum(m)", "LPCspectrum: Second parameter must be 'Number' Interface"},
        {"LPCspectrum(order8, 8)", "LPCspectrum: Second parameter must be 'Number' Interface"},
        {"LPCspectrum(order8, 16)", ""},
        {"LPCspectrum(m, 8)", ""},
        {"LogMap(1)", "LogMap: First parameter error"},
        {"LogMap()", "LogMap: First parameter error"},
        {"LogMap(m)", ""},
        {"CubRMap(sb)", "CubRMap: First parameter error"},
        {"CubRMap(m)", ""},
        {"RastaMap(1, 100, 0, 0.94)", "RastaMap: First parameter must be 'Map' Interface"},
        {"RastaMap(m, \"x\", 0, 0.94)", "RastaMap: Second parameter must be 'Number' Interface"},
        {"RastaMap(m)", "RastaMap: Second parameter must be 'Number' Interface"},
        {"RastaMap(m, 100)", "RastaMap: Third parameter must be 'Number' Interface"},
        {"RastaMap(m, 100, \"x\", 0.94)", "RastaMap: Third parameter must be 'Number' Interface"},
        {"RastaMap(m, 100, 0)", "RastaMap: Fourth parameter must be 'Number' Interface"},
        {"RastaMap(m, 100, 0, m)", "RastaMap: Fourth parameter must be 'Number' Interface"},
        {"RastaMap(m, 100, 1, 0.94)", ""},
    };
    Sound("sb", 1000);
    AddMap("m", 10, 5);
    AddMap("order8", 10, 9);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(FirstLine(std::string("x = new ") + c.call), c.message);
        if (*c.message) continue;
        Map* map = MapOf("x");
        ASSERT_TRUE(map);
        EXPECT_GT(map->bands, 0);
        In("x = 0");
    }
}

// A file through spectrum, band energies, logarithm and cepstrum, and through linear
// prediction and its cepstrum and spectrum, run by a module folder.
TEST_F(FeatureMapArgumentsTest, ChainsFromAFile) {
    std::vector<int16_t> v(8000);
    for (int i = 0; i < 8000; ++i)
        v[i] = static_cast<int16_t>(6000 * std::sin(i * 0.21) + 2000 * std::sin(i * 0.9));
    WriteFile("in.wav", wavfile::Mono16(v, 16000));
    EXPECT_EQ(In("m = new ModuleFolder();"
                 "m.w = new WavFileIn(\"in\");"
                 "m.s = new Spectrum(m.w, 512, 256, 512, 1);"
                 "m.b = new BandEnergyTriang(m.s, m.w, \"Bark\", 8000, 20, 1.5);"
                 "m.g = new LogMap(m.b);"
                 "m.c = new MFCC(m.g, 12, 22);"
                 "m.r = new RastaMap(m.g, 100, 1, 0.94);"
                 "m.l = new LPC(m.w, 12, 400, 160, 1, 0.97);"
                 "m.lc = new LPCcepstrum(m.l, 13);"
                 "m.ls = new LPCspectrum(m.l, 256);"
                 "m.build(); m.start()"),
              "Processing in.wav\n");
    const struct {
        const char* path;
        int frames, bands;
    } outputs[] = {{"m.b", 8000 / 256 + 1, 20},  {"m.g", 8000 / 256 + 1, 20},
                   {"m.c", 8000 / 256 + 1, 12},  {"m.r", 8000 / 256 + 1, 20},
                   {"m.l", 8000 / 160 + 1, 13},  {"m.lc", 8000 / 160 + 1, 13},
                   {"m.ls", 8000 / 160 + 1, 129}};
    for (const auto& o : outputs) {
        SCOPED_TRACE(o.path);
        Map* map = MapOf(o.path);
        ASSERT_TRUE(map);
        EXPECT_EQ(map->frames, o.frames);
        EXPECT_EQ(map->bands, o.bands);
        EXPECT_EQ(map->complete, 1);
        float largest = 0;
        for (int i = 0; i < map->frames * map->bands; ++i) {
            ASSERT_TRUE(std::isfinite(map->data[i])) << i;
            largest = std::max(largest, std::fabs(map->data[i]));
        }
        EXPECT_GT(largest, 0.0f);
    }
}
} // namespace
