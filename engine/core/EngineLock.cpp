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

void EngineEnter() {
    Mutex().lock();
    ++t_depth;
}

void EngineLeave() {
    --t_depth;
    Mutex().unlock();
}

bool EngineHeld() {
    return t_depth > 0;
}

EngineGuard::EngineGuard() {
    EngineEnter();
}

EngineGuard::~EngineGuard() {
    EngineLeave();
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
