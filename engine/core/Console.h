// The process's text console: standard input and output. Read returns one line as
// typed with its line end; a bare line feed becomes CR LF, since the Lexer needs
// the carriage return to end a statement. The end of input returns none, so a
// piped script ends the terminal loop that reads it. On a terminal the typed text
// is shown in bright white, and when the environment's character type is UTF-8,
// text is converted between the engine's Latin-2 and UTF-8; pipes carry raw bytes.
#pragma once
#include "Input.h"
#include "Output.h"
#include "core/TextChannel.h"

class Console : public TextChannel {
  public:
    enum : int { kMaxLine = 1024 };

    // Reads from the file descriptor in and writes to out (tests pass pipes).
    explicit Console(int in = 0, int out = 1);

    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override;
    void Rewind() override {}

    using Output::Write;
    using Output::WriteWide;
    void Write(const char* text, int count) override;

  private:
    int ReadLine();
    void WriteBytes(const char* bytes, int count);

    int in_, out_;
    bool colour_;                   // both ends are a terminal: show the typed text in bright white
    bool utf8In_;                   // the input is a UTF-8 terminal
    bool utf8Out_;                  // the output is a UTF-8 terminal
    char line_[kMaxLine + 3] = {0}; // the line, CR LF and the terminator
    int length_ = 0;
};
