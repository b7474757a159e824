#include "classlib/component.h"

#include "classlib/exceptions.h"

#include <algorithm>
#include <cctype>

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    FState |= csDestroying;
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    // Each destroyed component removes itself from this list (and from its parent), so take
    // the last one afresh every time: a component may destroy siblings it parents.
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        delete last;
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == FName) return;
    if (FOwner && !name.empty()) {
        TComponent* other = FOwner->FindComponent(name);
        if (other && other != this)
            throw Exception("A component named " + name + " already exists");
    }
    FName = name;
}

void TComponent::SetDesigning(bool designing) {
    FState = designing ? (FState | csDesigning) : (FState & ~csDesigning);
}

void TComponent::SetLoading(bool loading) {
    FState = loading ? (FState | csLoading) : (FState & ~csLoading);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
    if (IsDesigning()) component->SetDesigning(true);
}

void TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it == FComponents.end()) return;
    FComponents.erase(it);
    component->FOwner = nullptr;
    NotifyAll(component, opRemove);
}

void TComponent::NotifyAll(TComponent* component, TOperation operation) {
    Notification(component, operation);
    // A notification may destroy components; walk a snapshot and skip the ones gone meanwhile.
    // One still at its place in the list is there without a search, which keeps tearing down
    // an owner of n components at n squared steps rather than n cubed.
    const std::vector<TComponent*> snapshot = FComponents;
    for (size_t i = 0; i < snapshot.size(); ++i) {
        TComponent* c = snapshot[i];
        const bool inPlace = i < FComponents.size() && FComponents[i] == c;
        if (inPlace || std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
            c->Notification(component, operation);
    }
}

void TComponent::Notification(TComponent*, TOperation) {}
void TComponent::SetParentComponent(TComponent*) {}
void TComponent::Loaded() { SetLoading(false); }
