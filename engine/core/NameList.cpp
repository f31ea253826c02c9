// Named member lists of folders; see NameList.h.
#include "core/NameList.h"

static int CutLength(const char* name, int length) {
    if (!name || length < 0) return 0;
    return length > kMaxName ? kMaxName : length;
}

NameList::~NameList() {
    Clear();
}

NameList::Node* NameList::Lookup(const char* name, int length) {
    if (length < 0 || (length > 0 && !name)) return nullptr;
    auto found = index_.find(std::string_view(name, length));
    return found == index_.end() ? nullptr : &*found->second;
}

const char* NameList::Put(const char* name, int length, Interface* value, int notOwned,
                          void (*released)(Interface*, void*), void* owner) {
    length = CutLength(name, length);
    auto found = index_.find(std::string_view(name, length));
    Node* node = found == index_.end() ? nullptr : &*found->second;
    if (!value) {
        if (!node) return nullptr;
        Interface* old = node->object;
        int oldNotOwned = node->notOwned;
        auto at = found->second;
        index_.erase(found);
        nodes_.erase(at);
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
    index_.emplace(nodes_.front().name, nodes_.begin());
    return nodes_.front().name.c_str();
}

void NameList::AddUnnamed(Interface* object) {
    object->AddRef();
    nodes_.push_front(Node{std::string(), object, 0});
}

void NameList::Clear(void (*released)(Interface*, void*), void* owner) {
    while (!nodes_.empty()) {
        auto named = index_.find(nodes_.front().name);
        if (named != index_.end() && named->second == nodes_.begin()) index_.erase(named);
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
