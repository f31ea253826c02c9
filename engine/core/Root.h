// The root folder and its six static folders, built on first use (before any
// class registers, whatever the order of static initialisation) and never destroyed.
#pragma once
#include "core/FolderBase.h"

FolderBase* RootFolder();
FolderBase* ClassFolder();   // "classes": the class registry
FolderBase* KeywordFolder(); // "bin": export, new, set, help/man, list/?

// The folder whose "log" receives this thread's messages; the root when unset.
Interface* ThreadContext();
void SetThreadContext(Interface* context);
