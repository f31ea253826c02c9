// MicIn over a capture fed at the pace of a hand-moved clock: blocks of what came since
// the last run, the wrap of the ring in two runs, reads bounded by the buffer, and the
// silent microphone when there is no capture device.
#include <vector>

#include "Module.h"
#include "signal/Capture.h"
#include "signal/SignalTest.h"

namespace {
int64_t g_now = 0;
std::vector<int16_t> g_recording;

std::unique_ptr<Capture> Fed(std::string*) {
    return NewFedCapture(g_recording, [] { return g_now; });
}
std::unique_ptr<Capture> Missing(std::string* problem) {
    *problem = "none here";
    return nullptr;
}

// The recording's sample i.
int16_t At(int64_t i) {
    return static_cast<int16_t>(i % 20011 - 10000);
}

class MicInTest : public SignalTest {
  protected:
    void SetUp() override {
        SignalTest::SetUp();
        g_now = 1000;
        g_recording.resize(3000000);
        for (size_t i = 0; i < g_recording.size(); ++i)
            g_recording[i] = At(static_cast<int64_t>(i));
        previous_ = SetCaptureOpener(Fed);
    }
    void TearDown() override {
        SetCaptureOpener(previous_);
        SignalTest::TearDown();
    }
    Module* Make() {
        In("mic = new MicIn()");
        mic = Buffer("mic");
        auto* module = QueryInterface<Module>(Get("mic"), "Module");
        module->Release();
        return module;
    }
    // Whether the block holds the recording's samples from first on.
    bool Holds(int64_t first) const {
        for (int32_t i = 0; i < mic->length; ++i)
            if (mic->data[i] != At(first + i)) return false;
        return true;
    }

    SoundBuffer* mic = nullptr;
    CaptureOpener previous_ = nullptr;
};

TEST_F(MicInTest, PublishesItsRateAndStartsAsALiveStream) {
    Make();
    EXPECT_EQ(NumberAt((folder + "._sps").c_str()), 22050);
    EXPECT_EQ(mic->sps, 22050);
    EXPECT_EQ(mic->complete, 0);
    EXPECT_EQ(mic->capacity, 150000);
}

TEST_F(MicInTest, RunsDeliverWhatCameSinceTheLastRun) {
    Module* module = Make();
    EXPECT_EQ(module->Process(), 1);
    EXPECT_EQ(mic->length, 0);
    g_now += 100;
    EXPECT_EQ(module->Step(), 1);
    EXPECT_EQ(mic->length, 2205);
    EXPECT_TRUE(Holds(0));
    g_now += 100;
    EXPECT_EQ(module->Process(), 1);
    EXPECT_EQ(mic->length, 2205);
    EXPECT_TRUE(Holds(2205));
}

// Every run after 3 s takes 66150 samples; the eighth finds the capture wrapped and
// takes the rest of the ring, the next one its start.
TEST_F(MicInTest, TheWrapOfTheRingArrivesInTwoRuns) {
    Module* module = Make();
    module->Process();
    int64_t taken = 0;
    for (int run = 0; run < 7; ++run) {
        g_now += 3000;
        module->Step();
        ASSERT_EQ(mic->length, 66150);
        ASSERT_TRUE(Holds(taken));
        taken += mic->length;
    }
    g_now += 3000;
    module->Step();
    EXPECT_EQ(mic->length, (1000000 - 7 * 132300) / 2);
    EXPECT_TRUE(Holds(taken));
    taken += mic->length;
    module->Step();
    EXPECT_EQ(mic->length, (8 * 132300 - 1000000) / 2);
    EXPECT_TRUE(Holds(taken));
}

// Ten seconds are 220500 samples: the buffer takes 150000, the next run the rest.
TEST_F(MicInTest, OneReadNeverPassesTheBuffer) {
    Module* module = Make();
    module->Process();
    g_now += 10000;
    module->Step();
    EXPECT_EQ(mic->length, 150000);
    EXPECT_TRUE(Holds(0));
    module->Step();
    EXPECT_EQ(mic->length, 70500);
    EXPECT_TRUE(Holds(150000));
}

TEST_F(MicInTest, WithoutADeviceItSaysSoAndDeliversEmptyBlocks) {
    SetCaptureOpener(Missing);
    std::string said = In("mic = new MicIn()");
    EXPECT_NE(said.find("MicIn: No capture device (none here)"), std::string::npos) << said;
    auto* module = QueryInterface<Module>(Get("mic"), "Module");
    EXPECT_EQ(module->Process(), 1);
    EXPECT_EQ(Buffer("mic")->length, 0);
    EXPECT_EQ(module->Step(), 1);
    EXPECT_EQ(Buffer("mic")->length, 0);
    module->Release();
}

// The live chain: the microphone feeds a detector, which cuts the spoken burst out.
TEST_F(MicInTest, FeedsVoiceDetection) {
    for (size_t i = 0; i < g_recording.size(); ++i)
        g_recording[i] = i >= 22050 && i < 33075 ? 3000 : 0;
    Module* module = Make();
    In("vd = new VoiceDetect(mic)");
    auto* detector = QueryInterface<Module>(Get("vd"), "Module");
    detector->Release();
    module->Process();
    int found = 0;
    for (int run = 0; run < 40 && !found; ++run) {
        g_now += 50;
        module->Step();
        found = detector->Process() == 1;
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(Buffer("vd")->complete, 1);
}
} // namespace
