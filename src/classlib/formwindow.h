// The Qt top-level window behind a form: the menu bar above the client widget, and the
// window system's moves, resizes, activations and close requests passed to the form.
#pragma once

#include <QWidget>

class TForm;
class QMenuBar;

class TFormWindow : public QWidget {
  public:
    explicit TFormWindow(TForm* form);
    void Detach() { FForm = nullptr; }
    void SetParts(QMenuBar* menuBar, QWidget* client);
    void LayoutParts();
    int MenuBarHeight() const;

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    TForm* FForm;
    QMenuBar* FMenuBar = nullptr;
    QWidget* FClient = nullptr;
};
