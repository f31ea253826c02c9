// The bounded score queue and its node pool; see ScoreQueue.h.
#include "recognition/ScoreQueue.h"

#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

namespace {
constexpr size_t kBlock = 20000;
constexpr size_t kMaxBlocks = 64;

struct FreeNode {
    FreeNode* next;
};

// One free list per node size (in practice there is one size).
struct SizePool {
    size_t size;
    std::vector<std::unique_ptr<unsigned char[]>> blocks;
    FreeNode* free = nullptr;
};

struct NodePool {
    std::vector<SizePool> sizes;
    size_t inUse = 0;
};

// Never destroyed: queues of engines that live to the end still give nodes back.
NodePool& ThePool() {
    static NodePool* pool = new NodePool;
    return *pool;
}

SizePool& For(size_t size) {
    NodePool& pool = ThePool();
    for (SizePool& s : pool.sizes)
        if (s.size == size) return s;
    pool.sizes.push_back(SizePool{size, {}, nullptr});
    return pool.sizes.back();
}

size_t Stride(size_t size) {
    size_t align = alignof(std::max_align_t);
    size_t need = size < sizeof(FreeNode) ? sizeof(FreeNode) : size;
    return (need + align - 1) / align * align;
}

bool Grow(SizePool& s) {
    if (s.blocks.size() >= kMaxBlocks) return false;
    size_t stride = Stride(s.size);
    s.blocks.emplace_back(new unsigned char[stride * kBlock]);
    unsigned char* base = s.blocks.back().get();
    for (size_t i = kBlock; i-- > 0;) {
        auto* node = reinterpret_cast<FreeNode*>(base + i * stride);
        node->next = s.free;
        s.free = node;
    }
    return true;
}
} // namespace

namespace queue_pool {
void* Take(size_t size) {
    SizePool& s = For(size);
    if (!s.free && !Grow(s)) throw std::bad_alloc();
    FreeNode* node = s.free;
    s.free = node->next;
    ++ThePool().inUse;
    return node;
}

void Give(void* p, size_t size) {
    SizePool& s = For(size);
    auto* node = static_cast<FreeNode*>(p);
    node->next = s.free;
    s.free = node;
    --ThePool().inUse;
}

bool Spent() {
    return ThePool().inUse >= kBlock * kMaxBlocks;
}

size_t InUse() {
    return ThePool().inUse;
}
} // namespace queue_pool

bool ScoreQueue::Insert(Hypothesis* h, double key) {
    if (queue_pool::Spent()) {
        h->Release();
        return false;
    }
    // Before the first equal key: the newest of equal keys is the leftmost.
    entries_.emplace_hint(entries_.lower_bound(key), key, h);
    return true;
}

Hypothesis* ScoreQueue::Remove(Entries::iterator at, double* key) {
    if (key) *key = at->first;
    Hypothesis* h = at->second;
    entries_.erase(at);
    return h;
}

bool ScoreQueue::PushHighest(Hypothesis* h, double key) {
    if (!h) return false;
    if (std::isnan(key)) {
        h->Release();
        return false;
    }
    if (Count() >= capacity_) {
        auto lowest = entries_.begin();
        if (lowest->first >= key) {
            h->Release();
            return false;
        }
        Remove(lowest, nullptr)->Release();
    }
    return Insert(h, key);
}

bool ScoreQueue::PushLowest(Hypothesis* h, double key) {
    if (!h) return false;
    if (std::isnan(key)) {
        h->Release();
        return false;
    }
    if (Count() >= capacity_) {
        auto highest = std::prev(entries_.end());
        if (!(highest->first > key)) {
            h->Release();
            return false;
        }
        Remove(highest, nullptr)->Release();
    }
    h->score = key;
    return Insert(h, key);
}

Hypothesis* ScoreQueue::PopHighest(double* key) {
    if (key) *key = 0;
    if (entries_.empty()) return nullptr;
    // The rightmost of the highest keys: the oldest of them.
    return Remove(std::prev(entries_.end()), key);
}

Hypothesis* ScoreQueue::PopLowest(double* key) {
    if (key) *key = 0;
    if (entries_.empty()) return nullptr;
    return Remove(entries_.begin(), key);
}

void ScoreQueue::Clear() {
    while (Hypothesis* h = PopLowest(nullptr))
        h->Release();
}
