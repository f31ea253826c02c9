// The keywords of "bin": export, new, set, help (also man) and list (also ?).
// Each is a static object whose Interpret reads the rest of its statement.
#include <cstdio>
#include <cstring>
#include <string>

#include "Folder.h"
#include "Number.h"
#include "Output.h"
#include "core/ClassObject.h"
#include "core/FolderBase.h"
#include "core/Hold.h"
#include "core/Lexer.h"
#include "core/Nesting.h"
#include "core/Root.h"

namespace {
using Action = Interface* (*)(Interface* self, Input* lexer, Interface* context);

class Keyword : public Interface {
  public:
    explicit Keyword(Action action) : action_(action) {}
    Interface* Interpret(Input* lexer, Interface* context) override {
        Nesting nesting;
        return nesting.TooDeep() ? nullptr : action_(this, lexer, context);
    }
    int AddRef() override { return 0; }
    int Release() override { return 0; }

  private:
    Action action_;
};

void Dispose(Interface* value) {
    if (!value) return;
    value->AddRef();
    value->Release();
}

// The Output named "out" as seen from the context, which must be a folder.
Output* OutputOf(Interface* context) {
    auto* folder = QueryInterface<Folder>(context, "Folder");
    if (!folder) return nullptr;
    folder->Release();
    return QueryInterface<Output>(context->Find("out", 3), "Output");
}

// The common start of export and set: a path of names joined by points, ending
// in a plain name, then optionally "=" and an expression. Returns false when the
// statement does not have that form.
struct Target {
    Interface* holder;
    std::string name;
    bool hasValue;
};

bool ReadTarget(Input* lexer, Interface* context, Target* target) {
    Interface* p = context;
    int length = 0, kind = 0;
    const char* token = lexer->Read(&length, &kind);
    while (token && kind == kTokenPathStep && p) {
        p = p->Find(token, length);
        if (p) token = lexer->Read(&length, &kind);
    }
    if (!token || !p || kind != kTokenName) return false;
    target->holder = p;
    target->name.assign(token, length);
    const char* next = lexer->Read(&length, &kind);
    target->hasValue = next && kind == kTokenOperator && *next == '=';
    return true;
}

Interface* DoExport(Interface*, Input* lexer, Interface* context) {
    Target t;
    if (!ReadTarget(lexer, context, &t)) return nullptr;
    Hold holder(t.holder);
    auto* folder = QueryInterface<Folder>(t.holder, "Folder");
    if (!folder) return nullptr;
    folder->Release();
    int length = static_cast<int>(t.name.size());
    Interface* value = t.hasValue ? context->Interpret(lexer, context) : nullptr;
    if (!t.hasValue) {
        value = t.holder->Find(t.name.data(), length);
        if (!value) value = new FolderBase();
    }
    folder->Export(t.name.data(), length, value);
    folder->Set(t.name.data(), length, nullptr, 0);
    return value;
}

Interface* DoSet(Interface*, Input* lexer, Interface* context) {
    Target t;
    if (!ReadTarget(lexer, context, &t)) return nullptr;
    Interface* value;
    {
        Hold holder(t.holder);
        value = t.hasValue ? context->Interpret(lexer, context) : new FolderBase();
        t.holder->Set(t.name.data(), static_cast<int>(t.name.size()), value, 0);
    }
    // A holder that was only a temporary is owned by nobody now: it goes, and the value
    // it took is handed on as a temporary, as every statement value is.
    if (t.holder != value && t.holder != context && t.holder->RefCount() == 0) {
        if (value) value->AddRef();
        Dispose(t.holder);
        if (value) value->ForgetReference();
    }
    return value;
}

Interface* DoNew(Interface*, Input* lexer, Interface* context) {
    return ClassFolder()->Interpret(lexer, context);
}

Interface* DoHelp(Interface* self, Input* lexer, Interface* context) {
    Interface* object = ClassFolder()->Interpret(lexer, context);
    if (!object) return self;
    if (Output* out = OutputOf(context)) {
        out->WriteLine(object->Help());
        out->Release();
    }
    Dispose(object);
    return self;
}

void ListFolder(Folder* folder, Output* out) {
    NameIterator* members = folder->Members(0);
    const char* name = nullptr;
    while (Interface* member = members->Next(&name)) {
        member->AddRef();
        int count = member->Release();
        char line[64 + kMaxName];
        std::snprintf(line, sizeof line, "%02d %s", count, name);
        out->WriteLine(line);
    }
    delete members;
}

void ListInput(Input* input, Output* out) {
    input->Rewind();
    int length = 0, kind = 0;
    while (const char* chunk = input->Read(&length, &kind)) {
        std::string line(chunk, length < 0 ? 0 : length);
        out->WriteLine(line.c_str());
    }
}

Interface* DoList(Interface* self, Input* lexer, Interface* context) {
    Interface* object = context->Interpret(lexer, context);
    if (!object) return self;
    object->AddRef();
    if (Output* out = OutputOf(context)) {
        if (auto* folder = QueryInterface<Folder>(object, "Folder")) {
            ListFolder(folder, out);
            folder->Release();
        }
        if (auto* input = QueryInterface<Input>(object, "Input")) {
            ListInput(input, out);
            input->Release();
        }
        if (auto* number = QueryInterface<Number>(object, "Number")) {
            char line[64];
            std::snprintf(line, sizeof line, "%.30g", number->value);
            out->WriteLine(line);
            number->Release();
        }
        out->Release();
    }
    object->Release();
    return self;
}
} // namespace

void RegisterKeywords() {
    FolderBase* bin = KeywordFolder();
    auto add = [bin](Interface* keyword, const char* name) {
        bin->Set(name, static_cast<int>(std::strlen(name)), keyword, 1);
    };
    add(new Keyword(DoExport), "export");
    add(new Keyword(DoNew), "new");
    add(new Keyword(DoSet), "set");
    Interface* help = new Keyword(DoHelp);
    add(help, "help");
    add(help, "man");
    Interface* list = new Keyword(DoList);
    add(list, "list");
    add(list, "?");
}
