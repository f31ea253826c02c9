// The member lists of folders: a list of named object references, newest first.
// Names are cut to 32 characters; a lookup matches a stored name that is exactly
// the given characters. The list holds one reference to each object unless the
// entry is marked not-owned (static objects such as classes and keywords).
// A hash index beside the list finds a name in constant time, so that storing n
// members costs about n; the list keeps the order that listings and lookups show.
#pragma once
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "Folder.h"

class NameList {
  public:
    struct Node {
        std::string name;
        Interface* object;
        int notOwned;
    };

    NameList() = default;
    NameList(const NameList&) = delete;
    NameList& operator=(const NameList&) = delete;
    ~NameList();

    Node* Lookup(const char* name, int length);
    // Stores value under name (nullptr removes the entry); returns the stored name,
    // or nullptr when nothing is stored. released is called with each object whose
    // entry lets go of it, before the reference is given back.
    const char* Put(const char* name, int length, Interface* value, int notOwned,
                    void (*released)(Interface*, void*) = nullptr, void* owner = nullptr);
    // Keeps object (taking a reference) in an entry of no name, beside any others:
    // such entries are never found by Lookup.
    void AddUnnamed(Interface* object);
    // Gives back every reference, calling released first for each.
    void Clear(void (*released)(Interface*, void*) = nullptr, void* owner = nullptr);

    // The entries, newest first, for reading.
    std::list<Node>& Nodes() { return nodes_; }

  private:
    std::list<Node> nodes_;
    // Named entries by name; the keys show the names inside the list's nodes.
    std::unordered_map<std::string_view, std::list<Node>::iterator> index_;
};

// Iterates a NameList, newest first.
class NameListIterator : public NameIterator {
  public:
    explicit NameListIterator(std::list<NameList::Node>& nodes)
        : it_(nodes.begin()), end_(nodes.end()) {}
    Interface* Next(const char** name) override;

  private:
    std::list<NameList::Node>::iterator it_, end_;
};
