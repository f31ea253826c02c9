// Argument lists of any length; see ArgumentList.h.
#include "signal/ArgumentList.h"

#include "Number.h"
#include "core/Lexer.h"

ArgumentList::ArgumentList(Input* lexer, Interface* context) {
    int level = lexer->Depth();
    for (;;) {
        Interface* value = context->Interpret(lexer, context);
        if (value == context) value = nullptr; // an empty position
        if (value) value->AddRef();
        values_.push_back(value);
        int length = 0, kind = 0;
        const char* current = lexer->Current(&length, &kind);
        if (!current || kind == kTokenClose) break;
        lexer->SkipItem(level);
    }
    lexer->SkipBlock(level);
}

ArgumentList::~ArgumentList() {
    for (Interface* value : values_)
        if (value) value->Release();
}

bool ArgumentList::GetNumber(int position, double* value) const {
    auto* number = Get<Number>(position, "Number");
    if (!number) return false;
    *value = number->value;
    number->Release();
    return true;
}
