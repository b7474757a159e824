// Menus: item order through insert, add and remove, in the items and in Qt's menus; sub-items
// going with their item; check marks; clicks through the Qt action, and exceptions thrown by
// a click handler reaching the default exception display.
#include "classlib/application.h"
#include "classlib/exceptions.h"
#include "classlib/form.h"
#include "classlib/mainmenu.h"
#include "classlib/menuitem.h"
#include "system/messagebox.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Captions(const TMenuItem* parent) {
    std::vector<std::string> captions;
    for (int i = 0; i < parent->Count(); ++i)
        captions.push_back(parent->Items(i)->Caption());
    return captions;
}

std::vector<std::string> Texts(const QList<QAction*>& actions) {
    std::vector<std::string> texts;
    for (const QAction* a : actions)
        texts.push_back(a->text().toStdString());
    return texts;
}

TMenuItem* NewItem(TComponent* owner, const std::string& caption) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    return item;
}

// A form with a main menu whose bar exists, so Qt's side can be compared with the items.
class ClassLibMenus : public ::testing::Test {
  protected:
    void SetUp() override {
        Menu = new TMainMenu(&Form);
        Form.SetMenu(Menu);
        Bar = Form.Window()->findChild<QMenuBar*>();
        FPreviousHook = TMessageBox::SetHook(
            [this](QWidget*, const std::string& text, const std::string&, unsigned) {
                Boxes.push_back(text);
                return IDOK;
            });
    }
    void TearDown() override { TMessageBox::SetHook(FPreviousHook); }

    TForm Form{nullptr};
    TMainMenu* Menu = nullptr;
    QMenuBar* Bar = nullptr;
    std::vector<std::string> Boxes;

  private:
    TMessageBox::THook FPreviousHook;
};

TEST_F(ClassLibMenus, InsertAddAndRemoveKeepTheOrderInItemsAndInQt) {
    ASSERT_NE(Bar, nullptr);
    TMenuItem* bar = Menu->Items();
    TMenuItem* file = NewItem(&Form, "File");
    TMenuItem* help = NewItem(&Form, "Help");
    bar->Add(file);
    bar->Add(help);
    bar->Insert(1, NewItem(&Form, "Options"));
    bar->Insert(0, NewItem(&Form, "First"));
    bar->Insert(99, NewItem(&Form, "Last"));
    const std::vector<std::string> top = {"First", "File", "Options", "Help", "Last"};
    EXPECT_EQ(Captions(bar), top);
    EXPECT_EQ(Texts(Bar->actions()), top);
    EXPECT_EQ(bar->IndexOf(help), 3);
    EXPECT_EQ(help->Parent(), bar);

    bar->Remove(help);
    const std::vector<std::string> withoutHelp = {"First", "File", "Options", "Last"};
    EXPECT_EQ(Captions(bar), withoutHelp);
    EXPECT_EQ(Texts(Bar->actions()), withoutHelp);
    EXPECT_EQ(help->Parent(), nullptr);
    EXPECT_EQ(bar->IndexOf(help), -1);

    file->Add(NewItem(&Form, "Open"));
    file->Add(NewItem(&Form, "Exit"));
    file->Insert(1, help); // a removed item may go elsewhere
    const std::vector<std::string> fileItems = {"Open", "Help", "Exit"};
    EXPECT_EQ(Captions(file), fileItems);
    ASSERT_NE(file->Action()->menu(), nullptr);
    EXPECT_EQ(Texts(file->Action()->menu()->actions()), fileItems);
}

TEST_F(ClassLibMenus, InsertingAnItemTwiceOrIntoItselfIsRefused) {
    TMenuItem* file = NewItem(&Form, "File");
    TMenuItem* open = NewItem(&Form, "Open");
    file->Add(open);
    EXPECT_THROW(file->Add(open), EInvalidOperation);
    EXPECT_THROW(Menu->Items()->Add(open), EInvalidOperation);
    EXPECT_THROW(file->Add(file), EInvalidOperation);
    EXPECT_THROW(file->Add(nullptr), EInvalidOperation);
    EXPECT_EQ(file->Count(), 1);
}

template <typename Base> class TCounted : public Base {
  public:
    TCounted(TComponent* owner, std::map<std::string, int>& log, std::string id)
        : Base(owner), FLog(log), FId(std::move(id)) {}
    ~TCounted() override { ++FLog[FId]; }

  private:
    std::map<std::string, int>& FLog;
    std::string FId;
};

TEST_F(ClassLibMenus, DestroyingAnItemDestroysItsSubItemsOnce) {
    std::map<std::string, int> destroyed;
    auto* file = new TCounted<TMenuItem>(&Form, destroyed, "file");
    auto* recent = new TCounted<TMenuItem>(&Form, destroyed, "recent");
    auto* one = new TCounted<TMenuItem>(&Form, destroyed, "one");
    auto* exit = new TCounted<TMenuItem>(&Form, destroyed, "exit");
    auto* help = new TCounted<TMenuItem>(&Form, destroyed, "help");
    Menu->Items()->Add(file);
    Menu->Items()->Add(help);
    file->Add(recent);
    recent->Add(one);
    file->Add(exit);
    const int before = Form.ComponentCount();

    delete file;

    const std::map<std::string, int> expected = {
        {"file", 1}, {"recent", 1}, {"one", 1}, {"exit", 1}};
    EXPECT_EQ(destroyed, expected);
    EXPECT_EQ(Form.ComponentCount(), before - 4) << "the owner forgot them all";
    ASSERT_EQ(Menu->Items()->Count(), 1);
    EXPECT_EQ(Menu->Items()->Items(0), help);
    ASSERT_EQ(Bar->actions().size(), 1);
    EXPECT_EQ(Bar->actions()[0], help->Action());
    delete help; // the log does not outlive this test, the form does
}

TEST_F(ClassLibMenus, DestroyingASubItemTakesItOutOfItsParent) {
    TMenuItem* file = NewItem(&Form, "File");
    Menu->Items()->Add(file);
    file->Add(NewItem(&Form, "Open"));
    TMenuItem* save = NewItem(&Form, "Save");
    file->Add(save);
    file->Add(NewItem(&Form, "Exit"));

    delete save;

    const std::vector<std::string> left = {"Open", "Exit"};
    EXPECT_EQ(Captions(file), left);
    EXPECT_EQ(Texts(file->Action()->menu()->actions()), left);
}

TEST_F(ClassLibMenus, FormForgetsItsDestroyedMainMenu) {
    TMenuItem* file = NewItem(&Form, "File");
    Menu->Items()->Add(file);
    ASSERT_EQ(Bar->actions().size(), 1);

    delete Menu;

    EXPECT_EQ(Form.Menu(), nullptr);
    EXPECT_TRUE(Bar->actions().isEmpty());
    EXPECT_EQ(Form.FindComponent("File"), nullptr);
}

TEST_F(ClassLibMenus, CheckedFollowsIntoTheQtAction) {
    TMenuItem* item = NewItem(&Form, "Grid");
    Menu->Items()->Add(item);
    QAction* action = item->Action();
    EXPECT_FALSE(action->isChecked());

    item->SetChecked(true);
    EXPECT_TRUE(action->isCheckable());
    EXPECT_TRUE(action->isChecked());
    item->SetChecked(false);
    EXPECT_FALSE(action->isChecked());
    item->SetChecked(true);
    EXPECT_TRUE(action->isChecked());
}

TEST_F(ClassLibMenus, TriggeringTheActionRunsOnClick) {
    TMenuItem* item = NewItem(&Form, "Exit");
    Menu->Items()->Add(item);
    std::vector<TObject*> senders;
    item->OnClick = [&](TObject* sender) { senders.push_back(sender); };

    item->Action()->trigger();
    item->Action()->trigger();
    item->SetEnabled(false);
    item->Action()->trigger();

    EXPECT_EQ(senders, (std::vector<TObject*>{item, item}));
}

// The check mark is the item's to set: a click on a checked item whose handler keeps it
// checked (the current choice clicked again) must leave the mark shown.
TEST_F(ClassLibMenus, ClickingACheckedItemLeavesTheMarkToTheHandler) {
    TMenuItem* item = NewItem(&Form, "Choice");
    Menu->Items()->Add(item);
    item->SetChecked(true);
    item->OnClick = [item](TObject*) { item->SetChecked(true); };

    item->Action()->trigger();

    EXPECT_TRUE(item->Checked());
    EXPECT_TRUE(item->Action()->isChecked()) << "the mark vanished though Checked is true";

    item->OnClick = nullptr;
    item->Action()->trigger();
    EXPECT_TRUE(item->Action()->isChecked());
}

TEST_F(ClassLibMenus, ExceptionInAClickHandlerIsShownAndTheProgramRunsOn) {
    TMenuItem* item = NewItem(&Form, "Faulty");
    Menu->Items()->Add(item);
    int calls = 0;
    item->OnClick = [&](TObject*) {
        ++calls;
        if (calls == 1) throw std::runtime_error("Cannot open the driver");
        if (calls == 2) throw 42;
    };
    const int before = Application->ExceptionCount();

    item->Action()->trigger();
    EXPECT_EQ(Application->ExceptionCount(), before + 1);
    EXPECT_EQ(Application->LastExceptionMessage(), "Cannot open the driver");

    item->Action()->trigger();
    EXPECT_EQ(Application->ExceptionCount(), before + 2);

    item->Action()->trigger();
    EXPECT_EQ(Application->ExceptionCount(), before + 2);
    EXPECT_EQ(calls, 3);
    const std::vector<std::string> shown = {"Cannot open the driver.", "Unknown exception."};
    EXPECT_EQ(Boxes, shown);
}

} // namespace
