// The microphone volume over a fake mixer: adoption and its messages, the failures that
// leave no volume control, range checks, change notifications for the newest object only,
// the source line walk, and the real mixer's silent "none here" path.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "media/LxMixer.h"
#include "media/LxVolume.h"
#include "media/LxVolumeInXXX.h"

namespace {

struct FakeLine {
    const char* name;
    bool mic;
    int volumeResult; // 0, or the failure of asking for the volume control
    bool disabled;
    uint32_t min, max, value;
};

class FakeSystem;

class FakeMixer : public ILxMixer {
  public:
    FakeMixer(FakeSystem* system, bool notify) : m_system(system), m_notify(notify) {}
    ~FakeMixer() override;
    int Close() override;
    int GetSourceCount(int* count) override;
    int GetSource(int index, LxMixerLine* line) override;
    int GetVolumeControl(int index, LxMixerControl* control) override;
    int GetVolume(int index, uint32_t* value) override;
    int SetVolume(int index, uint32_t value) override;
    int EnableSource(int index, std::vector<std::string>* enabled) override;
    std::vector<uint32_t> TakeChanges() override {
        std::vector<uint32_t> changes;
        changes.swap(m_changes);
        return changes;
    }

    FakeSystem* m_system;
    bool m_notify;
    std::vector<uint32_t> m_changes;
};

class FakeSystem : public ILxMixerSystem {
  public:
    int DeviceCount() override { return devices; }
    int Open(bool notify, ILxMixer** mixer) override {
        if (openResult) return openResult;
        auto* fake = new FakeMixer(this, notify);
        open.push_back(fake);
        *mixer = fake;
        return 0;
    }
    // A change made elsewhere in the system: every notified mixer hears of it.
    void Change(int line, uint32_t value) {
        lines[size_t(line)].value = value;
        for (FakeMixer* m : open)
            if (m->m_notify) m->m_changes.push_back(0x10 + uint32_t(line));
    }

    int devices = 1;
    int openResult = 0;
    int sourceFailsAt = -1;
    int sets = 0;
    std::vector<FakeLine> lines;
    std::vector<FakeMixer*> open;
};

FakeMixer::~FakeMixer() {
    std::erase(m_system->open, this);
}
int FakeMixer::Close() {
    return 0;
}
int FakeMixer::GetSourceCount(int* count) {
    *count = int(m_system->lines.size());
    return 0;
}
int FakeMixer::GetSource(int index, LxMixerLine* line) {
    if (index == m_system->sourceFailsAt) return -5;
    const FakeLine& f = m_system->lines[size_t(index)];
    std::memset(line, 0, sizeof *line);
    line->nComponentType = f.mic ? kMixerMicrophone : 0;
    line->nLineId = uint32_t(index);
    line->nChannels = 2;
    std::snprintf(line->szShortName, sizeof line->szShortName, "%s", f.name);
    std::snprintf(line->szName, sizeof line->szName, "%s", f.name);
    return 0;
}
int FakeMixer::GetVolumeControl(int index, LxMixerControl* control) {
    const FakeLine& f = m_system->lines[size_t(index)];
    if (f.volumeResult) return f.volumeResult;
    *control = {0x10 + uint32_t(index),
                f.disabled ? kMixerControlDisabled : 0,
                f.min,
                f.max,
                f.max - f.min + 1,
                {}};
    std::snprintf(control->szShortName, sizeof control->szShortName, "%s Vol", f.name);
    return 0;
}
int FakeMixer::GetVolume(int index, uint32_t* value) {
    *value = m_system->lines[size_t(index)].value;
    return 0;
}
int FakeMixer::SetVolume(int index, uint32_t value) {
    m_system->lines[size_t(index)].value = value;
    ++m_system->sets;
    return 0;
}
int FakeMixer::EnableSource(int index, std::vector<std::string>* enabled) {
    enabled->push_back(m_system->lines[size_t(index)].name);
    return 0;
}

class VolumeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        system_.lines = {{"Line", false, 0, false, 0, 31, 5}, {"Mic", true, 0, false, 0, 63, 20}};
        LxSetMixerSystem(&system_);
    }
    void TearDown() override { LxSetMixerSystem(nullptr); }

    static std::unique_ptr<IVolume> Build(int line, std::string* output) {
        testing::internal::CaptureStdout();
        std::unique_ptr<IVolume> volume(new CVolumeInXXX(line));
        *output = testing::internal::GetCapturedStdout();
        return volume;
    }

    FakeSystem system_;
};

TEST_F(VolumeTest, AdoptsTheLineAndItsVolumeControl) {
    std::string output;
    auto volume = Build(1, &output);
    EXPECT_EQ(output, ".InputXxxVolume: Initializing for the Source Line (1) ..\n"
                      ".InputXxxVolume: \"Mic\" Source Line adopted.\n"
                      ".InputXxxVolume: \"Mic Vol\" Volume control for the Source Line adopted\n"
                      ".InputXxxVolume: Microphone Source Line \"Mic\" has been found.\n");
    ASSERT_TRUE(volume->HasVolumeControl());
    EXPECT_EQ(volume->GetMinVolume(), 0u);
    EXPECT_EQ(volume->GetMaxVolume(), 63u);
    EXPECT_EQ(volume->GetSteps(), 64u);
    EXPECT_EQ(volume->GetVolume(), 20u);
}

struct FailureCase {
    const char* title;
    int line;
    int openResult, volumeResult;
    bool disabled;
    const char* message; // a line the output holds
    bool mixerOpen;      // the object is still notified
};

const FailureCase kFailures[] = {
    {"index equal to the connections", 2, 0, 0, false,
     ".InputXxxVolume: FAILURE: Invalid Source Line index passed.\n", false},
    {"negative index", -1, 0, 0, false,
     ".InputXxxVolume: FAILURE: Invalid Source Line index passed.\n", false},
    {"mixer does not open", 1, -19, 0, false,
     ".InputXxxVolume: FAILURE: Could not open Mixer. mmResult=-19\n", false},
    {"no volume control", 1, 0, -22, false,
     ".InputXxxVolume: WARNING: Could not get the requested Source Line Volume Control for "
     "the requested line while initilaizing. mmResult=-22\n",
     true},
    {"disabled volume control", 1, 0, 0, true,
     ".InputXxxVolume: WARNING: The Volume Control is disabled.\n", true},
};

TEST_F(VolumeTest, FailuresLeaveNoVolumeControl) {
    for (const FailureCase& c : kFailures) {
        system_.openResult = c.openResult;
        system_.lines[1].volumeResult = c.volumeResult;
        system_.lines[1].disabled = c.disabled;
        std::string output;
        auto volume = Build(c.line, &output);
        EXPECT_NE(output.find(c.message), std::string::npos) << c.title << "\n" << output;
        EXPECT_FALSE(volume->HasVolumeControl()) << c.title;
        EXPECT_EQ(volume->GetVolume(), UINT32_MAX) << c.title;
        EXPECT_EQ(volume->GetMaxVolume(), UINT32_MAX) << c.title;
        EXPECT_EQ(system_.open.size(), c.mixerOpen ? 1u : 0u) << c.title;
    }
}

TEST_F(VolumeTest, NoMixerIsSilentAndGivesNoVolumeControl) {
    system_.devices = 0;
    std::string output;
    auto volume = Build(1, &output);
    EXPECT_EQ(output, "");
    EXPECT_FALSE(volume->HasVolumeControl());
    testing::internal::CaptureStdout();
    std::unique_ptr<IVolume> made(LxCreateMicrophoneVolume());
    EXPECT_FALSE(made->HasVolumeControl());
    EXPECT_FALSE(EnumSourceLines([](int, const LxMixerLine&, void*) { return true; }, nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(VolumeTest, OutOfRangeVolumesAreIgnoredSilently) {
    std::string output;
    auto volume = Build(1, &output);
    testing::internal::CaptureStdout();
    volume->SetVolume(64);
    volume->SetVolume(UINT32_MAX);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(system_.sets, 0);
    volume->SetVolume(63);
    EXPECT_EQ(volume->GetVolume(), 63u);
    system_.lines[1].min = 10; // a new object sees the new bounds
    auto bounded = Build(1, &output);
    bounded->SetVolume(9);
    EXPECT_EQ(system_.sets, 1);
}

struct Heard {
    std::vector<uint32_t> volumes;
    static void Note(uint32_t volume, void* user) {
        static_cast<Heard*>(user)->volumes.push_back(volume);
    }
};

TEST_F(VolumeTest, OnlyTheNewestObjectHearsOfChangesToItsControl) {
    std::string output;
    auto first = Build(1, &output);
    Heard firstHeard, secondHeard;
    first->SetCallback(Heard::Note, &firstHeard);
    system_.Change(1, 30);
    LxPollVolume();
    EXPECT_EQ(firstHeard.volumes, (std::vector<uint32_t>{30}));

    auto second = Build(1, &output);
    second->SetCallback(Heard::Note, &secondHeard);
    system_.Change(1, 40);
    system_.Change(0, 7); // another control: ignored
    LxPollVolume();
    EXPECT_EQ(firstHeard.volumes, (std::vector<uint32_t>{30}));
    EXPECT_EQ(secondHeard.volumes, (std::vector<uint32_t>{40}));

    second.reset(); // no notification reaches a deleted object, nor the older one
    system_.Change(1, 50);
    LxPollVolume();
    EXPECT_EQ(firstHeard.volumes, (std::vector<uint32_t>{30}));
}

TEST_F(VolumeTest, EnumeratesSourceLinesUntilTheCallbackStops) {
    system_.lines.push_back({"Aux", false, 0, false, 0, 10, 0});
    std::vector<std::string> seen;
    auto note = [](int index, const LxMixerLine& line, void* user) {
        static_cast<std::vector<std::string>*>(user)->push_back(line.szShortName);
        return line.nComponentType != kMixerMicrophone;
    };
    EXPECT_TRUE(EnumSourceLines(note, &seen));
    EXPECT_EQ(seen, (std::vector<std::string>{"Line", "Mic"}));
    EXPECT_FALSE(EnumSourceLines(nullptr, nullptr));
    EXPECT_TRUE(system_.open.empty());

    system_.sourceFailsAt = 1;
    seen.clear();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(EnumSourceLines(note, &seen));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              ".InputXxxVolume: FAILURE: Could not get the interated Source Line while "
              "enumerating. mmResult=-5\n");
    EXPECT_TRUE(system_.open.empty());
}

TEST_F(VolumeTest, FactoryAdoptsTheFirstMicrophoneLine) {
    system_.lines.push_back({"Mic 2", true, 0, false, 0, 10, 3});
    testing::internal::CaptureStdout();
    std::unique_ptr<IVolume> volume(LxCreateMicrophoneVolume());
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("Source Line (1)"), std::string::npos);
    ASSERT_TRUE(volume->HasVolumeControl());
    EXPECT_EQ(volume->GetVolume(), 20u);

    system_.lines = {{"Line", false, 0, false, 0, 31, 5}};
    std::unique_ptr<IVolume> none(LxCreateMicrophoneVolume());
    EXPECT_FALSE(none->HasVolumeControl());
}

TEST_F(VolumeTest, EnableAndDisableLineReport) {
    std::string output;
    auto volume = Build(1, &output);
    testing::internal::CaptureStdout();
    volume->EnableLine();
    volume->DisableLine();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              ".InputXxxVolume: Enabling Line: Line control \"Mic\" has been enabled.\n"
              ".InputXxxVolume: WARNING: Disable line has no sense. The function not "
              "implemented.\n");
}

// The platform mixer itself: on a machine without a sound card there is nothing to adopt,
// and nothing is said.
TEST(VolumeAlsa, MachineWithoutMixerGivesASilentObject) {
    if (LxMixerSystem()->DeviceCount() > 0) GTEST_SKIP() << "this machine has a sound card";
    testing::internal::CaptureStdout();
    std::unique_ptr<IVolume> volume(LxCreateMicrophoneVolume());
    CVolumeInXXX direct(0);
    LxPollVolume();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(volume->HasVolumeControl());
    EXPECT_FALSE(direct.HasVolumeControl());
}

} // namespace
