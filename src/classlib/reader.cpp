#include "classlib/reader.h"

#include "classlib/classregistry.h"
#include "classlib/component.h"
#include "classlib/exceptions.h"
#include "classlib/form.h"
#include "classlib/layouterror.h"
#include "classlib/layoutparser.h"

#include <cctype>

namespace {
std::string Describe(const TLayoutValue& v) {
    switch (v.Kind) {
    case TLayoutValueKind::Integer: return "the number " + std::to_string(v.Integer);
    case TLayoutValueKind::Float: return "a floating-point number";
    case TLayoutValueKind::String: return "a string";
    case TLayoutValueKind::Identifier: return "'" + v.Text + "'";
    case TLayoutValueKind::Set: return "a set";
    case TLayoutValueKind::List: return "a list";
    case TLayoutValueKind::Binary: return "binary data";
    case TLayoutValueKind::Collection: return "a collection";
    }
    return "a value";
}

struct TNamedColor {
    const char* Name;
    TColor Value;
};
constexpr TNamedColor kColors[] = {
    {"clBlack", clBlack},   {"clWhite", clWhite},           {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed},               {"clLime", clLime},
    {"clBlue", clBlue},     {"clYellow", clYellow},         {"clNavy", clNavy},
    {"clMaroon", clMaroon}, {"clGreen", clGreen},           {"clWindowText", clWindowText},
    {"clBtnFace", clBtnFace}, {"clWindow", clWindow},       {"clBtnText", clBtnText},
    {"clNone", clNone}};
} // namespace

std::vector<std::string> TReader::ReadRoot(std::string_view layout, TComponent* root) {
    TLayoutNode tree = TLayoutParser::Parse(layout);
    if (!SameText(tree.ClassName, root->ClassName()))
        throw ELayoutError(tree.Line, "expected a layout of class " + std::string(root->ClassName()) +
                                          " but found " + tree.ClassName);
    TReader reader(root);
    root->SetLoading(true);
    reader.FLoaded.push_back(root);
    if (!tree.Name.empty()) root->SetName(tree.Name);
    reader.ReadNode(tree, root);
    reader.ResolveReferences();
    for (TComponent* c : reader.FLoaded) c->Loaded();
    return reader.FWarnings;
}

void TReader::ReadNode(const TLayoutNode& node, TComponent* component) {
    for (const TLayoutProperty& property : node.Properties) ApplyProperty(component, property);
    for (const TLayoutNode& child : node.Children) ReadChild(child, component);
}

void TReader::ReadChild(const TLayoutNode& node, TComponent* parent) {
    const TClassInfo* info = TClassRegistry::Instance().Find(node.ClassName);
    if (!info || !info->Create)
        throw ELayoutError(node.Line, "unknown class '" + node.ClassName + "' for component '" +
                                          node.Name + "'");
    if (node.Name.empty())
        throw ELayoutError(node.Line, "expected a name for the component of class " + node.ClassName);
    if (FRoot->FindComponent(node.Name))
        throw ELayoutError(node.Line, "a component named '" + node.Name + "' already exists");
    if (FLoaded.size() > MaxComponents) // the root is in the list too
        throw ELayoutError(node.Line, "expected at most " + std::to_string(MaxComponents) +
                                          " components in one layout");
    TComponent* component = info->Create(FRoot);
    component->SetLoading(true);
    FLoaded.push_back(component);
    component->SetName(node.Name);
    component->SetParentComponent(parent);
    ReadNode(node, component);
}

void TReader::ApplyProperty(TComponent* component, const TLayoutProperty& property) {
    const TPropertyInfo* info =
        TClassRegistry::Instance().FindProperty(component->ClassName(), property.Name);
    if (!info)
        throw ELayoutError(property.Line, "unknown property '" + property.Name + "' of class " +
                                              component->ClassName());
    FProperty = property.Name;
    try {
        info->Set(component, property.Value, *this);
    } catch (const ELayoutError&) {
        throw;
    } catch (const std::exception& e) {
        throw ELayoutError(property.Line, "invalid value for property '" + property.Name +
                                              "': " + e.what());
    }
}

void TReader::ResolveReferences() {
    for (const TFixup& fixup : FFixups) {
        TComponent* target = FRoot->FindComponent(fixup.Name);
        if (!target && SameText(fixup.Name, FRoot->Name())) target = FRoot;
        if (!target)
            throw ELayoutError(fixup.Line, "expected the name of a component but found '" +
                                               fixup.Name + "', which does not exist");
        try {
            fixup.Assign(target);
        } catch (const std::exception& e) {
            // A component of a class the property cannot take (a panel named as the menu).
            throw ELayoutError(fixup.Line, "invalid value for property '" + fixup.Property +
                                               "': '" + fixup.Name + "' is a " +
                                               target->ClassName() + ": " + e.what());
        }
    }
}

void TReader::Fail(const TLayoutValue& v, const std::string& expected) const {
    throw ELayoutError(v.Line, "expected " + expected + " for property '" + FProperty +
                                   "' but found " + Describe(v));
}

long long TReader::Integer(const TLayoutValue& v) const {
    if (v.Kind != TLayoutValueKind::Integer) Fail(v, "an integer");
    return v.Integer;
}

bool TReader::Boolean(const TLayoutValue& v) const {
    if (v.Kind == TLayoutValueKind::Identifier) {
        if (SameText(v.Text, "True")) return true;
        if (SameText(v.Text, "False")) return false;
    }
    Fail(v, "True or False");
}

std::string TReader::String(const TLayoutValue& v) const {
    if (v.Kind != TLayoutValueKind::String) Fail(v, "a string");
    return v.Text;
}

std::string TReader::Identifier(const TLayoutValue& v) const {
    if (v.Kind != TLayoutValueKind::Identifier) Fail(v, "an identifier");
    return v.Text;
}

TColor TReader::Color(const TLayoutValue& v) const {
    if (v.Kind == TLayoutValueKind::Integer) return static_cast<TColor>(v.Integer);
    if (v.Kind == TLayoutValueKind::Identifier)
        for (const TNamedColor& c : kColors)
            if (SameText(v.Text, c.Name)) return c.Value;
    Fail(v, "a colour");
}

int TReader::Enum(const TLayoutValue& v, std::initializer_list<const char*> names) const {
    if (v.Kind == TLayoutValueKind::Identifier) {
        int index = 0;
        for (const char* name : names) {
            if (SameText(v.Text, name)) return index;
            ++index;
        }
    }
    std::string expected = "one of";
    for (const char* name : names) expected += std::string(" ") + name;
    Fail(v, expected);
}

unsigned TReader::Set(const TLayoutValue& v, std::initializer_list<const char*> names) const {
    if (v.Kind != TLayoutValueKind::Set) Fail(v, "a set");
    unsigned bits = 0;
    for (const std::string& member : v.Names) {
        unsigned bit = 1, found = 0;
        for (const char* name : names) {
            if (SameText(member, name)) found = bit;
            bit <<= 1;
        }
        if (!found)
            throw ELayoutError(v.Line, "unknown set member '" + member + "' for property '" +
                                           FProperty + "'");
        bits |= found;
    }
    return bits;
}

std::vector<std::string> TReader::Strings(const TLayoutValue& v) const {
    if (v.Kind != TLayoutValueKind::List) Fail(v, "a list of strings");
    std::vector<std::string> lines;
    for (const TLayoutValue& item : v.Items) lines.push_back(String(item));
    return lines;
}

const std::vector<uint8_t>& TReader::Bytes(const TLayoutValue& v) const {
    if (v.Kind != TLayoutValueKind::Binary) Fail(v, "binary data");
    return v.Bytes;
}

TNotifyEvent TReader::Method(const TLayoutValue& v) const {
    std::string name = Identifier(v);
    auto* form = dynamic_cast<TForm*>(FRoot);
    TNotifyEvent method = form ? form->MethodAddress(name) : nullptr;
    if (!method)
        throw ELayoutError(v.Line, "expected a published method of " +
                                       std::string(FRoot->ClassName()) + " for property '" +
                                       FProperty + "' but found '" + name + "'");
    return method;
}

void TReader::Reference(const TLayoutValue& v, std::function<void(TComponent*)> assign) {
    FFixups.push_back({Identifier(v), v.Line, FProperty, std::move(assign)});
}
