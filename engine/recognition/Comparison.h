// The common part of the result comparisons (CompareResult, CompareNumberResult): a
// module placed after a search engine that, each time it is processed, compares the
// engine's current result with the expected text of the utterance, counts the
// comparisons and the matches, and keeps the score line "Match: %d from %d (%lf%%)".
//
// The expected text is the "ort" member of the data object (an annotation file), looked
// up at each comparison, so a data file that replaces its member for the next
// utterance is followed; while it has none, the text given at creation is used.
//
// As an Input it offers the score line: Read gives it once after creation and once
// after every Process (so a file writer behind it gets every new score), Current at
// any time; Rewind does nothing.
#pragma once
#include <string>

#include "Hypothesis.h"
#include "Input.h"
#include "core/ModuleBase.h"

class Comparison : public ModuleBase, public virtual Input {
  public:
    // Holds a reference to each.
    Comparison(Hypothesis* hypothesis, Interface* data, Input* expected);
    ~Comparison() override;

    int Process() override;

    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override;
    void Rewind() override {}

    void* GetInterface(const char* name) override;

  protected:
    // One comparison of the current result; true on a match.
    virtual bool Compare() = 0;
    // The expected text, rewound and read; false when it gives nothing.
    bool ExpectedText(std::string* text);

    Hypothesis* hypothesis_;

  private:
    enum : size_t { kMaxScore = 1023 };

    Interface* data_;
    Input* expected_;
    int comparisons_ = 0;
    int matches_ = 0;
    std::string score_;
    bool unread_ = true;
};

// The "ort" member of an object as an Input with a reference, or nullptr.
Input* ExpectedInput(Interface* holder);
