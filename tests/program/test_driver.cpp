// The recognition driver against a fake engine and a fake clock: its sound messages and
// timer, the tick in its modes (levels, class scores, utterances), the buffers and their
// wraps, the overlay and the pitch measure.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "Exceptions.h"
#include "lexora-cut/FakeEngine.h"
#include "media/LxFile.h"
#include "media/LxRLEFonts.h"
#include "media/LxSoundBuffer.h"
#include "media/LxSoundDevice.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"
#include "shell/LxClock.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxEngineBinding.h"
#include "shell/LxPitch.h"
#include "shell/LxProgram.h"

namespace {

constexpr int kTickSamples = 551; // 25 ms of sound
constexpr float kScale = 1.0f / (1 << 30);

int s_now = 0;
int FakeClock() {
    return s_now;
}

std::vector<UINT> s_messages;
LRESULT RecordMessage(UINT msg, WPARAM, LPARAM) {
    s_messages.push_back(msg);
    DriverMessage(msg); // as the main window does
    return 0;
}

struct TimerEvent {
    int timerId, message;
};
std::vector<TimerEvent> s_events;
void RecordEvent(int timerId, int message) {
    s_events.push_back({timerId, message});
}

char s_screen; // stands in for the active screen

std::vector<int16_t> Sine(int n, double hz, double amplitude) {
    std::vector<int16_t> s(n);
    for (int i = 0; i < n; i++)
        s[i] = static_cast<int16_t>(amplitude * std::sin(2 * M_PI * hz * i / 22050));
    return s;
}

std::vector<int16_t> Ramp(int n, int from = 0) {
    std::vector<int16_t> s(n);
    for (int i = 0; i < n; i++)
        s[i] = static_cast<int16_t>((from + i) % 30000);
    return s;
}

uint8_t* Bytes(CBSoundBuffer* buffer) {
    void *r1, *r2;
    unsigned l1, l2;
    buffer->Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll);
    return static_cast<uint8_t*>(r1);
}

int16_t SampleAt(CBSoundBuffer* buffer, int pos) {
    int16_t v;
    std::memcpy(&v, Bytes(buffer) + pos, 2);
    return v;
}

class Driver : public ::testing::Test {
  protected:
    void SetUp() override {
        s_now = 1000;
        LxSetClock(FakeClock);
        LxSetMessageHandler(RecordMessage);
        s_messages.clear();
        s_events.clear();
        DriverInit(&root_);
        g_DriverHooks.pfnTimerEvent = RecordEvent;
        g_pActiveScreen = reinterpret_cast<CLxScreen*>(&s_screen);
        g_pRecording = new CBSoundBuffer(nullptr);
        g_pRecording->Create(kRecordingSamples, 22050, 16);
        g_pCaptureRing = new CBSoundBuffer(nullptr);
        g_pCaptureRing->Create(kCaptureRingSamples, 22050, 16);
        level_ = root_.Add("mod_sb.wfi", new FakeSoundBuffer(512));
    }
    void TearDown() override {
        EXPECT_TRUE(root_.AllReleased()) << "the driver kept an engine reference";
        DriverStopTimer();
        g_DriverHooks = {};
        g_pActiveScreen = nullptr;
        delete g_pRecording;
        delete g_pCaptureRing;
        g_pRecording = g_pCaptureRing = nullptr;
        g_Driver.pRoot = nullptr;
        LxSetMessageHandler(nullptr);
        LxSetClock(nullptr);
    }

    // The capture device delivering samples into the ring at its write position.
    void Capture(const std::vector<int16_t>& samples) {
        unsigned write;
        g_pCaptureRing->GetPositions(nullptr, &write);
        unsigned size = g_pCaptureRing->GetSize();
        for (int16_t s : samples) {
            std::memcpy(Bytes(g_pCaptureRing) + write, &s, 2);
            write = (write + 2) % size;
        }
        g_pCaptureRing->SetPosition(write);
    }
    // One period of the main loop: new sound, then the clock moves on and the loop polls.
    void Step(const std::vector<int16_t>& samples) {
        Capture(samples);
        s_now += 25;
        DriverPoll(s_now);
    }
    void Steps(int n, const std::vector<int16_t>& samples) {
        for (int i = 0; i < n; i++)
            Step(samples);
    }
    float History(int row) const { return g_Driver.aHistory[row][g_Driver.nWrite]; }

    FakeRoot root_;
    FakeSoundBuffer* level_;
    const std::vector<int16_t> quiet_ = std::vector<int16_t>(kTickSamples, 0);
    const std::vector<int16_t> loud_ = Sine(kTickSamples, 200, 10000);
};

// ---- Start-up, messages and timer ----

TEST_F(Driver, InitSetsTheDefaultsAndTheLetterTable) {
    EXPECT_EQ(g_Driver.pRoot, &root_);
    EXPECT_EQ(g_Driver.nPeriod, 25);
    EXPECT_FLOAT_EQ(g_Driver.fMinLevel, 0.002f);
    EXPECT_FLOAT_EQ(g_Driver.fMaxLevel, 0.75f);
    EXPECT_EQ(g_Driver.nHistoryLen, 512);
    EXPECT_EQ(g_Driver.nSmooth, 4);
    const char* letters[] = {"b", "c", "cs", "d", "f", "g", "gy", "h", "j",  "k", "l", "ly",
                             "m", "n", "ny", "p", "r", "s", "sz", "t", "ty", "v", "z", "zs"};
    for (int i = 0; i < 24; i++)
        EXPECT_EQ(aLetterTable[i], DecodeLetter(letters[i])) << letters[i];
    EXPECT_NE(aLetterTable[2], 'c');
}

TEST_F(Driver, RecordStartsTheTimerAndPollTicksOncePerPeriod) {
    int redraws = 0;
    static int* counter;
    counter = &redraws;
    g_DriverHooks.pfnRedraw = [] { ++*counter; };
    g_Driver.nWrite = 77;
    g_Driver.aHistory[30][5] = 3;
    DriverMessage(kMsgRecord);
    EXPECT_NE(g_nDriverTimer, 0);
    EXPECT_EQ(g_Driver.nWrite, 0);
    EXPECT_EQ(g_Driver.nBestClass, -1);
    EXPECT_EQ(g_Driver.aHistory[30][5], 0);
    EXPECT_EQ(redraws, 1);

    Capture(Ramp(2000));
    EXPECT_EQ(DriverPoll(s_now + 24), 1); // not yet
    EXPECT_EQ(nRecordWrite, 0);
    EXPECT_EQ(DriverPoll(s_now + 25), 25);
    EXPECT_EQ(nRecordWrite, 4000);
    // A late loop gets one tick, not the missed ones, and the period starts again.
    EXPECT_EQ(DriverPoll(s_now + 200), 25);
    EXPECT_EQ(g_Driver.nWrite, 2);
    EXPECT_EQ(DriverPoll(s_now + 210), 15);
    EXPECT_EQ(g_Driver.nWrite, 2);
}

TEST_F(Driver, StopPauseAndTheGamePeriod) {
    for (UINT message : {kMsgStop, kMsgStopAndSave}) {
        DriverMessage(kMsgRecord);
        ASSERT_TRUE(DriverMessage(message));
        EXPECT_EQ(g_nDriverTimer, 0) << message;
        EXPECT_EQ(DriverPoll(s_now + 1000), -1);
    }
    // Pausing keeps the id, so the window timer still leaves the screen alone.
    DriverMessage(kMsgRecord);
    DriverPauseTimer();
    EXPECT_NE(g_nDriverTimer, 0);
    EXPECT_EQ(DriverPoll(s_now + 1000), -1);
    // 1087 pauses, whether or not the recording still plays (a click sound may have
    // taken the device); the next one resumes playback with the driver.
    DriverMessage(kMsgPause);
    EXPECT_FALSE(DriverTimerRunning());
    DriverMessage(kMsgPause);
    EXPECT_TRUE(DriverTimerRunning());
    EXPECT_FALSE(DriverMessage(1083));

    g_Driver.nPeriod = 10;
    DriverMessage(kMsgRecord);
    EXPECT_EQ(DriverPoll(s_now), 10);
}

TEST_F(Driver, PauseAndResumePlayback) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    CLxSoundDevice player(false);
    ASSERT_TRUE(player.OpenPlayer(-1, -1));
    delete g_pRecording;
    g_pRecording = new CBSoundBuffer(&player);
    g_pRecording->Create(kRecordingSamples, 22050, 16);
    nRecorded = kRecordingBytes;
    DriverMessage(kMsgPlayBack);
    ASSERT_EQ(g_pRecording->Status(), CBSoundBuffer::kPlaying);
    int timer = g_nDriverTimer;
    DriverMessage(kMsgPause);
    EXPECT_FALSE(DriverTimerRunning());
    EXPECT_EQ(g_nDriverTimer, timer); // the window timer still leaves the screen alone
    EXPECT_EQ(g_pRecording->Status(), CBSoundBuffer::kIdle);
    DriverMessage(kMsgPause);
    EXPECT_TRUE(DriverTimerRunning());
    EXPECT_EQ(g_pRecording->Status(), CBSoundBuffer::kPlaying);
    DriverMessage(kMsgStop);
    EXPECT_EQ(g_pRecording->Status(), CBSoundBuffer::kIdle);

    // The pause button's click takes the device first: playback stands half-way when
    // 1087 arrives, and resuming goes on from there, not from the beginning.
    DriverMessage(kMsgPlayBack);
    g_pRecording->Stop();
    g_pRecording->SetPosition(kRecordingBytes / 2);
    CBSoundBuffer click(&player);
    click.Create(100, 22050, 16);
    click.StartPlay(false);
    DriverMessage(kMsgPause);
    EXPECT_FALSE(DriverTimerRunning());
    DriverMessage(kMsgPause);
    EXPECT_TRUE(DriverTimerRunning());
    EXPECT_EQ(g_pRecording->Status(), CBSoundBuffer::kPlaying);
    unsigned played = 0;
    g_pRecording->GetPositions(&played, nullptr);
    EXPECT_GE(played, unsigned(kRecordingBytes / 2));
    DriverMessage(kMsgStop);
    delete g_pRecording;
    g_pRecording = nullptr;
}

TEST_F(Driver, OffOrBusySkipsTheTick) {
    DriverMessage(kMsgRecord);
    Capture(Ramp(2000));
    bDriverOff = 1;
    DriverTick(1, kMsgRecord);
    EXPECT_EQ(nRecordWrite, 0);
    bDriverOff = 0;
    bBusy = 1;
    DriverTick(1, kMsgRecord);
    EXPECT_EQ(nRecordWrite, 0);
    bBusy = 0;
    DriverTick(1, kMsgRecord);
    EXPECT_EQ(nRecordWrite, 4000);
}

// ---- Levels only (state 0) ----

TEST_F(Driver, LevelsOnlyRecordingFillsTheMeasureRows) {
    DriverMessage(kMsgRecord);
    // A constant block: energy (512 * 1000² - 512 * 1000) / 512, no pitch, no voicing.
    const float frame = 999000.0f * kScale * 8;
    std::vector<int16_t> dc(kTickSamples, 1000);
    Steps(80, dc); // two seconds
    EXPECT_EQ(g_Driver.nWrite, 80);
    EXPECT_EQ(nRecordWrite, 80 * kTickSamples * 2);
    EXPECT_EQ(nRecorded, nRecordWrite);
    EXPECT_EQ(nFrame, 80);
    // First analysed tick: no frame to average yet, so level and pitch are 0, not NaN.
    EXPECT_EQ(g_Driver.aHistory[kRowLevel][1], 0);
    EXPECT_EQ(g_Driver.aHistory[kRowPitch][1], 0);
    EXPECT_EQ(g_Driver.aHistory[kRowSilence][1], 1);
    for (int w = 2; w <= 80; w++) {
        EXPECT_NEAR(g_Driver.aHistory[kRowLevel][w], frame, 1e-7) << w;
        EXPECT_NEAR(g_Driver.aHistory[kRowPitch][w], (500 - 22050.0f / 27) / 500, 1e-5) << w;
        EXPECT_EQ(g_Driver.aHistory[kRowSilence][w], 0) << w;
        EXPECT_EQ(g_Driver.aHistory[kRowVoicing][w], 0) << w;
        for (int k = 1; k <= 19; k++)
            ASSERT_EQ(g_Driver.aHistory[k][w], 0) << k;
    }
    EXPECT_EQ(g_Driver.aHistory[kRowLevel][81], 0);
    EXPECT_EQ(level_->length, 512);
    EXPECT_EQ(level_->sps, 22050);
    EXPECT_EQ(level_->complete, 0);
    // Two timer events per analysed tick, with the timer's id and message.
    ASSERT_EQ(s_events.size(), 160u);
    EXPECT_EQ(s_events[0].timerId, g_nDriverTimer);
    EXPECT_EQ(s_events[0].message, int(kMsgRecord));
    EXPECT_EQ(root_.m_scripts.size(), 80u); // only the buffer is asked for
    for (const std::string& s : root_.m_scripts)
        EXPECT_EQ(s, "mod_sb.wfi");
}

TEST_F(Driver, TheSilenceFlagFollowsTheMinimumLevel) {
    DriverMessage(kMsgRecord);
    const float frame = 999000.0f * kScale * 8;
    struct Case {
        float minLevel;
        float flag;
    } cases[] = {{frame * 2, 1}, {frame / 2, 0}};
    for (const Case& c : cases) {
        g_Driver.fMinLevel = c.minLevel;
        Steps(5, std::vector<int16_t>(kTickSamples, 1000));
        EXPECT_EQ(History(kRowSilence), c.flag) << c.minLevel;
    }
}

TEST_F(Driver, WithoutABlockThereIsNoAnalysisYet) {
    DriverMessage(kMsgRecord);
    Step(std::vector<int16_t>(400, 1000)); // 800 bytes: less than one block
    EXPECT_EQ(nRecordWrite, 800);
    EXPECT_EQ(g_Driver.nWrite, 0);
    EXPECT_TRUE(s_events.empty());
    EXPECT_TRUE(root_.m_scripts.empty());
}

TEST_F(Driver, WithoutAUsableEngineBufferTheMeasuresAreZero) {
    for (int capacity : {0, 511}) { // none, and one too small for the block
        root_.Remove("mod_sb.wfi");
        if (capacity) root_.Add("mod_sb.wfi", new FakeSoundBuffer(capacity));
        s_events.clear();
        DriverMessage(kMsgRecord);
        g_Driver.nState = 2;
        Steps(3, loud_);
        EXPECT_EQ(g_Driver.nWrite, 3) << capacity;
        EXPECT_EQ(History(kRowLevel), 0) << capacity;
        EXPECT_EQ(History(kRowSilence), 1) << capacity;
        EXPECT_EQ(g_Driver.nState, 2) << capacity;  // no utterance step
        EXPECT_EQ(s_events.size(), 3u) << capacity; // one event per tick
    }
}

// ---- Class scores (state 1) ----

struct ScoreCase {
    const char* title;
    double evaluators;                        // "mod.annen"; 0 for none
    std::vector<float> anne, weights;         // "mod.anne": outputs, and weights for Evaluate(0, 1)
    std::vector<std::vector<float>> numbered; // "mod.anne1", "mod.anne2", ...
    std::vector<float> expected;              // smoothed classes 1.. once the window is full
    int best;
};

TEST_F(Driver, ClassScoresInTheThreeModes) {
    std::vector<float> nine = {0.1f, 0.2f, 0.9f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.3f};
    std::vector<float> many(40, 0.5f);
    many[7] = 2;
    std::vector<float> manyExpected(many.begin(), many.begin() + 19);
    ScoreCase cases[] = {
        {"direct, nine outputs", 0, nine, {}, {}, nine, 3},
        {"direct, forty outputs", 0, many, {}, {}, manyExpected, 8},
        {"selection votes the second",
         0,
         {0.1f, 0.7f, 0.2f},
         {},
         {{9, 9}, {0.25f, 0.5f, 0.75f, 1}, {9, 9}},
         {0.25f, 0.5f, 0.75f, 1},
         4},
        {"mixture of three",
         3,
         {1, 1, 1},
         {0.5f, 0.25f, 0.25f},
         {{1, 0}, {0, 1}, {0, 0, 4}},
         {0.5f, 0.25f, 1},
         3},
        {"mixture limited by the outputs",
         3,
         {1, 1},
         {0.5f, 0.5f},
         {{1, 0}, {0, 1}, {0, 0, 4}},
         {0.5f, 0.5f, 0},
         1},
        {"mixture with an absurd count",
         1e300,
         {1, 1},
         {0.5f, 0.5f},
         {{1, 0}, {0, 1}, {0, 0, 4}},
         {0.5f, 0.5f, 0},
         1},
    };
    for (const ScoreCase& c : cases) {
        SCOPED_TRACE(c.title);
        root_.Add("mod.wfi", new FakeSoundBuffer(1024));
        root_.Add("mod.anne", new FakeEvaluator(c.anne, c.weights));
        for (size_t j = 0; j < c.numbered.size(); j++)
            root_.Add("mod.anne" + std::to_string(j + 1), new FakeEvaluator(c.numbered[j]));
        if (c.evaluators) root_.Add("mod.annen", new FakeNumber(c.evaluators + 0.7));
        g_Driver.nState = 1;
        DriverMessage(kMsgRecord);
        root_.m_scripts.clear();
        Steps(6, loud_);
        for (int k = 1; k <= 19; k++) {
            float want = k <= int(c.expected.size()) ? c.expected[k - 1] : 0;
            EXPECT_NEAR(History(k), want, 1e-6) << "class " << k;
        }
        EXPECT_EQ(g_Driver.nBestClass, c.best);
        EXPECT_EQ(std::count(root_.m_scripts.begin(), root_.m_scripts.end(), "mod.sp"), 6);
        EXPECT_EQ(std::count(root_.m_scripts.begin(), root_.m_scripts.end(), "mod.start()"), 6);
        for (const char* name :
             {"mod.wfi", "mod.anne", "mod.annen", "mod.anne1", "mod.anne2", "mod.anne3"})
            root_.Remove(name);
    }
}

// The best class is a letter of the therapy letter order: with the vowels after the
// nine therapy sounds a held vowel can win, while the class past the order's letters
// (everything else) never does; without an order, one of the nine sounds.
TEST_F(Driver, TheBestClassIsALetterOfTheTherapyOrder) {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("lexora-order-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "data");
    std::filesystem::current_path(folder);
    CLxFile::SetRoots(".\\", "data\\");
    std::ofstream("data/nine.xml") << "<character order=\"_, s, sz, z, zs, c, cs, r, l, k\"/>";
    std::ofstream("data/vowels.xml")
        << "<character order=\"_, s, sz, z, zs, c, cs, r, l, k, a, \xE1, e, \xE9, i, o, "
           "\xF6, u, \xFC\"/>";
    std::vector<float> scores(19, 0.1f);
    scores[2] = 0.5f;  // class 3, z
    scores[11] = 0.9f; // class 12, e
    scores[18] = 1.0f; // class 19, everything else
    const struct {
        const char* order;
        int best;
    } cases[] = {{"data\\none.xml", 3}, {"data\\nine.xml", 3}, {"data\\vowels.xml", 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order);
        LoadAlphabet("data\\none.xml", c.order);
        root_.Add("mod.wfi", new FakeSoundBuffer(1024));
        root_.Add("mod.anne", new FakeEvaluator(scores, {}));
        g_Driver.nState = 1;
        DriverMessage(kMsgRecord);
        Steps(6, loud_);
        EXPECT_EQ(g_Driver.nBestClass, c.best);
        root_.Remove("mod.wfi");
        root_.Remove("mod.anne");
    }
    LoadAlphabet("data\\none.xml", "data\\none.xml");
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

TEST_F(Driver, TheSelectionVotesOverFourFrames) {
    root_.Add("mod.wfi", new FakeSoundBuffer(512));
    FakeEvaluator* anne = root_.Add("mod.anne", new FakeEvaluator({0, 4, 0}));
    FakeEvaluator* second = root_.Add("mod.anne2", new FakeEvaluator({0, 1}));
    FakeEvaluator* third = root_.Add("mod.anne3", new FakeEvaluator({0, 0, 1}));
    g_Driver.nState = 1;
    DriverMessage(kMsgRecord);
    // The program's very first frame has nothing to vote over: class 1 ("mod.anne1").
    Steps(4, loud_);
    EXPECT_EQ(second->m_nCalls, 3);
    // One frame for class 3 (normalised to 1) does not outvote three of class 2, a tie
    // keeps the first class, and the third frame for class 3 wins.
    anne->m_scores = {0, 0, 0, 1};
    Step(loud_);
    EXPECT_EQ(second->m_nCalls, 4);
    Step(loud_);
    EXPECT_EQ(second->m_nCalls, 5);
    Step(loud_);
    EXPECT_EQ(second->m_nCalls, 5);
    EXPECT_EQ(third->m_nCalls, 1);
}

TEST_F(Driver, SmoothingWindowAndBestClassClock) {
    root_.Add("mod.wfi", new FakeSoundBuffer(512));
    FakeEvaluator* anne = root_.Add("mod.anne", new FakeEvaluator({1, 0, 0, 0, 0, 0, 0, 0, 0}));
    struct Case {
        int smooth;
        float expected; // class 1 after ten frames of 1 and then two of 0
    } cases[] = {{0, 0}, {2, 0}, {4, 0.5f}, {8, 0.75f}, {20, 0.75f}};
    for (const Case& c : cases) {
        DriverInit(&root_);
        g_Driver.nSmooth = c.smooth;
        g_Driver.nState = 1;
        DriverMessage(kMsgRecord);
        anne->m_scores = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
        Steps(10, loud_);
        anne->m_scores = {0, 0, 0.5f, 0, 0, 0, 0, 0, 0, 0};
        Steps(2, loud_);
        EXPECT_NEAR(History(1), c.expected, 1e-6) << c.smooth;
        if (c.smooth == 2) { // class 2 leads from the last frame on
            EXPECT_EQ(g_Driver.nBestClass, 2);
            EXPECT_EQ(g_Driver.nBestClock, s_now);
        }
    }
}

// ---- Utterances (states 2 to 5) ----

struct UtteranceCase {
    const char* title;
    int quietTicks, loudTicks, afterTicks;
    bool classicBuffer;
    const wchar_t* result;
    int state;
    int begin;          // expected nUtteranceBegin; -1: p - 5512 of the loud tick
    bool recognised;    // "mod_classic.start()" ran
    const char* letter; // expected aLetters[0] as a letter; null for none
};

TEST_F(Driver, UtteranceStateMachine) {
    UtteranceCase cases[] = {
        {"loud after silence", 40, 1, 0, true, L"S", 3, -1, false, nullptr},
        {"loud at once: begin at 0", 0, 1, 0, true, L"S", 3, 0, false, nullptr},
        {"quiet after it ends it and recognises", 40, 20, 20, true, L"S", 5, -1, true, "sz"},
        {"a cs", 40, 20, 20, true, L"Cs", 5, -1, true, "cs"},
        // The quiet that ends an utterance counts from its onset: a click is heard out.
        {"a one-tick click is still open 125 ms later", 0, 1, 5, true, L"S", 3, 0, false, nullptr},
        {"a one-tick click ends after the quiet spell", 0, 1, 20, true, L"S", 5, 0, true, "sz"},
        {"a vowel is no letter", 40, 20, 20, true, L"a", 5, -1, true, nullptr},
        {"without the recogniser's buffer", 40, 20, 20, false, L"S", 4, -1, false, nullptr},
    };
    for (const UtteranceCase& c : cases) {
        SCOPED_TRACE(c.title);
        DriverInit(&root_);
        FakeSoundBuffer* classic = nullptr;
        if (c.classicBuffer) classic = root_.Add("mod_classic.wfi", new FakeSoundBuffer(80000));
        root_.Add("mod_classic.te", new FakeHypothesis(c.result));
        root_.m_scripts.clear();
        g_Driver.aLetters[0] = 'x';
        g_Driver.nState = 2;
        DriverMessage(kMsgRecord);
        Steps(c.quietTicks, quiet_);
        EXPECT_EQ(g_Driver.nState, 2);
        Steps(c.loudTicks, loud_);
        Steps(c.afterTicks, quiet_);
        EXPECT_EQ(g_Driver.nState, c.state);
        // 125 ms before the first loud sample, found to within a step of 128 samples.
        int onset = c.quietTicks * kTickSamples * 2;
        if (c.begin < 0) {
            EXPECT_LE(nUtteranceBegin, onset - 5512);
            EXPECT_GT(nUtteranceBegin, onset - 5512 - 256);
        } else {
            EXPECT_EQ(nUtteranceBegin, c.begin);
        }
        EXPECT_EQ(nUtteranceBeginCopy, nUtteranceBegin);
        bool ran =
            std::count(root_.m_scripts.begin(), root_.m_scripts.end(), "mod_classic.start()") > 0;
        EXPECT_EQ(ran, c.recognised);
        if (c.recognised) {
            int len = nUtteranceEnd - nUtteranceBegin;
            EXPECT_EQ(classic->length, len / 2);
            EXPECT_EQ(classic->sps, 22050);
            EXPECT_EQ(classic->complete, 1);
            EXPECT_EQ(classic->data[0], SampleAt(g_pRecording, nUtteranceBegin));
            EXPECT_EQ(g_Driver.aLetters[0], c.letter ? DecodeLetter(c.letter) : 0);
        } else {
            EXPECT_EQ(g_Driver.aLetters[0], 'x');
        }
        root_.Remove("mod_classic.wfi");
        root_.Remove("mod_classic.te");
    }
}

TEST_F(Driver, TheUtteranceEndsOnlyAfter444QuietMilliseconds) {
    root_.Add("mod_classic.wfi", new FakeSoundBuffer(80000));
    g_Driver.nState = 2;
    DriverMessage(kMsgRecord);
    Steps(10, quiet_);
    Steps(10, loud_);
    Steps(17, quiet_); // 425 ms
    EXPECT_EQ(g_Driver.nState, 3);
    Steps(1, quiet_); // 450 ms
    EXPECT_EQ(g_Driver.nState, 5);
    EXPECT_EQ(nUtteranceEnd, 38 * kTickSamples * 2 - 1024);
}

// ---- Buffers ----

TEST_F(Driver, RecordingCopiesTheRingRoundItsEnd) {
    DriverMessage(kMsgRecord);
    std::vector<int16_t> all = Ramp(3 * kCaptureRingSamples / 2);
    for (size_t at = 0; at < all.size(); at += 2048)
        Step(std::vector<int16_t>(all.begin() + at, all.begin() + std::min(all.size(), at + 2048)));
    ASSERT_EQ(nRecorded, int(all.size() * 2));
    EXPECT_EQ(nCaptureRead, int(all.size() * 2) - kCaptureRingBytes);
    for (size_t i = 0; i < all.size(); i++)
        ASSERT_EQ(SampleAt(g_pRecording, int(i * 2)), all[i]) << i;
}

TEST_F(Driver, StaleRingSoundDoesNotReachANewRecording) {
    Capture(Sine(15000, 200, 10000)); // an earlier recording's sound, ring at 30000
    g_Driver.nState = 2;
    DriverMessage(kMsgRecord);
    unsigned write;
    g_pCaptureRing->GetPositions(nullptr, &write);
    EXPECT_EQ(write, 0u);
    EXPECT_EQ(nCaptureRead, 0);
    Steps(3, quiet_);
    EXPECT_EQ(nRecordWrite, 3 * kTickSamples * 2);
    EXPECT_EQ(g_Driver.nState, 2);
}

TEST_F(Driver, AtTheSixtySecondEndOnlyTheRecordingRestarts) {
    DriverMessage(kMsgRecord);
    Steps(2, Ramp(kTickSamples));
    nRecordWrite = kRecordingBytes - 1000;
    int readBefore = nCaptureRead;
    Step(Ramp(1000, 7));
    EXPECT_EQ(nRecorded, kRecordingBytes);
    EXPECT_EQ(nRecordWrite, 0);
    EXPECT_EQ(nCaptureRead, readBefore + 1000);
    Step(Ramp(kTickSamples, 9));
    EXPECT_EQ(nRecordWrite, 1000 + kTickSamples * 2);
    EXPECT_EQ(SampleAt(g_pRecording, kRecordingBytes - 2), Ramp(1000, 7)[499]);
    EXPECT_EQ(SampleAt(g_pRecording, 0), Ramp(1000, 7)[500]);
    EXPECT_EQ(SampleAt(g_pRecording, 1000), Ramp(kTickSamples, 9)[0]);
}

TEST_F(Driver, AnUtteranceOverTheEndIsCopiedInTwoParts) {
    FakeSoundBuffer* classic = root_.Add("mod_classic.wfi", new FakeSoundBuffer(80000));
    std::vector<int16_t> tail = Ramp(2000, 100), head = Ramp(2000, 5000);
    std::memcpy(Bytes(g_pRecording) + kRecordingBytes - 4000, tail.data(), 4000);
    std::memcpy(Bytes(g_pRecording), head.data(), 4000);
    DriverMessage(kMsgRecord);
    nRecordWrite = 4000; // the recording went round its end
    g_Driver.nState = 4;
    nUtteranceBegin = kRecordingBytes - 4000;
    nUtteranceEnd = 4000;
    DriverTick(g_nDriverTimer, kMsgRecord);
    ASSERT_EQ(classic->length, 4000);
    for (int i = 0; i < 2000; i++) {
        ASSERT_EQ(classic->data[i], tail[i]) << i;
        ASSERT_EQ(classic->data[2000 + i], head[i]) << i;
    }
    EXPECT_EQ(g_Driver.nState, 5);
}

TEST_F(Driver, PlaybackEndsByItself) {
    nRecorded = 3 * 44100;
    DriverMessage(kMsgPlayBack);
    EXPECT_NE(g_nDriverTimer, 0);
    int timer = g_nDriverTimer;
    g_pRecording->SetPosition(44100); // the player moves on
    s_now += 25;
    DriverPoll(s_now);
    EXPECT_TRUE(s_messages.empty());
    EXPECT_EQ(s_events.back().timerId, timer);
    EXPECT_EQ(s_events.back().message, int(kMsgPlayBack));
    g_pRecording->SetPosition(3 * 44100);
    s_now += 25;
    EXPECT_EQ(DriverPoll(s_now), -1);
    EXPECT_EQ(s_messages, std::vector<UINT>{kMsgStop});
    EXPECT_EQ(g_nDriverTimer, 0);
    ASSERT_GE(s_events.size(), 3u);
    EXPECT_EQ(s_events[s_events.size() - 3].message, int(kMsgStop)); // then the tick's two
    EXPECT_EQ(s_events[s_events.size() - 3].timerId, 0);
}

TEST_F(Driver, PlaybackNeverReadsPastTheRecording) {
    nRecorded = kRecordingBytes;
    DriverMessage(kMsgPlayBack);
    for (int back : {1024, 1000, 2}) {
        g_pRecording->SetPosition(kRecordingBytes - back);
        int before = g_Driver.nWrite;
        DriverTick(g_nDriverTimer, kMsgPlayBack);
        EXPECT_EQ(g_Driver.nWrite, before + (back == 1024 ? 1 : 0)) << back;
    }
}

// ---- Engine faults ----

TEST_F(Driver, AnEngineExceptionEndsOnlyItsTick) {
    root_.Add("mod.wfi", new FakeSoundBuffer(512));
    root_.Add("mod.anne", new FakeEvaluator({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    root_.Add("mod_classic.wfi", new FakeSoundBuffer(80000));
    root_.m_onRun = [](const std::string& text) {
        if (text == "mod.start()" || text == "mod_classic.start()") throw new DataNotAvailable;
    };
    g_Driver.nState = 1;
    DriverMessage(kMsgRecord);
    Steps(8, loud_);
    EXPECT_EQ(bBusy, 0);
    EXPECT_EQ(g_Driver.nWrite, 0);
    EXPECT_EQ(std::count(root_.m_scripts.begin(), root_.m_scripts.end(), "mod.start()"), 8);

    g_Driver.nState = 4;
    nUtteranceBegin = 0;
    nUtteranceEnd = 8000;
    DriverTick(g_nDriverTimer, kMsgRecord);
    EXPECT_EQ(bBusy, 0);
    EXPECT_EQ(bRecognising, 0);
    EXPECT_EQ(g_Driver.nState, 4);
    EXPECT_EQ(std::count(root_.m_scripts.begin(), root_.m_scripts.end(), "mod_classic.start()"), 1);
    root_.m_onRun = nullptr;
}

// ---- Engine binding ----

// A number that says when it is destroyed.
class Temporary : public FakeNumber {
  public:
    explicit Temporary(bool* gone) : FakeNumber(7.9), m_gone(gone) {}
    ~Temporary() override { *m_gone = true; }
    bool* m_gone;
};

TEST_F(Driver, BindingHoldsOnlyWhatItAskedFor) {
    bool gone = false;
    root_.m_temporaries["t"] = [&] { return new Temporary(&gone); };
    {
        LxEngineRef<Number> number = EngineGet<Number>("t", "Number");
        ASSERT_TRUE(number);
        EXPECT_FALSE(gone);
        EXPECT_EQ(number->value, 7.9);
    }
    EXPECT_TRUE(gone); // the reference was the temporary's last
    gone = false;
    EXPECT_FALSE(EngineGet<Evaluator>("t", "Evaluator"));
    EXPECT_TRUE(gone); // a value without the interface is disposed of at once
    EXPECT_EQ(EngineNumber("t", -1), 7.9);
    EXPECT_EQ(EngineNumber("missing", -1), -1);
    root_.Add("n", new FakeNumber(3));
    EXPECT_EQ(EngineNumber("n", -1), 3);
}

TEST_F(Driver, StartUpScriptAndItsFailure) {
    EXPECT_TRUE(EngineStartRecogniser());
    ASSERT_EQ(root_.m_scripts.size(), 1u);
    EXPECT_EQ(root_.m_scripts[0], "con = new Console;term = new Terminal(con);export out = term;"
                                  "mnt.data.recogniser24x3()");
    root_.m_onRun = [](const std::string&) { throw new IndexError; };
    EXPECT_FALSE(EngineStartRecogniser());
    root_.m_onRun = nullptr;
    g_Driver.pRoot = nullptr;
    EXPECT_FALSE(EngineRun("x"));
    EXPECT_FALSE(EngineStartRecogniser());
    EXPECT_FALSE(EngineGet<Number>("n", "Number"));
}

// ---- The engine's lock ----

std::vector<int> s_heldAtEvent;
void RecordLockAtEvent(int, int) {
    s_heldAtEvent.push_back(g_FakeLock.Held());
}

struct LockCase {
    const char* title;
    int state;
    bool throws;
};

// A tick, in each of its modes and when an engine exception ends it, is one hold of the
// engine's lock: every engine call and the screen's timer events lie inside it.
TEST_F(Driver, ATickHoldsTheEngineLockOnceAroundEveryEngineCall) {
    root_.Add("mod.wfi", new FakeSoundBuffer(512));
    root_.Add("mod.anne", new FakeEvaluator({0.1f, 0.7f, 0.2f}));
    root_.Add("mod.anne2", new FakeEvaluator({0.5f, 0.5f}));
    root_.Add("mod_classic.wfi", new FakeSoundBuffer(80000));
    root_.Add("mod_classic.te", new FakeHypothesis(L"S"));
    g_DriverHooks.pfnTimerEvent = RecordLockAtEvent;
    const LockCase cases[] = {
        {"levels only", 0, false},
        {"per phoneme", 1, false},
        {"waiting for voice", 2, false},
        {"recognising an utterance", 4, false},
        {"ended by an engine exception", 1, true},
    };
    for (const LockCase& c : cases) {
        SCOPED_TRACE(c.title);
        DriverMessage(kMsgRecord);
        Step(loud_); // a first block of sound
        g_Driver.nState = c.state;
        nUtteranceBegin = 0;
        nUtteranceEnd = 8000;
        if (c.throws) root_.m_onRun = [](const std::string&) { throw new DataNotAvailable; };
        s_heldAtEvent.clear();
        size_t scripts = root_.m_scripts.size();
        int enters = g_FakeLock.m_nEnters, unheld = g_FakeLock.m_nUnheld;
        Step(loud_);
        root_.m_onRun = nullptr;
        EXPECT_GT(root_.m_scripts.size(), scripts);
        EXPECT_EQ(g_FakeLock.m_nEnters - enters, 1);
        EXPECT_EQ(g_FakeLock.m_nUnheld, unheld);
        EXPECT_EQ(g_FakeLock.m_nDepth, 0);
        EXPECT_EQ(std::count(s_heldAtEvent.begin(), s_heldAtEvent.end(), 0), 0);
        EXPECT_EQ(s_heldAtEvent.empty(), c.throws);
    }
    int enters = g_FakeLock.m_nEnters, unheld = g_FakeLock.m_nUnheld;
    EXPECT_TRUE(EngineStartRecogniser());
    EXPECT_EQ(g_FakeLock.m_nEnters - enters, 1);
    EXPECT_EQ(g_FakeLock.m_nUnheld, unheld);
    EXPECT_EQ(g_FakeLock.m_nDepth, 0);
}

// ---- Letter overlay ----

TEST_F(Driver, LetterOverlayDrawsCentredGlyphs) {
    CLxSurface surface;
    surface.Create(64, 64);
    CLxRLEFonts font, outline;
    const uint8_t rows[] = {4, 4, 4, 4};
    font.m_glyphs['b'].SetData(0, 4, 4, 4, rows);
    outline.m_glyphs['b'].SetData(0, 2, 1, 1, rows + 0);
    g_Driver.pOverlayFont = &font;
    g_Driver.aLetters[0] = 'b';
    g_Driver.aRects[0] = {10, 10, 30, 30};
    g_Driver.aColors[0] = 0xFF0000;
    g_Driver.aColors2[0] = 0x00FF00;
    auto pixel = [&](int x, int y) {
        return static_cast<uint32_t*>(
                   surface.m_pSurface->pixels)[y * surface.m_pSurface->pitch / 4 + x] &
               0xFFFFFF;
    };
    // The 4 x 4 glyph lands at (18, 18), the 2 x 1 outline glyph at (19, 19).
    struct Case {
        int state;
        bool second;
        uint32_t at18, at19;
    } cases[] = {{0, false, 0xFF0000, 0xFF0000}, {5, false, 0, 0}, {1, true, 0xFF0000, 0x00FF00}};
    for (const Case& c : cases) {
        SDL_FillRect(surface.m_pSurface, nullptr, 0);
        g_Driver.nState = c.state;
        g_Driver.pOverlayFont2 = c.second ? &outline : nullptr;
        DrawLetterOverlay(&surface);
        EXPECT_EQ(pixel(18, 18), c.at18) << c.state;
        EXPECT_EQ(pixel(19, 19), c.at19) << c.state;
        EXPECT_EQ(pixel(17, 17), 0u) << c.state;
        EXPECT_EQ(pixel(22, 22), 0u) << c.state;
    }
    // A string without its NUL stops at the 32nd letter.
    std::memset(g_Driver.aLetters, 'b', sizeof g_Driver.aLetters);
    g_Driver.nState = 0;
    DrawLetterOverlay(&surface);
    DrawLetterOverlay(nullptr);
    g_Driver.pOverlayFont = g_Driver.pOverlayFont2 = nullptr;
}

// ---- Pitch ----

TEST(PitchEstimate, KnownSignals) {
    struct Case {
        const char* title;
        std::vector<float> samples;
        float hz, voicing, tolerance;
    };
    std::mt19937 random(1);
    std::normal_distribution<float> gauss(0, 3000);
    std::vector<float> noise(512);
    for (float& x : noise)
        x = gauss(random);
    auto sine = [](double hz) {
        std::vector<float> s(512);
        for (int i = 0; i < 512; i++)
            s[i] = static_cast<float>(10000 * std::sin(2 * M_PI * hz * i / 22050));
        return s;
    };
    Case cases[] = {
        {"200 Hz: lag 110", sine(200), 22050.0f / 110, 0.0441f, 0.0005f},
        {"120 Hz: lag 181", sine(120), 22050.0f / 181, 0.0443f, 0.0005f},
        {"silence: first lag, no voicing", std::vector<float>(512, 0), 22050.0f / 27, 0, 0},
        {"noise: little voicing", noise, -1, 0.02f, 0.008f},
    };
    for (Case& c : cases) {
        float voicing = -1;
        float hz = PitchEstimate(c.samples.data(), 512, 50, 800, &voicing);
        if (c.hz > 0) {
            EXPECT_NEAR(hz, c.hz, 0.01f) << c.title;
        }
        EXPECT_GE(hz, 22050.0f / 441) << c.title;
        EXPECT_LE(hz, 22050.0f / 27) << c.title;
        EXPECT_NEAR(voicing, c.voicing, c.tolerance) << c.title;
        EXPECT_FALSE(std::isnan(voicing)) << c.title;
    }
}

TEST(PitchEstimate, FiltersInPlaceAndRefusesEmptyRanges) {
    std::vector<float> x(512, 0);
    x[10] = 100; // an impulse becomes the 7-tap kernel, centred 3 samples earlier
    float voicing;
    PitchEstimate(x.data(), 512, 50, 800, &voicing);
    float mean = 100.0f / 512;
    EXPECT_NEAR(x[7], 40 - mean, 1e-4);
    EXPECT_NEAR(x[4], 5 - mean, 1e-4);
    EXPECT_NEAR(x[3], -mean, 1e-4);
    EXPECT_NEAR(x[511], -mean, 1e-4);
    struct Case {
        int count, minHz, maxHz;
    } cases[] = {{512, 800, 50}, {512, 0, 800}, {512, 50, 0}, {0, 50, 800}};
    for (const Case& c : cases) {
        voicing = -1;
        EXPECT_EQ(PitchEstimate(x.data(), c.count, c.minHz, c.maxHz, &voicing), 0);
        EXPECT_EQ(voicing, 0);
    }
    // A block shorter than the lags: nothing correlates, no division by zero.
    std::vector<float> shortBlock(20, 1000);
    shortBlock[3] = -1000;
    EXPECT_GT(PitchEstimate(shortBlock.data(), 20, 50, 800, &voicing), 0);
    EXPECT_FALSE(std::isnan(voicing));
}

} // namespace
