// Static engine objects (the root and its six folders, class objects, keywords,
// placeholders) live for the whole run: counting references never destroys them,
// whoever adds or releases one.
#pragma once

template <class Base> class Permanent : public Base {
  public:
    using Base::Base;
    int AddRef() override { return 0; }
    int Release() override { return 0; }
};
