// Placeholder factories until directories, files and the window thread exist.
#include "Input.h"
Interface* NewDirectory(Input*, Interface*) { return nullptr; }
Interface* NewWinSys(Input*, Interface*) { return nullptr; }
Interface* NewFile(Input*, Interface*) { return nullptr; }
