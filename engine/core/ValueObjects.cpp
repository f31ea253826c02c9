// Interfaces of the literal objects of scripts: numbers and strings.
#include <cstring>

#include "core/NumberObject.h"
#include "core/StringInput.h"

void* NumberObject::GetInterface(const char* name) {
    if (std::strcmp(name, "Number")) return Interface::GetInterface(name);
    AddRef();
    return static_cast<Number*>(this);
}

const char* StringInput::Read(int* length, int* kind) {
    if (done_) return nullptr;
    done_ = true;
    return Current(length, kind);
}

const char* StringInput::Current(int* length, int* kind) {
    if (length) *length = static_cast<int>(text_.size());
    if (kind) *kind = kKindText;
    return text_.c_str();
}

void* StringInput::GetInterface(const char* name) {
    if (std::strcmp(name, "Input")) return Interface::GetInterface(name);
    AddRef();
    return static_cast<Input*>(this);
}
