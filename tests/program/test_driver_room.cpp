// The driver's utterance detection in a room: generated streams (a voiced burst over
// silence or steady noise) reach the capture ring in blocks as a sound device delivers
// them, the fake clock moves 25 ms per main-loop period, and the driver cuts the
// utterance. Checked: noise under the voice still ends an utterance, a quiet voice
// still starts one, silence and steady noise alone start none, the minimum level still
// decides in a quiet room, and the lead-in before the voice is 125 ms whatever the
// capture block size and where the voice falls in a block.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "media/LxSoundBuffer.h"
#include "shell/LxClock.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxEngineBinding.h"
#include "shell/LxProgram.h"
#include "test_driver_engine.h"

namespace {

constexpr int kRate = 22050;
constexpr int kVoiceRms = 5000;     // an ordinary voice close to the microphone
constexpr int kLeadIn = kRate / 8;  // the 125 ms kept before the voice, in samples
constexpr int kBlock = 512;         // the tolerance of the lead-in: one analysed block
constexpr int kVoiceAt = kRate * 3; // the burst starts after three seconds of background
constexpr int kVoiceLength = kRate * 6 / 10;

int s_now = 0;
int FakeClock() {
    return s_now;
}
LRESULT DriverOnly(UINT msg, WPARAM, LPARAM) {
    DriverMessage(msg);
    return 0;
}

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

enum Noise { kSilence, kWhite, kHum };

std::vector<float> Background(Noise kind, int n, double rms) {
    std::vector<float> x(n, 0.0f);
    if (kind == kSilence) return x;
    std::mt19937 random(7);
    std::normal_distribution<double> gauss;
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
        default:
            break;
        }
    }
    return Scaled(x, rms);
}

// Background for seconds, with a burst of the given RMS laid in at voiceAt (none when
// voiceRms is 0).
std::vector<int16_t> Stream(Noise kind, double noiseRms, double voiceRms, int voiceAt,
                            double seconds = 6) {
    int n = static_cast<int>(seconds * kRate);
    std::vector<float> x = Background(kind, n, noiseRms);
    if (voiceRms > 0) {
        std::vector<float> voice = VoicedBurst(voiceRms);
        for (int i = 0; i < kVoiceLength && voiceAt + i < n; i++)
            x[voiceAt + i] += voice[i];
    }
    std::vector<int16_t> s(n);
    for (int i = 0; i < n; i++)
        s[i] = static_cast<int16_t>(std::clamp(std::lround(x[i]), -32768L, 32767L));
    return s;
}

double Db(double db) {
    return std::pow(10.0, db / 20);
}

// What the driver made of a stream.
struct Cut {
    bool started = false; // an utterance started at some time
    bool ended = false;   // one ended (and was recognised)
    int state = 0;        // when the stream was over or the utterance recognised
    int begin = 0;        // samples
    int end = 0;
};

class DriverRoom : public ::testing::Test {
  protected:
    void SetUp() override {
        s_now = 1000;
        LxSetClock(FakeClock);
        LxSetMessageHandler(DriverOnly);
        DriverInit(&root_);
        g_pRecording = new CBSoundBuffer(nullptr);
        g_pRecording->Create(kRecordingSamples, kRate, 16);
        g_pCaptureRing = new CBSoundBuffer(nullptr);
        g_pCaptureRing->Create(kCaptureRingSamples, kRate, 16);
        root_.Add("mod_sb.wfi", new FakeSoundBuffer(512));
        root_.Add("mod_classic.wfi", new FakeSoundBuffer(kRate * 10));
        root_.Add("mod_classic.te", new FakeHypothesis(L"S"));
    }
    void TearDown() override {
        EXPECT_TRUE(root_.AllReleased()) << "the driver kept an engine reference";
        DriverStopTimer();
        delete g_pRecording;
        delete g_pCaptureRing;
        g_pRecording = g_pCaptureRing = nullptr;
        g_Driver.pRoot = nullptr;
        LxSetMessageHandler(nullptr);
        LxSetClock(nullptr);
    }

    // The device writes whole blocks into the ring as their time comes.
    void Deliver(const std::vector<int16_t>& samples, int from, int to) {
        unsigned write;
        g_pCaptureRing->GetPositions(nullptr, &write);
        void *r1, *r2;
        unsigned l1, l2;
        g_pCaptureRing->Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll);
        uint8_t* ring = static_cast<uint8_t*>(r1);
        unsigned size = g_pCaptureRing->GetSize();
        for (int i = from; i < to; i++) {
            std::memcpy(ring + write, &samples[i], 2);
            write = (write + 2) % size;
        }
        g_pCaptureRing->SetPosition(write);
    }

    // Records the stream in state 2, delivered in blocks of block samples, until the
    // utterance is recognised or the stream is over.
    Cut Listen(const std::vector<int16_t>& samples, int block = 2048) {
        Cut cut;
        g_Driver.nState = kDriverWaiting;
        DriverMessage(kMsgRecord);
        int start = s_now, delivered = 0, n = static_cast<int>(samples.size());
        while (delivered < n && g_Driver.nState != kDriverRecognised) {
            s_now += 25;
            int due = int((long long)(s_now - start) * kRate / 1000) / block * block;
            if (due > delivered) {
                Deliver(samples, delivered, std::min(due, n));
                delivered = std::min(due, n);
            }
            DriverPoll(s_now);
            cut.started = cut.started || g_Driver.nState >= kDriverUtterance;
        }
        cut.state = g_Driver.nState;
        cut.ended = g_Driver.nState >= kDriverEnded;
        cut.begin = nUtteranceBegin / 2;
        cut.end = nUtteranceEnd / 2;
        DriverMessage(kMsgStop);
        return cut;
    }

    FakeRoot root_;
};

// ---- Noise and quiet voices ----

struct RoomCase {
    const char* title;
    Noise noise;
    double noiseDb; // background RMS against an ordinary voice
    double voiceDb; // the voice against an ordinary one; below -100: no voice
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
    };
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.title);
        DriverInit(&root_);
        Cut cut =
            Listen(Stream(c.noise, kVoiceRms * Db(c.noiseDb), kVoiceRms * Db(c.voiceDb), kVoiceAt));
        ASSERT_TRUE(cut.ended) << "state " << cut.state;
        EXPECT_NEAR(kVoiceAt - cut.begin, kLeadIn, kBlock);
        // Ended after the voice, within the quiet spell that ends it and a capture block.
        EXPECT_GT(cut.end, kVoiceAt + kVoiceLength);
        EXPECT_LT(cut.end, kVoiceAt + kVoiceLength + kRate * 6 / 10);
    }
}

TEST_F(DriverRoom, WithoutAVoiceNoUtteranceEnds) {
    const RoomCase cases[] = {
        {"silence", kSilence, -200, -200},
        {"white noise", kWhite, -10, -200},
        {"mains hum", kHum, -10, -200},
    };
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.title);
        DriverInit(&root_);
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
        DriverInit(&root_);
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
            DriverInit(&root_);
            int voiceAt = kVoiceAt / c.block * c.block + c.offset;
            Cut cut = Listen(Stream(noise, kVoiceRms * Db(-20), kVoiceRms, voiceAt), c.block);
            ASSERT_TRUE(cut.ended);
            EXPECT_NEAR(voiceAt - cut.begin, kLeadIn, kBlock);
        }
    }
}

} // namespace
