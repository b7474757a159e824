// The explanation panel of a highlight circle: hidden on the main window, adopted for good by
// the circle's popup window, which shows its Lines in a memo below it.
#pragma once

#include "classlib/custompanel.h"
#include "classlib/strings.h"

#include <memory>

using TRadioPanelChangeEvent = std::function<void(TObject* sender)>;

class TRadioPanel : public TCustomPanel {
  public:
    explicit TRadioPanel(TComponent* owner);
    ~TRadioPanel() override;
    DECLARE_CLASS_NAME(TRadioPanel)

    // Held and stored; nothing in the program acts on them.
    bool RadioEnabled() const { return FRadioEnabled; }
    void SetRadioEnabled(bool value) { FRadioEnabled = value; }
    TRadioPanelChangeEvent OnRadioChange;

    TStrings& Lines() { return *FLines; }
    void SetLines(const TStrings& lines) { FLines->Assign(lines); }
    int MemoHeight() const { return FMemoHeight; }
    void SetMemoHeight(int value) { FMemoHeight = value; }
    TAnchors FinalAnchors() const { return FFinalAnchors; }
    void SetFinalAnchors(TAnchors value);
    bool Placed() const { return FPlaced; }
    void SetPlaced(bool value) { FPlaced = value; }

    // Handed to the popup window that adopts the panel.
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

  protected:
    void Paint() override;

  private:
    bool FRadioEnabled = false;
    std::unique_ptr<TStrings> FLines;
    int FMemoHeight = 58;
    bool FHiddenAtDesign = false;
    TAnchors FFinalAnchors = akLeft | akTop;
    bool FPlaced = false;
};
