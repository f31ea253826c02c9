// Sound through SDL's "disk" audio driver, on SDL's own audio threads: a played sound
// must reach the driver's output file whole and in order, and a file fed as the
// microphone must reach the capture buffers. The driver writes the output file a device
// stream at a time, silence while the device is paused, and reads the microphone file
// from its start, then silence. Each test asks for the driver (by name or by index) in
// its own temporary folder and puts SDL's environment back afterwards; waits are bounded
// loops of short delays.
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "media/LxFile.h"
#include "media/LxSoundDevice.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "support/TempFolder.h"

namespace {

const char* const kVariables[] = {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIOFILEIN",
                                  "SDL_DISKAUDIODELAY"};

// Samples no stretch of silence or of a repeated pattern could pass for: a pseudo-random
// sequence of 16-bit values, none of them 0, as little-endian bytes.
std::string Samples(unsigned count, uint32_t seed) {
    std::string bytes;
    for (unsigned i = 0; i < count; i++) {
        seed = seed * 1103515245u + 12345u;
        uint16_t value = uint16_t(seed >> 16) | 1;
        bytes.push_back(char(value & 0xFF));
        bytes.push_back(char(value >> 8));
    }
    return bytes;
}

void Put(std::string* s, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++)
        s->push_back(char(value >> (8 * i)));
}

// A WAV file in the program's format (22050 Hz, 16-bit mono) holding pcm.
std::string WaveOf(const std::string& pcm) {
    std::string w = "RIFF";
    Put(&w, 36 + unsigned(pcm.size()), 4);
    w += "WAVEfmt ";
    Put(&w, 16, 4);
    Put(&w, 1, 2);
    Put(&w, 1, 2);
    Put(&w, 22050, 4);
    Put(&w, 44100, 4);
    Put(&w, 2, 2);
    Put(&w, 16, 2);
    w += "data";
    Put(&w, unsigned(pcm.size()), 4);
    return w + pcm;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Silent(const std::string& bytes, size_t from, size_t to) {
    for (size_t i = from; i < to; i++)
        if (bytes[i]) return false;
    return true;
}

// Where the bytes first differ (a length counts as a difference); npos when equal. Keeps
// failure messages short: the samples are thousands of unprintable bytes.
size_t Mismatch(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; i++)
        if (a[i] != b[i]) return i;
    return a.size() == b.size() ? std::string::npos : n;
}

// Waits in steps of 10 ms, 3 s at most, for done; its last answer.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 300 && !done(); i++)
        SDL_Delay(10);
    return done();
}

int DiskIndex() {
    for (int i = 0; i < SDL_GetNumAudioDrivers(); i++)
        if (std::strcmp(SDL_GetAudioDriver(i), "disk") == 0) return i;
    return -1;
}

std::string BufferBytes(CBSoundBuffer* buffer) {
    void *r1, *r2;
    unsigned l1, l2;
    if (buffer->Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll)) return {};
    return {static_cast<const char*>(r1), l1};
}

class SoundDiskTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        SDL_AudioQuit(); // no driver is current: the test's choice opens the devices
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
        output_ = folder_ + "/out.raw";
        microphone_ = folder_ + "/mic.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
        setenv("SDL_DISKAUDIOFILEIN", microphone_.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "5", 1); // ms between streams, instead of their length
        CLxFile::SetRoots(".\\", "data\\");
        g_pPlayer = new CLxSoundDevice(false);
    }
    void TearDown() override {
        delete g_pSoundServer;
        g_pSoundServer = nullptr;
        delete g_pPlayer;
        g_pPlayer = nullptr;
        delete g_pCapture;
        g_pCapture = nullptr;
        SDL_AudioQuit();
        for (size_t i = 0; i < saved_.size(); i++)
            if (saved_[i])
                setenv(kVariables[i], saved_[i]->c_str(), 1);
            else
                unsetenv(kVariables[i]);
        TempFolderTest::TearDown();
    }

    // Opens the player on the disk driver and the capture device beside it.
    void OpenBoth() {
        ASSERT_TRUE(g_pPlayer->OpenPlayer(-1, -1));
        ASSERT_STREQ(SDL_GetCurrentAudioDriver(), "disk");
        g_pCapture = new CLxSoundDevice(true);
        ASSERT_TRUE(g_pCapture->OpenCapture(-1, -1));
        EXPECT_TRUE(g_pPlayer->IsOpen()); // the capture device left the player open
    }

    std::string output_, microphone_;
    std::vector<std::optional<std::string>> saved_;
};

struct AskCase {
    const char* title;
    bool named;   // SDL_AUDIODRIVER=disk, else unset
    bool byIndex; // the disk driver's index given to OpenPlayer
    int device;
};

class SoundDiskAsk : public SoundDiskTest, public ::testing::WithParamInterface<AskCase> {};

TEST_P(SoundDiskAsk, PlayedSoundReachesTheOutputFileWholeAndInOrder) {
    const AskCase& c = GetParam();
    if (!c.named) unsetenv("SDL_AUDIODRIVER");
    int disk = DiskIndex();
    ASSERT_GE(disk, 0) << "this SDL has no disk driver";
    ASSERT_TRUE(g_pPlayer->OpenPlayer(c.byIndex ? disk : -1, c.device));
    ASSERT_STREQ(SDL_GetCurrentAudioDriver(), "disk");

    const std::string pcm = Samples(10000, 7); // almost five device streams
    WriteFile("a.wav", WaveOf(pcm));
    CLxSoundServer server;
    CBSoundBuffer* sound = server.GetSound("a.wav", -1, -1);
    ASSERT_NE(sound, nullptr);
    PlaySound(sound, false, true);
    ASSERT_TRUE(WaitFor([&] { return !g_pPlayer->IsBoundTo(sound); })); // ended by its callback
    EXPECT_EQ(SoundStatus(sound), CBSoundBuffer::kIdle);
    EXPECT_TRUE(g_pPlayer->IsOpen());
    g_pPlayer->Idle();
    EXPECT_FALSE(g_pPlayer->IsOpen()); // closing wrote the file out

    std::string out = ReadFile(output_);
    size_t at = out.find(pcm);
    ASSERT_NE(at, std::string::npos) << out.size() << " bytes written";
    EXPECT_TRUE(Silent(out, 0, at));                       // paused before it played
    EXPECT_TRUE(Silent(out, at + pcm.size(), out.size())); // its last stream padded
    EXPECT_EQ(at % 4096, 0u);                              // it began a stream
    EXPECT_EQ(out.size() % 4096, 0u);
    EXPECT_GT(out.size(), at + pcm.size());
    server.ReleaseSound(sound);
    EXPECT_FALSE(std::filesystem::exists("sdlaudio.raw")); // the named file was used
}

const AskCase kAsks[] = {
    {"named in SDL_AUDIODRIVER", true, false, -1},
    {"by driver index", false, true, -1},
    {"by driver and device index", false, true, 0},
};

std::string AskTitle(const ::testing::TestParamInfo<AskCase>& info) {
    std::string name;
    for (const char* p = info.param.title; *p; p++)
        name += std::isalnum(uint8_t(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Disk, SoundDiskAsk, ::testing::ValuesIn(kAsks), AskTitle);

TEST_F(SoundDiskTest, LoopingSoundRepeatsWithoutAGap) {
    ASSERT_TRUE(g_pPlayer->OpenPlayer(-1, -1));
    const std::string pcm = Samples(1500, 11); // 3000 bytes: rounds fall inside streams
    CBSoundBuffer sound(g_pPlayer);
    ASSERT_TRUE(sound.Create(1500, 22050, 16));
    void *r1, *r2;
    unsigned l1, l2;
    ASSERT_EQ(sound.Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll), 0);
    std::memcpy(r1, pcm.data(), l1);
    PlaySound(&sound, true, true);
    const size_t wanted = 4 * pcm.size() + 3 * 4096; // past the start-up silence and buffering
    ASSERT_TRUE(WaitFor([&] {
        std::error_code ignored;
        return std::filesystem::file_size(output_, ignored) >= wanted;
    }));
    EXPECT_EQ(SoundStatus(&sound), CBSoundBuffer::kPlayWrapped);
    StopSound(&sound);
    EXPECT_FALSE(g_pPlayer->IsOpen());

    std::string out = ReadFile(output_);
    size_t at = out.find(pcm);
    ASSERT_NE(at, std::string::npos);
    EXPECT_TRUE(Silent(out, 0, at));
    ASSERT_GE(out.size(), at + 4 * pcm.size());
    for (int round = 1; round < 4; round++)
        EXPECT_EQ(Mismatch(out.substr(at + round * pcm.size(), pcm.size()), pcm), std::string::npos)
            << round;
}

TEST_F(SoundDiskTest, MicrophoneFileFillsTheCaptureRingAndItsRecording) {
    const std::string pcm = Samples(6000, 3); // 12000 bytes
    WriteFile(microphone_, pcm);
    OpenBoth();
    CBSoundBuffer* ring = CreateCaptureBuffer(5 * 22050, 22050, 16); // 5 s: no wrap
    ASSERT_NE(ring, nullptr);
    StartCaptureRing(ring);
    EXPECT_EQ(SoundStatus(ring), CBSoundBuffer::kPlaying);
    const unsigned wanted = unsigned(pcm.size()) + 4096; // the file and silence after it
    ASSERT_TRUE(WaitFor([&] {
        unsigned read;
        ring->GetPositions(&read, nullptr);
        return read >= wanted;
    }));
    StopCaptureRing(ring);
    EXPECT_FALSE(g_pCapture->IsOpen());
    unsigned read, write;
    ring->GetPositions(&read, &write);
    EXPECT_EQ(read, write);
    EXPECT_EQ(read % 4096, 0u); // whole streams only
    std::string data = BufferBytes(ring);
    EXPECT_EQ(Mismatch(data.substr(0, pcm.size()), pcm), std::string::npos);
    EXPECT_TRUE(Silent(data, pcm.size(), data.size())); // after the file: silence

    // The recording saved from the ring holds the microphone's samples.
    ASSERT_TRUE(WriteWave(ring, "rec.wav", 0, unsigned(pcm.size())));
    EXPECT_EQ(Mismatch(ReadFile("rec.wav").substr(44), pcm), std::string::npos);
    delete ring;
}

TEST_F(SoundDiskTest, CaptureBufferWithoutLoopKeepsTheFirstBytesAndEnds) {
    const std::string pcm = Samples(8000, 5);
    WriteFile(microphone_, pcm);
    OpenBoth();
    // Sizes shorter than one device stream (4096 bytes), equal to it, and between two.
    for (unsigned samples : {1500u, 2048u, 3000u}) {
        SCOPED_TRACE(samples);
        CBSoundBuffer* recording = CreateCaptureBuffer(samples, 22050, 16);
        ASSERT_NE(recording, nullptr);
        ASSERT_EQ(recording->StartRecord(false), 0);
        ASSERT_TRUE(WaitFor([&] { return !g_pCapture->IsBoundTo(recording); }));
        EXPECT_EQ(SoundStatus(recording), CBSoundBuffer::kIdle);
        g_pCapture->Idle();
        EXPECT_FALSE(g_pCapture->IsOpen());
        EXPECT_EQ(Mismatch(BufferBytes(recording), pcm.substr(0, samples * 2)), std::string::npos);
        delete recording;
    }
}

TEST_F(SoundDiskTest, MissingMicrophoneFileOpensNoCaptureDevice) {
    ASSERT_TRUE(g_pPlayer->OpenPlayer(-1, -1));
    g_pCapture = new CLxSoundDevice(true);
    EXPECT_FALSE(g_pCapture->OpenCapture(-1, -1));
    EXPECT_FALSE(g_pCapture->IsOpen());
    EXPECT_TRUE(g_pPlayer->IsOpen());
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "disk");
    CBSoundBuffer ring(g_pCapture);
    ASSERT_TRUE(ring.Create(100, 22050, 16));
    EXPECT_EQ(ring.StartRecord(true), -1);
}

} // namespace
