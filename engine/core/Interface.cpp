// Default behaviour of the shared base and of Output. The interpreter and the
// block (the defaults of Interpret and Call) are in Interpreter.cpp.
#include "Interface.h"

#include <cstring>

#include "Output.h"
#include "core/EngineLock.h"
#include "core/Expander.h"
#include "core/Lexer.h"
#include "core/Root.h"
#include "core/TextCodec.h"

Interface* Interface::Run(const char* text, Interface* context) {
    if (!text) return nullptr;
    EngineGuard guard;
    Expander expander(text);
    Lexer lexer(&expander);
    return Call(&lexer, context ? context : this);
}

// Objects that are not folders resolve names as the class registry does: its
// classes, the exports of "classes" and the root, and the keywords.
Interface* Interface::Find(const char* name, int length) {
    return ClassFolder()->Find(name, length);
}

const char* Interface::Set(const char*, int, Interface*, int) {
    return nullptr;
}

void* Interface::GetInterface(const char* name) {
    if (std::strcmp(name, "Interface")) return nullptr;
    AddRef();
    return this;
}

const char* Interface::Help() {
    return "";
}

int Interface::AddRef() {
    return ++refs_;
}

int Interface::Release() {
    int count = --refs_;
    if (count < 1) delete this;
    return count;
}

Interface::~Interface() = default;

void Output::WriteWide(const wchar_t* text, int count) {
    enum { kCapacity = 8192 };
    char bytes[kCapacity];
    int n = 0;
    for (; n < count && n < kCapacity; ++n) {
        int byte = talvik::WideToLatin2(text[n]);
        bytes[n] = static_cast<char>(byte < 0 ? '?' : byte);
    }
    Write(bytes, n);
}

void Output::WriteWide(const wchar_t* text) {
    WriteWide(text, static_cast<int>(std::wcslen(text)));
}

void Output::Write(const char* text) {
    Write(text, static_cast<int>(std::strlen(text)));
}

void Output::WriteLineWide(const wchar_t* text) {
    WriteWide(text);
    WriteWide(L"\n");
}

void Output::WriteLine(const char* text) {
    Write(text);
    Write("\n");
}

void Output::SetContentType(const char*) {}
