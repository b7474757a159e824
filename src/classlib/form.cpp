#include "classlib/form.h"

#include "classlib/application.h"
#include "classlib/button.h"
#include "classlib/codepage.h"
#include "classlib/framemetrics.h"
#include "classlib/formwindow.h"
#include "classlib/hostwidget.h"
#include "classlib/mainmenu.h"
#include "classlib/reader.h"
#include "classlib/screen.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <climits>

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    SetBoundsSilently(0, 0, 320, 240);
    TControl::SetVisible(false);
    SetParentFont(false);
    if (Application) Application->RegisterForm(this);
}

TForm::~TForm() {
    if (Application) Application->UnregisterForm(this);
    if (FMenu) FMenu->DetachBar(FMenuBar);
    if (OnDestroy) {
        TNotifyEvent handler = OnDestroy;
        Application->Guard([&] { handler(this); });
    }
    if (FWindow) FWindow->Detach();
    // The window goes with the children: DestroyWidget in the base deletes it after them.
}

int TForm::ClientWidth() const {
    return std::max(0, Width() - 2 * TFrameMetrics::For(FBorderStyle).Border);
}

int TForm::ClientHeight() const {
    TFrameMetrics m = TFrameMetrics::For(FBorderStyle);
    return std::max(0, Height() - 2 * m.Border - m.Caption - MenuBarHeight());
}

int TForm::MenuBarHeight() const { return FMenu ? TFrameMetrics::MenuBar : 0; }

TPoint TForm::ClientOrigin() const {
    if (FClient && FWindow && FWindow->isVisible()) {
        QPoint p = FClient->mapToGlobal(QPoint(0, 0));
        return {p.x(), p.y()};
    }
    TFrameMetrics m = TFrameMetrics::For(FBorderStyle);
    return {Left() + m.Border, Top() + m.Border + m.Caption + MenuBarHeight()};
}

bool TForm::Showing() const { return Visible() && FWindow && FWindow->isVisible(); }

QWidget* TForm::Window() {
    Handle();
    return FWindow;
}

QWidget* TForm::CreateWidget(QWidget*) {
    FWindow = new TFormWindow(this);
    FClient = new THostWidget(this, FWindow);
    FClient->setMouseTracking(true);
    FWindow->setMouseTracking(true);
    FWindow->setWindowTitle(TCodePage::ToQString(Caption()));
    ApplyWindowFlags();
    if (FMenu) {
        FMenuBar = new QMenuBar(FWindow);
        FMenu->AttachBar(FMenuBar);
    }
    FWindow->SetParts(FMenuBar, FClient);
    return FWindow;
}

QWidget* TForm::ClientWidget() {
    Handle();
    return FClient;
}

void TForm::ApplyWindowFlags() {
    if (!FWindow) return;
    Qt::WindowFlags flags = Qt::Window;
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) flags = Qt::Tool;
    if (FBorderStyle == bsDialog) flags = Qt::Dialog;
    if (FFormStyle == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
    bool wasVisible = FWindow->isVisible();
    if (FWindow->windowFlags() != flags) FWindow->setWindowFlags(flags);
    if (wasVisible && !FWindow->isVisible()) FWindow->show();
}

void TForm::ApplyWidgetBounds() {
    if (!FWindow || FSyncingFromWindow) return;
    int menuHeight = FMenuBar ? FMenuBar->sizeHint().height() : 0;
    FWindow->resize(ClientWidth(), ClientHeight() + menuHeight);
    // A window the system is to place keeps the system's position until it has been shown.
    if (FShownOnce || FPosition == poDesigned) FWindow->move(Left(), Top());
    FWindow->LayoutParts();
    if (FMinWidth || FMinHeight) SetMinimumSize(FMinWidth, FMinHeight);
}

void TForm::ApplyWidgetVisible() {
    if (!FWindow) return;
    if (!Visible()) {
        FWindow->hide();
        return;
    }
    if (!FShownOnce) PlaceOnFirstShow();
    FShownOnce = true;
    FWindow->show();
    FWindow->raise();
    // Children that place themselves by the window's size do so before the first paint.
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ParentResized();
    if (FActiveControl && FActiveControl->CanFocus()) FActiveControl->SetFocus();
    else if (TWinControl* first = FirstTabStop(this)) first->SetFocus();
}

TWinControl* TForm::FirstTabStop(TWinControl* container) {
    // The window opens with the focus on the first control in tab order, as on the desktop.
    for (TWinControl* c : container->TabList()) {
        if (!c->Visible() || !c->Enabled()) continue;
        if (c->TabStop()) return c;
        if (TWinControl* inner = FirstTabStop(c)) return inner;
    }
    return nullptr;
}

void TForm::SetVisible(bool visible) {
    if (visible && Visible()) {
        BringWindowToFront(); // showing a visible window brings it to the front
        return;
    }
    Handle();
    TControl::SetVisible(visible);
    if (visible && OnShow) OnShow(this);
    if (!visible && OnHide) OnHide(this);
}

void TForm::BringWindowToFront() {
    // Only Visible shows a window: a hidden form brought to the front would put its window on
    // the screen while the form thinks it hidden, and then no Hide could take it away.
    if (!FWindow || !Visible()) return;
    FWindow->show();
    FWindow->raise();
    FWindow->activateWindow();
}

void TForm::PlaceOnFirstShow() {
    TRect work = TScreen::WorkArea();
    auto centreOn = [this](TRect area) {
        SetBounds(area.Left + (area.Width() - Width()) / 2,
                  area.Top + (area.Height() - Height()) / 2, Width(), Height());
        FWindow->move(Left(), Top());
    };
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: centreOn(work); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TForm* main = Application ? Application->MainForm() : nullptr;
        if (main && main != this) centreOn(main->BoundsRect());
        else centreOn(work);
        break;
    }
    default: break;
    }
    if (FWindowState == wsMaximized) {
        // Like the classic desktop, a maximised frame lies just outside the work area.
        int border = TFrameMetrics::For(FBorderStyle).Border;
        SetBounds(work.Left - border, work.Top - border, work.Width() + 2 * border,
                  work.Height() + 2 * border);
        FWindow->move(work.Left, work.Top);
        FWindow->setWindowState(Qt::WindowMaximized);
    }
}

void TForm::ShowMainForm() {
    Handle();
    SetVisible(true);
}

void TForm::SetWindowState(TWindowState state) {
    if (state == FWindowState) return;
    FWindowState = state;
    if (!FWindow || !FShownOnce) return;
    if (state == wsMaximized) FWindow->showMaximized();
    else if (state == wsMinimized) FWindow->showMinimized();
    else FWindow->showNormal();
}

void TForm::SetBorderStyle(TBorderStyle style) {
    if (style == FBorderStyle) return;
    int oldClientW = ClientWidth(), oldClientH = ClientHeight();
    FBorderStyle = style;
    // The client area keeps its size; the frame grows or shrinks around it.
    SetClientSize(oldClientW, oldClientH);
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle style) {
    if (style == FFormStyle) return;
    FFormStyle = style;
    ApplyWindowFlags();
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu == FMenu) return;
    int oldClientW = ClientWidth(), oldClientH = ClientHeight();
    if (FMenu) FMenu->DetachBar(FMenuBar);
    FMenu = menu;
    if (FWindow) {
        if (!FMenuBar && menu) FMenuBar = new QMenuBar(FWindow);
        if (menu) menu->AttachBar(FMenuBar);
        if (FMenuBar) FMenuBar->setVisible(menu != nullptr);
        FWindow->SetParts(FMenuBar, FClient);
    }
    if (!IsLoading()) SetClientSize(oldClientW, oldClientH);
    else SetBounds(Left(), Top(), Width(), Height());
}

void TForm::SetActiveControl(TWinControl* control) {
    FActiveControl = control;
    if (control && Showing() && control->CanFocus()) control->SetFocus();
}

bool TForm::Active() const { return FWindow && FWindow->isActiveWindow(); }

void TForm::SetMinimumSize(int outerWidth, int outerHeight) {
    FMinWidth = outerWidth;
    FMinHeight = outerHeight;
    if (!FWindow) return;
    TFrameMetrics m = TFrameMetrics::For(FBorderStyle);
    int menuHeight = FMenuBar ? FMenuBar->sizeHint().height() : 0;
    FWindow->setMinimumSize(std::max(0, outerWidth - 2 * m.Border),
                            std::max(0, outerHeight - 2 * m.Border - m.Caption - MenuBarHeight() +
                                            menuHeight));
}

void TForm::SetAutoSize(bool value) {
    TControl::SetAutoSize(value);
    if (!value) return;
    // Fit once: move the controls so the leftmost and topmost edges touch the corner, and
    // make the client area exactly the bounding box of the visible controls.
    int minLeft = INT_MAX, minTop = INT_MAX, maxRight = INT_MIN, maxBottom = INT_MIN;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        minLeft = std::min(minLeft, c->Left());
        minTop = std::min(minTop, c->Top());
        maxRight = std::max(maxRight, c->Left() + c->Width());
        maxBottom = std::max(maxBottom, c->Top() + c->Height());
    }
    if (minLeft == INT_MAX) return;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Align() == alNone)
            c->SetBounds(c->Left() - minLeft, c->Top() - minTop, c->Width(), c->Height());
    }
    SetClientSize(maxRight - minLeft, maxBottom - minTop);
}

void TForm::CaptionChanged() {
    if (FWindow) FWindow->setWindowTitle(TCodePage::ToQString(Caption()));
}

void TForm::Close() {
    TCloseAction action = Application && Application->MainForm() == this ? caFree : caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
        return;
    }
    Hide();
}

void TForm::WindowCloseRequested() { Close(); }

void TForm::WindowResized(int clientWidth, int clientHeight) {
    TFrameMetrics m = TFrameMetrics::For(FBorderStyle);
    int width = clientWidth + 2 * m.Border;
    int height = clientHeight + 2 * m.Border + m.Caption + MenuBarHeight();
    if (width == Width() && height == Height()) return;
    FSyncingFromWindow = true;
    SetBounds(Left(), Top(), width, height);
    FSyncingFromWindow = false;
}

void TForm::WindowMoved(int left, int top) {
    if (left == Left() && top == Top()) return;
    FSyncingFromWindow = true;
    SetBounds(left, top, Width(), Height());
    FSyncingFromWindow = false;
}

TForm* TForm::GetParentForm(TControl* control) {
    for (TControl* c = control; c; c = c->Parent())
        if (auto* form = dynamic_cast<TForm*>(c)) return form;
    return nullptr;
}

void TForm::SetDefaultButton(TButton* button, bool isDefault) {
    if (isDefault) FDefaultButton = button;
    else if (FDefaultButton == button) FDefaultButton = nullptr;
}

void TForm::SetCancelButton(TButton* button, bool isCancel) {
    if (isCancel) FCancelButton = button;
    else if (FCancelButton == button) FCancelButton = nullptr;
}

bool TForm::DialogKey(TControl* focused, bool escape) {
    auto* win = dynamic_cast<TWinControl*>(focused);
    if (win && win->WantsDialogKeys()) return false;
    TButton* target = escape ? FCancelButton : FDefaultButton;
    // Enter on a focused push button presses that button, as on the classic desktop.
    if (!escape)
        if (auto* focusedButton = dynamic_cast<TButton*>(focused)) target = focusedButton;
    if (!target || !target->Showing() || !target->Enabled()) return false;
    target->Click();
    return true;
}

void TForm::Activated(bool active) {
    if (active && OnActivate) OnActivate(this);
    if (!active && OnDeactivate) OnDeactivate(this);
}

void TForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FMenu) {
        // The menu has run its own destructor, which emptied the bar: only forget it.
        FMenu = nullptr;
        if (FMenuBar) {
            FMenuBar->hide();
            FWindow->LayoutParts();
        }
    }
    if (component == FActiveControl) FActiveControl = nullptr;
    if (component == FDefaultButton) FDefaultButton = nullptr;
    if (component == FCancelButton) FCancelButton = nullptr;
}

void TForm::PublishMethod(const std::string& name, TNotifyEvent method) {
    FMethods[name] = std::move(method);
}

TNotifyEvent TForm::MethodAddress(const std::string& name) const {
    for (const auto& [key, method] : FMethods)
        if (SameText(key, name)) return method;
    return nullptr;
}

void TForm::ReadLayout(std::string_view layout) {
    TReader::ReadRoot(layout, this);
    DoCreate();
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}
