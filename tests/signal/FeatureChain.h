// Helpers of the feature and cue tests: a hand-set map "m" in the test's folder, bands
// taken as features by script, and a chain run block by block in the order the
// modules were made, as a module folder would.
#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "Feature.h"
#include "Module.h"
#include "signal/SignalTest.h"

class FeatureChain : public SignalTest {
  protected:
    // A fresh folder with a map "m" of the given bands and room for maxFrames.
    TestMap* Source(int maxFrames, int bands, const std::string& timeBase = "") {
        Fresh();
        map_ = AddMap("m", maxFrames, bands);
        chain_.clear();
        if (!timeBase.empty()) In(timeBase);
        return map_;
    }
    // Makes a member by script ("f = new ...") and adds it to the chain.
    std::string Make(const std::string& name, const std::string& expression) {
        std::string written = In(name + " = new " + expression);
        chain_.push_back(name);
        return written;
    }
    // Sets one block of the map and runs the chain once.
    void Block(const std::vector<std::vector<float>>& rows, bool complete) {
        map_->SetBlock(rows, complete);
        for (const std::string& name : chain_) {
            auto* module = QueryInterface<Module>(Get(name), "Module");
            ASSERT_NE(module, nullptr) << name;
            module->Process();
            module->Release();
        }
    }
    // Feeds one-band values cut at the given block sizes (the rest as the last block,
    // which completes the stream unless told otherwise).
    void Feed(const std::vector<float>& x, const std::vector<int>& cuts, bool complete = true) {
        size_t at = 0;
        for (int cut : cuts) {
            Block({std::vector<float>(x.begin() + at, x.begin() + at + cut)}, false);
            at += cut;
        }
        Block({std::vector<float>(x.begin() + at, x.end())}, complete);
    }
    Feature* FeatureOf(const std::string& name) {
        auto* feature = QueryInterface<Feature>(Get(name), "Feature");
        if (feature) feature->Release();
        return feature;
    }
    std::vector<float> Values(const std::string& name) {
        Feature* f = FeatureOf(name);
        return f ? std::vector<float>(f->data, f->data + f->length) : std::vector<float>{};
    }
    void Discard(const std::string& name, int n) {
        auto* module = QueryInterface<Module>(Get(name), "Module");
        module->Discard(n);
        module->Release();
    }

    TestMap* map_ = nullptr;
    std::vector<std::string> chain_;
};

// A signal with distinct, uneven values.
inline std::vector<float> Wobble(int n, float scale = 1) {
    std::vector<float> x(n);
    for (int i = 0; i < n; ++i)
        x[i] = scale * static_cast<float>(3 + 2 * std::sin(0.37 * i) + 0.5 * std::cos(1.9 * i));
    return x;
}

// The first line a script wrote.
inline std::string FirstLine(const std::string& written) {
    return written.substr(0, written.find('\n') + 1);
}
