// Reading a stored layout into a form: creation order, ownership and nesting, property order,
// references to components defined later, events bound by name, and errors that name the
// offending line and leave a form that can still be deleted.
#include "classlib/button.h"
#include "classlib/checkbox.h"
#include "classlib/classregistry.h"
#include "classlib/custompanel.h"
#include "classlib/form.h"
#include "classlib/label.h"
#include "classlib/layouterror.h"
#include "classlib/layoutnode.h"
#include "classlib/mainmenu.h"
#include "classlib/reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string>& Journal() {
    static std::vector<std::string> journal;
    return journal;
}

// A form with published methods, as the program's own forms have.
class TMyForm : public TForm {
  public:
    explicit TMyForm(TComponent* owner) : TForm(owner) {
        PublishMethod("ButtonClick", [this](TObject* sender) { Record("ButtonClick", sender); });
        PublishMethod("FormCreate", [this](TObject* sender) { Record("FormCreate", sender); });
    }
    DECLARE_CLASS_NAME(TMyForm)
    using TForm::ReadLayout;
    std::vector<std::string> Calls;

  private:
    void Record(const std::string& method, TObject* sender) {
        auto* component = dynamic_cast<TComponent*>(sender);
        Calls.push_back(method + "(" + (component ? component->Name() : "?") + ")");
    }
};

// A nestable component that journals its stored properties and holds a reference.
class TProbe : public TCustomPanel {
  public:
    using TCustomPanel::TCustomPanel;
    DECLARE_CLASS_NAME(TProbe)
    TComponent* Buddy = nullptr;
    bool BuddyKnownWhenLoaded = false;
    bool LoadingWhileRead = false;

    void Loaded() override {
        TCustomPanel::Loaded();
        BuddyKnownWhenLoaded = Buddy != nullptr;
    }
};

void Note(TComponent* c, const std::string& what) {
    Journal().push_back(c->Name() + "." + what);
}

void RegisterTestClasses() {
    auto& registry = TClassRegistry::Instance();
    registry.Register("TMyForm", "TForm");
    registry.Register("TProbe", "TCustomPanel", Creator<TProbe>())
        .Property("Note",
                  [](TComponent* c, const TLayoutValue& v, TReader& r) {
                      static_cast<TProbe*>(c)->LoadingWhileRead = c->IsLoading();
                      Note(c, "Note=" + r.String(v));
                  })
        .Property("Other", [](TComponent* c, const TLayoutValue& v,
                              TReader& r) { Note(c, "Other=" + std::to_string(r.Integer(v))); })
        .Property("Buddy", [](TComponent* c, const TLayoutValue& v, TReader& r) {
            auto* probe = static_cast<TProbe*>(c);
            r.Reference(v, [probe](TComponent* target) { probe->Buddy = target; });
        });
}

class ClassLibReader : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }
    void SetUp() override { Journal().clear(); }

    std::unique_ptr<TMyForm> Form = std::make_unique<TMyForm>(nullptr);
    template <typename T> T* Find(const char* name) {
        return dynamic_cast<T*>(Form->FindComponent(name));
    }
};

const char* const NestedLayout = R"(object MyForm: TMyForm
  Left = 10
  Top = 20
  ClientWidth = 300
  ClientHeight = 200
  Caption = 'Hello'
  object Outer: TProbe
    Note = 'outer'
    object Inner: TProbe
      Note = 'inner'
      object Deep: TLabel
        Caption = 'deep'
      end
    end
    object Sibling: TButton
      Caption = 'OK'
    end
  end
  object Last: TCheckBox
  end
end
)";

TEST_F(ClassLibReader, CreatesComponentsInStoredOrderOwnedByTheRootAndNested) {
    TReader::ReadRoot(NestedLayout, Form.get());

    EXPECT_EQ(Form->Name(), "MyForm");
    EXPECT_EQ(Form->Caption(), "Hello");
    EXPECT_EQ(Form->ClientWidth(), 300);
    EXPECT_EQ(Form->ClientHeight(), 200);
    const std::vector<std::string> order = {"Outer", "Inner", "Deep", "Sibling", "Last"};
    ASSERT_EQ(Form->ComponentCount(), static_cast<int>(order.size()));
    for (int i = 0; i < Form->ComponentCount(); ++i) {
        EXPECT_EQ(Form->Components(i)->Name(), order[static_cast<size_t>(i)]);
        EXPECT_EQ(Form->Components(i)->Owner(), Form.get());
        EXPECT_FALSE(Form->Components(i)->IsLoading());
    }
    EXPECT_FALSE(Form->IsLoading());

    struct TPlacement {
        const char* Child;
        const char* Parent;
    };
    const TPlacement placements[] = {{"Outer", "MyForm"},
                                     {"Inner", "Outer"},
                                     {"Deep", "Inner"},
                                     {"Sibling", "Outer"},
                                     {"Last", "MyForm"}};
    for (const TPlacement& p : placements) {
        auto* child = Find<TControl>(p.Child);
        ASSERT_NE(child, nullptr) << p.Child;
        ASSERT_NE(child->Parent(), nullptr) << p.Child;
        EXPECT_EQ(child->Parent()->Name(), p.Parent) << p.Child;
    }
    auto* outer = Find<TProbe>("Outer");
    ASSERT_EQ(outer->ControlCount(), 2);
    EXPECT_EQ(outer->Controls(0)->Name(), "Inner");
    EXPECT_EQ(outer->Controls(1)->Name(), "Sibling");
    EXPECT_TRUE(outer->LoadingWhileRead) << "properties are applied while loading";
}

// Stored order, not the order the class publishes its properties in (Note before Other).
TEST_F(ClassLibReader, AppliesPropertiesInStoredOrder) {
    TReader::ReadRoot(R"(object MyForm: TMyForm
  object A: TProbe
    Other = 1
    Note = 'x'
    Other = 2
    object B: TProbe
      Note = 'y'
    end
  end
end
)",
                      Form.get());
    const std::vector<std::string> expected = {"A.Other=1", "A.Note=x", "A.Other=2", "B.Note=y"};
    EXPECT_EQ(Journal(), expected);
}

TEST_F(ClassLibReader, ResolvesReferencesToComponentsDefinedLater) {
    TReader::ReadRoot(R"(object MyForm: TMyForm
  ActiveControl = OkButton
  Menu = MainMenu1
  object First: TProbe
    Buddy = Second
  end
  object Second: TProbe
    Buddy = MYFORM
  end
  object Third: TProbe
    Buddy = first
  end
  object OkButton: TButton
  end
  object MainMenu1: TMainMenu
  end
end
)",
                      Form.get());
    auto* first = Find<TProbe>("First");
    auto* second = Find<TProbe>("Second");
    auto* third = Find<TProbe>("Third");
    EXPECT_EQ(first->Buddy, second);
    EXPECT_EQ(second->Buddy, Form.get()) << "the root by its own name";
    EXPECT_EQ(third->Buddy, first) << "names compare without regard to case";
    EXPECT_TRUE(first->BuddyKnownWhenLoaded) << "references are resolved before Loaded";
    EXPECT_EQ(Form->ActiveControl(), Find<TButton>("OkButton"));
    EXPECT_EQ(Form->Menu(), Find<TMainMenu>("MainMenu1"));
}

TEST_F(ClassLibReader, BindsEventsToPublishedMethodsByName) {
    Form->ReadLayout(R"(object MyForm: TMyForm
  OnCreate = FormCreate
  object OkButton: TButton
    OnClick = ButtonClick
  end
  object Again: TButton
    OnClick = buttonclick
  end
end
)");
    const std::vector<std::string> created = {"FormCreate(MyForm)"};
    EXPECT_EQ(Form->Calls, created) << "OnCreate runs once the layout is read";

    Find<TButton>("OkButton")->Click();
    Find<TButton>("Again")->Click();
    const std::vector<std::string> clicked = {"FormCreate(MyForm)", "ButtonClick(OkButton)",
                                              "ButtonClick(Again)"};
    EXPECT_EQ(Form->Calls, clicked);
}

// Malformed layouts: each must raise ELayoutError naming the line of the fault, and the
// partly built form must go away cleanly.
struct TBadLayout {
    const char* Name;
    const char* Text;
    int Line;
    const char* Mentions;
};

void PrintTo(const TBadLayout& layout, std::ostream* os) {
    *os << layout.Name;
}

class ClassLibReaderErrors : public ::testing::TestWithParam<TBadLayout> {
  protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }
};

TEST_P(ClassLibReaderErrors, NameTheLineAndLeaveADeletableForm) {
    const TBadLayout& tc = GetParam();
    auto* form = new TMyForm(nullptr);
    try {
        TReader::ReadRoot(tc.Text, form);
        ADD_FAILURE() << "no error raised";
    } catch (const ELayoutError& e) {
        const std::string prefix = "line " + std::to_string(tc.Line) + ":";
        EXPECT_EQ(std::string(e.what()).rfind(prefix, 0), 0u) << e.what();
        EXPECT_EQ(e.Line(), tc.Line);
        EXPECT_NE(std::string(e.what()).find(tc.Mentions), std::string::npos) << e.what();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not a layout error: " << e.what();
    }
    delete form;
}

const TBadLayout BadLayouts[] = {
    {"UnknownClass",
     "object MyForm: TMyForm\n"
     "  object Panel1: TNoSuchPanel\n"
     "  end\n"
     "end\n",
     2, "TNoSuchPanel"},
    {"UnknownClassNested",
     "object MyForm: TMyForm\n"
     "  object Outer: TProbe\n"
     "    object Ok: TButton\n"
     "    end\n"
     "    object Bad: TWidgetThing\n"
     "    end\n"
     "  end\n"
     "end\n",
     5, "TWidgetThing"},
    {"UnknownPropertyOfRoot",
     "object MyForm: TMyForm\n"
     "  Caption = 'x'\n"
     "  Colour = clRed\n"
     "end\n",
     3, "Colour"},
    {"UnknownPropertyOfChild",
     "object MyForm: TMyForm\n"
     "  object Ok: TButton\n"
     "    Left = 8\n"
     "    Checked = True\n"
     "  end\n"
     "end\n",
     4, "Checked"},
    {"IntegerGivenAString",
     "object MyForm: TMyForm\n"
     "  object Ok: TButton\n"
     "    Width = 'wide'\n"
     "  end\n"
     "end\n",
     3, "Width"},
    {"BooleanGivenANumber",
     "object MyForm: TMyForm\n"
     "  Visible = 1\n"
     "end\n",
     2, "Visible"},
    {"StringGivenANumber",
     "object MyForm: TMyForm\n"
     "  Caption = 12\n"
     "end\n",
     2, "Caption"},
    {"EnumGivenAnUnknownName",
     "object MyForm: TMyForm\n"
     "  BorderStyle = bsRound\n"
     "end\n",
     2, "BorderStyle"},
    {"SetGivenAnIdentifier",
     "object MyForm: TMyForm\n"
     "  object Ok: TButton\n"
     "    Anchors = akLeft\n"
     "  end\n"
     "end\n",
     3, "Anchors"},
    {"SetWithAnUnknownMember",
     "object MyForm: TMyForm\n"
     "  object Ok: TButton\n"
     "    Anchors = [akLeft, akMiddle]\n"
     "  end\n"
     "end\n",
     3, "akMiddle"},
    {"ColorGivenAString",
     "object MyForm: TMyForm\n"
     "  Color = 'red'\n"
     "end\n",
     2, "Color"},
    {"UnknownReferencedComponent",
     "object MyForm: TMyForm\n"
     "  ActiveControl = Nobody\n"
     "  object Ok: TButton\n"
     "  end\n"
     "end\n",
     2, "Nobody"},
    {"ReferenceToAComponentOfTheWrongClass",
     "object MyForm: TMyForm\n"
     "  Menu = Ok\n"
     "  object Ok: TButton\n"
     "  end\n"
     "end\n",
     2, "Menu"},
    {"UnknownMethod",
     "object MyForm: TMyForm\n"
     "  object Ok: TButton\n"
     "    OnClick = NoSuchMethod\n"
     "  end\n"
     "end\n",
     3, "NoSuchMethod"},
    {"MethodGivenAsAString",
     "object MyForm: TMyForm\n"
     "  object Ok: TButton\n"
     "    OnClick = 'ButtonClick'\n"
     "  end\n"
     "end\n",
     3, "OnClick"},
    {"DuplicateName",
     "object MyForm: TMyForm\n"
     "  object Ok: TButton\n"
     "  end\n"
     "  object Ok: TCheckBox\n"
     "  end\n"
     "end\n",
     4, "Ok"},
    {"DuplicateNameInOtherCaseAndDepth",
     "object MyForm: TMyForm\n"
     "  object Ok: TButton\n"
     "  end\n"
     "  object Outer: TProbe\n"
     "    object OK: TCheckBox\n"
     "    end\n"
     "  end\n"
     "end\n",
     5, "OK"},
    {"WrongRootClass",
     "object MyForm: TForm\n"
     "end\n",
     1, "TForm"},
    {"MissingValue",
     "object MyForm: TMyForm\n"
     "  Caption = 'x'\n"
     "  Left =\n"
     "end\n",
     4, "line"},
};

INSTANTIATE_TEST_SUITE_P(Malformed, ClassLibReaderErrors, ::testing::ValuesIn(BadLayouts),
                         [](const ::testing::TestParamInfo<TBadLayout>& param) {
                             return std::string(param.param.Name);
                         });

} // namespace
