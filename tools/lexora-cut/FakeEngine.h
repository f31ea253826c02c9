// A fake engine for the driver's tests and benchmark and for the cut tool: a root whose Run logs
// every script and answers a name with the object stored under it, and small objects with the
// engine interfaces the driver uses. The objects are owned by the root (one reference each), so a
// test can check that the driver gives back every reference it takes. The root answers a counting
// lock, and every call on the fake engine notes whether that lock was held.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Evaluator.h"
#include "Hypothesis.h"
#include "Language.h"
#include "Lock.h"
#include "Number.h"
#include "SoundBuffer.h"

// The engine's lock as the fake root answers it: how often it was entered, how deep it
// is held now, and how many calls on the fake engine came while it was not held.
class FakeLock : public Lock {
  public:
    FakeLock() { AddRef(); } // a static object: its users never destroy it
    void* GetInterface(const char* name) override;
    void Enter() override {
        m_nDepth++;
        m_nEnters++;
    }
    void Leave() override { m_nDepth--; }
    int Held() override { return m_nDepth > 0; }
    // Notes one call on the fake engine.
    void Call() {
        if (m_nDepth <= 0) m_nUnheld++;
    }
    int m_nDepth = 0, m_nEnters = 0, m_nUnheld = 0;
};
extern FakeLock g_FakeLock;

// Answers GetInterface for one interface name besides "Interface".
template <class Base> class FakeObject : public Base {
  public:
    explicit FakeObject(const char* iface) : m_iface(iface) {}
    void* GetInterface(const char* name) override {
        g_FakeLock.Call();
        if (m_iface != name && std::string(name) != "Interface") return nullptr;
        this->AddRef();
        return static_cast<Base*>(this);
    }
    int Release() override {
        g_FakeLock.Call();
        return Base::Release();
    }

  private:
    std::string m_iface;
};

class FakeSoundBuffer : public FakeObject<SoundBuffer> {
  public:
    explicit FakeSoundBuffer(int samples) : FakeObject("SoundBuffer"), m_samples(samples) {
        data = m_samples.data();
        capacity = samples;
    }
    std::vector<float> m_samples;
};

// Evaluate(0, 1) answers the weights, any other segment the scores; both 1-based.
class FakeEvaluator : public FakeObject<Evaluator> {
  public:
    explicit FakeEvaluator(std::vector<float> outputs, std::vector<float> weights = {})
        : FakeObject("Evaluator"), m_scores(std::move(outputs)), m_weights(std::move(weights)) {
        m_scores.insert(m_scores.begin(), 0.0f);
        m_weights.insert(m_weights.begin(), 0.0f);
        m_weights.resize(m_scores.size());
        count = static_cast<int32_t>(m_scores.size());
    }
    float* Evaluate(int32_t begin, int32_t end) override {
        g_FakeLock.Call();
        m_nCalls++;
        m_answer = begin == 0 && end == 1 ? m_weights : m_scores;
        return m_answer.data();
    }
    std::vector<float> m_scores, m_weights, m_answer;
    int m_nCalls = 0;
};

class FakeNumber : public FakeObject<Number> {
  public:
    explicit FakeNumber(double v) : FakeObject("Number") { value = v; }
};

class FakeLanguage : public FakeObject<Language> {
  public:
    explicit FakeLanguage(const wchar_t* text) : FakeObject("Language"), m_text(text) {
        letters = m_text.c_str();
    }
    Language* Next() override { return nullptr; }
    Language* First() override { return nullptr; }
    std::wstring m_text;
};

class FakeHypothesis : public FakeObject<Hypothesis> {
  public:
    explicit FakeHypothesis(const wchar_t* letters) : FakeObject("Hypothesis"), m_node(letters) {
        node = &m_node;
    }
    FakeLanguage m_node;
};

class FakeRoot : public Interface {
  public:
    FakeRoot() { AddRef(); }
    ~FakeRoot() override;
    Interface* Run(const char* text, Interface* context) override;
    void* GetInterface(const char* name) override; // "Lock": g_FakeLock

    // Stores object under name; the root keeps one reference. Replaces an earlier one.
    template <class T> T* Add(const std::string& name, T* object) {
        Remove(name);
        object->AddRef();
        m_objects[name] = object;
        return object;
    }
    void Remove(const std::string& name);
    // Every stored object holds only the root's reference again.
    bool AllReleased() const;

    std::vector<std::string> m_scripts;
    // Called for every script before it is answered (to throw, or to change objects).
    std::function<void(const std::string&)> m_onRun;
    // Scripts whose value is a new temporary (no references), as an expression's is.
    std::map<std::string, std::function<Interface*()>> m_temporaries;
    std::map<std::string, Interface*> m_objects;
};
