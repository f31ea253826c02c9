// The small sound-buffer transforms: collecting blocks, pre-emphasis across blocks,
// samples read from text, and the shared cache of script-made sounds with its
// eviction order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Module.h"
#include "core/StringInput.h"
#include "signal/SignalTest.h"

namespace {
// A name source for the cache: yields the name last set, once.
class Request : public virtual Input {
  public:
    void Ask(const std::string& name) {
        name_ = name;
        pending_ = true;
    }
    const char* Read(int* length, int* kind) override {
        if (!pending_) return nullptr;
        pending_ = false;
        return Current(length, kind);
    }
    const char* Current(int* length, int* kind) override {
        *length = static_cast<int>(name_.size());
        *kind = kKindText;
        return name_.c_str();
    }
    void Rewind() override {}
    void* GetInterface(const char* name) override {
        if (std::string(name) != "Input") return Interface::GetInterface(name);
        AddRef();
        return static_cast<Input*>(this);
    }

  private:
    std::string name_;
    bool pending_ = false;
};

class BufferTransforms : public SignalTest {
  protected:
    int Process(const std::string& path) {
        auto* module = QueryInterface<Module>(Get(path), "Module");
        int result = module->Process();
        module->Release();
        return result;
    }
    // Fills the host buffer "sb" with a block.
    void Feed(const std::vector<float>& block, int sps = 8000, int complete = 0) {
        SoundBuffer* sb = Buffer("sb");
        std::copy(block.begin(), block.end(), sb->data);
        sb->length = static_cast<int32_t>(block.size());
        sb->sps = sps;
        sb->complete = complete;
    }
};

TEST_F(BufferTransforms, FactoriesRefuseWrongArguments) {
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"x = new ConcatSB(5)", "ConcatSB: First parameter must be 'SoundBuffer' Interface\n"},
        {"x = new PreEmpSB(\"a\")", "PreEmpSB: First parameter must be 'SoundBuffer' Interface\n"},
        {"x = new SoundBufferCache(5, \"s\")",
         "SoundBufferCache: First parameter must be 'Input' Interface\n"},
        {"x = new SoundBufferCache(\"n\", 5)",
         "SoundBufferCache: Second parameter must be 'Input' Interface\n"},
        {"x = new SpecTextIn(5, 8000)", "SpecTextIn: First parameter error\n"},
        {"x = new SpecTextIn(\"1 2\")", "SpecTextIn: Parameter error\n"},
        {"x = new SpecTextIn(\"1 2\", -1)", "SpecTextIn: Parameter error\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::string written = In(c.script); // a negative literal adds the parser's warnings
        EXPECT_NE(written.find(c.message), std::string::npos) << written;
        EXPECT_EQ(Get("x"), nullptr);
    }
}

TEST_F(BufferTransforms, ConcatCollectsUntilAnEmptyBlockAndGrows) {
    In("sb = new DummySoundBuffer(1500000); c = new ConcatSB(sb)");
    SoundBuffer* c = Buffer("c");
    EXPECT_EQ(c->capacity, 1000000);
    EXPECT_EQ(c->length, 0);
    Feed(std::vector<float>(512, 1.0f));
    EXPECT_EQ(Process("c"), -1);
    Feed(std::vector<float>(512, 2.0f));
    EXPECT_EQ(Process("c"), -1);
    Feed({});
    EXPECT_EQ(Process("c"), 0);
    ASSERT_EQ(c->length, 1024);
    EXPECT_EQ(c->data[511], 1.0f);
    EXPECT_EQ(c->data[512], 2.0f);
    EXPECT_EQ(c->sps, 8000);
    // A large block doubles the array and keeps what was collected.
    Feed(std::vector<float>(1500000, 3.0f));
    EXPECT_EQ(Process("c"), -1);
    EXPECT_EQ(c->capacity, 2000000);
    EXPECT_EQ(c->length, 1501024);
    EXPECT_EQ(c->data[1023], 2.0f);
    EXPECT_EQ(c->data[1501023], 3.0f);
}

TEST_F(BufferTransforms, PreEmphasisContinuesAcrossBlocks) {
    In("sb = new DummySoundBuffer(4); p = new PreEmpSB(sb)");
    SoundBuffer* p = Buffer("p");
    EXPECT_EQ(p->capacity, 4);
    const float second = 100.0f - 0.97f * 100.0f;
    Feed({100, 100, 100});
    EXPECT_EQ(Process("p"), 0);
    EXPECT_EQ(p->length, 3);
    EXPECT_EQ(p->data[0], 100.0f);
    EXPECT_EQ(p->data[1], second);
    EXPECT_EQ(p->data[2], second);
    EXPECT_EQ(p->sps, 8000);
    // The next block starts from the last sample of this one.
    Feed({100, 100}, 8000, 1);
    Process("p");
    EXPECT_EQ(p->data[0], second);
    EXPECT_EQ(p->complete, 1);
    // An empty block leaves the state; a block past the capacity is cut to it.
    Feed({});
    EXPECT_EQ(Process("p"), 0);
    EXPECT_EQ(p->length, 0);
    Buffer("sb")->length = 1000;
    Process("p");
    EXPECT_EQ(p->length, 4);
}

TEST_F(BufferTransforms, PreEmphasisCoefficientIsAnArgument) {
    In("sb = new DummySoundBuffer(2); p = new PreEmpSB(sb, 0.5)");
    Feed({10, 4});
    Process("p");
    EXPECT_EQ(Buffer("p")->data[1], 4.0f - 5.0f);
}

// The script hands out the host buffer "sb"; its first sample tells which run of the
// script a cached sound came from.
TEST_F(BufferTransforms, CacheRunsTheScriptOnMissesAndKeepsTenSounds) {
    auto* request = new Request;
    auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
    home->Set("request", 7, request, 0);
    home->Release();
    In("sb = new DummySoundBuffer(3); c = new SoundBufferCache(request, \"sb\")");
    SoundBuffer* c = Buffer("c");
    int runs = 0;
    auto ask = [&](const std::string& name) {
        request->Ask(name);
        Feed({static_cast<float>(++runs), 0, 0}, 11025);
        EXPECT_EQ(Process("c"), 0) << name;
        return c->data[0];
    };
    EXPECT_EQ(ask("a"), 1.0f);
    EXPECT_EQ(c->length, 3);
    EXPECT_EQ(c->sps, 11025);
    EXPECT_EQ(c->complete, 1);
    EXPECT_EQ(ask("a"), 1.0f);  // a hit: the script's new sound is not taken
    EXPECT_EQ(ask("ab"), 3.0f); // names match by their whole text
    for (int i = 0; i < 9; ++i)
        ask("n" + std::to_string(i)); // the eleventh distinct name evicts "a"
    EXPECT_EQ(ask("ab"), 3.0f);
    float fresh = ask("a");
    EXPECT_EQ(fresh, static_cast<float>(runs));
    // No name, or a script that yields no sound: nothing, and -1.
    EXPECT_EQ(Process("c"), -1);
    EXPECT_EQ(c->length, 0);
}

// Consumers bound what they read by the capacity: the cached sound must reach them.
TEST_F(BufferTransforms, CachedSoundReachesTheCacheConsumers) {
    auto* request = new Request;
    auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
    home->Set("request", 7, request, 0);
    home->Release();
    In("sb = new DummySoundBuffer(3); c = new SoundBufferCache(request, \"sb\");"
       "p = new PreEmpSB(c, 0.5)");
    request->Ask("a");
    Feed({2, 4, 6}, 11025);
    ASSERT_EQ(Process("c"), 0);
    Process("p");
    SoundBuffer* p = Buffer("p");
    ASSERT_EQ(p->length, 3);
    EXPECT_EQ(p->data[2], 6.0f - 2.0f);
}

// What the script reads from the cache object: the wanted name once, then nothing.
TEST_F(BufferTransforms, CacheOffersTheWantedNameOnce) {
    auto* request = new Request;
    auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
    home->Set("request", 7, request, 0);
    home->Release();
    In("c = new SoundBufferCache(request, \"5\")");
    request->Ask("ka");
    EXPECT_EQ(Process("c"), -1); // the script's value is no sound buffer
    EXPECT_EQ(Buffer("c")->length, 0);
    auto* input = QueryInterface<Input>(Get("c"), "Input");
    int length = 0, kind = 0;
    const char* text = input->Read(&length, &kind);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text, length), "ka");
    EXPECT_EQ(kind, kKindText);
    EXPECT_EQ(input->Read(&length, &kind), nullptr);
    EXPECT_EQ(length, 0);
    text = input->Current(&length, &kind);
    EXPECT_EQ(std::string(text, length), "ka");
    input->Release();
}

TEST_F(BufferTransforms, TextSamplesSplitAtSeparators) {
    In("t = new SpecTextIn(\"1, 2,3\\t4\\n junk -2.5\", 16000)");
    SoundBuffer* t = Buffer("t");
    EXPECT_EQ(t->length, 0);
    EXPECT_EQ(t->sps, 16000);
    EXPECT_EQ(Process("t"), 0);
    const std::vector<float> expected = {1, 2, 3, 4, 0, -2.5f};
    ASSERT_EQ(t->length, 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(t->data[i], expected[i]);
    // Rewound each time: the same text gives the same samples.
    Process("t");
    EXPECT_EQ(t->length, 6);
}

TEST_F(BufferTransforms, TextSamplesStopAtTheArray) {
    std::string many;
    for (int i = 0; i < 100005; ++i)
        many += "1 ";
    auto* text = new StringInput(many);
    auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
    home->Set("text", 4, text, 0);
    home->Release();
    In("t = new SpecTextIn(text, 8000)");
    EXPECT_EQ(Process("t"), 0);
    EXPECT_EQ(Buffer("t")->length, 100000);
    EXPECT_EQ(sink_->Take(), "SpecTextIn: More than 100000 samples, the rest dropped\n");
}
} // namespace
