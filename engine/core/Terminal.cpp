// The terminal and its read-execute loop; see Terminal.h. The loop builds an
// Expander and a Lexer over the terminal itself and runs the default block on the
// context, so the prompt is written whenever the Lexer needs another line.
#include "core/Terminal.h"

#include <cstring>

#include "Folder.h"
#include "core/Arguments.h"
#include "core/Expander.h"
#include "core/Lexer.h"
#include "core/Report.h"

Terminal::Terminal(Input* source, Output* target) : reader_(source), target_(target) {
    target_->AddRef();
}

Terminal::~Terminal() {
    target_->Release();
}

// No prompt once the source has ended: the Lexer asks again after the end.
const char* Terminal::Read(int* length, int* kind) {
    if (reader_.AtEnd()) return nullptr;
    target_->Write("> ", 2);
    return reader_.Read(length, kind);
}

void Terminal::WriteLine(const char* text) {
    target_->Write(text);
    target_->Write("\r\n", 2);
}

Interface* Terminal::Call(Input* lexer, Interface* context) {
    // Called from a script as term(): step over our own argument list first, so the
    // calling statement goes on after it.
    if (lexer) lexer->SkipBlock(lexer->Depth());
    if (!context) return nullptr;
    // A statement of the loop may drop the last stored reference (term = 0).
    AddRef();
    Interface* result;
    {
        Expander expander(static_cast<Input*>(this));
        Lexer statements(&expander);
        result = context->Interface::Call(&statements, context);
    }
    // Handing ourselves back leaves the count as it was before the loop, even at 0:
    // the caller disposes of the value like any fresh one.
    if (result == this) {
        --refs_;
        return result;
    }
    Release();
    return result;
}

bool TerminalEnds(Interface* argument, const char* className, Obtained<Input>* in,
                  Obtained<Output>* out) {
    *in = Obtain<Input>(argument, "Input");
    out->reset();
    if (!*in) {
        report("%s: Parameter must implement 'Input' Interface", className);
        return false;
    }
    *out = Obtain<Output>(argument, "Output");
    if (*out) return true;
    report("%s: Parameter must implement 'Output' Interface", className);
    in->reset();
    return false;
}

Interface* NewTerminal(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 1);
    Obtained<Input> in;
    Obtained<Output> out;
    Terminal* terminal = nullptr;
    if (TerminalEnds(args.At(0), "Terminal", &in, &out))
        terminal = new Terminal(in.get(), out.get());
    // A failed terminal removes the folder's "log": messages go to the next one up.
    if (auto folder = Obtain<Folder>(context, "Folder")) folder->Export("log", 3, terminal);
    return terminal;
}
