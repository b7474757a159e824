#include "classlib/menuitem.h"

#include "classlib/application.h"
#include "classlib/codepage.h"
#include "classlib/exceptions.h"
#include "classlib/mainmenu.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FAction(new QAction()) {
    QObject::connect(FAction, &QAction::triggered, [this] {
        // Qt flips a checkable action by itself; the mark stays Checked's to decide.
        FAction->setChecked(FChecked);
        Application->Guard([this] { Click(); });
    });
}

TMenuItem::~TMenuItem() {
    // Sub-items go with their item, whoever owns them; each removes itself from this list.
    while (!FItems.empty()) delete FItems.back();
    if (FParent) FParent->Remove(this);
    delete FSubMenu;
    delete FAction;
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    FAction->setText(TCodePage::ToQString(caption));
    FAction->setSeparator(caption == "-");
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == FChecked) return;
    FChecked = checked;
    FAction->setCheckable(checked);
    FAction->setChecked(checked);
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    FAction->setEnabled(enabled);
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == FVisible) return;
    FVisible = visible;
    FAction->setVisible(visible);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) throw EInvalidOperation("Invalid menu item");
    if (item->FParent) throw EInvalidOperation("Menu inserted twice");
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    StructureChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
    int index = IndexOf(item);
    if (index < 0) return;
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
    if (!IsDestroying()) StructureChanged();
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* menu = dynamic_cast<TMainMenu*>(parent)) menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
}

void TMenuItem::StructureChanged() {
    if (FMenu) {
        FMenu->RebuildBars();
        return;
    }
    if (FItems.empty() && !FSubMenu) return;
    if (!FSubMenu) {
        FSubMenu = new QMenu();
        FAction->setMenu(FSubMenu);
    }
    RebuildChildren();
}

void TMenuItem::RebuildChildren() {
    for (QAction* a : FSubMenu->actions()) FSubMenu->removeAction(a);
    for (TMenuItem* item : FItems) FSubMenu->addAction(item->FAction);
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}
