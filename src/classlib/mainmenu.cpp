#include "classlib/mainmenu.h"

#include "classlib/menuitem.h"

#include <QAction>
#include <QMenuBar>

#include <algorithm>

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
}

TMainMenu::~TMainMenu() {
    for (QMenuBar* bar : FBars)
        for (QAction* a : bar->actions()) bar->removeAction(a);
    FBars.clear();
    delete FItems;
}

void TMainMenu::AttachBar(QMenuBar* bar) {
    if (!bar || std::find(FBars.begin(), FBars.end(), bar) != FBars.end()) return;
    FBars.push_back(bar);
    RebuildBars();
}

void TMainMenu::DetachBar(QMenuBar* bar) {
    auto it = std::find(FBars.begin(), FBars.end(), bar);
    if (it == FBars.end()) return;
    for (QAction* a : bar->actions()) bar->removeAction(a);
    FBars.erase(it);
}

void TMainMenu::RebuildBars() {
    for (QMenuBar* bar : FBars) {
        for (QAction* a : bar->actions()) bar->removeAction(a);
        for (int i = 0; i < FItems->Count(); ++i) bar->addAction(FItems->Items(i)->Action());
    }
}
