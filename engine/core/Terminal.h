// A read-execute loop over any Input/Output pair (a console, a socket). Reading
// writes the prompt "> " and returns the next line of the source; calling the
// terminal runs every line read as statements in the calling context until the
// input ends or a line closes the outermost bracket (a line holding only ")").
// Writes go to the target; WriteLine ends lines with CR LF. The factory exports
// the new terminal as "log" in the calling folder, so engine messages reach it.
#pragma once
#include "Input.h"
#include "Output.h"
#include "core/LineReader.h"
#include "core/Obtained.h"
#include "core/TextChannel.h"

class Terminal : public TextChannel {
  public:
    // Holds a reference to source (through its line reader) and to target.
    Terminal(Input* source, Output* target);
    ~Terminal() override;

    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override { return reader_.Current(length, kind); }
    void Rewind() override { reader_.Rewind(); }

    using Output::Write;
    using Output::WriteWide;
    void WriteWide(const wchar_t* text, int count) override { target_->WriteWide(text, count); }
    void Write(const char* text, int count) override { target_->Write(text, count); }
    void WriteLine(const char* text) override;
    void SetContentType(const char* mime) override { target_->SetContentType(mime); }

    // The read-execute loop; its value is that of the last statement.
    Interface* Call(Input* lexer, Interface* context) override;

  private:
    LineReader reader_;
    Output* target_;
};

// Asks the one argument of a terminal factory for its Input and Output. When one
// is missing, reports "<className>: Parameter must implement '...' Interface" and
// returns false with nothing held; otherwise both are held in in and out.
bool TerminalEnds(Interface* argument, const char* className, Obtained<Input>* in,
                  Obtained<Output>* out);
