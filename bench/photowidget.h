// The baseline's only custom widget: a photograph painted centred on white, with two tinted
// circles over it, in one QPainter pass.
#pragma once

#include <QImage>
#include <QWidget>

class PhotoWidget : public QWidget {
  public:
    PhotoWidget(QImage photo, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage FPhoto;
};
