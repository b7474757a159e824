// The main window: the container of the card page, created from its stored layout.
#pragma once

#include "classlib/form.h"

class TMainMenu;
class TMenuItem;
class TBoardImage;
class TBoardHighlight;
class TRadioPanel;

class TMainForm : public TForm {
  public:
    explicit TMainForm(TComponent* owner);
    DECLARE_CLASS_NAME(TMainForm)

    // Bound to the components of the same name once the layout is loaded.
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Help1 = nullptr;
    TMenuItem* Howtousethisprogram1 = nullptr;
    TMenuItem* Exit2 = nullptr;
    TMenuItem* TechnicalSupport1 = nullptr;
    TBoardImage* BoardImage1 = nullptr;
    TBoardHighlight* FilterHighlight = nullptr;
    TRadioPanel* FilterPanel = nullptr;
    TBoardHighlight* ConnectorHighlight = nullptr;
    TRadioPanel* ConnectorPanel = nullptr;

    void Howtousethisprogram1Click(TObject* sender);
    void DisplayClick(TObject* sender);
    void Exit2Click(TObject* sender);
    void TechnicalSupport1Click(TObject* sender);
    void FilterCheckClick(TObject* sender);
    void FormCreate(TObject* sender);

  private:
    void PublishMethods();
    void BindFields();
    template <typename T> void Bind(T*& field, const char* name);
};
