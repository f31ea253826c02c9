// An interface taken with one reference, from a factory's argument or any other
// GetInterface answer, and given back when its holder goes: on every exit of a factory,
// the error paths included, so no path can leak it or give it back twice. release()
// hands the reference on to an object that keeps it.
#pragma once
#include <memory>
#include <vector>

#include "Interface.h"

template <class T> struct ReleaseInterface {
    void operator()(T* object) const { object->Release(); }
};
template <class T> using Obtained = std::unique_ptr<T, ReleaseInterface<T>>;

// The named interface of an object (null or not), held.
template <class T> Obtained<T> Obtain(Interface* object, const char* name) {
    return Obtained<T>(QueryInterface<T>(object, name));
}

// Hands the references of held interfaces on to an object that keeps them.
template <class T> std::vector<T*> HandOver(std::vector<Obtained<T>>& held) {
    std::vector<T*> objects;
    for (Obtained<T>& object : held)
        objects.push_back(object.release());
    held.clear();
    return objects;
}
