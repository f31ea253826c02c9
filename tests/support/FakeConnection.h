// A scripted Input/Output pair standing in for a console or a socket: Read hands
// out the given chunks one per call, then the end; everything written is kept.
// Either side can be switched off to test the checks of terminal factories.
#pragma once
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Input.h"
#include "Output.h"

class FakeConnection : public virtual Input, public virtual Output {
  public:
    explicit FakeConnection(std::vector<std::string> chunks, bool input = true, bool output = true)
        : chunks_(std::move(chunks)), input_(input), output_(output) {}

    const char* Read(int* length, int* kind) override {
        if (next_ >= chunks_.size()) return nullptr;
        current_ = next_++;
        return Current(length, kind);
    }
    const char* Current(int* length, int* kind) override {
        if (chunks_.empty()) return nullptr;
        const std::string& chunk = chunks_[current_];
        if (length) *length = static_cast<int>(chunk.size());
        if (kind) *kind = kKindText;
        return chunk.data();
    }
    void Rewind() override { next_ = 0; }

    using Output::Write;
    void Write(const char* text, int count) override { written_.append(text, count); }

    void* GetInterface(const char* name) override {
        if (input_ && !std::strcmp(name, "Input")) {
            AddRef();
            return static_cast<Input*>(this);
        }
        if (output_ && !std::strcmp(name, "Output")) {
            AddRef();
            return static_cast<Output*>(this);
        }
        return Interface::GetInterface(name);
    }

    const std::string& Written() const { return written_; }

  private:
    std::vector<std::string> chunks_;
    size_t next_ = 0;
    size_t current_ = 0;
    bool input_, output_;
    std::string written_;
};
