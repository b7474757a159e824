// The real card page, built offscreen from the layout compiled into the program: the filter
// check boxes and the switch drawing, the start-up through the supporter, and the Help menu.
#include "app/mainform.h"
#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/button.h"
#include "classlib/checkbox.h"
#include "classlib/exceptions.h"
#include "classlib/label.h"
#include "classlib/mainmenu.h"
#include "classlib/memo.h"
#include "classlib/menuitem.h"
#include "driver/llztxwdm.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/dipswitch.h"
#include "setupctrls/helpform.h"
#include "setupctrls/popupform.h"
#include "setupctrls/radiopanel.h"
#include "setupctrls/setupsupporter.h"
#include "setupctrls/techform.h"
#include "system/messagebox.h"
#include "system/timerwindow.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Runs a real event loop, which blocks between events as the program's does (and so raises the
// idle event), until `done` holds or the time is up.
template <typename F> bool RunLoopUntil(F done, int timeoutMs) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

struct TShownBox {
    std::string Caption;
    std::string Text;
    unsigned Flags = 0;
};

class CardPage : public testing::Test {
  protected:
    void SetUp() override {
        TMessageBox::SetHook([this](QWidget*, const std::string& text, const std::string& caption,
                                    unsigned flags) {
            Boxes.push_back({caption, text, flags});
            return IDOK;
        });
        ExceptionsBefore = Application->ExceptionCount();
        Form = new TMainForm(Application);
        Application->SetMainForm(Form);
    }

    void TearDown() override {
        Application->OnIdle = nullptr;
        delete Form;
        TMessageBox::SetHook(nullptr);
    }

    // The message loop's first idle moment, then the supporter's first tick.
    void StartUp() {
        Application->DoIdle();
        Form->SetSup->TimerWindow().Fire(1);
    }

    TCheckBox* Box(int filterNumber) const {
        for (TWinControl* c : Form->FilterPanel->TabList())
            if (c->Caption() == "Filter " + std::to_string(filterNumber)) return As<TCheckBox>(c);
        return nullptr;
    }

    // As the user does it: through the toolkit's own click, which the library guards.
    static void UserClick(TWinControl* control) {
        if (auto* box = qobject_cast<QCheckBox*>(control->Handle())) box->click();
        else if (auto* button = qobject_cast<QPushButton*>(control->Handle())) button->click();
    }

    std::string Bits() const { return Form->FilterDips->BinaryValueStr(); }
    int NewExceptions() const { return Application->ExceptionCount() - ExceptionsBefore; }

    TMainForm* Form = nullptr;
    std::vector<TShownBox> Boxes;
    int ExceptionsBefore = 0;
};

// ---- the loaded page --------------------------------------------------------------------

TEST_F(CardPage, EveryFieldIsBoundToItsComponent) {
    const std::pair<TComponent*, const char*> fields[] = {
        {Form->MainMenu1, "MainMenu1"},       {Form->File1, "File1"},
        {Form->Help1, "Help1"},               {Form->Howtousethisprogram1, "Howtousethisprogram1"},
        {Form->Exit2, "Exit2"},               {Form->TechnicalSupport1, "TechnicalSupport1"},
        {Form->BoardImage1, "BoardImage1"},   {Form->FilterHighlight, "FilterHighlight"},
        {Form->SetSup, "SetSup"},             {Form->FilterPanel, "FilterPanel"},
        {Form->FilterDips, "FilterDips"},     {Form->Label6, "Label6"},
        {Form->Label7, "Label7"},             {Form->Label8, "Label8"},
        {Form->Label9, "Label9"},             {Form->Label10, "Label10"},
        {Form->Label11, "Label11"},           {Form->Label12, "Label12"},
        {Form->Label13, "Label13"},           {Form->FilterCheck0, "FilterCheck0"},
        {Form->FilterCheck1, "FilterCheck1"}, {Form->FilterCheck2, "FilterCheck2"},
        {Form->FilterCheck3, "FilterCheck3"}, {Form->FilterCheck4, "FilterCheck4"},
        {Form->FilterCheck5, "FilterCheck5"}, {Form->FilterCheck6, "FilterCheck6"},
        {Form->FilterCheck7, "FilterCheck7"}, {Form->ConnectorHighlight, "ConnectorHighlight"},
        {Form->ConnectorPanel, "ConnectorPanel"},
    };
    for (const auto& [field, name] : fields) {
        ASSERT_NE(field, nullptr) << name;
        EXPECT_EQ(field->Name(), name);
        EXPECT_EQ(field->Owner(), Form) << name;
    }
}

TEST_F(CardPage, SupporterCarriesTheLayoutsValues) {
    TSetupSupporter* sup = Form->SetSup;
    EXPECT_EQ(sup->CompanyName, "Velkor");
    EXPECT_EQ(sup->CardNameA, "Tarvo-K8");
    EXPECT_EQ(sup->CardNameB, "Tarvo-M8");
    EXPECT_FALSE(sup->CallHow.empty());
    EXPECT_EQ(sup->Channels, 0);
    EXPECT_TRUE(sup->ChangeButtons);
    EXPECT_FALSE(sup->bSeries);
    EXPECT_FALSE(sup->UseCardNameB);
    EXPECT_FALSE(sup->MultiPort);
    EXPECT_FALSE(sup->OnBeginCalib());
    EXPECT_FALSE(sup->OnGetCardString);
    EXPECT_FALSE(sup->OnGetCalibString);
    EXPECT_FALSE(sup->OnStopButtonClick);
    EXPECT_FALSE(sup->OnStartButtonClick);
    EXPECT_EQ(sup->HelpForm(), nullptr) << "nothing is built before the first idle";
}

TEST_F(CardPage, BoardImagesFirstCircleIsTheFilterCircle) {
    EXPECT_EQ(Form->BoardImage1->First(), Form->FilterHighlight);
    EXPECT_EQ(Form->FilterHighlight->Parent(), Form->BoardImage1);
    EXPECT_EQ(Form->FilterHighlight->RadioPanel(), Form->FilterPanel);
    EXPECT_EQ(Form->ConnectorHighlight->RadioPanel(), Form->ConnectorPanel);
}

TEST_F(CardPage, TabRunsFromFilterOneToFilterEight) {
    const std::vector<TWinControl*>& tabs = Form->FilterPanel->TabList();
    ASSERT_EQ(tabs.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(tabs[static_cast<size_t>(i)]->Caption(), "Filter " + std::to_string(i + 1));
        EXPECT_EQ(tabs[static_cast<size_t>(i)]->Name(), "FilterCheck" + std::to_string(i));
        EXPECT_EQ(tabs[static_cast<size_t>(i)]->TabOrder(), i);
    }
}

TEST_F(CardPage, StartUpLeavesAllFiltersClearAndTheHeadingSaysFound) {
    StartUp();

    EXPECT_EQ(Bits(), "00000000");
    for (int filter = 1; filter <= 8; ++filter) {
        ASSERT_NE(Box(filter), nullptr) << filter;
        EXPECT_FALSE(Box(filter)->Checked()) << filter;
    }
    ASSERT_NE(Form->SetSup->HeaderLabel(), nullptr);
    EXPECT_EQ(Form->SetSup->HeaderLabel()->Caption(), "Tarvo-K8 Settings Program");
    EXPECT_EQ(Form->Caption(), "Setup");
    ASSERT_EQ(Form->File1->Count(), 1) << "no installed-cards entry on this page";
    EXPECT_EQ(Form->File1->Items(0)->Caption(), "&Exit");
    EXPECT_EQ(Form->SetSup->PCIForm(), nullptr);
    EXPECT_FALSE(DriverLoaded);
    EXPECT_EQ(GetNumCards, nullptr);
    EXPECT_FALSE(Application->OnIdle);
    EXPECT_TRUE(Form->SetSup->HelpForm()->Visible());
    EXPECT_EQ(NewExceptions(), 0);
}

TEST_F(CardPage, MessageLoopBuildsAtIdleAndOpensHelpByItself) {
    // Time the build from the moment the creation handler's idle hook returns.
    QElapsedTimer sinceBuild;
    TIdleEvent firstIdle = Application->OnIdle;
    ASSERT_TRUE(firstIdle) << "FormCreate hooks the first idle";
    Application->OnIdle = [&](TObject* sender, bool& done) {
        firstIdle(sender, done);
        sinceBuild.start();
    };
    Form->ShowMainForm();
    TSetupSupporter* sup = Form->SetSup;

    // Real time through the real loop: the idle event, then the 100 ms timer.
    EXPECT_TRUE(RunLoopUntil([&] { return sinceBuild.isValid(); }, 3000));
    ASSERT_NE(sup->HelpForm(), nullptr);
    EXPECT_EQ(sup->HeaderLabel()->Caption(), "Tarvo-K8 Settings Program");
    // The help waits for the timer's tick (no wall-clock bound: the machine may be busy).
    EXPECT_FALSE(sup->HelpForm()->Visible());
    EXPECT_TRUE(sup->TimerWindow().IsRunning(1));
    EXPECT_EQ(sup->TimerWindow().Interval(1), 100);
    EXPECT_TRUE(RunLoopUntil([sup] { return sup->HelpForm()->Visible(); }, 3000));
    EXPECT_FALSE(Application->OnIdle) << "the hook removed itself";
    EXPECT_FALSE(sup->HelpPending());
    EXPECT_FALSE(sup->TimerWindow().IsRunning(1));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(CardPage, NoCalibrationPollEverRuns) {
    StartUp();
    Application->DoIdle();

    EXPECT_FALSE(Form->SetSup->Calibrating());
    EXPECT_FALSE(Form->SetSup->TimerWindow().IsRunning(1));
    EXPECT_TRUE(Form->SetSup->CalibDisplays().empty());
    EXPECT_TRUE(Boxes.empty()) << "neither calibration box is shown";
}

TEST_F(CardPage, NeitherPanelIsEverVisibleInTheMainWindow) {
    auto panelsHidden = [this] {
        for (TRadioPanel* panel : {Form->FilterPanel, Form->ConnectorPanel})
            if (panel->Parent() == Form && panel->Visible()) return false;
        return true;
    };
    EXPECT_TRUE(panelsHidden()) << "after loading";

    StartUp();
    TBitmap bitmap;
    Form->PaintTo(bitmap);
    Form->BoardImage1->PaintTo(bitmap);
    EXPECT_TRUE(panelsHidden()) << "after start-up and painting";

    Form->SetSup->HelpForm()->StartButton->Click();
    EXPECT_TRUE(panelsHidden()) << "after the filter circle opened";
}

// ---- FilterCheckClick -------------------------------------------------------------------

struct TFilterStep {
    int Filter;
    bool Checked;
    const char* Bits;
};

struct TFilterCase {
    const char* Name;
    std::vector<TFilterStep> Steps;
};

class CardPageFilters : public CardPage, public testing::WithParamInterface<TFilterCase> {};

TEST_P(CardPageFilters, EachClickRewritesOnlyItsOwnCharacter) {
    StartUp();
    for (const TFilterStep& step : GetParam().Steps) {
        Box(step.Filter)->SetChecked(step.Checked);
        EXPECT_EQ(Bits(), step.Bits) << "Filter " << step.Filter << (step.Checked ? " on" : " off");
    }
    EXPECT_EQ(NewExceptions(), 0);
}

const TFilterCase FilterCases[] = {
    {"OneThenEightThenClearOne", {{1, true, "00000001"}, {8, true, "10000001"}, {1, false, "10000000"}}},
    {"ThreeIsTagFive", {{3, true, "00000100"}}},
    {"TwiceReturns", {{5, true, "00010000"}, {5, false, "00000000"}}},
    {"EveryFilterOnItsOwnCharacter",
     {{1, true, "00000001"}, {2, true, "00000011"}, {3, true, "00000111"}, {4, true, "00001111"},
      {5, true, "00011111"}, {6, true, "00111111"}, {7, true, "01111111"}, {8, true, "11111111"},
      {4, false, "11110111"}}},
    {"EightWithoutStoredTagWritesTheFirst", {{8, true, "10000000"}}},
};
INSTANTIATE_TEST_SUITE_P(Cases, CardPageFilters, testing::ValuesIn(FilterCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

TEST_F(CardPage, UserClickOnACheckBoxReachesTheDrawing) {
    StartUp();
    UserClick(Box(2));
    EXPECT_TRUE(Box(2)->Checked());
    EXPECT_EQ(Bits(), "00000010");
    UserClick(Box(2));
    EXPECT_EQ(Bits(), "00000000");
    EXPECT_EQ(NewExceptions(), 0);
}

TEST_F(CardPage, SenderThatIsNoCheckBoxReachesTheDefaultDisplay) {
    StartUp();
    auto* button = new TButton(Form);
    button->SetParent(Form);
    button->OnClick = Form->MethodAddress("FilterCheckClick");
    ASSERT_TRUE(button->OnClick);

    UserClick(button);

    EXPECT_EQ(NewExceptions(), 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "Invalid class typecast");
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Invalid class typecast.");
    EXPECT_EQ(Boxes[0].Flags, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(Bits(), "00000000");
    EXPECT_THROW(Form->FilterCheckClick(Form->Label6), EInvalidCast);
    EXPECT_THROW(Form->FilterCheckClick(nullptr), EInvalidCast);
}

TEST_F(CardPage, TagOutsideTheStringIsReportedClearly) {
    StartUp();
    for (int tag : {8, -1}) {
        TCheckBox* box = Box(1);
        box->SetTag(tag);
        const int before = Application->ExceptionCount();

        UserClick(box);

        EXPECT_EQ(Application->ExceptionCount(), before + 1) << tag;
        const std::string& message = Application->LastExceptionMessage();
        EXPECT_NE(message.find("FilterCheck0"), std::string::npos) << message;
        EXPECT_NE(message.find("tag " + std::to_string(tag)), std::string::npos) << message;
        EXPECT_NE(message.find("8 positions"), std::string::npos) << message;
        EXPECT_EQ(Bits(), "00000000") << "nothing written past the string";
    }
}

// ---- Help menu --------------------------------------------------------------------------

TEST_F(CardPage, HelpCommandsBeforeTheFirstIdleDoNothing) {
    EXPECT_NO_THROW(Form->Howtousethisprogram1->Click());
    EXPECT_NO_THROW(Form->TechnicalSupport1->Click());
    EXPECT_NO_THROW(Form->DisplayClick(nullptr));
    EXPECT_EQ(Form->SetSup->HelpForm(), nullptr);
    EXPECT_EQ(NewExceptions(), 0);

    StartUp();
    EXPECT_TRUE(Form->SetSup->HelpForm()->Visible()) << "the start-up still goes as usual";
    EXPECT_NO_THROW(Form->DisplayClick(nullptr)) << "no cards window on this page";
}

TEST_F(CardPage, HowToUseShowsTheOneHelpWindow) {
    StartUp();
    THelpForm* help = Form->SetSup->HelpForm();

    Form->Howtousethisprogram1->Click();
    Form->Howtousethisprogram1->Click();

    EXPECT_TRUE(help->Visible());
    int helpWindows = 0;
    for (TForm* form : Application->Forms()) helpWindows += dynamic_cast<THelpForm*>(form) != nullptr;
    EXPECT_EQ(helpWindows, 1);

    help->StartButton->Click();
    ASSERT_FALSE(help->Visible());
    const TRect where = help->BoundsRect();
    Form->Howtousethisprogram1->Click();
    EXPECT_TRUE(help->Visible());
    EXPECT_EQ(help->BoundsRect(), where) << "shown again where it was";
}

TEST_F(CardPage, TechnicalSupportComesBackUnchangedAfterClose) {
    StartUp();
    TTechForm* tech = Form->SetSup->TechForm();
    EXPECT_FALSE(tech->Visible());

    Form->TechnicalSupport1->Click();
    ASSERT_TRUE(tech->Visible());
    const std::vector<std::string> text = tech->TechMemo->Lines().Items();
    EXPECT_NE(text.front().find("Velkor stands ready"), std::string::npos);
    tech->CloseButton->Click();
    ASSERT_FALSE(tech->Visible());

    Form->TechnicalSupport1->Click();
    EXPECT_TRUE(tech->Visible());
    EXPECT_EQ(Form->SetSup->TechForm(), tech);
    EXPECT_EQ(tech->TechMemo->Lines().Items(), text);
}

TEST_F(CardPage, StartOpensTheFilterCirclesPopupPinned) {
    StartUp();
    THelpForm* help = Form->SetSup->HelpForm();

    EXPECT_TRUE(help->DialogKey(help->StartButton, false)); // Enter

    EXPECT_FALSE(help->Visible());
    ASSERT_NE(Form->FilterHighlight->Popup(), nullptr);
    EXPECT_TRUE(Form->FilterHighlight->Popup()->Visible());
    EXPECT_TRUE(Form->FilterHighlight->Pinned());
    EXPECT_EQ(Form->FilterPanel->Parent(), Form->FilterHighlight->Popup());
    EXPECT_EQ(Form->ConnectorHighlight->Popup(), nullptr);
    EXPECT_EQ(NewExceptions(), 0);
}

} // namespace
