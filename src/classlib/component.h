// Components: named objects with an owner that destroys them.
#pragma once

#include "classlib/object.h"
#include "classlib/types.h"

#include <string>
#include <vector>

enum TOperation : uint8_t { opInsert, opRemove };

class TComponent : public TObject {
  public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    DECLARE_CLASS_NAME(TComponent)

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& name);
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    TComponentState ComponentState() const { return FState; }
    bool IsDesigning() const { return FState & csDesigning; }
    bool IsLoading() const { return FState & csLoading; }
    bool IsDestroying() const { return FState & csDestroying; }
    // Design mode is a component state; tests set it to see what a form designer would show.
    void SetDesigning(bool designing);
    void SetLoading(bool loading);

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(index); }
    // Case-insensitive lookup among the owned components.
    TComponent* FindComponent(const std::string& name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Called on every owned component (and this one) when a component is inserted or removed.
    virtual void Notification(TComponent* component, TOperation operation);
    // A stored layout places a component in the one it is nested in.
    virtual void SetParentComponent(TComponent* parent);
    // Runs once the stored layout has been applied and references are resolved.
    virtual void Loaded();

  protected:
    void DestroyComponents();

  private:
    void NotifyAll(TComponent* component, TOperation operation);

    TComponent* FOwner = nullptr;
    std::string FName;
    int FTag = 0;
    TComponentState FState = 0;
    std::vector<TComponent*> FComponents;
};

bool SameText(const std::string& a, const std::string& b);
