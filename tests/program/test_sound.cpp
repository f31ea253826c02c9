// Sound buffers, WAV files in and out, the sound cache and the audio callbacks, run on
// SDL's dummy audio driver; the callbacks are driven directly on paused devices.
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/LxFile.h"
#include "media/LxSoundDevice.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "support/TempFolder.h"

namespace {

void Put(std::string* s, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++)
        s->push_back(char(value >> (8 * i)));
}

// A PCM WAV file of frames frames; byte i of the data is i % 251. dataSize overrides the
// data chunk's size field; extra is a chunk put before the data.
std::string MakeWave(unsigned rate, unsigned channels, unsigned bits, unsigned frames,
                     const std::string& extra = "", int64_t dataSize = -1) {
    unsigned bytes = frames * channels * bits / 8;
    std::string w = "RIFF";
    Put(&w, 36 + unsigned(extra.size()) + bytes, 4);
    w += "WAVEfmt ";
    Put(&w, 16, 4);
    Put(&w, 1, 2);
    Put(&w, channels, 2);
    Put(&w, rate, 4);
    Put(&w, rate * channels * bits / 8, 4);
    Put(&w, channels * bits / 8, 2);
    Put(&w, bits, 2);
    w += extra + "data";
    Put(&w, dataSize < 0 ? bytes : uint32_t(dataSize), 4);
    for (unsigned i = 0; i < bytes; i++)
        w.push_back(char(i % 251));
    return w;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le32(const std::string& s, size_t at) {
    return uint8_t(s[at]) | uint8_t(s[at + 1]) << 8 | uint8_t(s[at + 2]) << 16 |
           uint32_t(uint8_t(s[at + 3])) << 24;
}

class SoundTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        setenv("SDL_AUDIODRIVER", "dummy", 0);
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
        TempFolderTest::TearDown();
    }
};

TEST_F(SoundTest, CacheSharesSoundsByKeyAndCountsUses) {
    WriteFile("a.wav", MakeWave(22050, 1, 16, 22050));
    CLxSoundServer server;
    CBSoundBuffer* first = server.GetSound("a.wav", -1, -1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(server.GetSound("a.wav", -1, -1), first);
    EXPECT_EQ(server.GetUseCount(first), 2);
    CBSoundBuffer* part = server.GetSound("a.wav", 100, 200);
    ASSERT_NE(part, nullptr);
    EXPECT_NE(part, first);
    EXPECT_STREQ(server.GetKey(first), "a.wav");
    EXPECT_STREQ(server.GetKey(part), "a.wav@100-200");
    EXPECT_EQ(part->GetSize(), 4410u);

    server.ReleaseSound(first);
    EXPECT_EQ(server.GetUseCount(first), 1);
    server.ReleaseSound(first);
    EXPECT_EQ(server.GetKey(first), nullptr); // freed, its entry empty
    EXPECT_EQ(server.GetUseCount(part), 1);
}

TEST_F(SoundTest, CacheKeysLongPathsWhole) {
    std::string dir(150, 'd');
    WriteFile(dir + "/x.wav", MakeWave(22050, 1, 16, 100));
    WriteFile(dir + "/y.wav", MakeWave(22050, 1, 16, 200));
    CLxSoundServer server;
    CBSoundBuffer* x = server.GetSound((dir + "\\x.wav").c_str(), -1, -1);
    CBSoundBuffer* y = server.GetSound((dir + "\\y.wav").c_str(), -1, -1);
    ASSERT_NE(x, nullptr);
    ASSERT_NE(y, nullptr);
    EXPECT_NE(x, y);
    EXPECT_EQ(y->GetSize(), 400u);
}

TEST_F(SoundTest, FullCacheReusesUnusedEntries) {
    WriteFile("a.wav", MakeWave(22050, 1, 16, 22050));
    CLxSoundServer server;
    std::vector<CBSoundBuffer*> sounds;
    for (int i = 0; i < CLxSoundServer::kEntries; i++)
        sounds.push_back(server.GetSound("a.wav", i, i + 1));
    ASSERT_NE(sounds.back(), nullptr);
    EXPECT_EQ(server.GetSound("a.wav", 50, 60), nullptr);
    server.ReleaseSound(sounds[7]);
    CBSoundBuffer* again = server.GetSound("a.wav", 50, 60);
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(server.GetKey(again), "a.wav@50-60");
}

TEST_F(SoundTest, BankNamesFilesInTheSpeechFolder) {
    WriteFile("data/speech/alma.wav", MakeWave(22050, 1, 16, 22050));
    WriteFile("data/speech/soundbank.xml",
              "<bank>\n<sound name=\"korte\" wave=\"none.wav\"/>\n"
              "<sound name=\"alma\"/>\n<sound name=\"alma\" wave=\"alma.wav\" range=\"0,500\"/>\n"
              "</bank>\n");
    g_pSoundServer = new CLxSoundServer;
    CBSoundBuffer* sound = g_pSoundServer->GetBankSound("alma");
    ASSERT_NE(sound, nullptr);
    EXPECT_STREQ(g_pSoundServer->GetKey(sound), "data\\speech\\alma.wav@0-500");
    EXPECT_EQ(sound->GetSize(), 22050u);
    EXPECT_EQ(g_pSoundServer->GetBankSound("szilva"), nullptr);
}

struct LoadCase {
    const char* title;
    unsigned rate, channels, bits, frames;
    std::string extra;
    int startMs, endMs;
    unsigned expected; // bytes in the program's format
};

class SoundLoad : public SoundTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SoundLoad, ConvertsToTheProgramFormat) {
    const LoadCase& c = GetParam();
    WriteFile("s.wav", MakeWave(c.rate, c.channels, c.bits, c.frames, c.extra));
    CBSoundBuffer* sound = LoadWave("s.wav", c.startMs, c.endMs);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetSize(), c.expected);
    if (c.rate == 22050 && c.channels == 1 && c.bits == 16) { // read unchanged
        void *r1, *r2;
        unsigned l1, l2;
        ASSERT_EQ(sound->Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll), 0);
        unsigned skip = c.startMs > 0 ? unsigned(c.startMs) * 2205 / 100 * 2 : 0;
        for (unsigned i = 0; i < l1; i++)
            ASSERT_EQ(static_cast<uint8_t*>(r1)[i], (i + skip) % 251) << i;
    }
    FreeSound(&sound);
}

const LoadCase kLoads[] = {
    {"program format", 22050, 1, 16, 2205, "", -1, -1, 4410},
    {"44100 Hz stereo gives a quarter", 44100, 2, 16, 44100, "", -1, -1, 44100},
    {"11025 Hz 8-bit gives four times", 11025, 1, 8, 11025, "", -1, -1, 44100},
    {"16000 Hz mono", 16000, 1, 16, 16000, "", -1, -1, 44100},
    {"a LIST chunk before the data", 22050, 1, 16, 100, std::string("LIST\x03\0\0\0abc\0", 12), -1,
     -1, 200},
    {"a range", 22050, 1, 16, 22050, "", 100, 200, 4410},
    {"a range past the end", 22050, 1, 16, 2205, "", 50, 900, 2206},
};

// Test names from the cases' titles.
template <typename Case> std::string Title(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char* p = info.param.title; *p; p++)
        name += std::isalnum(uint8_t(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, SoundLoad, ::testing::ValuesIn(kLoads), Title<LoadCase>);

struct BadCase {
    const char* title;
    std::string file;
    const char* message;
};

class SoundBadFile : public SoundTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(SoundBadFile, GivesTheMessageAndNoSound) {
    const BadCase& c = GetParam();
    if (!c.file.empty()) WriteFile("bad.wav", c.file);
    ::testing::internal::CaptureStdout();
    CBSoundBuffer* sound = LoadWave("bad.wav", -1, -1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.message);
    EXPECT_EQ(sound, nullptr);
    delete sound;
}

std::string Patched(std::string s, size_t at, uint32_t value) {
    for (int i = 0; i < 4; i++)
        s[at + i] = char(value >> (8 * i));
    return s;
}

const BadCase kBadFiles[] = {
    {"missing", "", "Error: CBSoundBuffer::FromWave file not found\n"},
    {"short header", MakeWave(22050, 1, 16, 10).substr(0, 30),
     "Error: CBSoundBuffer::FromWave bad wave file\n"},
    {"format chunk larger than the file", Patched(MakeWave(22050, 1, 16, 10), 16, 0x7fffffff),
     "Error: CBSoundBuffer::FromWave bad wave file\n"},
    {"format chunk too small", Patched(MakeWave(22050, 1, 16, 10), 16, 8),
     "Error: CBSoundBuffer::FromWave bad wave file\n"},
    {"no data chunk", MakeWave(22050, 1, 16, 0).substr(0, 36),
     "Error: CBSoundBuffer::FromWave bad wave file\n"},
    {"not RIFF", "RIFX" + MakeWave(22050, 1, 16, 10).substr(4),
     "Error: CBSoundBuffer::FromWave bad wave file\n"},
    {"24-bit", MakeWave(22050, 1, 24, 10), "Error: CBSoundBuffer::FromWave bad wave file\n"},
};

INSTANTIATE_TEST_SUITE_P(Files, SoundBadFile, ::testing::ValuesIn(kBadFiles), Title<BadCase>);

TEST_F(SoundTest, DataSizeBeyondTheFileLoadsWhatIsThere) {
    WriteFile("s.wav", MakeWave(22050, 1, 16, 100, "", 0x7ffffff0));
    CBSoundBuffer* sound = LoadWave("s.wav", -1, -1);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetSize(), 200u);
    FreeSound(&sound);
}

TEST_F(SoundTest, TooLongFileKeepsTheRecordingBuffer) {
    WriteFile("long.wav", MakeWave(22050, 1, 16, 1000));
    CBSoundBuffer recording(g_pPlayer);
    ASSERT_TRUE(recording.Create(300, 22050, 16));
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(ReadWave(&recording, "long.wav", -1, -1), 600u);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Error: CBSoundBuffer::ReadFromBuffer Lock.\n");
    EXPECT_EQ(recording.GetSize(), 600u);
    EXPECT_EQ(InsertWave(&recording, 250, "long.wav", -1, -1), 100u);
    void *r1, *r2;
    unsigned l1, l2;
    ASSERT_EQ(recording.Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll), 0);
    EXPECT_EQ(static_cast<uint8_t*>(r1)[599], 99);
    EXPECT_EQ(static_cast<uint8_t*>(r1)[499], 499 % 251);
}

// A buffer whose byte i is i % 251.
void Fill(CBSoundBuffer* buffer) {
    void *r1, *r2;
    unsigned l1, l2;
    ASSERT_EQ(buffer->Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll), 0);
    for (unsigned i = 0; i < l1; i++)
        static_cast<uint8_t*>(r1)[i] = uint8_t(i % 251);
}

TEST_F(SoundTest, BufferSizesFollowTheSampleWidth) {
    struct {
        unsigned samples, bits, bytes;
    } cases[] = {{22050, 16, 44100}, {1323000, 16, 2646000}, {1001, 8, 1001}, {0, 16, 0}};
    for (const auto& c : cases) {
        CBSoundBuffer* buffer = CreateSoundBuffer(c.samples, 22050, c.bits);
        EXPECT_EQ(buffer ? buffer->GetSize() : 0u, c.bytes) << c.samples;
        FreeSound(&buffer);
    }
    EXPECT_EQ(CreateCaptureBuffer(100, 22050, 16), nullptr); // no capture device
    WAVEFORMATEX format;
    CBSoundBuffer(g_pPlayer).GetFormat(&format);
    EXPECT_EQ(format.nAvgBytesPerSec, 44100u);
    EXPECT_EQ(format.nBlockAlign, 2);
}

TEST_F(SoundTest, ClearSoundZeroesOnlyTheFirstSamples) {
    CBSoundBuffer buffer(g_pPlayer);
    ASSERT_TRUE(buffer.Create(50, 22050, 16));
    Fill(&buffer);
    ClearSound(&buffer, 10);
    ClearSound(nullptr, 10);
    void *r1, *r2;
    unsigned l1, l2;
    ASSERT_EQ(buffer.Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll), 0);
    const uint8_t* data = static_cast<uint8_t*>(r1);
    EXPECT_EQ(data[19], 0);
    EXPECT_EQ(data[20], 20);
    ClearSound(&buffer, 1000); // more than the buffer holds
    EXPECT_EQ(data[99], 0);
}

TEST_F(SoundTest, WriteWaveOfARecording) {
    CBSoundBuffer recording(g_pPlayer);
    ASSERT_TRUE(recording.Create(2000, 22050, 16));
    Fill(&recording);
    ASSERT_TRUE(WriteWave(&recording, "out000.wav", 0, 1000));
    std::string file = ReadFile("out000.wav");
    ASSERT_EQ(file.size(), 1044u);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32(file, 4), 1036u);
    EXPECT_EQ(Le32(file, 24), 22050u);
    EXPECT_EQ(Le32(file, 28), 44100u);
    EXPECT_EQ(Le32(file, 40), 1000u);
    EXPECT_EQ(uint8_t(file[44 + 999]), 999 % 251);
    EXPECT_FALSE(std::ifstream("out000.wav.tmp").good());
}

TEST_F(SoundTest, WriteWaveOfAWrappedRingPart) {
    CBSoundBuffer ring(g_pPlayer);
    ASSERT_TRUE(ring.Create(50, 22050, 16)); // 100 bytes
    Fill(&ring);
    ASSERT_TRUE(WriteWave(&ring, "part.wav", 80, 20));
    std::string file = ReadFile("part.wav");
    ASSERT_EQ(file.size(), 44u + 40u);
    EXPECT_EQ(Le32(file, 40), 40u);
    for (unsigned i = 0; i < 40; i++)
        EXPECT_EQ(uint8_t(file[44 + i]), (80 + i) % 100) << i;
}

TEST_F(SoundTest, WriteWaveRefusesNamesOutsideTheRoot) {
    CBSoundBuffer ring(g_pPlayer);
    ASSERT_TRUE(ring.Create(50, 22050, 16));
    for (const char* name : {"..\\x.wav", "a\\..\\..\\x.wav", "\\tmp\\x.wav", "c:x.wav", ""})
        EXPECT_FALSE(WriteWave(&ring, name, 0, 10)) << name;
    EXPECT_FALSE(WriteWave(&ring, "missing\\folder.wav", 0, 10));
}

struct LockCase {
    const char* title;
    bool loop;
    unsigned read, pos, len, flags;
    int result;
    unsigned len1, len2;
};

const LockCase kLocks[] = {
    {"inside", false, 0, 10, 20, 0, 0, 20, 0},
    {"up to the end", false, 0, 80, 20, 0, 0, 20, 0},
    {"past the end without loop", false, 0, 90, 30, 0, 0, 10, 0},
    {"past the end with loop", true, 0, 90, 30, 0, 0, 10, 20},
    {"from the read position", false, 40, 0, 10, 1, 0, 10, 0},
    {"looping read position past the end", true, 250, 0, 80, 1, 0, 50, 30},
    {"whole size", false, 0, 0, 0, 2, 0, 100, 0},
    {"position beyond the size", false, 0, 101, 1, 0, -1, 0, 0},
    {"length beyond the size", true, 0, 0, 101, 0, -1, 0, 0},
    {"finished sound", false, 130, 0, 10, 1, -1, 0, 0},
};

TEST_F(SoundTest, LockGivesOneOrTwoRegions) {
    for (const LockCase& c : kLocks) {
        SCOPED_TRACE(c.title);
        CBSoundBuffer buffer(g_pPlayer);
        ASSERT_TRUE(buffer.Create(50, 22050, 16));
        void *r1, *r2, *base, *unused;
        unsigned l1, l2, all, none;
        ASSERT_EQ(buffer.Lock(0, 0, &base, &all, &unused, &none, CBSoundBuffer::kLockAll), 0);
        buffer.SetLoop(c.loop);
        buffer.SetPosition(c.read);
        ASSERT_EQ(buffer.Lock(c.pos, c.len, &r1, &l1, &r2, &l2, c.flags), c.result);
        if (c.result) continue;
        EXPECT_EQ(r1, static_cast<uint8_t*>(base) + (c.flags & 1 ? c.read % 100 : c.pos));
        EXPECT_EQ(l1, c.len1);
        EXPECT_EQ(l2, c.len2);
        EXPECT_EQ(r2, c.len2 ? base : nullptr);
    }
}

TEST_F(SoundTest, WithoutADriverNamedTheDiskDriverIsNeverUsed) {
    const char* named = SDL_getenv("SDL_AUDIODRIVER");
    std::string saved = named ? named : "";
    unsetenv("SDL_AUDIODRIVER");
    g_pPlayer->OpenPlayer(-1, -1); // a real device, if this machine has one
    const char* driver = SDL_GetCurrentAudioDriver();
    EXPECT_STRNE(driver ? driver : "", "disk");
    EXPECT_STRNE(driver ? driver : "", "dummy");
    g_pPlayer->Stop();
    SDL_AudioQuit();
    if (!saved.empty()) setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    EXPECT_FALSE(std::ifstream("sdlaudio.raw").good());
}

// Devices opened on the dummy driver; each started device is paused at once, so the test
// alone drives its callback.
class SoundDeviceTest : public SoundTest {
  protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_TRUE(g_pPlayer->OpenPlayer(-1, -1));
        EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    }
    void TearDown() override {
        SoundTest::TearDown();
        SDL_AudioQuit();
    }
    // Starts buffer and takes its callback over from SDL's audio thread.
    static void StartPaused(CBSoundBuffer* buffer, bool loop) {
        ASSERT_EQ(buffer->GetDevice()->IsCapture() ? buffer->StartRecord(loop)
                                                   : buffer->StartPlay(loop),
                  0);
        SDL_AudioDeviceID id = buffer->GetDevice()->GetId();
        SDL_PauseAudioDevice(id, 1);
        SDL_LockAudioDevice(id); // waits for a callback under way
        SDL_UnlockAudioDevice(id);
        buffer->SetPosition(0);
    }
};

TEST_F(SoundDeviceTest, PlayerPadsTheLastStreamAndPausesAfterIt) {
    CBSoundBuffer sound(g_pPlayer);
    ASSERT_TRUE(sound.Create(1500, 22050, 16)); // 3000 bytes, shorter than one stream
    Fill(&sound);
    StartPaused(&sound, false);
    EXPECT_EQ(SoundStatus(&sound), CBSoundBuffer::kPlaying);
    std::vector<uint8_t> stream(4096, 0xAA);
    CLxSoundDevice::PlayerCallback(&sound, stream.data(), int(stream.size()));
    for (unsigned i = 0; i < stream.size(); i++)
        ASSERT_EQ(stream[i], i < 3000 ? i % 251 : 0) << i;
    EXPECT_EQ(SoundStatus(&sound), CBSoundBuffer::kIdle);

    std::fill(stream.begin(), stream.end(), 0xAA);
    CLxSoundDevice::PlayerCallback(&sound, stream.data(), int(stream.size()));
    EXPECT_EQ(stream, std::vector<uint8_t>(4096, 0));
    EXPECT_TRUE(g_pPlayer->IsOpen()); // the callback only paused it
    g_pPlayer->Idle();
    EXPECT_FALSE(g_pPlayer->IsOpen());
}

TEST_F(SoundDeviceTest, LoopingPlayerStaysInsideItsBuffer) {
    CBSoundBuffer sound(g_pPlayer);
    ASSERT_TRUE(sound.Create(500, 22050, 16)); // 1000 bytes
    Fill(&sound);
    StartPaused(&sound, true);
    std::vector<uint8_t> stream(4096);
    unsigned played = 0;
    for (int pass = 0; pass < 3; pass++) {
        CLxSoundDevice::PlayerCallback(&sound, stream.data(), int(stream.size()));
        for (unsigned i = 0; i < stream.size(); i++)
            ASSERT_EQ(stream[i], (played + i) % 1000 % 251) << pass << " " << i;
        played += unsigned(stream.size());
        EXPECT_EQ(SoundStatus(&sound), CBSoundBuffer::kPlayWrapped);
    }
    unsigned read, write;
    sound.GetPositions(&read, &write);
    EXPECT_EQ(read, 1000 + played % 1000); // kept in the second round
    EXPECT_EQ(write, read);
}

TEST_F(SoundDeviceTest, CaptureRingWraps) {
    g_pCapture = new CLxSoundDevice(true);
    ASSERT_TRUE(g_pCapture->OpenCapture(-1, -1));
    EXPECT_TRUE(g_pPlayer->IsOpen()); // opening the capture device left the player open
    CBSoundBuffer ring(g_pCapture);
    ASSERT_TRUE(ring.Create(500, 22050, 16));
    StartPaused(&ring, true);
    std::vector<uint8_t> stream(700);
    for (unsigned i = 0; i < stream.size(); i++)
        stream[i] = uint8_t(i % 7);
    CLxSoundDevice::CaptureCallback(&ring, stream.data(), int(stream.size()));
    EXPECT_EQ(SoundStatus(&ring), CBSoundBuffer::kPlaying);
    CLxSoundDevice::CaptureCallback(&ring, stream.data(), int(stream.size()));
    EXPECT_EQ(SoundStatus(&ring), CBSoundBuffer::kCaptureWrapped);
    unsigned read, write;
    ring.GetPositions(&read, &write);
    EXPECT_EQ(read, 400u);
    EXPECT_EQ(write, 400u);
    void *r1, *r2;
    unsigned l1, l2;
    ASSERT_EQ(ring.Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll), 0);
    const uint8_t* data = static_cast<uint8_t*>(r1);
    EXPECT_EQ(data[0], 300 % 7);   // the second stream's byte 300 wrapped to the start
    EXPECT_EQ(data[399], 699 % 7); // its last byte
    EXPECT_EQ(data[400], 400 % 7); // the first stream's byte 400
    StopCaptureRing(&ring);
    EXPECT_FALSE(g_pCapture->IsOpen());
}

TEST_F(SoundDeviceTest, CaptureBufferWithoutLoopEndsWhenFull) {
    g_pCapture = new CLxSoundDevice(true);
    ASSERT_TRUE(g_pCapture->OpenCapture(-1, -1));
    CBSoundBuffer recording(g_pCapture);
    ASSERT_TRUE(recording.Create(300, 22050, 16));
    StartPaused(&recording, false);
    std::vector<uint8_t> stream(4096, 9);
    CLxSoundDevice::CaptureCallback(&recording, stream.data(), int(stream.size()));
    EXPECT_EQ(SoundStatus(&recording), CBSoundBuffer::kIdle);
    CLxSoundDevice::CaptureCallback(&recording, stream.data(), int(stream.size()));
    EXPECT_TRUE(g_pCapture->IsOpen()); // marked, not closed, by its callback
    g_pCapture->Idle();
    EXPECT_FALSE(g_pCapture->IsOpen());
}

TEST_F(SoundDeviceTest, OverLongStreamKeepsTheRingsNewestAndTheRecordingsFirstBytes) {
    g_pCapture = new CLxSoundDevice(true);
    ASSERT_TRUE(g_pCapture->OpenCapture(-1, -1));
    std::vector<uint8_t> stream(700);
    for (unsigned i = 0; i < stream.size(); i++)
        stream[i] = uint8_t(i % 251);
    for (bool loop : {true, false}) {
        SCOPED_TRACE(loop ? "ring" : "recording");
        CBSoundBuffer buffer(g_pCapture);
        ASSERT_TRUE(buffer.Create(250, 22050, 16)); // 500 bytes
        StartPaused(&buffer, loop);
        CLxSoundDevice::CaptureCallback(&buffer, stream.data(), int(stream.size()));
        void *r1, *r2;
        unsigned l1, l2;
        ASSERT_EQ(buffer.Lock(0, 0, &r1, &l1, &r2, &l2, CBSoundBuffer::kLockAll), 0);
        unsigned skipped = loop ? 200 : 0;
        for (unsigned i = 0; i < l1; i++)
            ASSERT_EQ(static_cast<uint8_t*>(r1)[i], (i + skipped) % 251) << i;
        EXPECT_EQ(SoundStatus(&buffer),
                  loop ? CBSoundBuffer::kCaptureWrapped : CBSoundBuffer::kIdle);
    }
}

TEST_F(SoundDeviceTest, SecondSoundStopsTheFirst) {
    CBSoundBuffer* first = new CBSoundBuffer(g_pPlayer);
    CBSoundBuffer second(g_pPlayer);
    ASSERT_TRUE(first->Create(22050 * 5, 22050, 16));
    ASSERT_TRUE(second.Create(22050 * 5, 22050, 16));
    PlaySound(first, false, true);
    EXPECT_EQ(SoundStatus(first), CBSoundBuffer::kPlaying);
    PlaySound(&second, false, true);
    EXPECT_EQ(SoundStatus(first), CBSoundBuffer::kIdle);
    EXPECT_EQ(SoundStatus(&second), CBSoundBuffer::kPlaying);
    FreeSound(&first); // returns at once: the first sound no longer plays
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(SoundStatus(&second), CBSoundBuffer::kPlaying); // freeing it left the other
    StopSound(&second);
    EXPECT_FALSE(g_pPlayer->IsOpen());
    EXPECT_EQ(SoundStatus(nullptr), 2);
}

} // namespace
