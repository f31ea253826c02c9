// One engine-wide lock serialises script execution from several threads (host,
// window thread, network connections). It is recursive; a thread that blocks
// (console or socket read, waiting for another thread) lets go of it fully with
// EngineUnlocked and takes it back, at the same depth, afterwards. Hosts reach it
// through the root's "Lock" interface (EngineEnter and EngineLeave).
#pragma once

void EngineEnter();
void EngineLeave();
// Whether the calling thread holds the lock.
bool EngineHeld();

class EngineGuard {
  public:
    EngineGuard();
    ~EngineGuard();
    EngineGuard(const EngineGuard&) = delete;
    EngineGuard& operator=(const EngineGuard&) = delete;
};

class EngineUnlocked {
  public:
    EngineUnlocked();
    ~EngineUnlocked();
    EngineUnlocked(const EngineUnlocked&) = delete;
    EngineUnlocked& operator=(const EngineUnlocked&) = delete;

  private:
    int depth_;
};
