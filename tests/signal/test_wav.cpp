// WAV input and output: what loads and how (rates, 8- and 16-bit values, appended
// silence, the too-large bound), what is refused (with the buffer left as it was), the
// unusual but valid layouts, the written file image and its name, the reset of the
// creation folder's modules after a load, and a whole chain run by a module folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Input.h"
#include "Module.h"
#include "Output.h"
#include "core/FolderBase.h"
#include "core/ModuleBase.h"
#include "signal/SignalTest.h"

using namespace wavfile;

namespace {
class Wav : public SignalTest {
  protected:
    // Loads content as the file a.wav; returns Process's answer.
    int Load(const std::string& content, const char* args = "\"a\"") {
        WriteFile("a.wav", content);
        In(std::string("w = new WavFileIn(") + args + ")");
        return Process("w");
    }
    int Process(const std::string& path) {
        auto* m = QueryInterface<Module>(Get(path), "Module");
        int result = m->Process();
        m->Release();
        return result;
    }
};

uint32_t At32(const std::string& s, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

TEST_F(Wav, LoadsSixteenBitWithSilence) {
    std::vector<int16_t> v(1000);
    for (int i = 0; i < 1000; ++i)
        v[i] = static_cast<int16_t>(i * 37 - 18000);
    EXPECT_EQ(Load(Mono16(v), "\"a\", 200"), 0);
    EXPECT_EQ(sink_->Take(), "Processing a.wav\n");
    SoundBuffer* sb = Buffer("w");
    EXPECT_EQ(sb->sps, 22050);
    EXPECT_EQ(sb->length, 1200);
    EXPECT_EQ(sb->complete, 1);
    EXPECT_EQ(sb->data[0], -18000.0f);
    EXPECT_EQ(sb->data[999], 999 * 37 - 18000.0f);
    for (int i = 1000; i < 1200; ++i)
        ASSERT_EQ(sb->data[i], 0.0f) << i;
}

TEST_F(Wav, EightBitBytesAreInvertedAroundTheMiddle) {
    std::string bytes = {'\x80', '\x00', '\xFF'};
    EXPECT_EQ(Load(Riff(Fmt(1, 1, 8000, 8) + Chunk("data", bytes))), 0);
    SoundBuffer* sb = Buffer("w");
    EXPECT_EQ(sb->length, 3);
    EXPECT_EQ(sb->data[0], 0.0f);
    EXPECT_EQ(sb->data[1], 32768.0f);
    EXPECT_EQ(sb->data[2], -32512.0f);
}

// Layouts that are valid, or damaged in a way that still leaves samples to read.
TEST_F(Wav, LoadsUnusualLayouts) {
    std::string four = Samples16({1, 2, 3, 4});
    std::string fmt = Fmt(1, 1, 16000, 16);
    std::string wrongSize = Chunk("data", four);
    wrongSize.replace(4, 4, "\xE8\x03\x00\x00", 4); // claims 1000 bytes
    std::string streamed = Chunk("data", four);
    streamed.replace(4, 4, "\xFF\xFF\xFF\xFF", 4);
    struct Case {
        const char* what;
        std::string file;
        int samples;
    };
    const Case cases[] = {
        {"LIST before fmt", Riff(Chunk("LIST", "INFOabcd") + fmt + Chunk("data", four)), 4},
        {"odd chunk with pad", Riff(fmt + Chunk("junk", "xyz") + Chunk("data", four)), 4},
        {"fmt of 18 bytes", Riff(Fmt(1, 1, 16000, 16, 2) + Chunk("data", four)), 4},
        {"data size past the end", Riff(fmt + wrongSize), 4},
        {"streamed data size", Riff(fmt + streamed), 4},
        {"odd last byte", Riff(fmt + Chunk("data", four + "\x05")), 4},
        {"no samples", Riff(fmt + Chunk("data", "")), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Load(c.file), 0);
        SoundBuffer* sb = Buffer("w");
        EXPECT_EQ(sb->length, c.samples);
        EXPECT_EQ(sb->sps, 16000);
        for (int i = 0; i < c.samples; ++i)
            EXPECT_EQ(sb->data[i], i + 1.0f);
    }
}

// A name that every Read gives again, as a list of recordings would: a string
// literal gives its text only once.
class EveryTime : public virtual Input {
  public:
    explicit EveryTime(std::string text = "a") : text_(std::move(text)) {}
    const char* Read(int* length, int* kind) override { return Current(length, kind); }
    const char* Current(int* length, int* kind) override {
        *length = static_cast<int>(text_.size());
        *kind = kKindText;
        return text_.c_str();
    }
    void Rewind() override {}
    void* GetInterface(const char* name) override {
        if (std::strcmp(name, "Input")) return Interface::GetInterface(name);
        AddRef();
        return static_cast<Input*>(this);
    }

  private:
    std::string text_;
};

TEST_F(Wav, RefusesWhatItCannotReadAndKeepsTheBlock) {
    std::string good = Mono16({7, 8, 9});
    std::string fmt = Fmt(1, 1, 8000, 16);
    std::string data = Chunk("data", Samples16({1, 2}));
    const std::string cases[] = {
        Riff(Fmt(1, 2, 8000, 16) + data), // stereo
        Riff(Fmt(3, 1, 8000, 32) + data), // IEEE float
        Riff(Fmt(1, 1, 8000, 24) + data),
        Riff(Fmt(1, 1, 8000, 0) + data),
        Riff(Fmt(1, 1, 0, 16) + data),
        "RIFX" + good.substr(4),
        Riff(data + fmt), // samples before their format
        Riff(fmt),
        Riff(Chunk("junk", "abc")),
        good.substr(0, 30), // cut inside fmt
        good.substr(0, 11),
        "",
    };
    Get("")->Set("name", 4, new EveryTime, 0);
    EXPECT_EQ(Load(good, "name"), 0);
    for (const std::string& file : cases) {
        SCOPED_TRACE(testing::PrintToString(file));
        WriteFile("a.wav", good);
        EXPECT_EQ(Process("w"), 0);
        WriteFile("a.wav", file);
        sink_->Take();
        EXPECT_EQ(Process("w"), -1);
        EXPECT_EQ(sink_->Take(), "Processing a.wav\nWavFileIn: Unimplemented WAV format\n");
        SoundBuffer* sb = Buffer("w");
        EXPECT_EQ(sb->length, 3);
        EXPECT_EQ(sb->data[2], 9.0f);
    }
}

TEST_F(Wav, CapacityBoundsTheFile) {
    std::vector<int16_t> v(1000000, 5);
    Get("")->Set("name", 4, new EveryTime, 0);
    EXPECT_EQ(Load(Mono16(v), "name, 10"), 0);
    EXPECT_EQ(Buffer("w")->length, 1000000); // the silence is cut at the capacity
    v.push_back(6);
    WriteFile("a.wav", Mono16(v));
    sink_->Take();
    EXPECT_EQ(Process("w"), -1);
    EXPECT_EQ(sink_->Take(), "Processing a.wav\nWavTool: File too large!!! Skipped\n");
    EXPECT_EQ(Buffer("w")->length, 1000000);
}

TEST_F(Wav, NamesAreStemsAndMissingFilesAreReported) {
    WriteFile("rec.take1.wav", Mono16({1}));
    In("w = new WavFileIn(\"rec.take1\")");
    EXPECT_EQ(Process("w"), 0);
    std::string longName(3000, 'x'); // past any fixed name buffer
    Get("")->Set("long", 4, new EveryTime(longName), 0);
    In("v = new WavFileIn(long)");
    sink_->Take();
    EXPECT_EQ(Process("v"), -1);
    EXPECT_EQ(sink_->Take(), "WavFileIn: File Not Found (" + longName + ".wav)\n");
    In("u = new WavFileIn(\"rec.take1\")");
    EXPECT_EQ(Process("u"), 0);
    EXPECT_EQ(Process("u"), -1) << "a literal name is read once, not rewound";
}

TEST_F(Wav, FactoriesReportWrongArguments) {
    const std::pair<const char*, const char*> cases[] = {
        {"x = new WavFileIn(1)", "WavFileIn: First parameter must be 'Input' Interface\n"},
        {"x = new WavFileOut(1, \"a\")",
         "WavFileOut: First parameter must be 'SoundBuffer' Interface\n"},
        {"x = new WavFileOut(w, 1)", "WavFileOut: Second parameter must be 'Input' Interface\n"},
        {"x = new WavOutput(1, w)", "WavOutput: First parameter must be 'SoundBuffer' Interface\n"},
        {"x = new WavOutput(w, 1)", "WavOutput: Second parameter must be 'Output' Interface\n"},
    };
    In("w = new WavFileIn(\"a\")");
    for (const auto& [script, message] : cases) {
        SCOPED_TRACE(script);
        std::string written = In(script);
        EXPECT_EQ(written.substr(0, written.find('\n') + 1), message);
    }
}

TEST_F(Wav, WritesTheCanonicalImage) {
    WriteFile("a.wav", Mono16({1, -2, 3}, 11025));
    In("w = new WavFileIn(\"a\"); o = new WavFileOut(w, \"save/rec.take1\")");
    std::filesystem::create_directory("save");
    SoundBuffer* sb = Buffer("w");
    Process("w");
    sb->data[1] = 40000.0f; // wraps to its low 16 bits
    sb->data[2] = -1.9f;    // truncates toward zero
    Process("o");
    std::string file = ReadFile("save/rec.wav");
    ASSERT_EQ(file.size(), 44u + 6);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(At32(file, 4), 36u + 6);
    EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(At32(file, 16), 16u);
    EXPECT_EQ(At32(file, 20), 1u | 1u << 16);
    EXPECT_EQ(At32(file, 24), 11025u);
    EXPECT_EQ(At32(file, 28), 22050u);
    EXPECT_EQ(At32(file, 32), 2u | 16u << 16);
    EXPECT_EQ(file.substr(36, 4), "data");
    EXPECT_EQ(At32(file, 40), 6u);
    EXPECT_EQ(file.substr(44), Samples16({1, static_cast<int16_t>(40000 - 65536), -1}));
}

TEST_F(Wav, WriterReportsAFileItCannotCreate) {
    WriteFile("a.wav", Mono16({1}));
    In("w = new WavFileIn(\"a\"); o = new WavFileOut(w, \"no/such/dir/x\")");
    Process("w");
    sink_->Take();
    EXPECT_EQ(Process("o"), 0);
    EXPECT_EQ(sink_->Take(), "WavFileOut: File Open Error : no/such/dir/x.wav\n");
}

class TypedSink : public StringSink {
  public:
    void SetContentType(const char* mime) override { type = mime; }
    std::string type;
};

TEST_F(Wav, OutputGetsTheSameImageTyped) {
    WriteFile("a.wav", Mono16({4, 5, 6}));
    auto* web = new TypedSink;
    Get("")->Set("web", 3, web, 0);
    In("w = new WavFileIn(\"a\"); o = new WavOutput(w, web)");
    Process("w");
    Process("o");
    EXPECT_EQ(web->type, "audio/x-wav");
    EXPECT_EQ(web->Take(), Mono16({4, 5, 6}));
}

// Records the resets it gets, and whether any came after it ran.
class ResetProbe : public ModuleBase {
  public:
    void Discard(int n) override { resets.push_back(n); }
    std::vector<int> resets;
};

TEST_F(Wav, LoadResetsTheModulesOfItsFolder) {
    WriteFile("a.wav", Mono16({1}));
    auto* probe = new ResetProbe;
    Get("")->Set("p", 1, probe, 0);
    In("w = new WavFileIn(\"a\")");
    EXPECT_TRUE(probe->resets.empty());
    Process("w");
    EXPECT_EQ(probe->resets, std::vector<int>{-1});
}

TEST_F(Wav, ScriptCopiesAFileThroughAModuleFolder) {
    std::vector<int16_t> v(3000);
    for (int i = 0; i < 3000; ++i)
        v[i] = static_cast<int16_t>((i % 200 - 100) * 300);
    WriteFile("speech.wav", Mono16(v));
    EXPECT_EQ(In("m = new ModuleFolder();"
                 "m.w = new WavFileIn(\"speech\", 100);"
                 "m.o = new WavFileOut(m.w, \"copy.raw\");"
                 "m.build(); m.start()"),
              "Processing speech.wav\n");
    v.resize(3100);
    EXPECT_EQ(ReadFile("copy.wav"), Mono16(v));
}
} // namespace
