// Creates the components of a stored layout: in stored order, properties applied in stored
// order through the class registry, events bound to the root form's published methods by
// name, and references to other components resolved once everything exists.
#pragma once

#include "classlib/layoutnode.h"
#include "classlib/types.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class TComponent;

class TReader {
  public:
    // Reading n components, and destroying them later, takes n squared steps (names are unique
    // per owner; every component hears of every removal). Our forms hold a few dozen; a damaged
    // or hostile layout with thousands must not stall the program for minutes.
    static constexpr std::size_t MaxComponents = 1000;

    // Reads `layout` into `root`; raises ELayoutError naming the line and what was expected.
    // Problems that leave the page usable (a picture that cannot be decoded) are returned.
    static std::vector<std::string> ReadRoot(std::string_view layout, TComponent* root);

    // Conversions for property setters; each raises ELayoutError on a value of another kind.
    long long Integer(const TLayoutValue& v) const;
    bool Boolean(const TLayoutValue& v) const;
    std::string String(const TLayoutValue& v) const;
    std::string Identifier(const TLayoutValue& v) const;
    TColor Color(const TLayoutValue& v) const;
    int Enum(const TLayoutValue& v, std::initializer_list<const char*> names) const;
    unsigned Set(const TLayoutValue& v, std::initializer_list<const char*> names) const;
    std::vector<std::string> Strings(const TLayoutValue& v) const;
    const std::vector<uint8_t>& Bytes(const TLayoutValue& v) const;
    // Binds to the root form's published method named by the value.
    TNotifyEvent Method(const TLayoutValue& v) const;
    // Resolves a component name after loading and passes the component to `assign`.
    void Reference(const TLayoutValue& v, std::function<void(TComponent*)> assign);
    void Warn(const std::string& message) { FWarnings.push_back(message); }
    const std::string& CurrentProperty() const { return FProperty; }

  private:
    explicit TReader(TComponent* root) : FRoot(root) {}
    void ReadNode(const TLayoutNode& node, TComponent* component);
    void ReadChild(const TLayoutNode& node, TComponent* parent);
    void ApplyProperty(TComponent* component, const TLayoutProperty& property);
    void ResolveReferences();
    [[noreturn]] void Fail(const TLayoutValue& v, const std::string& expected) const;

    struct TFixup {
        std::string Name;
        int Line;
        std::string Property;
        std::function<void(TComponent*)> Assign;
    };
    TComponent* FRoot;
    std::string FProperty;
    std::vector<TFixup> FFixups;
    std::vector<TComponent*> FLoaded;
    std::vector<std::string> FWarnings;
};
