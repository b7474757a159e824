#include "classlib/formwindow.h"

#include "classlib/application.h"
#include "classlib/form.h"

#include <QCloseEvent>
#include <QMenuBar>

TFormWindow::TFormWindow(TForm* form) : QWidget(nullptr, Qt::Window), FForm(form) {}

void TFormWindow::SetParts(QMenuBar* menuBar, QWidget* client) {
    FMenuBar = menuBar;
    FClient = client;
    LayoutParts();
}

int TFormWindow::MenuBarHeight() const {
    return FMenuBar && FMenuBar->isVisible() ? FMenuBar->sizeHint().height() : 0;
}

void TFormWindow::LayoutParts() {
    int menuHeight = 0;
    if (FMenuBar && !FMenuBar->isHidden()) {
        menuHeight = FMenuBar->sizeHint().height();
        FMenuBar->setGeometry(0, 0, width(), menuHeight);
    }
    if (FClient) FClient->setGeometry(0, menuHeight, width(), height() - menuHeight);
}

bool TFormWindow::event(QEvent* event) {
    if (FForm && (event->type() == QEvent::WindowActivate ||
                  event->type() == QEvent::WindowDeactivate)) {
        TForm* form = FForm;
        WPARAM state = event->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE;
        Application->Guard([&] {
            form->Perform(WM_ACTIVATE, state, 0);
            form->Activated(state != WA_INACTIVE);
        });
    }
    return QWidget::event(event);
}

void TFormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutParts();
    if (!FForm) return;
    TForm* form = FForm;
    int menuHeight = FMenuBar && !FMenuBar->isHidden() ? FMenuBar->sizeHint().height() : 0;
    Application->Guard([&] { form->WindowResized(width(), height() - menuHeight); });
}

void TFormWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!FForm || !isVisible()) return;
    TForm* form = FForm;
    QPoint frame = frameGeometry().topLeft();
    Application->Guard([&] { form->WindowMoved(frame.x(), frame.y()); });
}

void TFormWindow::closeEvent(QCloseEvent* event) {
    // The form decides: hide, free or ignore. Qt must not close the window on its own.
    event->ignore();
    if (!FForm) return;
    TForm* form = FForm;
    Application->Guard([&] { form->WindowCloseRequested(); });
}
