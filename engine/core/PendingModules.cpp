// Placeholder factories until modules exist.
#include "Input.h"
Interface* NewModuleFolder(Input*, Interface*) { return nullptr; }
Interface* NewWait(Input*, Interface*) { return nullptr; }
