#include "classlib/richedit.h"

#include "classlib/rtfreader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

TRichEdit::TRichEdit(TComponent* owner) : TWinControl(owner) {
    SetBoundsSilently(0, 0, 185, 89);
    SetColor(clWindow);
    SetTabStop(true);
}

QWidget* TRichEdit::CreateWidget(QWidget* parentWidget) {
    auto* edit = new QTextEdit(parentWidget);
    edit->viewport()->setMouseTracking(true);
    TColor rgb = ColorToRGB(Color());
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
    edit->setPalette(palette);
    return edit;
}

void TRichEdit::LoadRichText(const std::string& rtf) {
    FDocument = TRtfReader::Read(rtf);
    ShowDocument();
}

std::string TRichEdit::PlainText() const { return FDocument.PlainText(); }

void TRichEdit::ShowDocument() {
    auto* edit = static_cast<QTextEdit*>(Handle());
    edit->clear();
    QTextCursor cursor(edit->document());
    bool first = true;
    for (const TRtfParagraph& paragraph : FDocument.Paragraphs) {
        if (!first) cursor.insertBlock();
        first = false;
        for (const TRtfRun& run : paragraph.Runs) {
            QTextCharFormat format;
            if (!run.FontName.empty()) format.setFontFamilies({QString::fromStdString(run.FontName)});
            format.setFontPointSize(run.HalfPoints / 2.0);
            format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
            format.setFontItalic(run.Italic);
            format.setFontUnderline(run.Underline);
            format.setForeground(QColor(run.Color & 0xFF, (run.Color >> 8) & 0xFF,
                                        (run.Color >> 16) & 0xFF));
            cursor.insertText(QString::fromStdString(run.Text), format);
        }
    }
    edit->moveCursor(QTextCursor::Start);
}

void TRichEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    ApplySettings();
}

void TRichEdit::SetScrollBars(TScrollStyle value) {
    FScrollBars = value;
    ApplySettings();
}

void TRichEdit::ApplySettings() {
    auto* edit = static_cast<QTextEdit*>(Handle());
    edit->setReadOnly(FReadOnly);
    bool vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
    bool horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded
                                                  : Qt::ScrollBarAlwaysOff);
}

void TRichEdit::ColorChanged() {
    if (!HandleAllocated()) return;
    TColor rgb = ColorToRGB(Color());
    auto* edit = static_cast<QTextEdit*>(Handle());
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
    edit->setPalette(palette);
}
