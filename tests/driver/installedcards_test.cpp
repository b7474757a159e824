// The installed-cards window, its File-menu entry and the start-up card check, with the
// substitute driver library found (or not) through the loader's normal search. ctest starts
// this program once per library situation (see CMakeLists.txt):
//   PciMissing    - no library on the search path
//   PciIncomplete - a library lacking one entry point
//   PciComplete   - the whole library; the card count is set through the stub's control
#include "app/mainform.h"
#include "classlib/application.h"
#include "classlib/button.h"
#include "classlib/form.h"
#include "classlib/label.h"
#include "classlib/mainmenu.h"
#include "classlib/memo.h"
#include "classlib/menuitem.h"
#include "classlib/richedit.h"
#include "driver/llztxwdm.h"
#include "setupctrls/helpform.h"
#include "setupctrls/pciform.h"
#include "setupctrls/setupsupporter.h"
#include "system/messagebox.h"
#include "system/timerwindow.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char* DriverFileName = "libZTXWDM.so";

// The copy of the library the loader brought in, or nullptr.
void* ResidentDriver() { return dlopen(DriverFileName, RTLD_NOLOAD | RTLD_NOW); }

template <typename TFunction> TFunction StubControl(const char* name) {
    void* library = ResidentDriver();
    void* address = library ? dlsym(library, name) : nullptr;
    TFunction function = nullptr;
    std::memcpy(&function, &address, sizeof address);
    return function;
}

int32_t StubGetNumCardsCalls() {
    auto calls = StubControl<int32_t (*)()>("StubGetNumCardsCalls");
    return calls ? calls() : 0;
}

void StubSetNumCards(int32_t count) {
    auto set = StubControl<void (*)(int32_t)>("StubSetNumCards");
    ASSERT_NE(set, nullptr) << "the substitute library is not loaded";
    set(count);
}

struct TShownBox {
    std::string Caption;
    std::string Text;
};

// The real card page with a card-text handler added, as a page for a card with a driver
// would have it.
class InstalledCards : public testing::Test {
  protected:
    void SetUp() override {
        TMessageBox::SetHook([this](QWidget*, const std::string& text, const std::string& caption,
                                    unsigned) {
            Boxes.push_back({caption, text});
            return IDOK;
        });
        ExceptionsBefore = Application->ExceptionCount();
        Form = new TMainForm(Application);
        Application->SetMainForm(Form);
        Sup = Form->SetSup;
        Sup->OnGetCardString = [this](TObject* sender, int32_t index) {
            EXPECT_EQ(sender, Sup);
            Asked.push_back(index);
            return index < static_cast<int32_t>(Texts.size()) ? Texts[static_cast<size_t>(index)]
                                                              : std::string("unexpected");
        };
    }

    void TearDown() override {
        Application->OnIdle = nullptr;
        delete Form;
        TMessageBox::SetHook(nullptr);
    }

    std::vector<std::string> MemoLines() const { return Sup->PCIForm()->PCIMemo->Lines().Items(); }
    std::string Heading() const { return Sup->HeaderLabel()->Caption(); }
    int NewExceptions() const { return Application->ExceptionCount() - ExceptionsBefore; }

    void ExpectNoCardOutcome(const char* heading) {
        ASSERT_NE(Sup->PCIForm(), nullptr);
        EXPECT_EQ(MemoLines(), std::vector<std::string>{"No Card Found"});
        EXPECT_EQ(Heading(), heading);
    }

    TMainForm* Form = nullptr;
    TSetupSupporter* Sup = nullptr;
    std::vector<std::string> Texts;
    std::vector<int32_t> Asked;
    std::vector<TShownBox> Boxes;
    int ExceptionsBefore = 0;
};

// ---- without a usable library -----------------------------------------------------------

using PciMissing = InstalledCards;
using PciIncomplete = InstalledCards;

TEST_F(PciMissing, NoLibraryGivesTheNoCardOutcome) {
    Application->DoIdle();

    EXPECT_FALSE(DriverLoaded);
    EXPECT_EQ(GetNumCards, nullptr);
    EXPECT_EQ(ResidentDriver(), nullptr);
    EXPECT_TRUE(Asked.empty());
    ExpectNoCardOutcome("No Tarvo-K8 Found");
    EXPECT_TRUE(Sup->PCIForm()->Visible()) << "the window is built and opened all the same";
    EXPECT_EQ(Form->File1->Items(0)->Name(), "DisplayPCI");
    EXPECT_EQ(NewExceptions(), 0);
}

TEST_F(PciIncomplete, IncompleteLibraryIsNeverAskedForTheCount) {
    Application->DoIdle();

    ASSERT_NE(ResidentDriver(), nullptr) << "run through ctest";
    EXPECT_FALSE(DriverLoaded);
    EXPECT_NE(GetNumCards, nullptr) << "found, but not to be trusted";
    EXPECT_EQ(StubGetNumCardsCalls(), 0);
    EXPECT_TRUE(Asked.empty());
    ExpectNoCardOutcome("No Tarvo-K8 Found");
    EXPECT_EQ(NewExceptions(), 0);
}

// ---- with the whole library -------------------------------------------------------------

class PciComplete : public InstalledCards {
  protected:
    void SetUp() override {
        InstalledCards::SetUp();
        LoadDriverLibrary();
        ASSERT_TRUE(DriverLoaded) << "run through ctest";
        StubSetNumCards(0);
    }
};

struct TCountCase {
    const char* Name;
    int32_t Count;
    std::vector<std::string> Texts;
    bool Series;
    std::vector<std::string> Lines;
    const char* Heading;
};

class PciCompleteCounts : public PciComplete, public testing::WithParamInterface<TCountCase> {};

TEST_P(PciCompleteCounts, ListsEveryDescribedCardAndSetsTheHeading) {
    const TCountCase& c = GetParam();
    StubSetNumCards(c.Count);
    Texts = c.Texts;
    Sup->bSeries = c.Series;
    const int32_t callsBefore = StubGetNumCardsCalls();

    Application->DoIdle();

    EXPECT_EQ(StubGetNumCardsCalls(), callsBefore + 1);
    std::vector<int32_t> expectedIndexes;
    for (int32_t i = 0; i < c.Count; ++i) expectedIndexes.push_back(i);
    EXPECT_EQ(Asked, expectedIndexes);
    ASSERT_NE(Sup->PCIForm(), nullptr);
    EXPECT_EQ(MemoLines(), c.Lines);
    EXPECT_EQ(Heading(), c.Heading);
    EXPECT_EQ(NewExceptions(), 0);
}

const std::vector<std::string> NoCard = {"No Card Found"};
const TCountCase CountCases[] = {
    {"TwoCards", 2, {"Tarvo-K8 #0, slot 3", "Tarvo-K8 #1, slot 5"}, false,
     {"Tarvo-K8 #0, slot 3", "Tarvo-K8 #1, slot 5"}, "Tarvo-K8 Settings Program"},
    {"TwoCardsSeries", 2, {"first", "second"}, true, {"first", "second"},
     "Tarvo-K8 Series Settings Program"},
    {"OneCardWithEmptyText", 1, {""}, false, NoCard, "No Tarvo-K8 Found"},
    {"EmptyTextsAreLeftOut", 3, {"A", "", "C"}, false, {"A", "C"}, "Tarvo-K8 Settings Program"},
    {"NoCard", 0, {}, false, NoCard, "No Tarvo-K8 Found"},
    {"NoCardSeries", 0, {}, true, NoCard, "No Tarvo-K8 Series Card Found"},
    {"NegativeCount", -2, {}, false, NoCard, "No Tarvo-K8 Found"},
};
INSTANTIATE_TEST_SUITE_P(Cases, PciCompleteCounts, testing::ValuesIn(CountCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

TEST_F(PciComplete, CardsWindowOpensFirstAndHelpFollowsAtTheFirstTick) {
    StubSetNumCards(2);
    Texts = {"first", "second"};

    Application->DoIdle();

    TPCIForm* pci = Sup->PCIForm();
    ASSERT_NE(pci, nullptr);
    EXPECT_TRUE(pci->Visible());
    EXPECT_FALSE(Sup->HelpForm()->Visible());
    Sup->TimerWindow().Fire(1);
    EXPECT_TRUE(Sup->HelpForm()->Visible());
    EXPECT_TRUE(pci->Visible());
    EXPECT_NE(Sup->HelpForm()->HelpRich->PlainText().find(
                  "To see a list of Tarvo-K8 cards installed, click \"Display Tarvo-K8 Cards "
                  "Installed\" under the File menu."),
              std::string::npos);
}

TEST_F(PciComplete, FileMenuBeginsWithTheDisplayEntry) {
    StubSetNumCards(2);
    Texts = {"first", "second"};
    Application->DoIdle();

    ASSERT_EQ(Form->File1->Count(), 2);
    TMenuItem* entry = Form->File1->Items(0);
    EXPECT_EQ(entry->Name(), "DisplayPCI");
    EXPECT_EQ(entry->Caption(), "Display Tarvo-K8 Cards Installed");
    EXPECT_EQ(entry->Owner(), Form->File1);
    EXPECT_EQ(Form->File1->Items(1), Form->Exit2);

    TPCIForm* pci = Sup->PCIForm();
    pci->CloseButton->Click();
    ASSERT_FALSE(pci->Visible());
    entry->Click();
    EXPECT_TRUE(pci->Visible());
    EXPECT_EQ(MemoLines(), (std::vector<std::string>{"first", "second"})) << "the same list";

    pci->CloseButton->Click();
    Form->DisplayClick(nullptr);
    EXPECT_TRUE(pci->Visible());
}

TEST_F(PciComplete, WindowIsBuiltAsDescribed) {
    Application->DoIdle();

    TPCIForm* pci = Sup->PCIForm();
    ASSERT_NE(pci, nullptr);
    EXPECT_EQ(pci->Name(), "PCIForm");
    EXPECT_EQ(pci->Owner(), Form);
    EXPECT_EQ(pci->Caption(), "Tarvo-K8 Cards installed");
    EXPECT_EQ(pci->FormStyle(), fsStayOnTop);
    EXPECT_EQ(pci->Position(), poDefaultPosOnly);
    EXPECT_EQ(pci->ClientWidth(), 305);
    EXPECT_EQ(pci->ClientHeight(), 122);

    TMemo* memo = pci->PCIMemo;
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Name(), "PCIMemo");
    EXPECT_EQ(memo->Parent(), pci);
    EXPECT_EQ(memo->BoundsRect(), Bounds(0, 0, 305, 89));
    EXPECT_EQ(memo->Anchors(), akLeft | akTop | akRight | akBottom);
    EXPECT_EQ(memo->Font().Name(), "Tahoma");
    EXPECT_EQ(memo->Font().Size(), 10);
    EXPECT_EQ(memo->Font().Style(), fsBold);
    EXPECT_TRUE(memo->ReadOnly());
    EXPECT_EQ(memo->ScrollBars(), ssVertical);

    TButton* close = pci->CloseButton;
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->Name(), "CloseButton");
    EXPECT_EQ(close->BoundsRect(), Bounds(115, 97, 73, 25)) << "not centred again after the fit";
    EXPECT_EQ(close->Anchors(), akBottom);
    EXPECT_EQ(close->Caption(), "Close");
    EXPECT_TRUE(close->Cancel());
    EXPECT_EQ(close->TabOrder(), 0);

    EXPECT_FALSE(pci->DialogKey(memo, true)) << "the text box keeps Escape";
    EXPECT_TRUE(pci->DialogKey(close, true));
    EXPECT_FALSE(pci->Visible());
    EXPECT_EQ(Sup->PCIForm(), pci) << "hidden, not destroyed";
}

TEST_F(PciComplete, SecondCardNameNamesWindowAndEntry) {
    Sup->UseCardNameB = true;
    Application->DoIdle();
    EXPECT_EQ(Sup->PCIForm()->Caption(), "Tarvo-M8 Cards installed");
    EXPECT_EQ(Form->File1->Items(0)->Caption(), "Display Tarvo-M8 Cards Installed");
    EXPECT_EQ(Heading(), "No Tarvo-M8 Found");
}

TEST_F(PciComplete, HandlerErrorReachesTheDefaultDisplayAndNothingCrashes) {
    StubSetNumCards(3);
    Sup->OnGetCardString = [](TObject*, int32_t index) -> std::string {
        if (index == 1) throw std::runtime_error("card 1 did not answer");
        return "card " + std::to_string(index);
    };

    Application->DoIdle();

    EXPECT_EQ(NewExceptions(), 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "card 1 did not answer");
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "card 1 did not answer.");
    EXPECT_FALSE(Application->OnIdle) << "the build is not tried again";
    ASSERT_NE(Sup->PCIForm(), nullptr);
    EXPECT_EQ(Heading(), "") << "the build ended before the heading";
    EXPECT_FALSE(Sup->HelpPending());
    EXPECT_FALSE(Sup->TimerWindow().IsRunning(1));

    Application->DoIdle();
    EXPECT_EQ(NewExceptions(), 1);
    Form->Howtousethisprogram1->Click();
    EXPECT_TRUE(Sup->HelpForm()->Visible()) << "the program runs on";
}

// ---- which top-level entry is the File menu ---------------------------------------------

struct TMenuCase {
    const char* Name;
    std::vector<std::string> TopLevel; // empty: the window has no main menu
    int FileIndex;                     // where the entry goes, -1 for nowhere
};

class PciCompleteFileEntry : public PciComplete, public testing::WithParamInterface<TMenuCase> {};

TEST_P(PciCompleteFileEntry, OnlyTheExactFileCaptionGetsTheEntry) {
    const TMenuCase& c = GetParam();
    struct TRestoreMainForm {
        TForm* Form;
        ~TRestoreMainForm() { Application->SetMainForm(Form); }
    } restore{Form};
    auto owned = std::make_unique<TForm>(nullptr);
    TForm* main = owned.get();
    std::vector<TMenuItem*> top;
    if (!c.TopLevel.empty()) {
        auto* menu = new TMainMenu(main);
        for (const std::string& caption : c.TopLevel) {
            auto* item = new TMenuItem(menu);
            item->SetCaption(caption);
            menu->Items()->Add(item);
            auto* exit = new TMenuItem(item);
            exit->SetCaption("&Exit");
            item->Add(exit);
            top.push_back(item);
        }
        main->SetMenu(menu);
    }
    Application->SetMainForm(main);
    auto* sup = new TSetupSupporter(main);
    sup->CardNameA = "Tarvo-K8";
    sup->OnGetCardString = [](TObject*, int32_t) { return std::string(); };

    sup->BuildWindows();

    for (size_t i = 0; i < top.size(); ++i) {
        const bool gotEntry = static_cast<int>(i) == c.FileIndex;
        ASSERT_EQ(top[i]->Count(), gotEntry ? 2 : 1) << c.TopLevel[i];
        if (gotEntry) {
            EXPECT_EQ(top[i]->Items(0)->Caption(), "Display Tarvo-K8 Cards Installed");
        }
    }
    ASSERT_NE(sup->PCIForm(), nullptr) << "the window is built all the same";
    EXPECT_TRUE(sup->PCIForm()->Visible());
}

const TMenuCase MenuCases[] = {
    {"ExactCaption", {"&File", "&Help"}, 0},
    {"WithoutAmpersand", {"File", "&Help"}, -1},
    {"OtherCase", {"&file", "&FILE"}, -1},
    {"FirstExactOneWins", {"&Edit", "&File", "&File"}, 1},
    {"NoMainMenu", {}, -1},
};
INSTANTIATE_TEST_SUITE_P(Cases, PciCompleteFileEntry, testing::ValuesIn(MenuCases),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.Name); });

} // namespace
