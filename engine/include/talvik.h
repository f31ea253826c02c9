// Everything a host needs to drive the engine through its exported root.
#pragma once
#include "Exceptions.h"
#include "Folder.h"
#include "Input.h"
#include "Interface.h"
#include "Module.h"
#include "Number.h"
#include "Output.h"

// The library's one export: the root folder.
extern "C" TALVIK_EXPORT Folder* export_root;
