// Thrown as pointers by feature access out of range; never caught by the engine,
// they reach the host's call of Run, whose catcher deletes them. The classes have
// no key function, so a host that includes this header gets matching type
// information without linking the library.
#pragma once

class __attribute__((visibility("default"))) Exception {
  public:
    explicit Exception(int code) : code(code) {}
    virtual ~Exception() = default;
    int code;
};

class __attribute__((visibility("default"))) DataNotAvailable : public Exception {
  public:
    DataNotAvailable() : Exception(1) {}
};

class __attribute__((visibility("default"))) IndexError : public Exception {
  public:
    IndexError() : Exception(2) {}
};
