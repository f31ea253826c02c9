// The engine's one lock, as the root answers it to GetInterface("Lock"). Every script
// the engine runs holds it; a host that works on engine objects itself (writes a sound
// buffer's samples, asks an evaluator for scores, releases what it took) holds it
// around that work, so that no engine thread runs a script in the middle of it. It is
// recursive: scripts the host runs while holding it take it again.
#pragma once
#include "Interface.h"

class Lock : public virtual Interface {
  public:
    virtual void Enter() = 0;
    virtual void Leave() = 0;
    // Whether the calling thread holds it.
    virtual int Held() = 0;
};
