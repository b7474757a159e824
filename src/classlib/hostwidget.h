// The Qt widget behind a self-painting windowed control: it forwards paint and mouse input.
#pragma once

#include <QWidget>

class TWinControl;
class TControl;

class THostWidget : public QWidget {
  public:
    THostWidget(TWinControl* control, QWidget* parent);
    void Detach() { FControl = nullptr; }
    TWinControl* Control() const { return FControl; }

    // The library control that a widget belongs to (the nearest one up the widget tree).
    static TWinControl* ControlOf(const QWidget* widget);
    static void Bind(QWidget* widget, TWinControl* control);
    static void Unbind(QWidget* widget);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    TControl* TargetAt(QPoint pos) const;
    void SendMouse(TControl* target, unsigned msg, QPoint pos);
    TWinControl* FControl;
    TControl* FCapture = nullptr;
};
