// How the program talks to the engine it loaded: scripts run on the engine root (the
// library's export_root, kept in g_Driver.pRoot) with the root as their context, and
// engine objects are reached by their names in the engine's object tree. A name is
// evaluated as a script; the program asks the value for one interface by name and holds
// that interface (one reference) in an LxEngineRef until it is done with it.
//
// Engine exceptions (thrown as Exception pointers) pass through these calls; the caller
// decides where a failed script ends its work.
//
// Engine threads (the window thread "sys", network connections) run scripts on the same
// object tree, so every call below, and every use of what they return, lies inside an
// LxEngineHold: one per step of the program's work (a driver tick, the start-up script),
// not one per call.
#pragma once
#include "Interface.h"

class Lock;

// Holds the engine's lock, the root's "Lock" interface, while it lives. A root that
// answers no lock (a test's fake engine) is used unlocked.
class LxEngineHold {
  public:
    LxEngineHold();
    ~LxEngineHold();
    LxEngineHold(const LxEngineHold&) = delete;
    LxEngineHold& operator=(const LxEngineHold&) = delete;

  private:
    Lock* m_pLock;
};

// One reference to an engine interface, released when the holder goes (also when an
// engine exception unwinds past it).
template <class T> class LxEngineRef {
  public:
    LxEngineRef() = default;
    explicit LxEngineRef(T* object) : m_p(object) {}
    LxEngineRef(LxEngineRef&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    LxEngineRef& operator=(LxEngineRef&& other) noexcept {
        if (this != &other) {
            Reset();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }
    LxEngineRef(const LxEngineRef&) = delete;
    LxEngineRef& operator=(const LxEngineRef&) = delete;
    ~LxEngineRef() { Reset(); }

    void Reset() {
        if (m_p) m_p->Release();
        m_p = nullptr;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

  private:
    T* m_p = nullptr;
};

// Runs text on the root and disposes of its value; false when there is no root.
bool EngineRun(const char* text);
// The interface called iface of the value of the script name, one reference taken;
// null without a root, a value or that interface.
void* EngineInterface(const char* name, const char* iface);

template <class T> LxEngineRef<T> EngineGet(const char* name, const char* iface) {
    return LxEngineRef<T>(static_cast<T*>(EngineInterface(name, iface)));
}

// The value of a "Number" object, or fallback when the name gives none.
double EngineNumber(const char* name, double fallback);

// Start-up: a console terminal exported as "out", then the recogniser built by the data
// folder's script. An engine exception is reported on stderr; false then, or without a
// root.
bool EngineStartRecogniser();
