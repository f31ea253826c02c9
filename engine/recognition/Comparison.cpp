// Counting, the score line and the Input side of the comparisons; see Comparison.h.
#include "recognition/Comparison.h"

#include <cstdio>
#include <cstring>

Comparison::Comparison(Hypothesis* hypothesis, Interface* data, Input* expected)
    : hypothesis_(hypothesis), data_(data), expected_(expected) {
    hypothesis_->AddRef();
    data_->AddRef();
    expected_->AddRef();
}

Comparison::~Comparison() {
    hypothesis_->Release();
    data_->Release();
    expected_->Release();
}

int Comparison::Process() {
    ++comparisons_;
    if (Compare()) ++matches_;
    char line[kMaxScore + 1];
    std::snprintf(line, sizeof line, "Match: %d from %d (%lf%%)", matches_, comparisons_,
                  100.0 * matches_ / comparisons_);
    score_ = line;
    unread_ = true;
    return 0;
}

const char* Comparison::Read(int* length, int* kind) {
    if (!unread_) return nullptr;
    unread_ = false;
    return Current(length, kind);
}

const char* Comparison::Current(int* length, int* kind) {
    if (length) *length = static_cast<int>(score_.size());
    if (kind) *kind = kKindText;
    return score_.c_str();
}

void* Comparison::GetInterface(const char* name) {
    if (!std::strcmp(name, "Input")) {
        AddRef();
        return static_cast<Input*>(this);
    }
    return ModuleBase::GetInterface(name);
}

bool Comparison::ExpectedText(std::string* text) {
    Input* expected = ExpectedInput(data_);
    if (!expected) {
        expected = expected_;
        expected->AddRef();
    }
    expected->Rewind();
    int length = 0, kind = 0;
    const char* chunk = expected->Read(&length, &kind);
    bool given = chunk && length >= 0;
    if (given) text->assign(chunk, length);
    expected->Release();
    return given;
}

Input* ExpectedInput(Interface* holder) {
    return holder ? QueryInterface<Input>(holder->Find("ort", 3), "Input") : nullptr;
}
