// Class objects live as long as the library and are never freed, also when a fuzz target
// or a script takes one out of the class folder ("Console = 0" in a random script). The
// fuzz targets list every one of them here at start-up, in a list that is never
// destroyed (the leak check runs after static destructors), so that a class object a
// script dropped is not reported as lost.
#pragma once
#include <vector>

#include "core/FolderBase.h"
#include "core/Root.h"

inline void KeepClassObjectsReachable() {
    static auto* classes = new std::vector<Interface*>;
    for (NameList::Node& node : ClassFolder()->PlainMembers().Nodes())
        classes->push_back(node.object);
}
