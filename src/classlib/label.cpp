#include "classlib/label.h"

#include "classlib/codepage.h"
#include "classlib/wincontrol.h"

#include <QFontMetrics>

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBoundsSilently(0, 0, 65, 17);
    SetParentColor(true);
    TControl::SetAutoSize(true);
}

void TLabel::SetAlignment(TAlignment alignment) {
    if (alignment == FAlignment) return;
    FAlignment = alignment;
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    if (value == AutoSize()) return;
    TControl::SetAutoSize(value);
    AdjustBounds();
}

void TLabel::CaptionChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::AdjustBounds() {
    if (!AutoSize() || IsLoading()) return;
    QFontMetrics metrics(Font().ToQFont());
    QString text = TCodePage::ToQString(Caption()).remove('&');
    int height = metrics.height();
    // Aligned to an edge, only the height follows the text.
    if (Align() == alTop || Align() == alBottom || Align() == alClient)
        SetBounds(Left(), Top(), Width(), height);
    else
        SetBounds(Left(), Top(), metrics.horizontalAdvance(text), height);
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    if (!FTransparent) {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = bsSolid;
        canvas.FillRect(ClientRect());
    }
    canvas.Brush.Style = bsClear;
    canvas.Font.Assign(Font());
    canvas.TextRect(ClientRect(), Caption(), FAlignment);
}
