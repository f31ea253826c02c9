// Bounds the nesting of interpreter steps, so that a hostile or runaway script
// (thousands of brackets, a keyword run inside itself) ends with a message
// instead of overflowing the stack. Every Interpret that can evaluate further
// script text opens one.
#pragma once

class Nesting {
  public:
    Nesting();
    ~Nesting();
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;
    // True (after reporting it) when the script is nested too deeply to go on.
    bool TooDeep() const { return tooDeep_; }

  private:
    bool tooDeep_;
};
