// The off-screen image a self-painting window paints into before its pixels go to the screen.
#pragma once

#include <QImage>

class TPaintBuffer {
  public:
    // Lends the one shared image at `physical` pixels with the given device pixel ratio. Every
    // window repaints in full, one after another on the GUI thread, so one image as large as
    // the largest window serves them all instead of each window holding its own. A paint that
    // starts while another is under way gets an image of its own.
    TPaintBuffer(QSize physical, qreal scale);
    ~TPaintBuffer();
    TPaintBuffer(const TPaintBuffer&) = delete;
    TPaintBuffer& operator=(const TPaintBuffer&) = delete;

    // Null when the memory for the image could not be had.
    QImage& Image() { return FImage; }

    // Bytes held by the shared image (for tests).
    static std::size_t SharedBytes();

  private:
    bool FBorrowed = false;
    QImage FImage;
};
