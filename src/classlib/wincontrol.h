// Windowed controls: a Qt widget and an ordered list of child controls (the z-order).
//
// A windowed control that paints itself draws into a 32-bit off-screen bitmap through a
// canvas: first its own Paint, then each visible graphic child in z-order on the same canvas,
// then the bitmap goes to the screen. Tests render the same way into a bitmap.
#pragma once

#include "classlib/canvas.h"
#include "classlib/control.h"

#include <vector>

class QWidget;
class TBitmap;
class TGraphicControl;

class TWinControl : public TControl {
  public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    DECLARE_CLASS_NAME(TWinControl)

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(index); }
    int IndexOfControl(const TControl* control) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void BringControlToFront(TControl* control);
    // Topmost visible graphic child at a client position, or null.
    TControl* ControlAtPos(TPoint clientPos) const;

    QWidget* Handle();
    bool HandleAllocated() const { return FWidget != nullptr; }
    bool IsWindowed() const override { return true; }
    bool Showing() const override;

    int TabOrder() const;
    // The windowed children in tab order.
    const std::vector<TWinControl*>& TabList() const { return FTabList; }
    void SetTabOrder(int order);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }
    virtual bool CanFocus() const;
    // Text boxes keep Enter and Escape for themselves instead of pressing a form's buttons.
    virtual bool WantsDialogKeys() const { return false; }
    virtual void SetFocus();
    bool Focused() const;

    // The canvas that Paint draws on; valid while painting.
    TCanvas& Canvas() { return FCanvas; }
    // Renders this control and its graphic children into `bitmap`, sized to the control.
    void PaintTo(TBitmap& bitmap);
    void InvalidateRect(const TRect& rect);
    void Invalidate() override;
    // Runs pending paints of this control at once (tests, benchmarks).
    void Repaint();
    virtual void AlignControls();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

  protected:
    friend class THostWidget;
    // Creates the Qt widget; the default widget paints through Paint.
    virtual QWidget* CreateWidget(QWidget* parentWidget);
    // Where child widgets go (a form puts them in its client area).
    virtual QWidget* ClientWidget() { return Handle(); }
    virtual void ApplyWidgetBounds();
    virtual void ApplyWidgetVisible();
    virtual void Paint();
    virtual void PaintWindow(TCanvas& canvas);
    void PaintControls(TCanvas& canvas);
    void BoundsChanged(bool moved, bool resized) override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void ParentChanged() override;
    void ApplyFontToWidget();
    void UpdateTabChain();
    void ResizeAnchoredChildren();
    void DestroyWidget();

  private:
    void ReparentWidget();
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    QWidget* FWidget = nullptr;
    TCanvas FCanvas;
    bool FTabStop = false;
    bool FAligning = false;
};
