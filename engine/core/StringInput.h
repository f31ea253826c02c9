// A text held as an object: Read gives the whole text once (kind 103), then the end.
#pragma once
#include <string>

#include "Input.h"

class StringInput : public virtual Input {
  public:
    explicit StringInput(std::string text) : text_(std::move(text)) {}
    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override;
    void Rewind() override { done_ = false; }
    Interface* Interpret(Input*, Interface*) override { return this; }
    void* GetInterface(const char* name) override;

    const std::string& Text() const { return text_; }

  private:
    std::string text_;
    bool done_ = false;
};
