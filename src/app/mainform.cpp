#include "app/mainform.h"

#include "app/mainformlayout.h"
#include "classlib/application.h"
#include "classlib/classregistry.h"
#include "classlib/exceptions.h"
#include "classlib/mainmenu.h"
#include "classlib/menuitem.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/dipswitch.h"
#include "setupctrls/helpform.h"
#include "setupctrls/pciform.h"
#include "setupctrls/radiopanel.h"
#include "setupctrls/setupsupporter.h"
#include "setupctrls/techform.h"
#include "classlib/checkbox.h"
#include "classlib/label.h"

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
    Bind(SetSup, "SetSup");
    Bind(FilterPanel, "FilterPanel");
    Bind(FilterDips, "FilterDips");
    TLabel** labels[] = {&Label6, &Label7, &Label8, &Label9, &Label10, &Label11, &Label12, &Label13};
    for (int i = 0; i < 8; ++i) Bind(*labels[i], ("Label" + std::to_string(i + 6)).c_str());
    TCheckBox** checks[] = {&FilterCheck0, &FilterCheck1, &FilterCheck2, &FilterCheck3,
                            &FilterCheck4, &FilterCheck5, &FilterCheck6, &FilterCheck7};
    for (int i = 0; i < 8; ++i) Bind(*checks[i], ("FilterCheck" + std::to_string(i)).c_str());
    Bind(ConnectorHighlight, "ConnectorHighlight");
    Bind(ConnectorPanel, "ConnectorPanel");
}

void TMainForm::Exit2Click(TObject*) { Close(); }

void TMainForm::Howtousethisprogram1Click(TObject*) {
    // Before the first idle the windows do not exist yet; the command then does nothing.
    if (SetSup && SetSup->HelpForm()) SetSup->HelpForm()->SetVisible(true);
}

void TMainForm::TechnicalSupport1Click(TObject*) {
    if (SetSup && SetSup->TechForm()) SetSup->TechForm()->SetVisible(true);
}

void TMainForm::DisplayClick(TObject*) {
    if (SetSup && SetSup->PCIForm()) SetSup->PCIForm()->SetVisible(true);
}

void TMainForm::FilterCheckClick(TObject* sender) {
    auto* box = As<TCheckBox>(sender);
    std::string bits = FilterDips->BinaryValueStr();
    // A tag outside the string would write past its end; say so instead.
    if (box->Tag() < 0 || box->Tag() >= static_cast<int>(bits.size()))
        throw Exception("The check box " + box->Name() + " has tag " + std::to_string(box->Tag()) +
                        ", but the switch drawing has only " + std::to_string(bits.size()) +
                        " positions");
    bits[static_cast<size_t>(box->Tag())] = box->Checked() ? '1' : '0';
    FilterDips->SetBinaryValueStr(bits);
}

void TMainForm::FormCreate(TObject*) { SetSup->HookFirstIdle(); }
