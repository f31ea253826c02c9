// Hand-built search results for the tests of the classes that read them: language
// nodes that only carry letters, hypotheses that hold their parent and node as the
// engine's do, and a result object standing for a search engine, whose own parent,
// node and end describe its last result. A cluster bound with fixed boundaries that
// can also carry an annotation (an "ort" member and a text of its own).
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "ClusterBound.h"
#include "Hypothesis.h"
#include "Input.h"
#include "Language.h"
#include "core/ModuleBase.h"
#include "core/StringInput.h"

class FakeNode : public virtual Language {
  public:
    explicit FakeNode(std::wstring text) : text_(std::move(text)) { letters = text_.c_str(); }
    Language* Next() override { return nullptr; }
    Language* First() override { return nullptr; }

  private:
    std::wstring text_;
};

class FakeHypothesis : public ModuleBase, public virtual Hypothesis {
  public:
    FakeHypothesis() = default;
    FakeHypothesis(Hypothesis* from, Language* at, int32_t boundary) { Become(from, at, boundary); }
    ~FakeHypothesis() override { Become(nullptr, nullptr, 0); }

    // Takes the new parent and node, then lets the old ones go.
    void Become(Hypothesis* from, Language* at, int32_t boundary) {
        if (from) from->AddRef();
        if (at) at->AddRef();
        if (parent) parent->Release();
        if (node) node->Release();
        parent = from;
        node = at;
        end = boundary;
    }
    // The result of a chain: a start hypothesis, then one hypothesis per step (its
    // node's letters and the boundary index it ends at); no steps: no result.
    void Result(const std::vector<std::pair<std::wstring, int>>& steps) {
        if (steps.empty()) return Become(nullptr, nullptr, 0);
        Hypothesis* chain = new FakeHypothesis(nullptr, new FakeNode(L""), 0);
        for (size_t i = 0; i + 1 < steps.size(); ++i)
            chain = new FakeHypothesis(chain, new FakeNode(steps[i].first), steps[i].second);
        chain->AddRef(); // alive until adopted
        Become(chain, new FakeNode(steps.back().first), steps.back().second);
        chain->Release();
    }
    void* GetInterface(const char* name) override {
        if (std::string(name) != "Hypothesis") return ModuleBase::GetInterface(name);
        AddRef();
        return static_cast<Hypothesis*>(this);
    }
};

class FakeBounds : public ModuleBase, public virtual ClusterBound, public virtual Input {
  public:
    int32_t Boundary(int32_t i) override { return i >= 0 && i < count ? frames[i] : 0; }
    int32_t Label(int32_t) override { return 0; }
    void SetBounds(std::vector<int32_t> boundaries, float ms) {
        frames = std::move(boundaries);
        count = static_cast<int32_t>(frames.size());
        frameMs = ms;
    }
    // The annotation: the "ort" member and the text this object offers as an Input.
    void Annotate(const std::string& ort, const std::string& labels) {
        Set("ort", 3, new StringInput(ort), 0);
        text_ = labels;
    }

    const char* Read(int* length, int* kind) override {
        if (done_) return nullptr;
        done_ = true;
        return Current(length, kind);
    }
    const char* Current(int* length, int* kind) override {
        *length = static_cast<int>(text_.size());
        *kind = kKindText;
        return text_.c_str();
    }
    void Rewind() override { done_ = false; }

    void* GetInterface(const char* name) override {
        std::string asked(name);
        if (asked == "ClusterBound") {
            AddRef();
            return static_cast<ClusterBound*>(this);
        }
        if (asked == "Input" && !text_.empty()) {
            AddRef();
            return static_cast<Input*>(this);
        }
        return ModuleBase::GetInterface(name);
    }

    std::vector<int32_t> frames;

  private:
    std::string text_;
    bool done_ = false;
};
