// Class objects: the factories' way into scripts; see ClassObject.h.
#include "core/ClassObject.h"

#include "core/Nesting.h"

Interface* ClassObject::Call(Input* lexer, Interface* context) {
    if (kind_ == kCalled) return factory_(lexer, context);
    return Interface::Call(lexer, context);
}

Interface* ClassObject::Interpret(Input* lexer, Interface* context) {
    Nesting nesting;
    if (nesting.TooDeep()) return nullptr;
    if (kind_ == kEvaluated) return factory_(lexer, context);
    return Interface::Interpret(lexer, context);
}
