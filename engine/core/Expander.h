// The first stage of script reading: splits its source into lines and rewrites
// each line before the Lexer sees it. A range such as anne[1..3] becomes
// anne1,anne2,anne3; a for-line such as "for i: 1..3 g[i] = l[i+10];" becomes one
// copy of its body per loop value. Source lines keep at most 1023 characters and
// an expanded line at most 32768; an expansion that would grow past that stops
// there with "Ups" on standard output.
#pragma once
#include <memory>

#include "Input.h"

class Expander : public virtual Input {
  public:
    enum : int { kMaxLine = 1023, kCapacity = 32768, kMaxBody = 1024 };

    explicit Expander(const char* text);
    Expander(const char* text, int length);
    // Reads its lines from upstream; the caller keeps upstream alive.
    explicit Expander(Input* upstream);

    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override;
    void Rewind() override;

  private:
    bool HaveChunk();
    void ExpandRange(const char* line, int length);
    bool ExpandFor(const char* line, int length);
    bool Append(const char* text, int count);
    bool AppendNumber(long long number);

    Input* upstream_ = nullptr;
    const char* chunk_ = nullptr;
    int chunkLength_ = 0;
    int position_ = 0;
    int kind_ = 0;
    std::unique_ptr<char[]> out_;
    int outLength_ = 0;
    bool full_ = false;
};
