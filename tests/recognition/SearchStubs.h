// Test doubles for the search classes: an evaluator whose scores are fixed per
// segment, one that scribbles over another evaluator's array whenever it is asked (as
// a shared cache dropping an entry would), and a cluster bound set by hand.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ClusterBound.h"
#include "Evaluator.h"
#include "core/ModuleBase.h"

class TableEvaluator : public ModuleBase, public virtual Evaluator {
  public:
    // The scores of every segment not in the table; count is their number.
    explicit TableEvaluator(std::vector<float> fallback)
        : fallback_(std::move(fallback)), buffer_(fallback_) {
        count = static_cast<int32_t>(fallback_.size());
        scores = buffer_.data();
    }
    void Set(int32_t begin, int32_t end, int k, float value) {
        auto& row = table_.try_emplace({begin, end}, fallback_).first->second;
        row[k] = value;
    }
    float* Evaluate(int32_t begin, int32_t end) override {
        asked.emplace_back(begin, end);
        auto hit = table_.find({begin, end});
        buffer_ = hit == table_.end() ? fallback_ : hit->second;
        for (float* victim : clobbers)
            for (int k = 0; k < count; ++k)
                victim[k] = 1e6f;
        return scores = buffer_.data();
    }
    void* GetInterface(const char* name) override {
        if (std::string(name) != "Evaluator") return ModuleBase::GetInterface(name);
        AddRef();
        return static_cast<Evaluator*>(this);
    }

    std::vector<std::pair<int32_t, int32_t>> asked;
    // Arrays of other evaluators overwritten at every Evaluate.
    std::vector<float*> clobbers;

  private:
    std::vector<float> fallback_;
    std::vector<float> buffer_;
    std::map<std::pair<int32_t, int32_t>, std::vector<float>> table_;
};

class StubBounds : public ModuleBase, public virtual ClusterBound {
  public:
    void SetBoundaries(std::vector<int32_t> frames, int isComplete, float ms,
                       std::vector<int32_t> labels = {}) {
        frames_ = std::move(frames);
        labels_ = std::move(labels);
        count = static_cast<int32_t>(frames_.size());
        complete = isComplete;
        frameMs = ms;
    }
    int32_t Boundary(int32_t i) override {
        return i >= 0 && i < count ? frames_[i] : (count ? frames_[count - 1] : 0);
    }
    int32_t Label(int32_t i) override {
        return i >= 0 && i < static_cast<int32_t>(labels_.size()) ? labels_[i] : 0;
    }
    void* GetInterface(const char* name) override {
        if (std::string(name) != "ClusterBound") return ModuleBase::GetInterface(name);
        AddRef();
        return static_cast<ClusterBound*>(this);
    }

  private:
    std::vector<int32_t> frames_;
    std::vector<int32_t> labels_;
};
