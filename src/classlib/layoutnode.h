// The tree a stored form layout is read into: objects holding properties and child objects.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class TLayoutValueKind { Integer, Float, String, Identifier, Set, List, Binary, Collection };

struct TLayoutCollectionItem;

// Only the members that belong to Kind are filled in; the others stay empty.
struct TLayoutValue {
    TLayoutValueKind Kind = TLayoutValueKind::Integer;
    long long Integer = 0;
    double Float = 0;
    // String: raw single-byte (Windows-1252) text, pieces already joined.
    // Identifier: the name as spelled in the file, possibly dotted ("Form2.Button1").
    std::string Text;
    std::vector<std::string> Names;                     // Set members, as spelled
    std::vector<TLayoutValue> Items;                    // List items
    std::vector<uint8_t> Bytes;                         // Binary data
    std::vector<TLayoutCollectionItem> CollectionItems; // Collection items
    int Line = 0;                                       // where the value starts
};

struct TLayoutProperty {
    std::string Name; // dotted path as spelled, e.g. "Font.Height"
    TLayoutValue Value;
    int Line = 0;
};

struct TLayoutCollectionItem {
    std::vector<TLayoutProperty> Properties;
    int Line = 0; // of the 'item' keyword
};

struct TLayoutNode {
    std::string Keyword; // "object", "inherited" or "inline", always lower case
    std::string Name;    // may be empty
    std::string ClassName;
    int Line = 0; // of the keyword
    std::vector<TLayoutProperty> Properties;
    std::vector<TLayoutNode> Children;

    // Property names compare without regard to ASCII case, as the format does.
    // Returns nullptr when the property is not stored.
    const TLayoutProperty* FindProperty(std::string_view name) const;
};
