// A bounded priority queue of hypotheses keyed by a double: the stacks and result
// lists of the search engines. It keeps either its highest keys (probabilities) or its
// lowest (costs): a push into a full queue evicts the worst entry when the new key is
// strictly better and is refused otherwise.
//
// Ties: a new key goes before every entry with an equal key, so among equal keys the
// highest popped first is the oldest and the lowest popped first is the newest.
//
// The tree nodes come from a pool shared by every queue (blocks of 20000, taken and
// given back in constant time), so a search allocates nothing once the pool has
// grown to its working size; past a fixed ceiling pushes are refused.
//
// Ownership: a push always takes over one reference of the caller's; a refused
// hypothesis is released at once, so a fresh one returns to its pool. A pop hands the
// queue's reference to the caller.
#pragma once
#include <functional>
#include <map>
#include <memory>

#include "Hypothesis.h"

namespace queue_pool {
// Raw storage for tree nodes of one size; see ScoreQueue.cpp.
void* Take(size_t size);
void Give(void* node, size_t size);
// True when every node that may be made is in use (a push must be refused).
bool Spent();
size_t InUse();
} // namespace queue_pool

template <class T> struct QueueNodeAllocator {
    using value_type = T;
    QueueNodeAllocator() = default;
    template <class U> QueueNodeAllocator(const QueueNodeAllocator<U>&) {}
    T* allocate(size_t n) {
        if (n != 1) return std::allocator<T>().allocate(n);
        return static_cast<T*>(queue_pool::Take(sizeof(T)));
    }
    void deallocate(T* p, size_t n) {
        if (n != 1) return std::allocator<T>().deallocate(p, n);
        queue_pool::Give(p, sizeof(T));
    }
    template <class U> bool operator==(const QueueNodeAllocator<U>&) const { return true; }
};

class ScoreQueue {
  public:
    explicit ScoreQueue(int capacity) : capacity_(capacity < 1 ? 1 : capacity) {}
    ~ScoreQueue() { Clear(); }
    ScoreQueue(const ScoreQueue&) = delete;
    ScoreQueue& operator=(const ScoreQueue&) = delete;

    // Keeps the highest keys. False when refused.
    bool PushHighest(Hypothesis* h, double key);
    // Keeps the lowest keys and writes the key into h->score. False when refused.
    bool PushLowest(Hypothesis* h, double key);
    // The entry with the highest (lowest) key with the queue's reference, and its key;
    // nullptr and 0 when empty.
    Hypothesis* PopHighest(double* key);
    Hypothesis* PopLowest(double* key);
    // Pops and releases every entry.
    void Clear();

    int Count() const { return static_cast<int>(entries_.size()); }
    int Capacity() const { return capacity_; }

  private:
    using Entries = std::multimap<double, Hypothesis*, std::less<double>,
                                  QueueNodeAllocator<std::pair<const double, Hypothesis*>>>;
    bool Insert(Hypothesis* h, double key);
    Hypothesis* Remove(Entries::iterator at, double* key);

    int capacity_;
    Entries entries_;
};
