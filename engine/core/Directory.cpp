// Directories as folders; see Directory.h. A lookup first asks the folder, then the
// disk: the directory's path and the name form the entry's path, whose directory
// part is kept as written (so data/log asked of the working folder is the file log
// in data), while the last component is taken as the disk spells it (letter case
// may differ) or, when it holds the wildcards * and ?, is the first matching entry
// in name order. Names the member list cannot hold whole (over 32 characters) are
// not kept: stored cut they would answer for a different, shorter name.
#include "core/Directory.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "core/File.h"
#include "core/Obtained.h"
#include "core/Path.h"
#include "core/Permanent.h"

namespace {
struct DiskEntry {
    std::string os;     // the name as the OS gives it
    std::string engine; // the same in the engine's text
};

// The entries of the folder at an engine path, in byte order of their OS names.
std::vector<DiskEntry> ListFolder(const std::string& folder) {
    std::vector<DiskEntry> entries;
    DIR* dir = opendir(talvik::OsPath(folder, true).c_str());
    if (!dir) return entries;
    while (dirent* entry = readdir(dir))
        entries.push_back({entry->d_name, ""});
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const DiskEntry& a, const DiskEntry& b) { return a.os < b.os; });
    for (DiskEntry& entry : entries)
        entry.engine = talvik::EnginePath(entry.os);
    return entries;
}

bool IsDot(const std::string& name) {
    return name == "." || name == "..";
}

bool IsDirectory(const std::string& osFolder, const std::string& osName) {
    std::string path = osFolder.back() == '/' ? osFolder + osName : osFolder + "/" + osName;
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Finds the entry that the last component of path names, below the folder part
// (which ends with its separator, or is empty). Gives the entry's name as the disk
// spells it and whether it is a directory; false when nothing matches.
bool Locate(const std::string& folder, const std::string& leaf, std::string* name,
            bool* directory) {
    if (leaf.find_first_of("*?") == std::string::npos) {
        std::string os = talvik::OsPath(folder + leaf, true);
        struct stat info;
        if (stat(os.c_str(), &info) != 0) return false;
        *directory = S_ISDIR(info.st_mode);
        *name =
            leaf.empty() || IsDot(leaf) ? leaf : talvik::EnginePath(os.substr(os.rfind('/') + 1));
        return true;
    }
    std::vector<DiskEntry> entries = ListFolder(folder);
    // An exact match of letter case first, then one that ignores case.
    for (int flags : {0, FNM_CASEFOLD}) {
        for (const DiskEntry& entry : entries) {
            if (IsDot(entry.engine) || fnmatch(leaf.c_str(), entry.engine.c_str(), flags)) continue;
            *name = entry.engine;
            *directory = IsDirectory(talvik::OsPath(folder, true), entry.os);
            return true;
        }
    }
    return false;
}

// The one object the disk listing pairs with every name: not a file object, and
// never counted, so list shows 00 before each entry.
Interface* Placeholder() {
    static Interface* placeholder = new Permanent<Interface>();
    return placeholder;
}

class DiskIterator : public NameIterator {
  public:
    explicit DiskIterator(std::vector<DiskEntry> entries) : entries_(std::move(entries)) {}
    Interface* Next(const char** name) override {
        if (next_ >= entries_.size()) return nullptr;
        if (name) *name = entries_[next_].engine.c_str();
        ++next_;
        return Placeholder();
    }

  private:
    std::vector<DiskEntry> entries_;
    size_t next_ = 0;
};
} // namespace

Interface* Directory::Find(const char* name, int length) {
    if (Interface* found = FindInFolder(name, length)) return found;
    if (!name || length < 0) return nullptr;
    std::string built = path_;
    if (!built.empty()) built += '/';
    built.append(name, length);
    size_t slash = built.find_last_of("/\\");
    size_t leafStart = slash == std::string::npos ? 0 : slash + 1;
    std::string folder = built.substr(0, leafStart);

    std::string entry;
    bool directory = false;
    if (built.size() > File::kMaxPath ||
        !Locate(folder, built.substr(leafStart), &entry, &directory))
        return new File(built);
    std::string real = folder + entry;
    Interface* object = directory ? static_cast<Interface*>(new Directory(real, this))
                                  : static_cast<Interface*>(new File(real));
    if (length <= kMaxName) Set(name, length, object, 0);
    return object;
}

NameIterator* Directory::Members(int which) {
    if (which) return FolderBase::Members(which);
    return new DiskIterator(ListFolder(path_));
}

const char* Directory::Name() {
    return path_.empty() ? FolderBase::Name() : path_.c_str();
}

// Directory(path): a folder over the directory at path, below the calling context
// when that is a folder. Without a text argument nothing is created.
Interface* NewDirectory(Input* lexer, Interface* context) {
    if (!lexer) return nullptr;
    int level = lexer->Depth();
    Interface* argument = context->Interpret(lexer, context);
    lexer->SkipItem(level);
    lexer->SkipBlock(level);
    Obtained<Input> input = Obtain<Input>(argument, "Input");
    if (!input) {
        if (argument && argument != context) {
            argument->AddRef();
            argument->Release();
        }
        return nullptr;
    }
    std::string path = InputText(input.get());
    if (File::Refused(path)) return nullptr;
    Obtained<Folder> parent = Obtain<Folder>(context, "Folder");
    return new Directory(path, parent.get());
}
