// A read-only capable rich-text box that loads Rich Text through the library's own reader.
#pragma once

#include "classlib/rtfdocument.h"
#include "classlib/wincontrol.h"

class TRichEdit : public TWinControl {
  public:
    explicit TRichEdit(TComponent* owner);
    DECLARE_CLASS_NAME(TRichEdit)

    // Replaces the contents with a Rich Text document (the string-stream load).
    void LoadRichText(const std::string& rtf);
    const TRtfDocument& Document() const { return FDocument; }
    // The text as shown, paragraphs separated by line feeds (UTF-8).
    std::string PlainText() const;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WantsDialogKeys() const override { return true; }

  protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void ColorChanged() override;

  private:
    void ShowDocument();
    void ApplySettings();
    TRtfDocument FDocument;
    bool FReadOnly = false;
    TScrollStyle FScrollBars = ssBoth;
};
