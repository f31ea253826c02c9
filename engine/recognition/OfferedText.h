// A text that an object offers as an Input once per production: Read gives it once and
// then reports the end, Current gives it again, Rewind makes it readable once more, and
// the producer re-arms it whenever it makes a new text, so a consumer that reads once
// per pass gets every text exactly once.
#pragma once
#include <string>

#include "Input.h"

class OfferedText {
  public:
    // Replaces the text and makes one Read available.
    void Offer(std::string text) {
        text_ = std::move(text);
        armed_ = true;
    }
    const char* Read(int* length, int* kind) {
        if (!armed_) {
            if (length) *length = 0;
            if (kind) *kind = 0;
            return nullptr;
        }
        armed_ = false;
        return Current(length, kind);
    }
    const char* Current(int* length, int* kind) {
        if (length) *length = static_cast<int>(text_.size());
        if (kind) *kind = kKindText;
        return text_.c_str();
    }
    void Rewind() { armed_ = true; }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
    bool armed_ = false;
};
