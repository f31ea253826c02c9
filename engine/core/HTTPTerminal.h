// Answers one HTTP request by running a script of the working folder. The request
// line "GET /path/name?a=1&b=x+y HTTP/1.1" runs root.mnt.name() in the calling
// context after storing the parameters there as texts (a = "1", b = "x y"). Only
// names made of letters, digits and underscores (not starting with a digit) are
// run, so a request cannot paste statements into the script or walk paths.
// The response starts with the status line at creation; then either text lines
// (after an empty line, without a length: the answer ends when the connection
// closes) or one block with its Content-Length.
#pragma once
#include <string>
#include <string_view>

#include "Input.h"
#include "Output.h"
#include "core/LineReader.h"
#include "core/TextChannel.h"

class HTTPTerminal : public TextChannel {
  public:
    enum : int { kMaxParameters = 1023 };

    // Holds references to source (through its line reader) and target; writes the status line.
    HTTPTerminal(Input* source, Output* target);
    ~HTTPTerminal() override;

    // The request target of the next line with "&" appended; empty for a line with
    // fewer than two blanks.
    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override { return reader_.Current(length, kind); }
    void Rewind() override { reader_.Rewind(); }

    using Output::WriteWide;
    // In the open headers: the length header, then data as the whole body. Later: dropped.
    void Write(const char* data, int count) override;
    void Write(const char* text) override { target_->Write(text); }
    // Ends the headers first when they are open; the line ends with CR LF.
    void WriteLine(const char* text) override;
    void WriteLineWide(const wchar_t* text) override;
    // A header line while the headers are open.
    void SetContentType(const char* mime) override;

    // Serves the request; the value is that of the script, or the terminal itself
    // when the request names no script.
    Interface* Call(Input* lexer, Interface* context) override;

  private:
    enum State { kHeaders, kTextBody, kBlockBody };

    Interface* Serve(Interface* context);

    LineReader reader_;
    Output* target_;
    char request_[LineReader::kMaxLine + 2] = {0};
    State state_ = kHeaders;
};

// "+" is a blank and "%XY" the byte of the hexadecimal digits X and Y (any other
// character counts as 0); a "%" without two characters after it stays as it is.
std::string UrlDecode(std::string_view text);
