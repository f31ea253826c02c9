// Factory argument lists; see Arguments.h.
#include "core/Arguments.h"

#include "core/Lexer.h"

Arguments::Arguments(Input* lexer, Interface* context, int count) : context_(context) {
    int level = lexer->Depth();
    for (int i = 0; i < count; ++i) {
        Interface* value = context->Interpret(lexer, context);
        if (value && value != context) value->AddRef();
        values_.push_back(value);
        lexer->SkipItem(level);
    }
    lexer->SkipBlock(level);
}

// Longer lists are cut here: no class takes more, and a runaway list must end.
constexpr size_t kMaxArguments = 4096;

Arguments::Arguments(Input* lexer, Interface* context) : context_(context) {
    int level = lexer->Depth();
    for (;;) {
        Interface* value = context->Interpret(lexer, context);
        if (value && value != context) value->AddRef();
        values_.push_back(value);
        lexer->SkipItem(level);
        int length = 0, kind = 0;
        const char* current = lexer->Current(&length, &kind);
        if (!current || kind == kTokenClose || values_.size() >= kMaxArguments) break;
    }
    lexer->SkipBlock(level);
}

Arguments::~Arguments() {
    for (Interface* value : values_)
        if (value && value != context_) value->Release();
}

bool Arguments::GetNumber(int position, double* value) const {
    Obtained<Number> number = Get<Number>(position, "Number");
    if (!number) return false;
    *value = number->value;
    return true;
}

bool Arguments::GetText(int position, std::string* text) const {
    Obtained<Input> input = Get<Input>(position, "Input");
    if (!input) return false;
    input->Rewind();
    int length = 0, kind = 0;
    const char* chunk = input->Read(&length, &kind);
    bool ok = chunk && kind == kKindText;
    if (ok) text->assign(chunk, length < 0 ? 0 : length);
    return ok;
}
