// The hypothesis pool and the chain texts; see Hypotheses.h.
#include "recognition/Hypotheses.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {
constexpr size_t kBlock = 90000;
constexpr size_t kMaxBlocks = 8;

class PooledHypothesis;

struct Pool {
    std::vector<std::unique_ptr<PooledHypothesis[]>> blocks;
    PooledHypothesis* free = nullptr;
    size_t inUse = 0;
    int32_t serial = 0;
};

// Never destroyed: hypotheses may still be released while the process ends.
Pool& ThePool() {
    static Pool* pool = new Pool;
    return *pool;
}

class PooledHypothesis : public virtual Hypothesis {
  public:
    void* GetInterface(const char* name) override {
        if (std::strcmp(name, "Hypothesis")) return Interface::GetInterface(name);
        AddRef();
        return static_cast<Hypothesis*>(this);
    }
    int Release() override {
        if (--refs_ > 0) return refs_;
        // Give back this record and every ancestor that only it held, without
        // recursing down a long chain.
        PooledHypothesis* h = this;
        while (h) {
            Hypothesis* up = h->parent;
            if (h->node) h->node->Release();
            h->GiveBack();
            h = nullptr;
            if (!up) break;
            auto* pooled = dynamic_cast<PooledHypothesis*>(up);
            if (!pooled) {
                up->Release();
                break;
            }
            if (--pooled->refs_ > 0) break;
            h = pooled;
        }
        return 0;
    }

    void Fill(Hypothesis* from, Language* to, int32_t at, int32_t serial) {
        refs_ = 1;
        parent = from;
        node = to;
        end = at;
        score = 0;
        id = serial;
        if (parent) parent->AddRef();
        if (node) node->AddRef();
    }

    PooledHypothesis* nextFree = nullptr;

  private:
    void GiveBack() {
        parent = nullptr;
        node = nullptr;
        Pool& pool = ThePool();
        nextFree = pool.free;
        pool.free = this;
        --pool.inUse;
    }
};

bool Grow(Pool& pool) {
    if (pool.blocks.size() >= kMaxBlocks) return false;
    pool.blocks.emplace_back(new PooledHypothesis[kBlock]);
    PooledHypothesis* block = pool.blocks.back().get();
    for (size_t i = kBlock; i-- > 0;) {
        block[i].nextFree = pool.free;
        pool.free = &block[i];
    }
    return true;
}
} // namespace

Hypothesis* TakeHypothesis(Hypothesis* parent, Language* node, int32_t end) {
    Pool& pool = ThePool();
    if (!pool.free && !Grow(pool)) return nullptr;
    PooledHypothesis* h = pool.free;
    pool.free = h->nextFree;
    h->nextFree = nullptr;
    ++pool.inUse;
    h->Fill(parent, node, end, ++pool.serial);
    return h;
}

size_t HypothesesInUse() {
    return ThePool().inUse;
}

namespace {
std::vector<Hypothesis*> ChainFromStart(Hypothesis* h) {
    std::vector<Hypothesis*> chain;
    for (; h; h = h->parent)
        chain.push_back(h);
    return {chain.rbegin(), chain.rend()};
}
} // namespace

std::wstring PathText(Hypothesis* h, size_t limit) {
    std::wstring text;
    for (Hypothesis* step : ChainFromStart(h)) {
        if (!step->parent || !step->node || !step->node->letters) continue;
        text += step->node->letters;
        if (text.size() >= limit) return text.substr(0, limit);
    }
    return text;
}

std::string BoundaryList(Hypothesis* h, ClusterBound* cb, size_t limit) {
    std::string list;
    for (Hypothesis* step : ChainFromStart(h)) {
        std::string item = " " + std::to_string(cb->Boundary(step->end));
        if (list.size() + item.size() > limit) break;
        list += item;
    }
    return list;
}
