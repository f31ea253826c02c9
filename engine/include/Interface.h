// The shared base of every engine object. One object has one Interface part and
// one reference count, whatever interfaces it implements (they all inherit this
// class virtually). Interfaces are asked for by name with GetInterface, which
// returns a pointer to the asked interface with one reference taken; the caller
// casts it to that interface type and releases it when done.
#pragma once

#define TALVIK_EXPORT __attribute__((visibility("default")))

class Input;

class Interface {
  public:
    // Slot 0: wrap the text in a lexer and run it as a block (Call) in context.
    virtual Interface* Run(const char* text, Interface* context);
    // Slot 1: run a block of statements; factories of classes with arguments live here.
    virtual Interface* Call(Input* lexer, Interface* context);
    // Slot 2: one interpreter step with this object as the current object.
    virtual Interface* Interpret(Input* lexer, Interface* context);
    // Slot 3: look a name up; no reference is taken.
    virtual Interface* Find(const char* name, int length);
    // Slot 4: store value under name; returns the stored name or nullptr.
    virtual const char* Set(const char* name, int length, Interface* value, int notOwned);
    // Slot 5: the named interface of this object with one reference taken, or nullptr.
    virtual void* GetInterface(const char* name);
    // Slot 6: help text ("" by default).
    virtual const char* Help();
    // Slots 7 and 8: reference counting; Release destroys the object below 1.
    virtual int AddRef();
    virtual int Release();
    // Slot 9.
    virtual ~Interface();

    // The current count, for listings.
    int RefCount() const { return refs_; }
    // Gives back a reference without destroying at 0: the object becomes a
    // temporary again, to be disposed of by whoever evaluated it.
    void ForgetReference() {
        if (refs_ > 0) --refs_;
    }

  protected:
    int refs_ = 0;
};

// Asks an object for an interface by name and casts the answer to its type.
template <class T> T* QueryInterface(Interface* object, const char* name) {
    return object ? static_cast<T*>(object->GetInterface(name)) : nullptr;
}
