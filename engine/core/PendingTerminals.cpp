// Placeholder factories until the console and terminals exist.
#include "Input.h"
Interface* NewConsole(Input*, Interface*) { return nullptr; }
Interface* NewTerminal(Input*, Interface*) { return nullptr; }
Interface* NewHTTPTerminal(Input*, Interface*) { return nullptr; }
Interface* NewActiveWindow(Input*, Interface*) { return nullptr; }
