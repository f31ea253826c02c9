// Engine paths to OS paths and back; see Path.h. The exact path is tried first; only
// when it is missing does OsPath list directories, walking the path from its start and
// matching each component against the entries by their case-folded Latin-2 names.
// Entries Latin-2 cannot spell fold with '?' in their place, the same as EnginePath
// shows them, so a listed name can be opened again.
#include "core/Path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/NetworkSession.h"
#include "core/TextCodec.h"

namespace talvik {

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// Lower-cases ASCII and Latin-2 letters. Capitals sit 0x20 below their small letters
// in 0xC0..0xDE (0xD7 is the multiplication sign), and 0x10 below them in 0xA1..0xAF.
std::string Folded(std::string_view latin2) {
    std::string out(latin2);
    for (char& c : out) {
        unsigned char b = c;
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
            c = static_cast<char>(b + 0x20);
        } else if (b == 0xA1 || b == 0xA3 || b == 0xA5 || b == 0xA6 || (b >= 0xA9 && b <= 0xAC) ||
                   b == 0xAE || b == 0xAF) {
            c = static_cast<char>(b + 0x10);
        }
    }
    return out;
}

// Backslashes become slashes and runs of separators one; the empty path is ".".
std::string Normalised(std::string_view path) {
    if (path.empty()) return ".";
    std::string out;
    for (char c : path) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out += c;
    }
    return out;
}

// The UTF-8 entry of folder (an OS path ending in '/', or "" for the working folder)
// that is the Latin-2 name, or "" when there is none.
std::string FindEntry(const std::string& folder, std::string_view name) {
    std::string exact = Latin2ToUtf8(name);
    if (Exists(folder + exact)) return exact;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return "";
    std::string key = Folded(name), found;
    while (dirent* entry = readdir(dir)) {
        std::string candidate = entry->d_name;
        if (Folded(Utf8ToLatin2(candidate)) != key) continue;
        if (found.empty() || candidate < found) found = candidate;
    }
    closedir(dir);
    return found;
}

} // namespace

std::string OsPath(std::string_view path, bool forReading) {
    // A network session's path out of the working folder names nothing: every open,
    // listing or stat of "" fails.
    if (InNetworkSession() && PathLeavesWorkingFolder(path)) return "";
    std::string engine = Normalised(path);
    std::string exact = Latin2ToUtf8(engine);
    if (!forReading || Exists(exact)) return exact;

    std::string out = engine[0] == '/' ? "/" : "";
    size_t start = out.size();
    while (start < engine.size()) {
        size_t end = engine.find('/', start);
        if (end == std::string::npos) end = engine.size();
        std::string entry = FindEntry(out, std::string_view(engine).substr(start, end - start));
        if (entry.empty()) return out + Latin2ToUtf8(std::string_view(engine).substr(start));
        out += entry;
        if (end < engine.size()) out += '/';
        start = end + 1;
    }
    return out;
}

std::string EnginePath(std::string_view osName) {
    std::string out = Utf8ToLatin2(osName);
    for (char& c : out) {
        if (c == '/') c = '\\';
    }
    return out;
}

FILE* OpenRegularFile(const std::string& osPath, long long maxBytes) {
    int fd = open(osPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info;
    int error = fstat(fd, &info) != 0     ? errno
                : S_ISDIR(info.st_mode)   ? EISDIR
                : !S_ISREG(info.st_mode)  ? EINVAL
                : info.st_size > maxBytes ? EFBIG
                                          : 0;
    FILE* file = error ? nullptr : fdopen(fd, "rb");
    if (!file) {
        if (!error) error = errno;
        close(fd);
        errno = error;
    }
    return file;
}

bool ReadRegularFile(const std::string& osPath, long long maxBytes, std::string* text) {
    FILE* file = OpenRegularFile(osPath, maxBytes);
    if (!file) return false;
    std::string read;
    char chunk[16384];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        read.append(chunk, n);
    std::fclose(file);
    text->swap(read);
    return true;
}

std::string FolderOf(std::string_view path) {
    size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? "" : path.substr(0, slash + 1));
}

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
    size_t slash = path.find_last_of("\\/");
    size_t dot = path.find('.', slash == std::string_view::npos ? 0 : slash + 1);
    std::string out(path.substr(0, dot));
    out += extension;
    return out;
}

} // namespace talvik
