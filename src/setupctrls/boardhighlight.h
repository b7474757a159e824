// A highlight circle over one place of the card photograph. Entering it lights it and opens its
// popup window; leaving closes the popup unless it is pinned; clicking pins it. Circles on the
// same board image with the same Title and HighlightType are linked and act together.
#pragma once

#include "classlib/bitmap.h"
#include "classlib/graphiccontrol.h"
#include "setupctrls/highlighttype.h"

#include <memory>

class TBoardImage;
class TMainMenu;
class TMenuItem;
class TPopupForm;
class TRadioPanel;

class TBoardHighlight : public TGraphicControl {
  public:
    explicit TBoardHighlight(TComponent* owner);
    ~TBoardHighlight() override;
    DECLARE_CLASS_NAME(TBoardHighlight)

    bool CreatePopup() const { return FCreatePopup; }
    void SetCreatePopup(bool value) { FCreatePopup = value; }
    THighlightType HighlightType() const { return FHighlightType; }
    void SetHighlightType(THighlightType value);
    TRadioPanel* RadioPanel() const { return FRadioPanel; }
    void SetRadioPanel(TRadioPanel* value);
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value);
    const std::string& PlainTitle() const { return FPlainTitle; }
    const std::string& TitleIdent() const { return FTitleIdent; }

    bool Lit() const { return FLit; }
    bool Pinned() const { return FPinned; }
    bool Prepared() const { return FPrepared; }
    bool PopupActive() const { return FPopupActive; }
    TPopupForm* Popup() const { return FPopup; }
    TMainMenu* MainMenu() const { return FMainMenu; }
    TColor RingColor() const { return FRingColor; }
    float PlainAlpha() const { return FPlainAlpha; }
    float RaisedAlpha() const { return FRaisedAlpha; }
    float BrightAlpha() const { return FBrightAlpha; }
    const TBitmap& PlainImage() const { return FPlainImage; }
    const TBitmap& RaisedImage() const { return FRaisedImage; }
    const TBitmap& BrightImage() const { return FBrightImage; }

    void Click() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Pin();
    void SetPopupActive(bool active, bool propagate);
    void Unlight();
    void ShowPopup();
    void PopupClosed(TObject* sender, TCloseAction& action);
    void DoneClick(TObject* sender);
    void AddToMenu();
    void CheckMenuItem(bool mark);
    void MenuItemClick(TObject* sender);
    void PreviousClick(TObject* sender);
    void NextClick(TObject* sender);

    static std::string StripAmpersands(const std::string& title);
    static std::string IdentFromTitle(const std::string& title);

  protected:
    void Paint() override;

  private:
    TBoardImage* BoardParent() const;
    bool IsLinkedTo(const TControl* other) const;
    template <typename F> void ForEachLinked(F action, bool includeSelf = true);
    void MouseEnter(WPARAM marker);
    void MouseLeave(WPARAM marker);
    void BuildImages();
    void BuildPopup();
    void PlacePopup(TPoint panelPosition);
    void AddPopupControls(int memoHeight);
    void KeepPopupOnScreen();
    TMenuItem* FindGroupItem() const;
    TMenuItem* FindEntry(int* index = nullptr) const;
    void Navigate(int step);
    std::string UniqueMenuName(const std::string& stem) const;
    TMenuItem* CreateEntry(TMenuItem* group);

    TBitmap FPlainImage, FBrightImage, FRaisedImage;
    float FPlainAlpha = 0, FBrightAlpha = 0, FRaisedAlpha = 0;
    TColor FRingColor = 0;
    THighlightType FHighlightType = htOptions;
    bool FLit = false;
    TPopupForm* FPopup = nullptr;
    std::string FTitle, FPlainTitle, FTitleIdent;
    TMainMenu* FMainMenu = nullptr;
    bool FPrepared = false;
    bool FCreatePopup = true;
    bool FPinned = false;
    TRadioPanel* FRadioPanel = nullptr;
    bool FPopupActive = false;
    TMenuItem* FMenuEntry = nullptr; // the entry this highlight created, if any
};
