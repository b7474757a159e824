// The main window: the container of the card page, created from its stored layout.
#pragma once

#include "classlib/form.h"

class TMainMenu;
class TMenuItem;
class TBoardImage;
class TBoardHighlight;
class TRadioPanel;
class TSetupSupporter;
class TDipSwitch;
class TLabel;
class TCheckBox;

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
    TSetupSupporter* SetSup = nullptr;
    TRadioPanel* FilterPanel = nullptr;
    TDipSwitch* FilterDips = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label11 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label13 = nullptr;
    TCheckBox* FilterCheck0 = nullptr;
    TCheckBox* FilterCheck1 = nullptr;
    TCheckBox* FilterCheck3 = nullptr;
    TCheckBox* FilterCheck2 = nullptr;
    TCheckBox* FilterCheck4 = nullptr;
    TCheckBox* FilterCheck5 = nullptr;
    TCheckBox* FilterCheck7 = nullptr;
    TCheckBox* FilterCheck6 = nullptr;
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
