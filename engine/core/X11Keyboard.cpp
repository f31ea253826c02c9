// Typing through X11; see X11Keyboard.h. Each byte becomes a key symbol (Latin-1
// symbols are their code points, other letters the Unicode symbols 0x1000000 + code
// point, line feed Return, tab Tab). A symbol on the keyboard map is typed with its
// key, with Shift when it is the key's second symbol; any other symbol is put on a
// spare key code (one that had no symbols) and stays there for later texts. Spare
// keys are taken in turn and never cleared, so a client that reads the changed
// keyboard map late still finds the symbol of an event it has not handled yet.
// The connection stays open for the process; the engine lock serialises its use.
#include "core/X11Keyboard.h"

#include <cstdlib>
#include <vector>

#include "core/Dynamic.h"
#include "core/TextCodec.h"

namespace {
struct Display;
using KeySym = unsigned long;
using KeyCode = unsigned char;

constexpr KeySym kNoSymbol = 0;
constexpr KeySym kReturn = 0xff0d, kTab = 0xff09, kBackSpace = 0xff08, kEscape = 0xff1b;
constexpr KeySym kShiftLeft = 0xffe1;

struct X11 {
    Display* display = nullptr;
    int (*InitThreads)();
    Display* (*OpenDisplay)(const char*);
    KeyCode (*KeysymToKeycode)(Display*, KeySym);
    KeySym* (*GetKeyboardMapping)(Display*, KeyCode, int, int*);
    int (*DisplayKeycodes)(Display*, int*, int*);
    int (*ChangeKeyboardMapping)(Display*, int, int, KeySym*, int);
    int (*Free)(void*);
    int (*Sync)(Display*, int);
    int (*FakeKeyEvent)(Display*, unsigned, int, unsigned long);

    std::vector<KeyCode> spare; // key codes without symbols
    std::vector<KeySym> placed; // the symbol put on each spare key
    size_t next = 0;
};

// Loads both libraries and opens the display; the answer is kept once it works.
const char* Connect(X11* x) {
    if (x->display) return nullptr;
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!xlib) return "Cannot type without libX11.so.6";
    void* xtest = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!xtest) return "Cannot type without libXtst.so.6";
    bool bound = BindSymbol(xlib, "XInitThreads", &x->InitThreads) &&
                 BindSymbol(xlib, "XOpenDisplay", &x->OpenDisplay) &&
                 BindSymbol(xlib, "XKeysymToKeycode", &x->KeysymToKeycode) &&
                 BindSymbol(xlib, "XGetKeyboardMapping", &x->GetKeyboardMapping) &&
                 BindSymbol(xlib, "XDisplayKeycodes", &x->DisplayKeycodes) &&
                 BindSymbol(xlib, "XChangeKeyboardMapping", &x->ChangeKeyboardMapping) &&
                 BindSymbol(xlib, "XFree", &x->Free) && BindSymbol(xlib, "XSync", &x->Sync) &&
                 BindSymbol(xtest, "XTestFakeKeyEvent", &x->FakeKeyEvent);
    if (!bound) return "Cannot type: Xlib or XTest lacks a function";
    x->InitThreads();
    Display* display = x->OpenDisplay(nullptr);
    if (!display) return "No display to type into";

    int low = 0, high = 0, perKey = 0;
    x->DisplayKeycodes(display, &low, &high);
    if (KeySym* map =
            x->GetKeyboardMapping(display, static_cast<KeyCode>(low), high - low + 1, &perKey)) {
        for (int code = low; code <= high; ++code) {
            bool empty = true;
            for (int i = 0; i < perKey; ++i)
                empty = empty && map[(code - low) * perKey + i] == 0;
            if (empty) x->spare.push_back(static_cast<KeyCode>(code));
        }
        x->Free(map);
    }
    x->placed.assign(x->spare.size(), kNoSymbol);
    x->display = display;
    return nullptr;
}

KeySym SymbolOf(unsigned char byte) {
    switch (byte) {
    case '\n':
    case '\r':
        return kReturn;
    case '\t':
        return kTab;
    case '\b':
        return kBackSpace;
    case 27:
        return kEscape;
    }
    if (byte < 32 || byte == 127) return kNoSymbol;
    wchar_t code = talvik::Latin2ToWide(byte);
    return code < 0x100 ? static_cast<KeySym>(code) : 0x1000000 | static_cast<KeySym>(code);
}

// The key of a symbol on a spare key code, placing it there when needed; 0 when
// the keyboard has no spare key.
KeyCode SpareKey(X11* x, KeySym symbol) {
    for (size_t i = 0; i < x->spare.size(); ++i)
        if (x->placed[i] == symbol) return x->spare[i];
    if (x->spare.empty()) return 0;
    size_t slot = x->next++ % x->spare.size();
    KeySym pair[2] = {symbol, symbol};
    x->ChangeKeyboardMapping(x->display, x->spare[slot], 2, pair, 1);
    x->Sync(x->display, 0);
    x->placed[slot] = symbol;
    return x->spare[slot];
}

void TypeSymbol(X11* x, KeySym symbol) {
    Display* d = x->display;
    KeyCode key = x->KeysymToKeycode(d, symbol);
    bool shift = false;
    if (key) {
        int perKey = 0;
        KeySym* symbols = x->GetKeyboardMapping(d, key, 1, &perKey);
        bool first = symbols && perKey > 0 && symbols[0] == symbol;
        shift = !first && symbols && perKey > 1 && symbols[1] == symbol;
        if (symbols) x->Free(symbols);
        if (!first && !shift) key = 0; // only behind a modifier we do not press
    }
    if (!key) key = SpareKey(x, symbol);
    if (!key) return;
    KeyCode shiftKey = shift ? x->KeysymToKeycode(d, kShiftLeft) : 0;
    if (shiftKey) x->FakeKeyEvent(d, shiftKey, 1, 0);
    x->FakeKeyEvent(d, key, 1, 0);
    x->FakeKeyEvent(d, key, 0, 0);
    if (shiftKey) x->FakeKeyEvent(d, shiftKey, 0, 0);
}

} // namespace

const char* TypeIntoFocusedWindow(const char* text, int count) {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return "No display to type into";
    static X11* x = new X11;
    if (const char* problem = Connect(x)) return problem;
    for (int i = 0; i < count; ++i) {
        KeySym symbol = SymbolOf(static_cast<unsigned char>(text[i]));
        if (symbol != kNoSymbol) TypeSymbol(x, symbol);
    }
    x->Sync(x->display, 0);
    return nullptr;
}
