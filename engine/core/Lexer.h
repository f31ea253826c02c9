// The second stage of script reading: cuts expanded lines into tokens. Four
// automata (comment, string, number, name, in that rank) run side by side over
// the characters; the longest run that keeps one of them alive is the token, of
// the kind of the highest-ranked survivor. Brackets keep a depth count that
// SkipBlock and SkipItem use to move over argument lists and statements.
// Tokens point into the Expander's line and are valid until the next line.
#pragma once
#include "Input.h"

class Expander;

enum : int {
    kTokenComment = -1,
    kTokenBackslash = 5,
    kTokenSeparator = 1,
    kTokenOpen = 9,
    kTokenClose = 10,
    kTokenOperator = 13,
    kTokenName = 100,
    kTokenPathStep = 101,
    kTokenNumber = 102,
    kTokenString = 103,
};

class Lexer : public virtual Input {
  public:
    explicit Lexer(Expander* expander);

    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override;
    void Rewind() override;
    int Depth() override;
    void SkipBlock(int level) override;
    void SkipItem(int level) override;

    // How many tokens Read has consumed so far.
    unsigned long Consumed() const { return consumed_; }

    // Character class of a byte in the table that drives names, numbers and skipping.
    static int ClassA(unsigned char c);

  private:
    bool NextLine();
    void SetToken(const char* start, int length, int kind);
    unsigned char At(int i) const { return static_cast<unsigned char>(line_[i]); }

    Expander* expander_;
    const char* line_ = "";
    int position_ = 0;
    const char* token_ = nullptr;
    int tokenLength_ = 0;
    int tokenKind_ = 0;
    int depth_ = 0;
    bool stopped_ = false;
    bool stopAtSeparator_ = false;
    unsigned long consumed_ = 0;
};
