#include "classlib/canvas.h"

#include "classlib/codepage.h"
#include "classlib/graphic.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
QColor ToQColor(TColor color) {
    TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TRect Intersect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}
} // namespace

TColor ColorToRGB(TColor color) {
    if (!(color & clSystemColor)) return color & 0xFFFFFF;
    switch (color & 0xFF) {
    case 5: return clWhite;                 // window
    case 8: return clBlack;                 // window text
    case 15: return RGB(212, 208, 200);     // button face
    case 18: return clBlack;                // button text
    default: return RGB(212, 208, 200);
    }
}

TCanvas::TCanvas(QImage* target) { SetTarget(target); }

void TCanvas::SetTarget(QImage* target) {
    SetTarget(target, {0, 0},
              target ? Rect(0, 0, target->width(), target->height()) : TRect{});
}

void TCanvas::SetTarget(QImage* target, TPoint origin, TRect clip) {
    FTarget = target;
    FOrigin = origin;
    FClip = clip;
}

TRect TCanvas::TargetClip() const {
    // In canvas units (logical pixels) of the target, whatever its pixel density.
    if (!FTarget) return {};
    TRect clip{FClip.Left + FOrigin.X, FClip.Top + FOrigin.Y, FClip.Right + FOrigin.X,
               FClip.Bottom + FOrigin.Y};
    const qreal scale = FTarget->devicePixelRatio();
    return Intersect(clip, Rect(0, 0, static_cast<int>(FTarget->width() / scale),
                                static_cast<int>(FTarget->height() / scale)));
}

bool TCanvas::BeginPainter(QPainter& painter) const {
    TRect clip = TargetClip();
    if (clip.Width() <= 0 || clip.Height() <= 0) return false;
    painter.begin(FTarget);
    painter.setClipRect(clip.Left, clip.Top, clip.Width(), clip.Height());
    painter.translate(FOrigin.X, FOrigin.Y);
    return true;
}

void TCanvas::FillRect(const TRect& rect) {
    if (Brush.Style == bsClear) return;
    QPainter p;
    if (!BeginPainter(p)) return;
    p.fillRect(rect.Left, rect.Top, rect.Width(), rect.Height(), ToQColor(Brush.Color));
}

void TCanvas::Rectangle(const TRect& rect) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    QPainter p;
    if (!BeginPainter(p)) return;
    if (Brush.Style != bsClear)
        p.fillRect(rect.Left, rect.Top, rect.Width(), rect.Height(), ToQColor(Brush.Color));
    if (Pen.Style == psClear) return;
    if (Pen.Style != psSolid) {
        QPen pen(ToQColor(Pen.Color), 0, Pen.Style == psDash ? Qt::DashLine : Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1);
        return;
    }
    // The outline is the outermost ring of pixels, drawn as four strips so that it stays one
    // pixel wide, and crisp, at any device pixel ratio.
    QColor pen = ToQColor(Pen.Color);
    const int l = rect.Left, t = rect.Top, w = rect.Width(), h = rect.Height();
    p.fillRect(l, t, w, 1, pen);
    p.fillRect(l, t + h - 1, w, 1, pen);
    p.fillRect(l, t, 1, h, pen);
    p.fillRect(l + w - 1, t, 1, h, pen);
}

void TCanvas::FrameRect(const TRect& rect) {
    TBrushStyle saved = Brush.Style;
    Brush.Style = bsClear;
    Rectangle(rect);
    Brush.Style = saved;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    QPainter p;
    if (!BeginPainter(p)) return;
    QFont font = Font.ToQFont();
    p.setFont(font);
    QFontMetrics metrics(font);
    QString qtext = TCodePage::ToQString(text);
    if (Brush.Style != bsClear)
        p.fillRect(x, y, metrics.horizontalAdvance(qtext), metrics.height(),
                   ToQColor(Brush.Color));
    p.setPen(ToQColor(Font.Color()));
    p.drawText(x, y + metrics.ascent(), qtext);
}

void TCanvas::TextRect(const TRect& rect, const std::string& text, TAlignment alignment) {
    QPainter p;
    if (!BeginPainter(p)) return;
    p.setFont(Font.ToQFont());
    p.setPen(ToQColor(Font.Color()));
    int flags = Qt::AlignTop | Qt::TextShowMnemonic;
    flags |= alignment == taCenter ? Qt::AlignHCenter
             : alignment == taRightJustify ? Qt::AlignRight
                                           : Qt::AlignLeft;
    p.drawText(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), flags,
               TCodePage::ToQString(text));
}

int TCanvas::TextWidth(const std::string& text) const {
    return QFontMetrics(Font.ToQFont()).horizontalAdvance(TCodePage::ToQString(text));
}

int TCanvas::TextHeight(const std::string&) const {
    return QFontMetrics(Font.ToQFont()).height();
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& dest, const TGraphic& graphic) {
    const QImage* image = graphic.Image();
    if (!image || dest.Width() == 0 || dest.Height() == 0) return;
    if (dest.Width() == image->width() && dest.Height() == image->height() &&
        FTarget && FTarget->devicePixelRatio() == image->devicePixelRatio()) {
        TCanvas source(const_cast<QImage*>(image));
        CopyRect(dest, source, Rect(0, 0, image->width(), image->height()));
        return;
    }
    QPainter p;
    if (!BeginPainter(p)) return;
    // Whole-number enlargements (a high-density screen) double pixels and stay sharp; any
    // other scale is filtered.
    const qreal scaleX = dest.Width() * FTarget->devicePixelRatio() / image->width();
    const qreal scaleY = dest.Height() * FTarget->devicePixelRatio() / image->height();
    const bool whole = scaleX == std::floor(scaleX) && scaleX == scaleY && scaleX >= 1;
    p.setRenderHint(QPainter::SmoothPixmapTransform, !whole);
    p.drawImage(QRect(dest.Left, dest.Top, dest.Width(), dest.Height()), *image);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& src) {
    if (!FTarget || !source.FTarget) return;
    const qreal sourceScale = source.FTarget->devicePixelRatio();
    if (dest.Width() != src.Width() || dest.Height() != src.Height() ||
        FTarget->devicePixelRatio() != sourceScale) {
        // Sizes or pixel densities differ: let the painter scale, without filtering.
        QPainter p;
        if (!BeginPainter(p)) return;
        TPoint so = source.FOrigin;
        QRectF from((src.Left + so.X) * sourceScale, (src.Top + so.Y) * sourceScale,
                    src.Width() * sourceScale, src.Height() * sourceScale);
        p.drawImage(QRectF(dest.Left, dest.Top, dest.Width(), dest.Height()), *source.FTarget, from);
        return;
    }
    if (sourceScale != 1) {
        QPainter p;
        if (!BeginPainter(p)) return;
        p.setCompositionMode(QPainter::CompositionMode_Source);
        TPoint so = source.FOrigin;
        QRectF from((src.Left + so.X) * sourceScale, (src.Top + so.Y) * sourceScale,
                    src.Width() * sourceScale, src.Height() * sourceScale);
        p.drawImage(QRectF(dest.Left, dest.Top, dest.Width(), dest.Height()),
                    source.FTarget->copy(from.toRect()), QRectF(0, 0, from.width(), from.height()));
        return;
    }
    // Same size: a plain row copy, clipped on both sides.
    TRect destClip = TargetClip();
    TRect srcClip = source.TargetClip();
    int dx = dest.Left + FOrigin.X, dy = dest.Top + FOrigin.Y;
    int sx = src.Left + source.FOrigin.X, sy = src.Top + source.FOrigin.Y;
    int x0 = std::max(destClip.Left - dx, srcClip.Left - sx);
    int y0 = std::max(destClip.Top - dy, srcClip.Top - sy);
    int x1 = std::min({dest.Width(), destClip.Right - dx, srcClip.Right - sx});
    int y1 = std::min({dest.Height(), destClip.Bottom - dy, srcClip.Bottom - sy});
    x0 = std::max(0, x0);
    y0 = std::max(0, y0);
    if (x1 <= x0 || y1 <= y0) return;
    const bool overlap = FTarget == source.FTarget;
    size_t bytes = static_cast<size_t>(x1 - x0) * 4;
    auto copyRow = [&](int row) {
        const uchar* from = source.FTarget->constScanLine(sy + row) + (sx + x0) * 4;
        uchar* to = FTarget->scanLine(dy + row) + (dx + x0) * 4;
        std::memmove(to, from, bytes);
    };
    if (overlap && dy > sy)
        for (int row = y1 - 1; row >= y0; --row) copyRow(row);
    else
        for (int row = y0; row < y1; ++row) copyRow(row);
}

TColor TCanvas::Pixel(int x, int y) const {
    const qreal scale = FTarget ? FTarget->devicePixelRatio() : 1;
    int tx = static_cast<int>((x + FOrigin.X) * scale), ty = static_cast<int>((y + FOrigin.Y) * scale);
    if (!FTarget || tx < 0 || ty < 0 || tx >= FTarget->width() || ty >= FTarget->height())
        return clNone;
    QRgb p = FTarget->pixel(tx, ty);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (!TargetClip().Contains({x + FOrigin.X, y + FOrigin.Y})) return;
    TColor rgb = ColorToRGB(color);
    QPainter p(FTarget);
    p.fillRect(x + FOrigin.X, y + FOrigin.Y, 1, 1, QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
}
