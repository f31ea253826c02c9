// DatTravers(corpus): walks a corpus of recordings, one entry per Step, so that a
// module folder whose first module it is runs the recognition chain once per entry
// (Step gives 1 for a new entry and -1 when the corpus is exhausted). As an Input it
// offers the current entry at every Read.
//
// Mode 1, the corpus is a text (a list file): one entry per line. Trailing blanks
// and carriage returns (lists written with CR LF) are dropped, blank lines skipped,
// and a three-letter extension ("a.wav") cut off. Process starts the list again.
//
// Mode 2, the corpus is a folder with a "Database" member: a script-like list of
// statements, separated by semicolons or line ends, "DIR <expression naming a
// sub-folder>" and "DAT <name>". A DIR whose folder has a "Database" of its own
// descends into it (that text is read from its second statement on); a DAT gives the
// entry 'root'.'mnt'.'data'.'name', the quoted path of the folder whose text holds
// it. The tree is walked once. Descents are limited to kMaxDepth levels, so folders
// naming each other cannot nest without end.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/Arguments.h"
#include "core/Expander.h"
#include "core/Hold.h"
#include "core/Lexer.h"
#include "core/LineReader.h"
#include "core/ModuleBase.h"
#include "core/Report.h"

namespace {
constexpr size_t kMaxEntry = 1023;
constexpr size_t kMaxDepth = 64;

void CutExtension(std::string* name) {
    if (name->size() > 4 && (*name)[name->size() - 4] == '.') name->resize(name->size() - 4);
}

// The "Database" text of a folder, or false when it has none.
bool DatabaseText(Folder* folder, std::string* text) {
    auto* input = QueryInterface<Input>(folder->Find("Database", 8), "Input");
    if (!input) return false;
    input->Rewind();
    int length = 0, kind = 0;
    const char* chunk = input->Read(&length, &kind);
    text->assign(chunk && length > 0 ? chunk : "", chunk && length > 0 ? length : 0);
    input->Release();
    return true;
}

// The text as the lexer is to read it: the lexer drops line feeds, and moving past
// a statement looks for its separator, so line feeds become semicolons.
std::string Statements(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ';');
    return text;
}

// One folder being read: its "Database" text and a lexer over it.
struct Level {
    Level(Folder* home, const std::string& database)
        : folder(home), text(Statements(database)),
          expander(text.c_str(), static_cast<int>(text.size())), lexer(&expander) {
        folder->AddRef();
    }
    ~Level() { folder->Release(); }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    Folder* folder;
    std::string text;
    Expander expander;
    Lexer lexer;
};

class DatTravers : public ModuleBase, public virtual Input {
  public:
    explicit DatTravers(Input* list) : reader_(new LineReader(list)) { reader_->AddRef(); }
    DatTravers(Folder* top, std::string database) {
        levels_.push_back(std::make_unique<Level>(top, std::move(database)));
    }
    ~DatTravers() override {
        if (reader_) reader_->Release();
    }

    int Process() override {
        if (reader_) reader_->Rewind();
        return Step();
    }
    int Step() override { return reader_ ? NextLine() : NextStatement(); }

    const char* Read(int* length, int* kind) override { return Current(length, kind); }
    const char* Current(int* length, int* kind) override {
        if (length) *length = static_cast<int>(entry_.size());
        if (kind) *kind = kKindText;
        return entry_.c_str();
    }
    void Rewind() override {
        if (reader_) reader_->Rewind();
    }

    void* GetInterface(const char* name) override {
        if (!std::strcmp(name, "Input")) {
            AddRef();
            return static_cast<Input*>(this);
        }
        return ModuleBase::GetInterface(name);
    }

  private:
    int NextLine() {
        for (;;) {
            int length = 0, kind = 0;
            const char* line = reader_->Read(&length, &kind);
            if (!line) return -1;
            std::string entry(line, std::max(length, 0));
            entry.erase(entry.find_last_not_of(" \t\r") + 1);
            if (entry.empty()) continue;
            CutExtension(&entry);
            entry_ = entry.substr(0, kMaxEntry);
            return 1;
        }
    }

    int NextStatement() {
        int length = 0, kind = 0;
        for (;;) {
            if (levels_.empty()) return -1;
            Lexer* lexer = &levels_.back()->lexer;
            const char* token = lexer->Read(&length, &kind);
            if (!token) {
                levels_.pop_back();
                if (!levels_.empty()) levels_.back()->lexer.SkipItem(0);
                continue;
            }
            std::string_view word(token, length);
            if (kind != kTokenString && word.starts_with("DIR")) {
                Descend();
                continue;
            }
            if (kind != kTokenString && word.starts_with("DAT")) {
                token = lexer->Read(&length, &kind);
                if (!token || kind == kTokenSeparator || kind == kTokenClose) continue;
                std::string name(token, length);
                CutExtension(&name);
                entry_ = QuotedPath(levels_.back()->folder) + ".'" + name + "'";
                entry_.resize(std::min(entry_.size(), kMaxEntry));
                return 1;
            }
            lexer->SkipItem(0);
        }
    }

    // Evaluates a DIR's expression in the level's folder and reads that folder next
    // when it has a "Database".
    void Descend() {
        Level* top = levels_.back().get();
        Interface* value = top->folder->Interpret(&top->lexer, top->folder);
        if (value && value != top->folder) value->AddRef();
        auto* folder = QueryInterface<Folder>(value, "Folder");
        if (value && value != top->folder) value->Release();
        if (!folder) return;
        std::string database;
        if (levels_.size() >= kMaxDepth) {
            report("DatTravers: 'Database' folders nested deeper than %zu levels", kMaxDepth);
            top->lexer.SkipItem(0);
        } else if (DatabaseText(folder, &database)) {
            levels_.push_back(std::make_unique<Level>(folder, std::move(database)));
            levels_.back()->lexer.SkipItem(0);
        } else {
            top->lexer.SkipItem(0);
        }
        folder->Release();
    }

    static std::string QuotedPath(Folder* folder) {
        std::vector<std::string> names;
        for (; folder; folder = folder->Parent())
            names.emplace_back(folder->Name());
        std::string path;
        for (auto name = names.rbegin(); name != names.rend(); ++name)
            path += (path.empty() ? "'" : ".'") + *name + "'";
        return path;
    }

    LineReader* reader_ = nullptr;
    std::vector<std::unique_ptr<Level>> levels_;
    std::string entry_;
};
} // namespace

Interface* NewDatTravers(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 1);
    Interface* corpus = args.At(0);
    if (!corpus || corpus == context) return nullptr;
    DatTravers* traversal = nullptr;
    std::string database;
    Obtained<Folder> folder = Obtain<Folder>(corpus, "Folder");
    if (folder && DatabaseText(folder.get(), &database))
        traversal = new DatTravers(folder.get(), std::move(database));
    else if (auto list = Obtain<Input>(corpus, "Input"))
        traversal = new DatTravers(list.get());
    if (!traversal) return nullptr;
    Hold self(traversal);
    traversal->Link(corpus);
    return traversal;
}
