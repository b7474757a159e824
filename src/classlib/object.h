// The root of every class of the library: a virtual destructor and the class name.
#pragma once

class TObject {
  public:
    virtual ~TObject() = default;
    // The exact class name, as the stored layouts and the controls that compare class names use it.
    virtual const char* ClassName() const { return "TObject"; }
};

#define DECLARE_CLASS_NAME(name)                                                                   \
    const char* ClassName() const override { return #name; }
