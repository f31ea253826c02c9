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
#include "core/Hold.h"
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

bool StartsWithEquals(Input* lexer) {
    int length = 0, kind = 0;
    const char* current = lexer->Current(&length, &kind);
    return current && *current == '=';
}
} // namespace

Nesting::Nesting() : tooDeep_(++t_nesting > kMaxNesting) {
    if (tooDeep_) report("Warning: script nested too deeply");
}

Nesting::~Nesting() { --t_nesting; }

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
        assigned = false;
        reported = false;
        bool stop = false;
        // Tokens die with their line, and a nested read may fetch the next one.
        char text[kMaxToken + 1];
        int cut = length > kMaxToken ? kMaxToken : length;
        std::memcpy(text, token, cut);
        text[cut] = 0;
        bool assignment = kind == kTokenOperator && *token == '=' && token[1] != '=';
        if (assignment && !anyToken) return context; // nothing on the left: store nothing
        Interface* previous = value;
        if (previous) previous->AddRef();
        switch (kind) {
        case kTokenOpen: {
            if (!value) return nullptr;
            Hold callee(value);
            if (*token == '{') {
                value->Call(lexer, value);
                receiver = value = context;
            } else {
                value = value->Call(lexer, context);
                receiver = value;
            }
            break;
        }
        case kTokenOperator:
            if (assignment) {
                assigned = true;
                Hold target(receiver);
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
            Hold target(receiver);
            {
                Hold member(value);
                value = value->Interpret(lexer, context);
            }
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
        // A value the statement has moved past is disposed of, so temporaries it
        // made on the way (a number, a text, a built object) do not leak. It was held
        // meanwhile, since the step may have released it (x = 5 replaces x).
        if (previous) {
            bool passed = previous != value && previous != receiver && previous != this &&
                          previous != context;
            if (passed || previous->RefCount() > 1)
                previous->Release();
            else
                previous->ForgetReference();
        }
        // Comments are ignored: they never become the name an assignment stores to.
        if (!assigned && kind != kTokenComment) std::memcpy(last, text, cut + 1);
        anyToken = true;
        if (stop) break;
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
