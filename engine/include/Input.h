// A source of text chunks: files, consoles, sockets, string objects, line readers
// return chunks of kind 103; a Lexer returns script tokens with their kinds.
#pragma once
#include "Interface.h"

enum : int {
    kKindText = 103,
};

class Input : public virtual Interface {
  public:
    // The next chunk (not NUL-terminated in general; *length counts), or nullptr at the end.
    virtual const char* Read(int* length, int* kind) = 0;
    // The chunk of the last Read again.
    virtual const char* Current(int* length, int* kind) = 0;
    // The next Read starts again from the beginning.
    virtual void Rewind() = 0;
    // Bracket depth for a lexer; 0 for other sources.
    virtual int Depth() { return 0; }
    // Lexer navigation; no-ops for other sources.
    virtual void SkipBlock(int level) {}
    virtual void SkipItem(int level) {}
    virtual int Reserved6() { return 0; }
    virtual void Reserved7(int) {}
};
