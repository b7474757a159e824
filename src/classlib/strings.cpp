#include "classlib/strings.h"

#include "classlib/exceptions.h"

void TStrings::Changed() {
    if (OnChange) OnChange(this);
}

void TStrings::SetString(int index, const std::string& value) {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    FItems[index] = value;
    Changed();
}

void TStrings::Add(const std::string& value) {
    FItems.push_back(value);
    Changed();
}

void TStrings::Insert(int index, const std::string& value) {
    if (index < 0 || index > Count()) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    FItems.insert(FItems.begin() + index, value);
    Changed();
}

void TStrings::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStrings::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

void TStrings::Assign(const TStrings& other) {
    if (&other == this) return;
    FItems = other.FItems;
    Changed();
}

void TStrings::SetItems(std::vector<std::string> items) {
    FItems = std::move(items);
    Changed();
}

std::string TStrings::Text() const {
    std::string text;
    for (const std::string& line : FItems) text += line + "\r\n";
    return text;
}

void TStrings::SetText(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    SetItems(std::move(lines));
}
