// The console over standard input and output; see Console.h. Input is read one
// byte at a time, so no byte after the line end is taken from the descriptor
// (another reader of it, or a later console, gets the rest). The engine lock is
// let go while waiting for the line.
#include "core/Console.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/EngineLock.h"
#include "core/TextCodec.h"

namespace {
const char kBrightWhite[] = "\x1b[1;97m";
const char kNormal[] = "\x1b[0m";

// Whether the locale variables, in their order of precedence, name UTF-8.
bool EnvironmentSaysUtf8() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        std::string lower;
        for (const char* c = value; *c; ++c)
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
        return lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos;
    }
    return false;
}
} // namespace

Console::Console(int in, int out) : in_(in), out_(out) {
    bool inTerminal = isatty(in_), outTerminal = isatty(out_);
    bool utf8 = EnvironmentSaysUtf8();
    colour_ = inTerminal && outTerminal;
    utf8In_ = inTerminal && utf8;
    utf8Out_ = outTerminal && utf8;
}

// Reads into line_ up to and including a line feed, at most kMaxLine bytes before
// it; returns the count, or -1 at the end of input with nothing read.
int Console::ReadLine() {
    EngineUnlocked unlocked;
    int n = 0;
    while (n < kMaxLine) {
        char c;
        ssize_t got = read(in_, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return n ? n : -1;
        if (c == '\n') {
            line_[n] = '\n';
            return n + 1;
        }
        line_[n++] = c;
    }
    return n;
}

const char* Console::Read(int* length, int* kind) {
    if (colour_) WriteBytes(kBrightWhite, sizeof kBrightWhite - 1);
    int n = ReadLine();
    if (colour_) WriteBytes(kNormal, sizeof kNormal - 1);
    if (n < 0) return nullptr;
    bool ended = line_[n - 1] == '\n';
    if (ended) --n;
    if (ended && n > 0 && line_[n - 1] == '\r') --n;
    if (utf8In_) {
        std::string text = talvik::Utf8ToLatin2(std::string_view(line_, n));
        n = static_cast<int>(text.size());
        std::memcpy(line_, text.data(), n);
    }
    if (ended) {
        line_[n++] = '\r';
        line_[n++] = '\n';
    }
    line_[n] = 0;
    length_ = n;
    return Current(length, kind);
}

const char* Console::Current(int* length, int* kind) {
    if (length) *length = length_;
    if (kind) *kind = kKindText;
    return line_;
}

void Console::Write(const char* text, int count) {
    if (!text || count <= 0) return;
    if (!utf8Out_) {
        WriteBytes(text, count);
        return;
    }
    std::string utf8 = talvik::Latin2ToUtf8(std::string_view(text, count));
    WriteBytes(utf8.data(), static_cast<int>(utf8.size()));
}

// Writes everything, after what the process's stdio buffers still hold, so that
// console output and other writers of standard output come out in order.
void Console::WriteBytes(const char* bytes, int count) {
    std::fflush(stdout);
    while (count > 0) {
        ssize_t done = write(out_, bytes, count);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return;
        bytes += done;
        count -= static_cast<int>(done);
    }
}

Interface* NewConsole(Input*, Interface*) {
    return new Console;
}
