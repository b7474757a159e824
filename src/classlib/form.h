// Forms: top-level windows with a frame, a caption, an optional main menu and a client area.
//
// Width and Height are outer sizes (frame, caption bar and menu bar included); ClientWidth
// and ClientHeight the inside, converted with the constant frame metrics.
#pragma once

#include "classlib/wincontrol.h"

#include <map>
#include <string_view>

class QMenuBar;
class TMainMenu;
class TButton;
class TFormWindow;

class TForm : public TWinControl {
  public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    DECLARE_CLASS_NAME(TForm)

    int ClientWidth() const override;
    int ClientHeight() const override;
    TPoint ClientOrigin() const override;
    bool Showing() const override;
    void SetVisible(bool visible) override;

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle style);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState state);
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value) { FAutoScroll = value; }
    // Switching it on fits the window to its controls once (see FitToControls).
    void SetAutoSize(bool value) override;
    void SetMinimumSize(int outerWidth, int outerHeight);
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    bool Active() const;
    // Stored layout values without behaviour at run time.
    int PixelsPerInch = 96;
    int TextHeight = 13;
    bool OldCreateOrder = false;
    bool Scaled = true;

    void Close();
    void ShowMainForm();
    void BringWindowToFront();
    static TForm* GetParentForm(TControl* control);
    // Enter or Escape pressed inside the form; true when a button took it.
    bool DialogKey(TControl* focused, bool escape);
    void SetDefaultButton(TButton* button, bool isDefault);
    void SetCancelButton(TButton* button, bool isCancel);

    // The form's published methods, by name, for binding stored events.
    TNotifyEvent MethodAddress(const std::string& name) const;
    // The top-level window (frame) and the client widget that holds the controls.
    QWidget* Window();

    // The window became or stopped being the active one: raises OnActivate or OnDeactivate.
    void Activated(bool active);
    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;

  protected:
    friend class TFormWindow;
    void PublishMethod(const std::string& name, TNotifyEvent method);
    // Creates the components of a stored layout into this form, then raises OnCreate.
    void ReadLayout(std::string_view layout);
    void DoCreate();
    QWidget* CreateWidget(QWidget* parentWidget) override;
    QWidget* ClientWidget() override;
    void ApplyWidgetBounds() override;
    void ApplyWidgetVisible() override;
    void WindowResized(int clientWidth, int clientHeight);
    void WindowMoved(int left, int top);
    void WindowCloseRequested();
    void PlaceOnFirstShow();
    int MenuBarHeight() const;
    void ApplyWindowFlags();
    static TWinControl* FirstTabStop(TWinControl* container);
    void CaptionChanged() override;

  private:
    TFormWindow* FWindow = nullptr;
    QWidget* FClient = nullptr;
    QMenuBar* FMenuBar = nullptr;
    TBorderStyle FBorderStyle = bsSizeable;
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    TMainMenu* FMenu = nullptr;
    TWinControl* FActiveControl = nullptr;
    TButton* FDefaultButton = nullptr;
    TButton* FCancelButton = nullptr;
    bool FAutoScroll = true;
    bool FShownOnce = false;
    bool FSyncingFromWindow = false;
    int FMinWidth = 0, FMinHeight = 0;
    std::map<std::string, TNotifyEvent> FMethods;
};
