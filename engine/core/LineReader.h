// Turns the chunks of any Input into lines: each Read returns one line of at most
// 8191 characters. A line stops before a code of 12 or less (line feed, tab, NUL),
// so the carriage return of a CR LF pair stays in the line, where the Lexer takes
// it as a statement separator; one control character after the line is skipped.
// Longer lines come in pieces of 8191 characters.
#pragma once
#include "Input.h"

class LineReader : public virtual Input {
  public:
    enum : int { kMaxLine = 8191 };

    // Holds one reference to source.
    explicit LineReader(Input* source);
    ~LineReader() override;
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override;
    // Rewinds the source and forgets what is left of its current chunk.
    void Rewind() override;
    // The source has ended: no further line will come.
    bool AtEnd() const { return end_ && left_ == 0; }

  private:
    bool Fetch();

    Input* source_;
    const char* chunk_ = nullptr;
    int left_ = 0;
    bool end_ = false;
    char line_[kMaxLine + 1] = {0};
    int length_ = 0;
};
