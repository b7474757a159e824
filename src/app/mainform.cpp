#include "app/mainform.h"

#include "app/mainformlayout.h"
#include "classlib/application.h"
#include "classlib/classregistry.h"
#include "classlib/exceptions.h"
#include "classlib/mainmenu.h"
#include "classlib/menuitem.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/radiopanel.h"

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
    if (!TClassRegistry::Instance().Find("TMainForm"))
        TClassRegistry::Instance().Register("TMainForm", "TForm");
    PublishMethods();
    ReadLayout(MainFormLayout());
}

void TMainForm::PublishMethods() {
    PublishMethod("Howtousethisprogram1Click", [this](TObject* s) { Howtousethisprogram1Click(s); });
    PublishMethod("DisplayClick", [this](TObject* s) { DisplayClick(s); });
    PublishMethod("Exit2Click", [this](TObject* s) { Exit2Click(s); });
    PublishMethod("TechnicalSupport1Click", [this](TObject* s) { TechnicalSupport1Click(s); });
    PublishMethod("FilterCheckClick", [this](TObject* s) { FilterCheckClick(s); });
    PublishMethod("FormCreate", [this](TObject* s) {
        BindFields();
        FormCreate(s);
    });
}

template <typename T> void TMainForm::Bind(T*& field, const char* name) {
    TComponent* component = FindComponent(name);
    if (!component) throw Exception(std::string("The layout has no component named ") + name);
    field = As<T>(component);
}

void TMainForm::BindFields() {
    Bind(MainMenu1, "MainMenu1");
    Bind(File1, "File1");
    Bind(Help1, "Help1");
    Bind(Howtousethisprogram1, "Howtousethisprogram1");
    Bind(Exit2, "Exit2");
    Bind(TechnicalSupport1, "TechnicalSupport1");
    Bind(BoardImage1, "BoardImage1");
    Bind(FilterHighlight, "FilterHighlight");
    Bind(FilterPanel, "FilterPanel");
    Bind(ConnectorHighlight, "ConnectorHighlight");
    Bind(ConnectorPanel, "ConnectorPanel");
}

void TMainForm::Exit2Click(TObject*) { Close(); }

void TMainForm::Howtousethisprogram1Click(TObject*) {}
void TMainForm::TechnicalSupport1Click(TObject*) {}
void TMainForm::DisplayClick(TObject*) {}
void TMainForm::FilterCheckClick(TObject*) {}
void TMainForm::FormCreate(TObject*) {}
