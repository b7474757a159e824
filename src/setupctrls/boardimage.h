// The card photograph: a picture panel that keeps itself centred in its parent and carries the
// highlight circles as its children.
#pragma once

#include "classlib/custompanel.h"
#include "classlib/picture.h"

#include <memory>

class TBoardHighlight;
class TMainMenu;

// Asks a board image to open and pin the popup of its First circle.
constexpr unsigned WM_SHOWFIRST = 0x4A2;

class TBoardImage : public TCustomPanel {
  public:
    explicit TBoardImage(TComponent* owner);
    ~TBoardImage() override;
    DECLARE_CLASS_NAME(TBoardImage)

    TBoardHighlight* First() const { return FFirst; }
    void SetFirst(TBoardHighlight* value) { FFirst = value; }
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* value) { FMenu = value; }
    bool CenterOnForm() const { return FCenterOnForm; }
    void SetCenterOnForm(bool value) { FCenterOnForm = value; }
    bool Scale() const { return FScale; }
    void SetScale(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TPicture& Picture() { return *FPicture; }
    void SetPicture(const TPicture& picture) { FPicture->Assign(picture); }
    void SetAutoSize(bool value) override;

    // Where the stored layout put the control, recorded at its first paint.
    int LayoutLeft() const { return FLayoutLeft; }
    int LayoutTop() const { return FLayoutTop; }
    bool LayoutSaved() const { return FLayoutSaved; }
    double Aspect() const { return FAspect; }
    bool Drawing() const { return FDrawing; }

    TRect TargetRect() const;
    void HandlePictureChange(TObject* sender);
    bool AnnouncePalette();
    bool HasPalette() const;
    bool CanAutoSize(int& newWidth, int& newHeight) const;
    void WndProc(TMessage& message) override;
    void ParentResized() override;

  protected:
    void Paint() override;

  private:
    void SaveLayoutPosition();
    void CentreOnParent();
    void ShowFirst(TMessage& message);
    std::unique_ptr<TPicture> FPicture;
    TBoardHighlight* FFirst = nullptr;
    TMainMenu* FMenu = nullptr;
    bool FCenterOnForm = true;
    bool FScale = true;
    bool FCenter = false;
    bool FStretch = false;
    bool FTransparent = false;
    double FAspect = 1.0;
    bool FDrawing = false;
    bool FLayoutSaved = false;
    int FLayoutLeft = 0;
    int FLayoutTop = 0;
};
