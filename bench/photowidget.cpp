#include "photowidget.h"

#include <QPainter>

namespace {
struct TCircle {
    QRect Box; // in photograph coordinates, where the program under test puts its circles
    QColor Ring;
    int TintAlpha;
};

const TCircle kCircles[] = {{QRect(369, 34, 73, 25), QColor(255, 255, 0), 128},
                            {QRect(16, 80, 89, 249), QColor(0, 0, 255), 64}};
} // namespace

PhotoWidget::PhotoWidget(QImage photo, QWidget* parent) : QWidget(parent), FPhoto(std::move(photo)) {
    // Every pixel is painted below: Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PhotoWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QPoint origin((width() - FPhoto.width()) / 2, (height() - FPhoto.height()) / 2);
    painter.drawImage(origin, FPhoto);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const TCircle& circle : kCircles) {
        QColor tint = circle.Ring;
        tint.setAlpha(circle.TintAlpha);
        painter.setPen(QPen(circle.Ring, 2));
        painter.setBrush(tint);
        painter.drawEllipse(circle.Box.translated(origin).adjusted(1, 1, -1, -1));
    }
}
