// Menu items: a caption, a check mark, a click event and child items, shown through Qt menus.
#pragma once

#include "classlib/component.h"

#include <vector>

class QAction;
class QMenu;
class QWidget;
class TMainMenu;

class TMenuItem : public TComponent {
  public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    DECLARE_CLASS_NAME(TMenuItem)

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    bool Checked() const { return FChecked; }
    void SetChecked(bool checked);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(index); }
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return FParent; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void SetParentComponent(TComponent* parent) override;

    virtual void Click();
    QAction* Action() const { return FAction; }
    TNotifyEvent OnClick;

  private:
    friend class TMainMenu;
    void RebuildChildren();
    void StructureChanged();
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    TMenuItem* FParent = nullptr;
    TMainMenu* FMenu = nullptr; // set on a menu's root item only
    std::vector<TMenuItem*> FItems;
    QAction* FAction = nullptr;
    QMenu* FSubMenu = nullptr;
};
