// Controls: components with a place on a parent, a size of their own and window messages.
//
// The control's own Left/Top/Width/Height are the source of truth; a windowed control's Qt
// widget follows them. Input reaches a control as messages through Perform/WndProc.
#pragma once

#include "classlib/component.h"
#include "classlib/font.h"
#include "system/messages.h"

#include <memory>

class TWinControl;
class TCanvas;

// Control style flags.
enum TControlStyleFlag : uint16_t { csOpaque = 1, csReplicatable = 2, csAcceptsControls = 4 };
using TControlStyle = uint16_t;

class TControl : public TComponent {
  public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    DECLARE_CLASS_NAME(TControl)

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
    void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
    virtual void SetClientSize(int width, int height);
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and every parent up to a shown window.
    virtual bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool enabled);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors anchors);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    const std::string& Text() const { return FCaption; }
    void SetText(const std::string& text) { SetCaption(text); }
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TFont& Font() { return *FFont; }
    const TFont& Font() const { return *FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle style) { FControlStyle = style; }
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool value);
    void Loaded() override;

    // Stored but without behaviour here.
    std::string Hint;
    bool ShowHint = false;
    bool ParentShowHint = true;
    int Cursor = 0;

    LRESULT Perform(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The one dispatch point for every message a control receives.
    virtual void WndProc(TMessage& message);
    virtual void Click();
    virtual void Invalidate();
    void BringToFront();
    virtual bool IsWindowed() const { return false; }
    // The parent's size changed (after its anchored and aligned children were placed), or the
    // parent window is about to appear.
    virtual void ParentResized() {}

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

  protected:
    // Hooks that run after the stored values changed.
    virtual void BoundsChanged(bool moved, bool resized);
    virtual void VisibleChanged();
    virtual void EnabledChanged() {}
    virtual void CaptionChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    virtual void ParentChanged() {}

    void RequestAlign();
    void SetBoundsSilently(int left, int top, int width, int height);
    // Remembers the current bounds and the parent's client size as what the anchors keep.
    void UpdateAnchorRules();

  private:
    friend class TWinControl;
    void ParentFontChanged();
    void ParentColorChanged();
    // Places the control for a parent client area of the given size from the remembered rules,
    // not from its current bounds, so rounding and clamping never accumulate.
    void ApplyAnchorRules(int clientWidth, int clientHeight);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TAlign FAlign = alNone;
    TAnchors FAnchors = DefaultAnchors;
    std::string FCaption;
    TColor FColor = clBtnFace;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FParentColor = false;
    bool FAutoSize = false;
    bool FMouseDown = false;
    TRect FAnchorBounds;
    int FAnchorParentWidth = -1, FAnchorParentHeight = -1; // -1: no rules yet
    bool FAnchoring = false;
    TControlStyle FControlStyle = 0;
    bool FInFontUpdate = false;
};
