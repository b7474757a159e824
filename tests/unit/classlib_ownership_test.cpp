// Ownership and parenting: whichever of owner or parent goes first, every component is
// destroyed exactly once and nobody keeps a pointer to it.
#include "classlib/component.h"
#include "classlib/custompanel.h"
#include "classlib/exceptions.h"
#include "classlib/form.h"
#include "classlib/graphiccontrol.h"
#include "classlib/wincontrol.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// How often each named object's destructor ran.
struct TLifeLog {
    std::map<std::string, int> Destroyed;
    std::vector<std::string> Order;
    void Record(const std::string& id) {
        ++Destroyed[id];
        Order.push_back(id);
    }
};

template <typename Base> class TCounted : public Base {
  public:
    TCounted(TComponent* owner, TLifeLog& log, std::string id)
        : Base(owner), FLog(log), FId(std::move(id)) {}
    ~TCounted() override { FLog.Record(FId); }

  private:
    TLifeLog& FLog;
    std::string FId;
};

using TCountedComponent = TCounted<TComponent>;
using TCountedGraphic = TCounted<TGraphicControl>;
using TCountedWinControl = TCounted<TWinControl>;
using TCountedPanel = TCounted<TCustomPanel>;
using TCountedForm = TCounted<TForm>;

void ExpectEachDestroyedOnce(const TLifeLog& log, const std::vector<std::string>& ids) {
    EXPECT_EQ(log.Destroyed.size(), ids.size());
    for (const std::string& id : ids)
        EXPECT_EQ(log.Destroyed.count(id) ? log.Destroyed.at(id) : 0, 1) << id;
}

TEST(ClassLibOwnership, OwnerDestroysOwnedComponentsOnce) {
    TLifeLog log;
    auto* owner = new TCountedComponent(nullptr, log, "owner");
    new TCountedComponent(owner, log, "a");
    auto* b = new TCountedComponent(owner, log, "b");
    new TCountedComponent(b, log, "b.child");
    new TCountedComponent(owner, log, "c");
    ASSERT_EQ(owner->ComponentCount(), 3);

    delete owner;

    ExpectEachDestroyedOnce(log, {"owner", "a", "b", "b.child", "c"});
}

TEST(ClassLibOwnership, DestroyedComponentLeavesOwnerAndParent) {
    TLifeLog log;
    TForm form(nullptr);
    auto* panel = new TCustomPanel(&form);
    panel->SetParent(&form);
    auto* before = new TGraphicControl(&form);
    auto* doomed = new TCountedGraphic(&form, log, "doomed");
    auto* after = new TGraphicControl(&form);
    for (TControl* c : {static_cast<TControl*>(before), static_cast<TControl*>(doomed),
                        static_cast<TControl*>(after)})
        c->SetParent(panel);

    delete doomed;

    ASSERT_EQ(form.ComponentCount(), 3);
    EXPECT_EQ(form.Components(0), panel);
    EXPECT_EQ(form.Components(1), before);
    EXPECT_EQ(form.Components(2), after);
    ASSERT_EQ(panel->ControlCount(), 2);
    EXPECT_EQ(panel->Controls(0), before);
    EXPECT_EQ(panel->Controls(1), after);
    EXPECT_EQ(log.Destroyed["doomed"], 1);
}

TEST(ClassLibOwnership, ChangingOwnerMovesTheComponent) {
    TComponent first(nullptr), second(nullptr);
    auto* c = new TComponent(&first);
    second.InsertComponent(c);
    EXPECT_EQ(first.ComponentCount(), 0);
    ASSERT_EQ(second.ComponentCount(), 1);
    EXPECT_EQ(c->Owner(), &second);
}

// A control owned by form A but placed on a panel that belongs to form B: A's owner list and
// B's parent chain both reach it, and exactly one of them may destroy it.
struct TCrossCase {
    const char* Name;
    bool DestroyOwnerFirst;
    bool Windowed;
    bool WithHandles;
};

class ClassLibCrossOwnership : public ::testing::TestWithParam<TCrossCase> {};

TEST_P(ClassLibCrossOwnership, EveryObjectDestroyedExactlyOnce) {
    const TCrossCase& tc = GetParam();
    TLifeLog log;
    auto* formA = new TCountedForm(nullptr, log, "A");
    auto* formB = new TCountedForm(nullptr, log, "B");
    auto* panel = new TCountedPanel(formB, log, "B.panel");
    panel->SetParent(formB);
    TControl* crossing = tc.Windowed
                             ? static_cast<TControl*>(new TCountedWinControl(formA, log, "A.ctrl"))
                             : static_cast<TControl*>(new TCountedGraphic(formA, log, "A.ctrl"));
    crossing->SetParent(panel);
    auto* ownChild = new TCountedGraphic(formA, log, "A.own");
    ownChild->SetParent(formA);
    if (tc.WithHandles) {
        formA->Handle();
        formB->Handle();
        ASSERT_TRUE(panel->HandleAllocated());
    }

    if (tc.DestroyOwnerFirst) {
        delete formA;
        EXPECT_EQ(panel->ControlCount(), 0) << "the panel still lists a destroyed control";
        delete formB;
    } else {
        delete formB;
        EXPECT_EQ(formA->ComponentCount(), 1) << "form A still owns a destroyed control";
        delete formA;
    }

    ExpectEachDestroyedOnce(log, {"A", "B", "B.panel", "A.ctrl", "A.own"});
}

std::string CrossCaseName(const ::testing::TestParamInfo<TCrossCase>& param) {
    return param.param.Name;
}

INSTANTIATE_TEST_SUITE_P(OwnerAndParentOrders, ClassLibCrossOwnership,
                         ::testing::Values(TCrossCase{"OwnerFirstGraphic", true, false, false},
                                           TCrossCase{"ParentFirstGraphic", false, false, false},
                                           TCrossCase{"OwnerFirstWindowed", true, true, true},
                                           TCrossCase{"ParentFirstWindowed", false, true, true},
                                           TCrossCase{"ParentFirstWindowedNoHandles", false, true,
                                                      false}),
                         CrossCaseName);

// One owner holds both a panel and the controls on it. Its owner list is emptied from the back,
// so depending on creation order the panel dies before or after its children.
TEST(ClassLibOwnership, OwnerOfPanelAndItsChildrenInEitherCreationOrder) {
    for (bool panelFirst : {true, false}) {
        SCOPED_TRACE(panelFirst ? "panel created first" : "children created first");
        TLifeLog log;
        auto* form = new TCountedForm(nullptr, log, "form");
        TCustomPanel* panel = panelFirst ? new TCountedPanel(form, log, "panel") : nullptr;
        auto* graphic = new TCountedGraphic(form, log, "graphic");
        auto* windowed = new TCountedWinControl(form, log, "windowed");
        if (!panel) panel = new TCountedPanel(form, log, "panel");
        panel->SetParent(form);
        graphic->SetParent(panel);
        windowed->SetParent(panel);
        form->Handle();

        delete form;

        ExpectEachDestroyedOnce(log, {"form", "panel", "graphic", "windowed"});
    }
}

TEST(ClassLibOwnership, FindComponentIgnoresCase) {
    TComponent owner(nullptr);
    auto* ok = new TComponent(&owner);
    ok->SetName("OkButton");
    auto* other = new TComponent(&owner);
    other->SetName("Other");
    new TComponent(&owner); // unnamed

    struct TLookup {
        const char* Name;
        TComponent* Expected;
    };
    const TLookup lookups[] = {{"OkButton", ok}, {"okbutton", ok},     {"OKBUTTON", ok},
                               {"oTHER", other}, {"OkButto", nullptr}, {"OkButton ", nullptr},
                               {"", nullptr}};
    for (const TLookup& l : lookups)
        EXPECT_EQ(owner.FindComponent(l.Name), l.Expected) << l.Name;
}

TEST(ClassLibOwnership, NameClashWithSiblingIsRefusedIgnoringCase) {
    TComponent owner(nullptr);
    auto* first = new TComponent(&owner);
    first->SetName("Label1");
    auto* second = new TComponent(&owner);
    EXPECT_THROW(second->SetName("LABEL1"), Exception);
    EXPECT_EQ(second->Name(), "");
    EXPECT_NO_THROW(first->SetName("label1")) << "renaming itself is no clash";
    TComponent unrelated(nullptr);
    EXPECT_NO_THROW(unrelated.SetName("Label1")) << "names only clash among siblings";
}

// Remembers the notifications it receives; optionally destroys a dependent when its target goes.
class TWatcher : public TComponent {
  public:
    using TComponent::TComponent;
    struct TNote {
        TComponent* Component;
        TOperation Operation;
    };
    std::vector<TNote> Notes;
    TComponent* Target = nullptr;
    TComponent* Dependent = nullptr;

    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        Notes.push_back({component, operation});
        if (operation == opRemove && component == Target && Dependent) {
            TComponent* dependent = Dependent;
            Dependent = nullptr;
            delete dependent;
        }
        if (operation == opRemove && component == Dependent) Dependent = nullptr;
    }
    int RemovalsOf(const TComponent* c) const {
        int n = 0;
        for (const TNote& note : Notes)
            n += note.Component == c && note.Operation == opRemove;
        return n;
    }
};

TEST(ClassLibOwnership, RemovalIsNotifiedToOwnerAndSiblings) {
    auto* owner = new TWatcher(nullptr);
    auto* sibling1 = new TWatcher(owner);
    auto* leaving = new TComponent(owner);
    auto* sibling2 = new TWatcher(owner);

    delete leaving;

    EXPECT_EQ(owner->RemovalsOf(leaving), 1);
    EXPECT_EQ(sibling1->RemovalsOf(leaving), 1);
    EXPECT_EQ(sibling2->RemovalsOf(leaving), 1);
    delete owner;
}

TEST(ClassLibOwnership, SiblingDestroyedDuringRemovalNoticeIsSkipped) {
    TLifeLog log;
    auto* owner = new TComponent(nullptr);
    auto* watcher = new TWatcher(owner);
    auto* target = new TComponent(owner);
    auto* dependent = new TCounted<TWatcher>(owner, log, "dependent");
    auto* later = new TWatcher(owner);
    watcher->Target = target;
    watcher->Dependent = dependent;

    delete target;

    EXPECT_EQ(log.Destroyed["dependent"], 1);
    EXPECT_EQ(later->RemovalsOf(target), 1);
    EXPECT_EQ(later->RemovalsOf(dependent), 1);
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
    EXPECT_EQ(log.Destroyed["dependent"], 1);
}

} // namespace
