// The engine-wide lock; see EngineLock.h.
#include "core/EngineLock.h"

#include <mutex>

namespace {
std::recursive_mutex& Mutex() {
    static auto* mutex = new std::recursive_mutex;
    return *mutex;
}
thread_local int t_depth = 0;
} // namespace

EngineGuard::EngineGuard() {
    Mutex().lock();
    ++t_depth;
}

EngineGuard::~EngineGuard() {
    --t_depth;
    Mutex().unlock();
}

EngineUnlocked::EngineUnlocked() : depth_(t_depth) {
    for (int i = 0; i < depth_; ++i)
        Mutex().unlock();
    t_depth = 0;
}

EngineUnlocked::~EngineUnlocked() {
    for (int i = 0; i < depth_; ++i)
        Mutex().lock();
    t_depth = depth_;
}
