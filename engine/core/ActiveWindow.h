// An Output that types its text into whatever window has the keyboard focus, as
// if the user typed it. It is also a folder, so scripts can keep things in it.
// Typing goes through a replaceable typist: by default the X display of DISPLAY;
// without one the first write reports "ActiveWindow: No display to type into".
#pragma once
#include "Output.h"
#include "core/FolderBase.h"

// Types count bytes of Latin-2 text; returns nullptr, or why nothing was typed.
using Typist = const char* (*)(const char* text, int count);
// Replaces the typist (tests type into a buffer); returns the previous one.
Typist SetTypist(Typist typist);

class ActiveWindow : public FolderBase, public virtual Output {
  public:
    using Output::Write;
    using Output::WriteWide;
    void Write(const char* text, int count) override { Type(text, count); }
    // The text, then one line feed.
    void WriteLine(const char* text) override;

    // aw("text") types the text; the value is the window object. aw { ... } runs
    // the statements inside it, as for any folder.
    Interface* Call(Input* lexer, Interface* context) override;
    void* GetInterface(const char* name) override;

  private:
    void Type(const char* text, int count);

    bool warned_ = false;
};
