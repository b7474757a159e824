// The classes a stored layout may name, with their published properties.
#pragma once

#include "classlib/component.h"

#include <functional>
#include <string>
#include <vector>

struct TLayoutValue;
class TReader;

using TPropertySetter = std::function<void(TComponent*, const TLayoutValue&, TReader&)>;

struct TPropertyInfo {
    std::string Name;
    TPropertySetter Set;
};

struct TClassInfo {
    std::string Name;
    std::string Parent;
    std::function<TComponent*(TComponent* owner)> Create; // empty: not creatable from a layout
    std::vector<TPropertyInfo> Properties;                // in published order

    TClassInfo& Property(const std::string& name, TPropertySetter set);
};

class TClassRegistry {
  public:
    static TClassRegistry& Instance();
    TClassInfo& Register(const std::string& name, const std::string& parent,
                         std::function<TComponent*(TComponent*)> create = {});
    const TClassInfo* Find(const std::string& name) const;
    // Looks the property up in the class and its ancestors (names without regard to case).
    const TPropertyInfo* FindProperty(const std::string& className, const std::string& name) const;
    bool InheritsFrom(const std::string& className, const std::string& ancestor) const;

  private:
    std::vector<TClassInfo> FClasses;
};

template <typename T> std::function<TComponent*(TComponent*)> Creator() {
    return [](TComponent* owner) -> TComponent* { return new T(owner); };
}
