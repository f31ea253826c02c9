// A file on disk as a script object. Read delivers the text added since the last
// Read (the whole file the first time, or after Rewind), Write appends, and a call
// either appends its text argument as a line or runs the file as a script in the
// calling context. The file is opened and closed on every access, so nothing stays
// unwritten and other writers' text is seen at once.
#pragma once
#include <sys/types.h>

#include <string>

#include "Input.h"
#include "Output.h"
#include "core/TextChannel.h"

class File : public TextChannel {
  public:
    // The longest path the OS can open; longer ones are refused.
    enum : int { kMaxPath = 4095 };
    // Only regular files are read, and no more of one than this: a device or a pipe
    // in place of a script would otherwise block or grow memory without end.
    static constexpr off_t kMaxSize = 64 << 20;
    // Files run as scripts from inside files run as scripts, at most this deep.
    enum : int { kMaxRunDepth = 32 };

    explicit File(std::string path) : path_(std::move(path)) {}

    const char* Read(int* length, int* kind) override;
    const char* Current(int* length, int* kind) override;
    void Rewind() override;

    using Output::Write;
    using Output::WriteWide;
    void Write(const char* text, int count) override;

    Interface* Call(Input* lexer, Interface* context) override;
    Interface* Interpret(Input*, Interface*) override { return this; }

    const std::string& Path() const { return path_; }

    // True, after reporting it the way a failed open is reported, when the path is too
    // long to be opened.
    static bool Refused(const std::string& path);

  private:
    Interface* CallHeld(Input* lexer, Interface* context);
    void Forget();

    std::string path_;
    std::string text_; // what the last Read delivered
    bool loaded_ = false;
    off_t offset_ = 0; // bytes of the file delivered so far
};

// The text of an Input argument: rewound, then its first chunk ("" when it has none).
std::string InputText(Input* input);
// Every chunk of an Input from its start, joined (list files read by the recogniser);
// stops at 64 MB.
std::string InputAllText(Input* input);
