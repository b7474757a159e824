#include "classlib/wincontrol.h"

#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/form.h"
#include "classlib/graphiccontrol.h"
#include "classlib/hostwidget.h"

#include <QImage>
#include <QWidget>

#include <algorithm>

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // The form that shows this control may not own it (an adopted panel), so the owner's
    // notification need not reach that form: tell it here that its active control is going.
    if (TForm* form = TForm::GetParentForm(this)) form->Notification(this, opRemove);
    // Children go first, whoever owns them; each removes itself from this list.
    while (!FControls.empty()) delete FControls.back();
    DestroyWidget();
}

void TWinControl::DestroyWidget() {
    if (!FWidget) return;
    QWidget* widget = FWidget;
    FWidget = nullptr;
    if (auto* host = dynamic_cast<THostWidget*>(widget)) host->Detach();
    THostWidget::Unbind(widget);
    if (Application) Application->WidgetDestroyed(widget);
    delete widget;
}

int TWinControl::IndexOfControl(const TControl* control) const {
    auto it = std::find(FControls.begin(), FControls.end(), control);
    return it == FControls.end() ? -1 : static_cast<int>(it - FControls.begin());
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        FTabList.push_back(win);
        if (HandleAllocated() || win->HandleAllocated()) win->ReparentWidget();
        UpdateTabChain();
    } else {
        control->Invalidate();
    }
    if (control->Align() != alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
    int index = IndexOfControl(control);
    if (index < 0) return;
    if (!control->IsWindowed()) control->Invalidate();
    FControls.erase(FControls.begin() + index);
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), control), FTabList.end());
    control->FParent = nullptr;
    if (control->Align() != alNone && !IsDestroying()) AlignControls();
}

void TWinControl::BringControlToFront(TControl* control) {
    int index = IndexOfControl(control);
    if (index < 0) return;
    FControls.erase(FControls.begin() + index);
    FControls.push_back(control);
    if (auto* win = dynamic_cast<TWinControl*>(control); win && win->HandleAllocated())
        win->FWidget->raise();
    control->Invalidate();
}

TControl* TWinControl::ControlAtPos(TPoint clientPos) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->Visible()) continue;
        if (c->BoundsRect().Contains(clientPos)) return c;
    }
    return nullptr;
}

QWidget* TWinControl::Handle() {
    if (!FWidget) {
        QWidget* parentWidget = Parent() ? Parent()->ClientWidget() : nullptr;
        FWidget = CreateWidget(parentWidget);
        THostWidget::Bind(FWidget, this);
        FWidget->setMouseTracking(true);
        ApplyFontToWidget();
        ApplyWidgetBounds();
        ApplyWidgetVisible();
        FWidget->setEnabled(Enabled());
        for (TControl* c : FControls)
            if (auto* win = dynamic_cast<TWinControl*>(c)) win->ReparentWidget();
        UpdateTabChain();
    }
    return FWidget;
}

QWidget* TWinControl::CreateWidget(QWidget* parentWidget) {
    return new THostWidget(this, parentWidget);
}

void TWinControl::ReparentWidget() {
    if (!Parent()) return;
    QWidget* parentWidget = Parent()->ClientWidget();
    if (!FWidget) {
        Handle();
        return;
    }
    if (FWidget->parentWidget() != parentWidget) {
        FWidget->setParent(parentWidget);
        ApplyFontToWidget();
        ApplyWidgetBounds();
        ApplyWidgetVisible();
    }
}

void TWinControl::ParentChanged() {
    if (Parent()) ReparentWidget();
    else if (FWidget) FWidget->setParent(nullptr);
}

bool TWinControl::Showing() const {
    if (!Visible()) return false;
    return Parent() ? Parent()->Showing() : HandleAllocated() && FWidget->isVisible();
}

void TWinControl::ApplyWidgetBounds() {
    if (FWidget) FWidget->setGeometry(Left(), Top(), Width(), Height());
}

void TWinControl::ApplyWidgetVisible() {
    if (FWidget && Parent()) FWidget->setVisible(Visible());
}

void TWinControl::BoundsChanged(bool moved, bool resized) {
    ApplyWidgetBounds();
    if (resized) {
        ResizeAnchoredChildren();
        AlignControls();
        for (TControl* c : std::vector<TControl*>(FControls))
            if (IndexOfControl(c) >= 0) c->ParentResized();
    }
    if (Parent() && moved) Parent()->Invalidate();
    TControl::BoundsChanged(moved, resized);
}

void TWinControl::ResizeAnchoredChildren() {
    for (TControl* c : std::vector<TControl*>(FControls))
        if (c->Align() == alNone) c->ApplyAnchorRules(ClientWidth(), ClientHeight());
}

void TWinControl::AlignControls() {
    if (FAligning) return;
    FAligning = true;
    TRect area = ClientRect();
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (!c->Visible()) continue;
        switch (c->Align()) {
        case alTop:
            c->SetBounds(area.Left, area.Top, area.Width(), c->Height());
            area.Top += c->Height();
            break;
        case alBottom:
            c->SetBounds(area.Left, area.Bottom - c->Height(), area.Width(), c->Height());
            area.Bottom -= c->Height();
            break;
        case alLeft:
            c->SetBounds(area.Left, area.Top, c->Width(), area.Height());
            area.Left += c->Width();
            break;
        case alRight:
            c->SetBounds(area.Right - c->Width(), area.Top, c->Width(), area.Height());
            area.Right -= c->Width();
            break;
        case alClient: c->SetBounds(area.Left, area.Top, area.Width(), area.Height()); break;
        case alNone: break;
        }
    }
    FAligning = false;
}

void TWinControl::VisibleChanged() {
    ApplyWidgetVisible();
    if (Parent()) Parent()->Invalidate();
}

void TWinControl::EnabledChanged() {
    if (FWidget) FWidget->setEnabled(Enabled());
}

void TWinControl::FontChanged() {
    ApplyFontToWidget();
    for (TControl* c : FControls) c->ParentFontChanged();
    Invalidate();
}

void TWinControl::ColorChanged() {
    for (TControl* c : FControls) c->ParentColorChanged();
    Invalidate();
}

void TWinControl::ApplyFontToWidget() {
    if (FWidget && !dynamic_cast<THostWidget*>(FWidget)) FWidget->setFont(Font().ToQFont());
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->FTabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    // An order past the end puts the control last; later ones shift along.
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
    Parent()->UpdateTabChain();
}

void TWinControl::UpdateTabChain() {
    QWidget* previous = nullptr;
    for (TWinControl* c : FTabList) {
        if (!c->HandleAllocated()) continue;
        if (previous) QWidget::setTabOrder(previous, c->FWidget);
        previous = c->FWidget;
    }
}

bool TWinControl::CanFocus() const { return Visible() && Enabled(); }

void TWinControl::SetFocus() {
    if (Handle()) FWidget->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const { return FWidget && FWidget->hasFocus(); }

void TWinControl::Paint() {
    FCanvas.Brush.Color = Color();
    FCanvas.Brush.Style = bsSolid;
    FCanvas.FillRect(ClientRect());
}

void TWinControl::PaintWindow(TCanvas& canvas) {
    (void)canvas;
    Paint();
    PaintControls(FCanvas);
}

void TWinControl::PaintControls(TCanvas& canvas) {
    QImage* target = canvas.Target();
    TPoint origin = canvas.Origin();
    for (TControl* c : std::vector<TControl*>(FControls)) {
        auto* graphic = dynamic_cast<TGraphicControl*>(c);
        if (!graphic || !c->Visible() || IndexOfControl(c) < 0) continue;
        TRect clip = Rect(0, 0, c->Width(), c->Height());
        TPoint childOrigin{origin.X + c->Left(), origin.Y + c->Top()};
        Application->Guard([&] { graphic->PaintOn(target, childOrigin, clip); });
    }
}

void TWinControl::PaintTo(TBitmap& bitmap) {
    bitmap.SetSize(ClientWidth(), ClientHeight());
    FCanvas.SetTarget(bitmap.MutableImage());
    PaintWindow(FCanvas);
    FCanvas.SetTarget(nullptr);
}

void TWinControl::InvalidateRect(const TRect& rect) {
    if (FWidget && !IsDestroying())
        ClientWidget()->update(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void TWinControl::Invalidate() {
    if (FWidget && !IsDestroying()) ClientWidget()->update();
}

void TWinControl::Repaint() {
    if (FWidget) ClientWidget()->repaint();
}
