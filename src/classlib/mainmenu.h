// A form's main menu: a root item whose children are the menu bar's entries.
#pragma once

#include "classlib/component.h"

#include <memory>
#include <vector>

class QMenuBar;
class TMenuItem;

class TMainMenu : public TComponent {
  public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    DECLARE_CLASS_NAME(TMainMenu)

    TMenuItem* Items() const { return FItems; }
    void AttachBar(QMenuBar* bar);
    void DetachBar(QMenuBar* bar);
    void RebuildBars();
    // Stored position in a form designer; no effect at run time.
    int DesignLeft = 0;
    int DesignTop = 0;

  private:
    TMenuItem* FItems;
    std::vector<QMenuBar*> FBars;
};
