#include "classlib/layoutnode.h"

#include <algorithm>

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

} // namespace

const TLayoutProperty* TLayoutNode::FindProperty(std::string_view name) const {
    for (const TLayoutProperty& property : Properties)
        if (SameNameIgnoringCase(property.Name, name)) return &property;
    return nullptr;
}
