#include "classlib/classregistry.h"

TClassInfo& TClassInfo::Property(const std::string& name, TPropertySetter set) {
    Properties.push_back({name, std::move(set)});
    return *this;
}

TClassRegistry& TClassRegistry::Instance() {
    static TClassRegistry registry;
    return registry;
}

TClassInfo& TClassRegistry::Register(const std::string& name, const std::string& parent,
                                     std::function<TComponent*(TComponent*)> create) {
    for (TClassInfo& info : FClasses)
        if (info.Name == name) {
            info.Parent = parent;
            info.Create = std::move(create);
            info.Properties.clear();
            return info;
        }
    FClasses.push_back({name, parent, std::move(create), {}});
    return FClasses.back();
}

const TClassInfo* TClassRegistry::Find(const std::string& name) const {
    for (const TClassInfo& info : FClasses)
        if (SameText(info.Name, name)) return &info;
    return nullptr;
}

const TPropertyInfo* TClassRegistry::FindProperty(const std::string& className,
                                                  const std::string& name) const {
    // A bounded walk: a registration mistake must not loop forever.
    const TClassInfo* info = Find(className);
    for (int depth = 0; info && depth < 32; ++depth) {
        for (const TPropertyInfo& p : info->Properties)
            if (SameText(p.Name, name)) return &p;
        info = info->Parent.empty() ? nullptr : Find(info->Parent);
    }
    return nullptr;
}

bool TClassRegistry::InheritsFrom(const std::string& className, const std::string& ancestor) const {
    const TClassInfo* info = Find(className);
    for (int depth = 0; info && depth < 32; ++depth) {
        if (SameText(info->Name, ancestor)) return true;
        info = info->Parent.empty() ? nullptr : Find(info->Parent);
    }
    return false;
}
