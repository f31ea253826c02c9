// The reset that sound sources send when a new utterance starts: every module among
// the plain members of a folder drops its data with Discard(-1).
#pragma once
#include "Folder.h"

void ResetModules(Folder* folder);
