// A text sink. Only Write(text, count) must be provided; the other operations
// default to it (wide text is converted to the engine's ISO 8859-2 bytes).
#pragma once
#include "Interface.h"

class Output : public virtual Interface {
  public:
    virtual void WriteWide(const wchar_t* text, int count);
    virtual void Write(const char* text, int count) = 0;
    virtual void WriteWide(const wchar_t* text);
    virtual void Write(const char* text);
    virtual void WriteLineWide(const wchar_t* text);
    virtual void WriteLine(const char* text);
    virtual void SetContentType(const char* mime);
};
