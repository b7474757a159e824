#include "classlib/screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {
std::function<TPoint()>& CursorHook() {
    static std::function<TPoint()> hook;
    return hook;
}
int gWidthOverride = 0;
int gHeightOverride = 0;

QRect PrimaryGeometry() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}
} // namespace

int TScreen::Width() { return gWidthOverride ? gWidthOverride : PrimaryGeometry().width(); }
int TScreen::Height() { return gHeightOverride ? gHeightOverride : PrimaryGeometry().height(); }

TRect TScreen::WorkArea() {
    if (gWidthOverride) return Rect(0, 0, gWidthOverride, gHeightOverride);
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect r = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

TPoint TScreen::CursorPos() {
    if (CursorHook()) return CursorHook()();
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void TScreen::SetCursorPosHook(std::function<TPoint()> hook) { CursorHook() = std::move(hook); }

void TScreen::SetSizeOverride(int width, int height) {
    gWidthOverride = width;
    gHeightOverride = height;
}
