#include "classlib/control.h"

#include "classlib/application.h"
#include "classlib/exceptions.h"
#include "classlib/wincontrol.h"

#include <cmath>

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
    FFont->OnChange = [this](TObject*) {
        if (FInFontUpdate) return;
        FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (Application) Application->ControlDestroyed(this);
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
    UpdateAnchorRules();
    if (FParentFont) ParentFontChanged();
    if (FParentColor) ParentColorChanged();
    ParentChanged();
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* win = dynamic_cast<TWinControl*>(parent)) SetParent(win);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    bool moved = left != FLeft || top != FTop;
    bool resized = width != FWidth || height != FHeight;
    if (!moved && !resized) return;
    if (!IsWindowed()) Invalidate(); // the old place needs repainting too
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    BoundsChanged(moved, resized);
    if (!FAnchoring) UpdateAnchorRules();
    if (FAlign != alNone) RequestAlign();
}

void TControl::UpdateAnchorRules() {
    FAnchorBounds = BoundsRect();
    FAnchorParentWidth = FParent ? FParent->ClientWidth() : -1;
    FAnchorParentHeight = FParent ? FParent->ClientHeight() : -1;
}

namespace {
// The new start of a span whose centre keeps its fraction of the parent's extent.
int KeepCentreFraction(int start, int size, int oldExtent, int newExtent) {
    double centre = (start + size / 2.0) * newExtent / oldExtent;
    return static_cast<int>(std::lround(centre - size / 2.0));
}
} // namespace

void TControl::ApplyAnchorRules(int clientWidth, int clientHeight) {
    // A stored layout's positions hold as stored; Loaded takes the rules afterwards.
    if (FAnchorParentWidth < 0 || IsLoading()) return;
    const TRect& r = FAnchorBounds;
    int left = r.Left, top = r.Top, width = r.Width(), height = r.Height();
    int dw = clientWidth - FAnchorParentWidth, dh = clientHeight - FAnchorParentHeight;
    if ((FAnchors & akLeft) && (FAnchors & akRight)) width += dw;
    else if (FAnchors & akRight) left += dw;
    else if (!(FAnchors & akLeft) && FAnchorParentWidth > 0)
        left = KeepCentreFraction(left, width, FAnchorParentWidth, clientWidth);
    if ((FAnchors & akTop) && (FAnchors & akBottom)) height += dh;
    else if (FAnchors & akBottom) top += dh;
    else if (!(FAnchors & akTop) && FAnchorParentHeight > 0)
        top = KeepCentreFraction(top, height, FAnchorParentHeight, clientHeight);
    struct TAnchoringScope {
        bool& Flag;
        ~TAnchoringScope() { Flag = false; }
    } scope{FAnchoring};
    FAnchoring = true;
    SetBounds(left, top, width, height);
}

void TControl::Loaded() {
    TComponent::Loaded();
    UpdateAnchorRules();
}

void TControl::SetBoundsSilently(int left, int top, int width, int height) {
    FLeft = left;
    FTop = top;
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
}

void TControl::BoundsChanged(bool, bool resized) {
    Invalidate();
    if (resized && OnResize && !IsLoading()) OnResize(this);
}

void TControl::SetClientSize(int width, int height) {
    SetBounds(FLeft, FTop, width + (FWidth - ClientWidth()), height + (FHeight - ClientHeight()));
}

TPoint TControl::ClientOrigin() const {
    if (!FParent) return {FLeft, FTop};
    TPoint p = FParent->ClientOrigin();
    return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetVisible(bool visible) {
    if (visible == FVisible) return;
    if (!IsWindowed()) Invalidate();
    FVisible = visible;
    VisibleChanged();
    if (FAlign != alNone) RequestAlign();
}

void TControl::VisibleChanged() { Invalidate(); }

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    EnabledChanged();
    Invalidate();
}

void TControl::SetAlign(TAlign align) {
    if (align == FAlign) return;
    FAlign = align;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
    FAnchors = anchors;
    UpdateAnchorRules();
}

void TControl::SetCaption(const std::string& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    CaptionChanged();
}

void TControl::SetColor(TColor color) {
    FParentColor = false;
    if (color == FColor) return;
    FColor = color;
    ColorChanged();
}

void TControl::SetParentFont(bool value) {
    if (value == FParentFont) return;
    FParentFont = value;
    if (value) ParentFontChanged();
}

void TControl::SetParentColor(bool value) {
    if (value == FParentColor) return;
    FParentColor = value;
    if (value) ParentColorChanged();
}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent) return;
    FInFontUpdate = true;
    FFont->Assign(FParent->Font());
    FInFontUpdate = false;
    FontChanged();
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParent) return;
    if (FColor == FParent->Color()) return;
    FColor = FParent->Color();
    ColorChanged();
}

void TControl::SetAutoSize(bool value) { FAutoSize = value; }

void TControl::RequestAlign() {
    if (FParent) FParent->AlignControls();
}

LRESULT TControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        FMouseDown = true;
        if (OnMouseDown) OnMouseDown(this, mbLeft, MouseX(message.LParam), MouseY(message.LParam));
        break;
    case WM_LBUTTONUP: {
        bool wasDown = FMouseDown;
        FMouseDown = false;
        int x = MouseX(message.LParam), y = MouseY(message.LParam);
        if (OnMouseUp) OnMouseUp(this, mbLeft, x, y);
        if (wasDown && ClientRect().Contains({x, y})) Click();
        break;
    }
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(this, MouseX(message.LParam), MouseY(message.LParam));
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // The parent hears about it too, so a form learns when the mouse leaves its controls.
        if (FParent) FParent->Perform(message.Msg, 0, reinterpret_cast<LPARAM>(this));
        break;
    default: break;
    }
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::Invalidate() {
    if (FParent && FVisible) FParent->InvalidateRect(BoundsRect());
}

void TControl::BringToFront() {
    if (FParent) FParent->BringControlToFront(this);
}
