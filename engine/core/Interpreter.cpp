// The interpreter (the default Interpret of every object) and the block (the
// default Call). The interpreter walks the tokens of one statement with a receiver
// r, into which assignments store, and a value v, which names are looked up in:
// "a.b.c = 5" steps r and v to a.b and stores c there; "f(x)" calls f's Call; a
// "{" runs the braces as a block inside v. The block runs statements until its
// closing bracket or the end of the text and yields the last statement's value.
#include <cstdlib>
#include <cstring>
#include <string>

#include "Input.h"
#include "core/Lexer.h"
#include "core/Nesting.h"
#include "core/NumberObject.h"
#include "core/Report.h"
#include "core/StringInput.h"

namespace {
enum : int { kMaxToken = 31, kMaxNesting = 1000 };

thread_local int t_nesting = 0;

// A statement value that nobody stored is deleted by taking and giving back a reference.
void Dispose(Interface* value) {
    if (!value) return;
    value->AddRef();
    value->Release();
}

unsigned long ConsumedTokens(Input* lexer) {
    auto* l = dynamic_cast<Lexer*>(lexer);
    return l ? l->Consumed() : 0;
}

double ParseNumber(const char* text, int length) {
    std::string copy(text, length);
    return std::strtod(copy.c_str(), nullptr);
}

std::string DecodeEscapes(const char* text, int length) {
    std::string out;
    out.reserve(length);
    for (int i = 0; i < length; ++i) {
        char c = text[i];
        if (c != '\\' || i + 1 >= length) {
            out += c;
            continue;
        }
        c = text[++i];
        out += c == 'a' ? '\a' : c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    }
    return out;
}

// The objects one interpreter step holds: the value and the receiver it started
// from, and the member it works on. A step may release any of them (x = 5 replaces
// x, x.a = (x = 0) drops the very folder it stores into). When the step ends, what
// the statement still uses (its value, its receiver, the interpreting object and
// the context) is handed back without being destroyed, even at count 0, while a
// temporary the statement has moved past (a number, a text, a built object) dies.
class StepHolds {
  public:
    StepHolds(Interface** value, Interface** receiver, Interface* self, Interface* context)
        : value_(value), receiver_(receiver), self_(self), context_(context) {}
    StepHolds(const StepHolds&) = delete;
    StepHolds& operator=(const StepHolds&) = delete;

    // The interpreting object itself is held by whoever called it.
    void Keep(Interface* object) {
        if (!object || object == self_ || count_ == kMax) return;
        object->AddRef();
        held_[count_++] = object;
    }

    ~StepHolds() {
        Interface* inUse[] = {*value_, *receiver_, self_, context_};
        for (Interface* object : inUse)
            if (object) object->AddRef();
        for (int i = 0; i < count_; ++i) {
            bool used = false;
            for (Interface* object : inUse)
                used = used || object == held_[i];
            if (used)
                GiveBack(held_[i]);
            else
                held_[i]->Release();
        }
        for (Interface* object : inUse)
            if (object) GiveBack(object);
    }

  private:
    enum { kMax = 3 };

    static void GiveBack(Interface* object) {
        if (object->RefCount() > 1)
            object->Release();
        else
            object->ForgetReference();
    }

    Interface** value_;
    Interface** receiver_;
    Interface* self_;
    Interface* context_;
    Interface* held_[kMax] = {};
    int count_ = 0;
};

bool StartsWithEquals(Input* lexer) {
    int length = 0, kind = 0;
    const char* current = lexer->Current(&length, &kind);
    return current && *current == '=';
}
} // namespace

Nesting::Nesting() : tooDeep_(++t_nesting > kMaxNesting) {
    if (tooDeep_) report("Warning: script nested too deeply");
}

Nesting::~Nesting() {
    --t_nesting;
}

Interface* Interface::Interpret(Input* lexer, Interface* context) {
    if (!lexer) return nullptr;
    Nesting nesting;
    if (nesting.TooDeep()) return nullptr;
    Interface* receiver = this;
    Interface* value = this;
    char last[kMaxToken + 1] = "";
    bool anyToken = false;
    bool assigned = false;
    bool reported = false; // a nested step that yielded none has said why already

    while (receiver) {
        int length = 0, kind = 0;
        const char* token = lexer->Read(&length, &kind);
        if (!token || kind == kTokenSeparator || kind == kTokenClose) break;
        bool assignment = kind == kTokenOperator && *token == '=' && token[1] != '=';
        if (assignment && !anyToken) return context; // nothing on the left: store nothing
        if (kind == kTokenOpen && !value) return nullptr;
        assigned = false;
        reported = false;
        bool stop = false;
        // Tokens die with their line, and a nested read may fetch the next one.
        char text[kMaxToken + 1];
        int cut = length > kMaxToken ? kMaxToken : length;
        std::memcpy(text, token, cut);
        text[cut] = 0;
        StepHolds holds(&value, &receiver, this, context);
        holds.Keep(value);
        holds.Keep(receiver);
        switch (kind) {
        case kTokenOpen:
            if (*token == '{') {
                // The block's own value is not the statement's: a temporary one goes.
                Interface* result = value->Call(lexer, value);
                if (result != value && result != context && result != this) Dispose(result);
                receiver = value = context;
            } else {
                value = value->Call(lexer, context);
                receiver = value;
            }
            break;
        case kTokenOperator:
            if (assignment) {
                assigned = true;
                value = context->Interpret(lexer, context);
                receiver->Set(last, static_cast<int>(std::strlen(last)), value, 0);
                stop = true;
                break;
            }
            if (value) {
                Interface* found = value->Find(token, 1);
                value = found ? found->Interpret(lexer, context) : nullptr;
                reported = found != nullptr;
            }
            stop = true;
            break;
        case kTokenName: {
            if (!value) break;
            std::string name(token, length);
            value = value->Find(name.data(), length);
            if (!value) break;
            unsigned long before = ConsumedTokens(lexer);
            holds.Keep(value);
            value = value->Interpret(lexer, context);
            reported = !value;
            if (StartsWithEquals(lexer)) {
                assigned = true;
                value = context->Interpret(lexer, context);
                receiver->Set(name.data(), length, value, 0);
                stop = true;
            } else if (ConsumedTokens(lexer) != before) {
                receiver = value;
            }
            break;
        }
        case kTokenPathStep:
            if (value) {
                value = value->Find(token, length);
                receiver = value;
            } else {
                receiver = nullptr;
            }
            break;
        case kTokenNumber:
            value = new NumberObject(ParseNumber(token, length));
            break;
        case kTokenString:
            value = new StringInput(DecodeEscapes(token, length));
            stop = true;
            break;
        default:
            break;
        }
        // Comments are ignored: they never become the name an assignment stores to.
        if (!assigned && kind != kTokenComment) std::memcpy(last, text, cut + 1);
        anyToken = true;
        if (stop) break;
    }
    // A receiver that nobody owns any more (taken out of its folder while the statement
    // used it, as in "x.a = (x = 0)", or a temporary the statement moved past) goes now,
    // and the value it may hold is handed on as a temporary, as every statement value is.
    if (receiver && receiver != value && receiver != this && receiver != context &&
        receiver->RefCount() == 0) {
        if (value) value->AddRef();
        Dispose(receiver);
        if (value) value->ForgetReference();
    }
    if (value) return value;
    if (!assigned && !reported) report("Warning: '%s' not Found", last);
    return nullptr;
}

Interface* Interface::Call(Input* lexer, Interface* context) {
    if (!lexer) return nullptr;
    int level = lexer->Depth();
    Interface* result = Interpret(lexer, context);
    for (;;) {
        int length = 0, kind = 0;
        const char* current = lexer->Current(&length, &kind);
        if (!current || kind == kTokenClose) break;
        // The object running the block and its context outlive their statements.
        if (result != this && result != context) Dispose(result);
        lexer->SkipItem(level);
        result = Interpret(lexer, context);
    }
    lexer->SkipBlock(level);
    return result;
}
