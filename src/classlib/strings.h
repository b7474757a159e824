// An ordered list of single-byte strings with a change notification.
#pragma once

#include "classlib/object.h"
#include "classlib/types.h"

#include <string>
#include <vector>

class TStrings : public TObject {
  public:
    DECLARE_CLASS_NAME(TStringList)
    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& operator[](int index) const { return FItems.at(index); }
    const std::string& Strings(int index) const { return FItems.at(index); }
    void SetString(int index, const std::string& value);
    void Add(const std::string& value);
    void Insert(int index, const std::string& value);
    void Delete(int index);
    void Clear();
    // Copies the contents; the given list is not kept.
    void Assign(const TStrings& other);
    void SetItems(std::vector<std::string> items);
    const std::vector<std::string>& Items() const { return FItems; }
    // Lines joined with CR LF, each line ended by it, as the platform does.
    std::string Text() const;
    // Splits at CR LF, LF or CR.
    void SetText(const std::string& text);

    TNotifyEvent OnChange;

  private:
    void Changed();
    std::vector<std::string> FItems;
};
