// The typing output; see ActiveWindow.h.
#include "core/ActiveWindow.h"

#include <cstring>
#include <string>

#include "core/Arguments.h"
#include "core/NetworkSession.h"
#include "core/Report.h"
#include "core/X11Keyboard.h"

static Typist g_typist = TypeIntoFocusedWindow;

Typist SetTypist(Typist typist) {
    Typist previous = g_typist;
    g_typist = typist;
    return previous;
}

// Types the text; a typist that cannot type is reported once per window object.
void ActiveWindow::Type(const char* text, int count) {
    if (!text || count <= 0) return;
    if (InNetworkSession()) {
        report("ActiveWindow: Not available to network sessions");
        return;
    }
    const char* problem = g_typist(text, count);
    if (!problem || warned_) return;
    warned_ = true;
    report("ActiveWindow: %s", problem);
}

void ActiveWindow::WriteLine(const char* text) {
    Type(text, static_cast<int>(std::strlen(text)));
    Type("\n", 1);
}

Interface* ActiveWindow::Call(Input* lexer, Interface* context) {
    if (!lexer) return this;
    int length = 0, kind = 0;
    const char* bracket = lexer->Current(&length, &kind);
    if (bracket && *bracket == '{') return FolderBase::Call(lexer, context);
    Arguments args(lexer, context, 1);
    std::string text;
    if (args.GetText(0, &text)) Type(text.data(), static_cast<int>(text.size()));
    return this;
}

void* ActiveWindow::GetInterface(const char* name) {
    if (!std::strcmp(name, "Output")) {
        AddRef();
        return static_cast<Output*>(this);
    }
    return FolderBase::GetInterface(name);
}

// ActiveWindow(): an empty argument list.
Interface* NewActiveWindow(Input* lexer, Interface* context) {
    Arguments none(lexer, context, 0);
    if (InNetworkSession()) {
        report("ActiveWindow: Not available to network sessions");
        return nullptr;
    }
    return new ActiveWindow;
}
