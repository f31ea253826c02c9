// Helpers of the signal tests: a WAV file builder that can also write the broken and
// unusual layouts found in the wild, and a fixture that runs each test's scripts in a
// folder of its own. Signal chains hold themselves (a source keeps its consumers, a
// consumer its source), so each test's folder stays in the root rather than being
// replaced by the next test's.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Map.h"
#include "SoundBuffer.h"
#include "core/ModuleBase.h"
#include "support/EngineTest.h"

namespace wavfile {
inline void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>(v >> 8 * i & 0xFF);
}
inline void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
}
inline std::string Chunk(const char* id, const std::string& body) {
    std::string s(id, 4);
    Put32(s, static_cast<uint32_t>(body.size()));
    s += body;
    if (body.size() & 1) s += '\0';
    return s;
}
inline std::string Fmt(int tag, int channels, uint32_t sps, int bits, int extra = 0) {
    std::string f;
    Put16(f, tag);
    Put16(f, channels);
    Put32(f, sps);
    Put32(f, sps * channels * bits / 8);
    Put16(f, channels * bits / 8);
    Put16(f, bits);
    if (extra) Put16(f, 0), f.append(extra - 2, '\0');
    return Chunk("fmt ", f);
}
inline std::string Samples16(const std::vector<int16_t>& v) {
    std::string s;
    for (int16_t x : v)
        Put16(s, static_cast<uint16_t>(x));
    return s;
}
inline std::string Riff(const std::string& chunks) {
    std::string s = "RIFF";
    Put32(s, static_cast<uint32_t>(4 + chunks.size()));
    return s + "WAVE" + chunks;
}
// The canonical file: 44-byte header, then the samples.
inline std::string Mono16(const std::vector<int16_t>& v, uint32_t sps = 22050) {
    return Riff(Fmt(1, 1, sps, 16) + Chunk("data", Samples16(v)));
}
} // namespace wavfile

// A source map whose blocks a test sets by hand: Set sizes it (capacity stays that of
// the first block, as a producer's would) and fills it band-major.
class TestMap : public ModuleBase, public virtual Map {
  public:
    TestMap(int maxFrames, int bandCount) : values_(static_cast<size_t>(maxFrames) * bandCount) {
        frames = maxFrames;
        bands = bandCount;
        capacity = maxFrames * bandCount;
        data = values_.data();
    }
    // Sets the current block from rows of values, one row per band.
    void SetBlock(const std::vector<std::vector<float>>& rows, int isComplete = 0) {
        bands = static_cast<int32_t>(rows.size());
        frames = rows.empty() ? 0 : static_cast<int32_t>(rows[0].size());
        values_.assign(static_cast<size_t>(bands) * frames, 0.0f);
        for (int b = 0; b < bands; ++b)
            for (int f = 0; f < frames; ++f)
                values_[b * frames + f] = rows[b][f];
        data = values_.data();
        complete = isComplete;
    }
    void* GetInterface(const char* name) override {
        if (std::string(name) == "Map") {
            AddRef();
            return static_cast<Map*>(this);
        }
        return ModuleBase::GetInterface(name);
    }

  private:
    std::vector<float> values_;
};

class SignalTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        Fresh();
    }
    // Moves on to a new folder, keeping the old one and its chains in the root.
    void Fresh() {
        static int serial = 0;
        folder = "sig" + std::to_string(++serial);
        Run(folder + " = new Folder");
    }
    // Runs a script inside this test's folder; returns what it wrote.
    std::string In(const std::string& script) { return Run(folder + " { " + script + " }"); }
    Interface* Get(const std::string& path) { return Evaluate(folder + "." + path); }
    // The sound buffer of a member (no reference kept).
    SoundBuffer* Buffer(const std::string& path) {
        auto* sb = QueryInterface<SoundBuffer>(Get(path), "SoundBuffer");
        if (sb) sb->Release();
        return sb;
    }

    // Stores a hand-set map as a member of this test's folder; the folder owns it.
    TestMap* AddMap(const std::string& name, int maxFrames, int bandCount) {
        auto* map = new TestMap(maxFrames, bandCount);
        auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
        home->Set(name.c_str(), static_cast<int>(name.size()), map, 0);
        home->Release();
        return map;
    }

    std::string folder;
};
