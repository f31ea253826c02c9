// Everything a host needs to drive the engine through its exported root.
#pragma once
#include "ACue.h"
#include "ClusterBound.h"
#include "Evaluator.h"
#include "Exceptions.h"
#include "Feature.h"
#include "Folder.h"
#include "Input.h"
#include "Interface.h"
#include "Map.h"
#include "Module.h"
#include "Number.h"
#include "Output.h"
#include "SoundBuffer.h"

// The library's one export: the root folder.
extern "C" TALVIK_EXPORT Folder* export_root;
