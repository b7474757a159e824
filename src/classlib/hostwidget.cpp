#include "classlib/hostwidget.h"

#include "classlib/application.h"
#include "classlib/paintbuffer.h"
#include "classlib/wincontrol.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {
const char* const kControlProperty = "tcontrol";
}

THostWidget::THostWidget(TWinControl* control, QWidget* parent)
    : QWidget(parent), FControl(control) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void THostWidget::Bind(QWidget* widget, TWinControl* control) {
    widget->setProperty(kControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(control)));
}

void THostWidget::Unbind(QWidget* widget) { widget->setProperty(kControlProperty, QVariant()); }

TWinControl* THostWidget::ControlOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        QVariant v = w->property(kControlProperty);
        if (v.isValid()) return reinterpret_cast<TWinControl*>(v.value<quintptr>());
    }
    return nullptr;
}

void THostWidget::paintEvent(QPaintEvent* event) {
    if (!FControl) return;
    // The buffer has the screen's pixel density, so text and outlines stay sharp on a
    // high-density screen while controls keep drawing in logical pixels.
    const qreal scale = devicePixelRatioF();
    TPaintBuffer buffer(size() * scale, scale);
    QImage& image = buffer.Image();
    if (image.isNull()) return;
    TWinControl* control = FControl;
    Application->Guard([&] {
        control->Canvas().SetTarget(&image);
        control->PaintWindow(control->Canvas());
    });
    // Also after a failed paint: the image goes back to the shared buffer when this returns.
    if (FControl) FControl->Canvas().SetTarget(nullptr);
    Application->NotePainted(control);
    QPainter painter(this);
    for (const QRect& r : event->region())
        painter.drawImage(QRectF(r), image,
                          QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale));
}

TControl* THostWidget::TargetAt(QPoint pos) const {
    TControl* child = FControl->ControlAtPos({pos.x(), pos.y()});
    return child ? child : FControl;
}

void THostWidget::SendMouse(TControl* target, unsigned msg, QPoint pos) {
    QPoint local = pos;
    if (target != FControl) local -= QPoint(target->Left(), target->Top());
    Application->Guard([&] { target->Perform(msg, 0, MakeMousePos(local.x(), local.y())); });
}

void THostWidget::mousePressEvent(QMouseEvent* event) {
    if (!FControl || event->button() != Qt::LeftButton) return;
    FCapture = TargetAt(event->position().toPoint());
    SendMouse(FCapture, WM_LBUTTONDOWN, event->position().toPoint());
}

void THostWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!FControl || event->button() != Qt::LeftButton) return;
    TControl* target = FCapture;
    FCapture = nullptr;
    // The captured control may have gone while the button was down.
    if (!target || (target != FControl && FControl->IndexOfControl(target) < 0))
        target = TargetAt(event->position().toPoint());
    SendMouse(target, WM_LBUTTONUP, event->position().toPoint());
}

void THostWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!FControl) return;
    TControl* target = FCapture ? FCapture : TargetAt(event->position().toPoint());
    if (target != FControl && FControl->IndexOfControl(target) < 0) target = FControl;
    SendMouse(target, WM_MOUSEMOVE, event->position().toPoint());
}

void THostWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // A second click arrives as a double click; the controls count it as a click.
    mousePressEvent(event);
}
