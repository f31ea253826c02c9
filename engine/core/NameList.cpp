// Named member lists of folders; see NameList.h.
#include "core/NameList.h"

#include <cstring>

static int CutLength(const char* name, int length) {
    if (!name || length < 0) return 0;
    return length > kMaxName ? kMaxName : length;
}

NameList::~NameList() {
    Clear();
}

NameList::Node* NameList::Lookup(const char* name, int length) {
    if (length < 0) return nullptr;
    for (Node& node : nodes_) {
        if (node.name.size() == static_cast<size_t>(length) &&
            std::memcmp(node.name.data(), name, length) == 0)
            return &node;
    }
    return nullptr;
}

const char* NameList::Put(const char* name, int length, Interface* value, int notOwned,
                          void (*released)(Interface*, void*), void* owner) {
    length = CutLength(name, length);
    Node* node = Lookup(name, length);
    if (!value) {
        if (!node) return nullptr;
        Interface* old = node->object;
        int oldNotOwned = node->notOwned;
        nodes_.remove_if([node](const Node& n) { return &n == node; });
        if (released) released(old, owner);
        if (!oldNotOwned) old->Release();
        return nullptr;
    }
    value->AddRef();
    if (node) {
        Interface* old = node->object;
        int oldNotOwned = node->notOwned;
        node->object = value;
        node->notOwned = notOwned;
        if (old != value && released) released(old, owner);
        if (!oldNotOwned) old->Release();
        return node->name.c_str();
    }
    nodes_.push_front(Node{std::string(name, length), value, notOwned});
    return nodes_.front().name.c_str();
}

void NameList::Clear(void (*released)(Interface*, void*), void* owner) {
    while (!nodes_.empty()) {
        Node node = nodes_.front();
        nodes_.pop_front();
        if (released) released(node.object, owner);
        if (!node.notOwned) node.object->Release();
    }
}

Interface* NameListIterator::Next(const char** name) {
    if (it_ == end_) return nullptr;
    Interface* object = it_->object;
    if (name) *name = it_->name.c_str();
    ++it_;
    return object;
}
