// The driver's utterance detection in a room: generated streams (a voiced burst over
// silence or steady noise) reach the capture ring in blocks as a sound device delivers
// them, the fake clock moves 25 ms per main-loop period, and the driver cuts the
// utterance. Checked: noise under the voice still ends an utterance, a quiet voice
// still starts one, silence and steady noise alone start none, the minimum level still
// decides in a quiet room, and the lead-in before the voice is 125 ms whatever the
// capture block size and where the voice falls in a block. The cut tool, which feeds
// the driver the same way, writes the driver's cut and says why a take has none.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "lexora-cut/DriverFeed.h"
#include "lexora-cut/StreamFiles.h"
#include "media/LxFile.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"

namespace {

constexpr int kRate = 22050;
constexpr int kVoiceRms = 5000;     // an ordinary voice close to the microphone
constexpr int kLeadIn = kRate / 8;  // the 125 ms kept before the voice, in samples
constexpr int kBlock = 512;         // the tolerance of the lead-in: one analysed block
constexpr int kVoiceAt = kRate * 3; // the burst starts after three seconds of background
constexpr int kVoiceLength = kRate * 6 / 10;

double Rms(const std::vector<float>& x) {
    double sum = 0;
    for (float v : x)
        sum += double(v) * v;
    return std::sqrt(sum / x.size());
}

std::vector<float> Scaled(std::vector<float> x, double rms) {
    double k = rms / Rms(x);
    for (float& v : x)
        v = static_cast<float>(v * k);
    return x;
}

// A vowel-like burst: 140 Hz with falling harmonics, 10 ms fades, at the given RMS.
std::vector<float> VoicedBurst(double rms) {
    std::vector<float> x(kVoiceLength);
    int fade = kRate / 100;
    for (int i = 0; i < kVoiceLength; i++) {
        double v = 0;
        for (int h = 1; h <= 12; h++)
            v += std::sin(2 * M_PI * 140 * h * i / kRate) / h;
        double envelope = std::min({1.0, double(i) / fade, double(kVoiceLength - i) / fade});
        x[i] = static_cast<float>(v * envelope);
    }
    return Scaled(x, rms);
}

enum Noise { kSilence, kWhite, kHum, kPink, kBrown, kBrownWalk };

std::vector<float> Background(Noise kind, int n, double rms) {
    std::vector<float> x(n, 0.0f);
    if (kind == kSilence) return x;
    std::mt19937 random(7);
    std::normal_distribution<double> gauss;
    double pink[3] = {}, brown = 0, leaky = 0;
    for (int i = 0; i < n; i++) {
        double w = gauss(random);
        switch (kind) {
        case kWhite:
            x[i] = static_cast<float>(w);
            break;
        case kHum: // mains hum with its odd harmonics
            x[i] = static_cast<float>(std::sin(2 * M_PI * 50 * i / kRate) +
                                      0.5 * std::sin(2 * M_PI * 150 * i / kRate) +
                                      0.3 * std::sin(2 * M_PI * 250 * i / kRate));
            break;
        case kPink: // three leaky sums of white noise (a common approximation)
            pink[0] = 0.99765 * pink[0] + w * 0.0990460;
            pink[1] = 0.96300 * pink[1] + w * 0.2965164;
            pink[2] = 0.57000 * pink[2] + w * 1.0526913;
            x[i] = static_cast<float>(pink[0] + pink[1] + pink[2] + w * 0.1848);
            break;
        case kBrown: // a leaking sum, falling 6 dB an octave above 35 Hz: a room's rumble
            leaky = 0.99 * leaky + w;
            x[i] = static_cast<float>(leaky);
            break;
        case kBrownWalk: { // a bounded random walk, as sox makes it: its level swings slowly
            std::uniform_real_distribution<double> step(-1.0 / 16, 1.0 / 16);
            double next;
            do
                next = brown + step(random);
            while (std::abs(next) > 1);
            brown = next;
            x[i] = static_cast<float>(brown);
            break;
        }
        default:
            break;
        }
    }
    return Scaled(x, rms);
}

// A room's echo of the voice: the burst's sound dying away by 60 dB in rt60 seconds after
// it, made of noise at the burst's level (a diffuse tail, as a hall's).
void AddEcho(std::vector<float>& x, int voiceAt, double voiceRms, double rt60) {
    std::mt19937 random(11);
    std::normal_distribution<double> gauss;
    for (int i = voiceAt; i < int(x.size()); i++) {
        double since = double(i - voiceAt) / kRate;
        double rise = std::min(1.0, since / 0.05);
        double decay = i < voiceAt + kVoiceLength
                           ? 1.0
                           : std::pow(10.0, -3 * double(i - voiceAt - kVoiceLength) / kRate / rt60);
        x[i] += static_cast<float>(gauss(random) * voiceRms * 0.5 * rise * decay);
    }
}

// Background for seconds, with a burst of the given RMS laid in at voiceAt (none when
// voiceRms is 0) and its echo when rt60 (seconds) is given.
std::vector<int16_t> Stream(Noise kind, double noiseRms, double voiceRms, int voiceAt,
                            double seconds = 6, double rt60 = 0) {
    int n = static_cast<int>(seconds * kRate);
    std::vector<float> x = Background(kind, n, noiseRms);
    if (voiceRms > 0) {
        std::vector<float> voice = VoicedBurst(voiceRms);
        for (int i = 0; i < kVoiceLength && voiceAt + i < n; i++)
            x[voiceAt + i] += voice[i];
        if (rt60 > 0) AddEcho(x, voiceAt, voiceRms, rt60);
    }
    std::vector<int16_t> s(n);
    for (int i = 0; i < n; i++)
        s[i] = static_cast<int16_t>(std::clamp(std::lround(x[i]), -32768L, 32767L));
    return s;
}

double Db(double db) {
    return std::pow(10.0, db / 20);
}

using Cut = DriverCut;

// The driver fed as a sound device feeds it, on a fake engine that answers the search
// with "S".
class DriverRoom : public ::testing::Test {
  protected:
    void SetUp() override { root_.Add("mod_classic.te", new FakeHypothesis(L"S")); }
    void TearDown() override {
        EXPECT_TRUE(root_.AllReleased()) << "the driver kept an engine reference";
    }
    Cut Listen(const std::vector<int16_t>& samples, int block = 2048) {
        return feed_.Listen(samples, block);
    }

    DriverFeed feed_;
    FakeRoot& root_ = feed_.Root();
};

// ---- Noise and quiet voices ----

struct RoomCase {
    const char* title;
    Noise noise;
    double noiseDb;  // background RMS against an ordinary voice
    double voiceDb;  // the voice against an ordinary one; below -100: no voice
    double rt60 = 0; // the room's echo after the voice, seconds to die away by 60 dB
};

// Noise heard from the first moment may open an utterance before the background is
// known; that one is dropped once the background is measured, so what ends is the voice.
TEST_F(DriverRoom, TheVoiceStartsAndEndsAnUtteranceOverTheBackground) {
    const RoomCase cases[] = {
        {"a clean room", kSilence, -200, 0},
        {"a quiet voice, 20 dB under the usual", kSilence, -200, -20},
        {"a quiet voice over faint white noise", kWhite, -40, -20},
        {"white noise 20 dB under the voice", kWhite, -20, 0},
        {"white noise 10 dB under the voice", kWhite, -10, 0},
        {"mains hum 10 dB under the voice", kHum, -10, 0},
        {"pink noise 20 dB under the voice", kPink, -20, 0},
        {"pink noise 10 dB under the voice", kPink, -10, 0},
        {"brown noise 20 dB under the voice", kBrown, -20, 0},
        {"brown noise 10 dB under the voice", kBrown, -10, 0},
        {"a reverberant room, its echo dying in 1.5 s", kWhite, -50, 0, 1.5},
        {"a reverberant room over pink noise 20 dB under", kPink, -20, 0, 1.0},
    };
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.title);
        feed_.Restart();
        Cut cut = Listen(Stream(c.noise, kVoiceRms * Db(c.noiseDb), kVoiceRms * Db(c.voiceDb),
                                kVoiceAt, 6, c.rt60));
        ASSERT_TRUE(cut.ended) << "state " << cut.state;
        EXPECT_NEAR(kVoiceAt - cut.begin, kLeadIn, kBlock);
        // Ended after the voice, within the quiet spell that ends it and a capture block
        // (after an echo, once it has died away by 20 dB, a third of its rt60).
        EXPECT_GT(cut.end, kVoiceAt + kVoiceLength);
        EXPECT_LT(cut.end, kVoiceAt + kVoiceLength + kRate * (0.6 + c.rt60 / 3));
    }
}

TEST_F(DriverRoom, WithoutAVoiceNoUtteranceEnds) {
    const RoomCase cases[] = {
        {"silence", kSilence, -200, -200},  {"white noise", kWhite, -10, -200},
        {"mains hum", kHum, -10, -200},     {"pink noise", kPink, -10, -200},
        {"brown noise", kBrown, -10, -200},
    };
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.title);
        feed_.Restart();
        Cut cut = Listen(Stream(c.noise, kVoiceRms * Db(c.noiseDb), 0, 0));
        EXPECT_FALSE(cut.ended);
        EXPECT_EQ(cut.state, kDriverWaiting);
        if (c.noise == kSilence) {
            EXPECT_FALSE(cut.started);
        }
    }
}

// A loud sound that lasts (a machine switched on) starts an utterance, but the
// background rises to meet it: the utterance is dropped and the driver listens again.
TEST_F(DriverRoom, ALastingLoudSoundDoesNotKeepTheUtteranceOpen) {
    std::vector<int16_t> quiet = Stream(kWhite, kVoiceRms * Db(-40), 0, 0, 1);
    std::vector<int16_t> loud = Stream(kWhite, kVoiceRms, 0, 0, 29);
    quiet.insert(quiet.end(), loud.begin(), loud.end());
    Cut cut = Listen(quiet);
    EXPECT_TRUE(cut.started);
    EXPECT_EQ(cut.state, kDriverWaiting);
}

// Noise heard while the floor is still being measured can open an utterance before any
// voice (here brown noise whose first 100 ms are 10 dB quieter than the rest: the floor
// settles on them, and the rest stands out). The noise's swing seen while the floor
// settles sets where that utterance ends, so it ends in the noise after the voice that
// follows, rather than staying open while the floor slowly rises.
TEST_F(DriverRoom, AnUtteranceOpenedWhileTheFloorSettlesEndsInTheNoise) {
    const int voiceAt = kRate * 8 / 10;
    std::vector<int16_t> stream = Stream(kBrownWalk, kVoiceRms * Db(-10), kVoiceRms, voiceAt, 3);
    for (int i = 0; i < kRate / 10; i++)
        stream[i] = static_cast<int16_t>(stream[i] * 3 / 10);
    Cut cut = Listen(stream);
    EXPECT_TRUE(cut.started);
    ASSERT_TRUE(cut.ended) << "state " << cut.state;
    EXPECT_GT(cut.end, voiceAt + kVoiceLength);
    EXPECT_LT(cut.end, voiceAt + kVoiceLength + kRate);
}

// A short sound whose onset arrives with a tick's new sound while the tick's analysed
// block (the newest 512 samples) is already quiet: the quiet that ends the utterance is
// counted from the onset, so it lasts the whole quiet spell and reaches the recogniser.
TEST_F(DriverRoom, TheQuietThatEndsAnUtteranceCountsFromItsOnset) {
    const int clickLength = kRate / 50; // 20 ms
    for (int offset : {0, 500, 1000, 1400}) {
        SCOPED_TRACE(offset);
        feed_.Restart();
        std::vector<int16_t> stream = Stream(kWhite, kVoiceRms * Db(-30), 0, 0, 3);
        int clickAt = kRate / 2048 * 2048 + offset; // inside the capture block after 1 s
        for (int i = 0; i < clickLength; i++)
            stream[clickAt + i] = static_cast<int16_t>(i % 2 ? kVoiceRms : -kVoiceRms);
        Cut cut = Listen(stream);
        ASSERT_TRUE(cut.ended);
        // The end is the start of the analysed block: within one device block of 444 ms.
        EXPECT_GT(cut.end - clickAt, kRate * 444 / 1000 - 2048);
        EXPECT_FALSE(cut.utterance.empty());
    }
}

// In a quiet room the minimum level alone decides, as the voice set-up screen shows it:
// a voice just over it starts an utterance, one just under it does not.
TEST_F(DriverRoom, InAQuietRoomTheMinimumLevelDecides) {
    double atMinimum = std::sqrt(g_Driver.fMinLevel * double(1 << 30) / 16); // RMS
    struct Case {
        double voiceRms;
        bool starts;
    } cases[] = {{atMinimum * Db(2), true}, {atMinimum * Db(-2), false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.voiceRms);
        feed_.Restart();
        Cut cut = Listen(Stream(kWhite, atMinimum * Db(-30), c.voiceRms, kVoiceAt));
        EXPECT_EQ(cut.started, c.starts);
        EXPECT_EQ(cut.ended, c.starts);
    }
}

// ---- The lead-in ----

TEST_F(DriverRoom, TheLeadInIs125MsWhereverTheCaptureBlocksFall) {
    struct Case {
        int block;  // samples per capture block
        int offset; // where the voice falls after a block boundary
    } cases[] = {
        {256, 0},     {256, 100},   {512, 0},     {512, 300},   {1024, 0},    {1024, 700},
        {2048, 0},    {2048, 500},  {2048, 1024}, {2048, 1600}, {2048, 2000}, {4096, 0},
        {4096, 1000}, {4096, 3000}, {4096, 4000}, {441, 200},   {1764, 1000},
    };
    for (const Case& c : cases) {
        for (Noise noise : {kSilence, kWhite}) {
            SCOPED_TRACE(std::to_string(c.block) + " + " + std::to_string(c.offset) +
                         (noise == kWhite ? ", white noise 20 dB under" : ", clean"));
            feed_.Restart();
            int voiceAt = kVoiceAt / c.block * c.block + c.offset;
            Cut cut = Listen(Stream(noise, kVoiceRms * Db(-20), kVoiceRms, voiceAt), c.block);
            ASSERT_TRUE(cut.ended);
            EXPECT_NEAR(voiceAt - cut.begin, kLeadIn, kBlock);
        }
    }
}

} // namespace

// ---- The cut tool ----

// lexora-cut run on streams written into a temporary folder: what it writes is what the
// driver fed in-process hands to the recogniser, and a take without a cut says why.
class CutTool : public DriverRoom {
  protected:
    void SetUp() override {
        DriverRoom::SetUp();
        previous_ = std::filesystem::current_path();
        char pattern[] = "/tmp/lexora-cut-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        folder_ = pattern;
        std::filesystem::current_path(folder_);
        CLxFile::SetRoots(".\\", "data\\");
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        DriverRoom::TearDown();
    }

    // The tool on the list's lines, cutting into "out": its report, a line per input.
    // OPTIONS go before the list; STATUS is the exit status expected.
    std::vector<std::string> Cut(const std::vector<std::string>& lines,
                                 const std::string& options = "", int status = 0) {
        std::ofstream list("list");
        for (const std::string& line : lines)
            list << line << "\n";
        list.close();
        std::vector<std::string> report;
        std::string command = std::string(LEXORA_CUT) + " " + options + " list out 2> /dev/null";
        std::FILE* tool = popen(command.c_str(), "r");
        char text[512];
        while (tool && std::fgets(text, sizeof text, tool))
            report.push_back(std::string(text, std::strcspn(text, "\n")));
        int ended = tool ? pclose(tool) : -1;
        EXPECT_EQ(WIFEXITED(ended) ? WEXITSTATUS(ended) : -1, status);
        return report;
    }

    std::filesystem::path previous_;
    std::string folder_;
};

TEST_F(CutTool, WritesTheCutTheDriverHandsToTheRecogniser) {
    struct Case {
        const char* name; // the input below "in", and the output's name
        Noise noise;
        double noiseDb, voiceDb;
        int voiceAt;    // samples
        double seconds; // the stream's length
    } cases[] = {
        {"clean.wav", kSilence, -200, 0, kRate * 6 / 10, 2.4},
        {"white10.wav", kWhite, -10, 0, kRate * 15 / 10, 3.3},
        {"quiet.wav", kWhite, -40, -20, kRate, 2.8},
        {"hum10.wav", kHum, -10, 0, kRate * 7 / 10, 2.5},
    };
    std::vector<std::string> lines;
    std::vector<std::vector<int16_t>> streams;
    for (const Case& c : cases) {
        streams.push_back(Stream(c.noise, kVoiceRms * Db(c.noiseDb), kVoiceRms * Db(c.voiceDb),
                                 c.voiceAt, c.seconds));
        ASSERT_TRUE(WriteStream(streams.back(), std::string("in/") + c.name));
        lines.push_back(std::string("in/") + c.name + " room/" + c.name);
    }
    std::vector<std::string> report = Cut(lines);
    ASSERT_EQ(report.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); i++) {
        SCOPED_TRACE(cases[i].name);
        feed_.Restart();
        DriverCut driver = feed_.Listen(streams[i]);
        ASSERT_FALSE(driver.utterance.empty());
        EXPECT_EQ(report[i], lines[i].substr(0, lines[i].find(' ')) + " cut " +
                                 std::to_string(driver.begin) + " " + std::to_string(driver.end));
        std::vector<int16_t> written;
        ASSERT_TRUE(ReadStream(std::string("out/room/") + cases[i].name, &written));
        EXPECT_EQ(written, driver.utterance);
        // The driver copies the stream from 125 ms before the voice to its end.
        EXPECT_NEAR(cases[i].voiceAt - driver.begin, kLeadIn, kBlock);
        std::vector<int16_t> part(streams[i].begin() + driver.begin,
                                  streams[i].begin() + driver.end);
        EXPECT_EQ(written, part);
    }
}

TEST_F(CutTool, SaysWhyATakeGivesNoCut) {
    struct Case {
        const char* title;
        std::vector<int16_t> stream; // empty: no input file
        const char* outcome;
    } cases[] = {
        {"silence", Stream(kSilence, 0, 0, 0, 2), "never-started"},
        {"mains hum alone", Stream(kHum, kVoiceRms * Db(-10), 0, 0, 2), "never-started"},
        {"a voice under the minimum level", Stream(kSilence, 0, 20, kRate, 2), "never-started"},
        {"a voice still sounding at the end", Stream(kSilence, 0, kVoiceRms, kRate, 1.3),
         "never-ended"},
        {"a voice that ends too near the end",
         Stream(kWhite, kVoiceRms * Db(-20), kVoiceRms, kRate, 1 + 0.6 + 0.2), "never-ended"},
        {"a missing file", {}, "unreadable"},
    };
    std::vector<std::string> lines;
    for (size_t i = 0; i < std::size(cases); i++) {
        std::string name = "in/" + std::to_string(i) + ".wav";
        if (!cases[i].stream.empty()) {
            ASSERT_TRUE(WriteStream(cases[i].stream, name));
        }
        lines.push_back(name);
    }
    std::vector<std::string> report = Cut(lines);
    ASSERT_EQ(report.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); i++) {
        SCOPED_TRACE(cases[i].title);
        EXPECT_EQ(report[i], lines[i] + " " + cases[i].outcome);
        EXPECT_FALSE(std::filesystem::exists("out/" + std::to_string(i) + ".wav"));
    }
}

// The minimum level as the voice set-up screen sets it for a quiet child: a voice under
// the default minimum starts an utterance once the minimum is lowered under it; a level
// out of range is a usage error.
TEST_F(CutTool, TakesTheMinimumLevelOfTheVoiceSetUp) {
    ASSERT_TRUE(WriteStream(Stream(kWhite, kVoiceRms * Db(-50), kVoiceRms * Db(-26), kRate, 2.8),
                            "in/faint.wav"));
    EXPECT_EQ(Cut({"in/faint.wav"}), std::vector<std::string>{"in/faint.wav never-started"});
    std::vector<std::string> lowered = Cut({"in/faint.wav"}, "-min 0.0005");
    ASSERT_EQ(lowered.size(), 1u);
    EXPECT_EQ(lowered[0].rfind("in/faint.wav cut ", 0), 0u) << lowered[0];
    for (const char* bad : {"-min 2", "-min loud", "-min"})
        EXPECT_TRUE(Cut({"in/faint.wav"}, bad, 1).empty()) << bad;
}

// A stream at another rate is not guessed at: the driver's blocks and lead-in are
// counted in samples of 22050 Hz.
TEST_F(CutTool, TakesOnlyTheProgramsFormat) {
    ASSERT_TRUE(WriteStream(Stream(kSilence, 0, kVoiceRms, kRate, 3), "in/44k.wav"));
    std::fstream wave("in/44k.wav", std::ios::in | std::ios::out | std::ios::binary);
    const unsigned char rates[8] = {0x44, 0xac, 0, 0, 0x88, 0x58, 0x01, 0}; // 44100, 88200
    wave.seekp(24);
    wave.write(reinterpret_cast<const char*>(rates), sizeof rates);
    wave.close();
    EXPECT_EQ(Cut({"in/44k.wav"}), std::vector<std::string>{"in/44k.wav unreadable"});
}
