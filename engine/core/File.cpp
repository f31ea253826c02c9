// Files as script objects; see File.h. Running a file reads its whole text once
// and hands a private copy to the Expander: a script that reads or rewinds its own
// file while it runs (list mnt.data.x inside x) then cannot pull the text from
// under the statements still to come.
#include "core/File.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "core/Expander.h"
#include "core/Lexer.h"
#include "core/Obtained.h"
#include "core/Path.h"
#include "core/Report.h"

namespace {
void ReportOpenError(const std::string& path, int error) {
    report("File error during opening file %s: %s", path.c_str(),
           std::generic_category().message(error).c_str());
}

// Opens a regular file for reading, or reports why not: a device or a FIFO in place of
// a script would block or grow memory without end.
FILE* OpenRegular(const std::string& path) {
    FILE* file = talvik::OpenRegularFile(talvik::OsPath(path, true), File::kMaxSize);
    if (!file) ReportOpenError(path, errno);
    return file;
}

thread_local int t_runDepth = 0; // files being run as scripts on this thread

// An argument nobody keeps is disposed of as the interpreter disposes of statement
// values; the context (what an empty argument list yields) is not ours to dispose of.
void DropArgument(Interface* argument, Interface* context) {
    if (!argument || argument == context) return;
    argument->AddRef();
    argument->Release();
}
} // namespace

// The message shows only the start of such a path: whole, it would push the error
// text out of the message.
bool File::Refused(const std::string& path) {
    if (path.size() <= kMaxPath) return false;
    report("File error during opening file %.100s...: %s", path.c_str(),
           std::generic_category().message(ENAMETOOLONG).c_str());
    return true;
}

void File::Forget() {
    text_.clear();
    loaded_ = false;
}

const char* File::Read(int* length, int* kind) {
    if (Refused(path_)) {
        Forget();
        return nullptr;
    }
    FILE* file = OpenRegular(path_);
    if (!file) {
        Forget();
        return nullptr;
    }
    // A file cut shorter than what was delivered has been rewritten: start again.
    struct stat info;
    if (fstat(fileno(file), &info) == 0 && info.st_size < offset_) offset_ = 0;
    std::string fresh;
    if (fseeko(file, offset_, SEEK_SET) == 0) {
        char chunk[16384];
        size_t n;
        // A file still growing as it is read is taken up to the size limit.
        while (offset_ + static_cast<off_t>(fresh.size()) < kMaxSize &&
               (n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            fresh.append(chunk, n);
    }
    std::fclose(file);
    if (fresh.empty()) return nullptr;
    offset_ += static_cast<off_t>(fresh.size());
    text_.swap(fresh);
    loaded_ = true;
    return Current(length, kind);
}

const char* File::Current(int* length, int* kind) {
    if (length) *length = static_cast<int>(text_.size());
    if (kind) *kind = kKindText;
    return loaded_ ? text_.c_str() : nullptr;
}

void File::Rewind() {
    Forget();
    offset_ = 0;
}

// Appending resolves the path as reading does, so that an existing file whose name
// differs only in letter case is the one written to.
void File::Write(const char* text, int count) {
    if (Refused(path_)) return;
    FILE* file = std::fopen(talvik::OsPath(path_, true).c_str(), "ab");
    if (!file) {
        ReportOpenError(path_, errno);
        return;
    }
    size_t wanted = count > 0 ? static_cast<size_t>(count) : 0;
    bool written = std::fwrite(text, 1, wanted, file) == wanted;
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written)
        report("File error during writing file %s: %s", path_.c_str(),
               std::generic_category().message(error).c_str());
}

// file(text) appends text as a line; file() runs the file in the calling context.
// The file holds itself while it works, so that a script dropping the file's last
// owner (mnt.data.x = 0 inside x) cannot delete it mid-run. When the value is the
// file itself, that hold is given back without deleting: the caller disposes of the
// value, as of any other.
Interface* File::Call(Input* lexer, Interface* context) {
    if (!lexer) return nullptr;
    AddRef();
    Interface* result;
    try {
        result = CallHeld(lexer, context);
    } catch (...) {
        Release();
        throw;
    }
    if (result == this) {
        --refs_;
        return this;
    }
    Release();
    return result;
}

Interface* File::CallHeld(Input* lexer, Interface* context) {
    int level = lexer->Depth();
    Interface* argument = context->Interpret(lexer, context);
    lexer->SkipBlock(level);
    if (auto input = Obtain<Input>(argument, "Input")) {
        std::string text = InputText(input.get());
        WriteLine(text.c_str());
        return this;
    }
    DropArgument(argument, context);
    if (t_runDepth >= kMaxRunDepth) {
        report("Warning: script nested too deeply");
        return nullptr;
    }
    Rewind();
    int length = 0, kind = 0;
    const char* text = Read(&length, &kind);
    std::string script = text ? std::string(text, length) : std::string();
    Expander expander(script.data(), static_cast<int>(script.size()));
    Lexer inner(&expander);
    struct Depth {
        Depth() { ++t_runDepth; }
        ~Depth() { --t_runDepth; }
    } depth;
    return context->Call(&inner, context);
}

std::string InputText(Input* input) {
    input->Rewind();
    int length = 0, kind = 0;
    const char* text = input->Read(&length, &kind);
    return text && length > 0 ? std::string(text, length) : std::string();
}

std::string InputAllText(Input* input) {
    constexpr size_t kLimit = 64u << 20;
    input->Rewind();
    std::string text;
    int length = 0, kind = 0;
    while (const char* chunk = input->Read(&length, &kind)) {
        if (length <= 0) break;
        text.append(chunk, length);
        if (text.size() >= kLimit) break;
    }
    return text;
}

// The class File builds its object as soon as its name is evaluated, so it reads its
// own argument: one parenthesised path right after the name, as in
// f = new File("data/notes"). Without a "(" there is no path and no object; the
// token met instead is not given back.
Interface* NewFile(Input* lexer, Interface* context) {
    if (!lexer) return nullptr;
    int length = 0, kind = 0;
    const char* token = lexer->Read(&length, &kind);
    if (!token || kind != kTokenOpen || *token != '(') return nullptr;
    int level = lexer->Depth();
    Interface* argument = context->Interpret(lexer, context);
    lexer->SkipBlock(level);
    Obtained<Input> input = Obtain<Input>(argument, "Input");
    if (!input) {
        DropArgument(argument, context);
        return nullptr;
    }
    std::string path = InputText(input.get());
    if (File::Refused(path)) return nullptr;
    return new File(path);
}
