// Faults the card page must survive: its stored layout without the photograph or with a damaged
// one, a layout naming a class or property the program does not have or holding thousands of
// components, Rich Text the help box cannot trust, and an event handler that throws while the
// user clicks. The page faults start from the real page layout built into the program; inputs
// the fuzzers once failed on are read from their corpus (fuzz/corpus/regressions).
#include "app/mainform.h"
#include "app/mainformlayout.h"
#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/checkbox.h"
#include "classlib/classregistry.h"
#include "classlib/exceptions.h"
#include "classlib/form.h"
#include "classlib/layouterror.h"
#include "classlib/mainmenu.h"
#include "classlib/menuitem.h"
#include "classlib/picture.h"
#include "classlib/reader.h"
#include "classlib/richedit.h"
#include "classlib/rtfreader.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/dipswitch.h"
#include "system/messagebox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// ---- the stored layout as text --------------------------------------------------------------

std::string RealLayout() {
    return std::string(MainFormLayout());
}

int LineOf(const std::string& text, const std::string& needle) {
    const size_t at = text.find(needle);
    if (at == std::string::npos) return 0;
    return 1 +
           static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    if (at == std::string::npos) throw std::logic_error("the page layout has no '" + from + "'");
    return text.replace(at, from.size(), to);
}

// Where the photograph's property sits: from the start of its line to just past its '}'.
struct TPictureSpan {
    size_t LineStart;
    size_t Open;  // the '{'
    size_t Close; // the '}'
};

TPictureSpan FindPictureData(const std::string& layout) {
    const size_t name = layout.find("Picture.Data = {");
    if (name == std::string::npos) throw std::logic_error("the page layout has no photograph");
    const size_t open = layout.find('{', name);
    return {layout.rfind('\n', name) + 1, open, layout.find('}', open)};
}

std::vector<uint8_t> StoredPicture(const std::string& layout) {
    const TPictureSpan span = FindPictureData(layout);
    std::string hex;
    for (size_t i = span.Open + 1; i < span.Close; ++i)
        if (std::isxdigit(static_cast<unsigned char>(layout[i]))) hex += layout[i];
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string WithStoredPicture(const std::string& layout, const std::vector<uint8_t>& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string hex;
    for (uint8_t b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    const TPictureSpan span = FindPictureData(layout);
    return layout.substr(0, span.Open + 1) + hex + layout.substr(span.Close);
}

std::string WithoutPicture(const std::string& layout) {
    const TPictureSpan span = FindPictureData(layout);
    return layout.substr(0, span.LineStart) + layout.substr(layout.find('\n', span.Close) + 1);
}

// The stored form: name length, "TJPEGImage", 32-bit little-endian length, the JPEG.
constexpr size_t JpegStart = 1 + 10 + 4;

// ---- inputs kept with the fuzzers' corpus -----------------------------------------------------

const std::filesystem::path FuzzCorpus = SETTINGS_SOURCE_DIR "/fuzz/corpus";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An input that once made a fuzz target fail.
std::vector<uint8_t> FuzzRegression(const std::string& name) {
    const std::string bytes = ReadFile(FuzzCorpus / "regressions" / name);
    return {bytes.begin(), bytes.end()};
}

// A target's seeds and regressions.
std::vector<std::filesystem::path> FuzzInputs(const std::string& target) {
    std::vector<std::filesystem::path> files;
    for (const auto& dir : {FuzzCorpus / target, FuzzCorpus / "regressions" / target})
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// ---- reading a changed copy of the page -----------------------------------------------------

// Stands in for the main window when a changed copy of its layout is read: the same class
// name and published handlers (doing nothing), none of the window's start-up work.
class TPageForm : public TForm {
  public:
    explicit TPageForm(TComponent* owner) : TForm(owner) {
        for (const char* name : {"FormCreate", "FilterCheckClick", "Exit2Click", "DisplayClick",
                                 "Howtousethisprogram1Click", "TechnicalSupport1Click"})
            PublishMethod(name, [](TObject*) {});
    }
    DECLARE_CLASS_NAME(TMainForm)
};

class PageLayoutFaults : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!TClassRegistry::Instance().Find("TMainForm"))
            TClassRegistry::Instance().Register("TMainForm", "TForm");
    }

    std::vector<std::string> Load(const std::string& layout) {
        return TReader::ReadRoot(layout, Page.get());
    }
    template <typename T> T* Find(const char* name) const {
        return dynamic_cast<T*>(Page->FindComponent(name));
    }
    TBoardImage* Board() const { return Find<TBoardImage>("BoardImage1"); }

    // The parts of the page a missing photograph must not cost: every component, its
    // references, the board's stored size.
    void ExpectRestOfPageLoaded() const {
        ASSERT_NE(Board(), nullptr);
        EXPECT_EQ(Board()->Width(), 600);
        EXPECT_EQ(Board()->Height(), 425);
        EXPECT_EQ(Board()->First(), Find<TBoardHighlight>("FilterHighlight"));
        EXPECT_NE(Page->Menu(), nullptr);
        EXPECT_EQ(Page->Menu(), Find<TMainMenu>("MainMenu1"));
        for (const char* name : {"ConnectorHighlight", "FilterPanel", "FilterDips", "FilterCheck7",
                                 "ConnectorPanel", "TechnicalSupport1", "SetSup"})
            EXPECT_NE(Page->FindComponent(name), nullptr) << name;
    }

    // Pixels of the painted board away from the highlight circles; true when every one of them
    // is the board's own background colour.
    bool BoardShowsOnlyBackground() const {
        TBitmap bitmap;
        Board()->PaintTo(bitmap);
        const TColor background = ColorToRGB(Board()->Color());
        const TPoint samples[] = {{10, 10}, {300, 212}, {200, 300}, {500, 150}, {590, 415}};
        return std::all_of(std::begin(samples), std::end(samples),
                           [&](TPoint p) { return bitmap.PixelColor(p.X, p.Y) == background; });
    }

    std::unique_ptr<TPageForm> Page = std::make_unique<TPageForm>(nullptr);
};

TEST_F(PageLayoutFaults, IntactPageShowsThePhotograph) {
    // The contrast for the faults below: the same checks see the photograph when it is there,
    // and taking it out of the layout and putting it back damages nothing.
    const std::string real = RealLayout();
    EXPECT_TRUE(Load(WithStoredPicture(real, StoredPicture(real))).empty());
    ExpectRestOfPageLoaded();
    ASSERT_NE(Board()->Picture().Graphic(), nullptr);
    EXPECT_EQ(Board()->Picture().Width(), 600);
    EXPECT_FALSE(BoardShowsOnlyBackground());
}

TEST_F(PageLayoutFaults, MissingPhotographLoadsThePageWithoutAPicture) {
    const std::string layout = WithoutPicture(RealLayout());
    ASSERT_EQ(layout.find("Picture.Data"), std::string::npos);

    EXPECT_TRUE(Load(layout).empty()) << "an absent photograph is not a fault to warn about";
    ExpectRestOfPageLoaded();
    EXPECT_EQ(Board()->Picture().Graphic(), nullptr);
    EXPECT_TRUE(BoardShowsOnlyBackground());
}

TEST_F(PageLayoutFaults, ThousandsOfComponentsAreRefusedRatherThanReadForMinutes) {
    std::string extra;
    for (int i = 0; i < 2000; ++i)
        extra += "  object Extra" + std::to_string(i) + ": TLabel\n  end\n";
    const std::string layout =
        Replaced(RealLayout(), "  object BoardImage1:", extra + "  object BoardImage1:");
    // The root and the first MaxComponents extras fit; the next one is refused.
    const int line = LineOf(layout, "object Extra" + std::to_string(TReader::MaxComponents) + ":");

    try {
        Load(layout);
        ADD_FAILURE() << "all components were read";
    } catch (const ELayoutError& e) {
        EXPECT_EQ(e.Line(), line) << e.what();
        EXPECT_NE(e.Reason().find("at most 1000 components"), std::string::npos) << e.what();
    }
    Page.reset(); // a thousand components go again without n cubed steps
}

struct TPhotoDamage {
    const char* Name;
    std::function<void(std::vector<uint8_t>& stored)> Damage;
    const char* Reason; // part of the warning that says what is wrong
};

void PrintTo(const TPhotoDamage& damage, std::ostream* os) {
    *os << damage.Name;
}

void Overwrite(std::vector<uint8_t>& stored, size_t from, size_t count, uint8_t value) {
    std::fill_n(stored.begin() + static_cast<long>(from), count, value);
}

const TPhotoDamage PhotoDamages[] = {
    // Replaced bytes in the compressed pixels: libjpeg itself would only warn and show a
    // scrambled photograph.
    {"ScanDataZeroed", [](std::vector<uint8_t>& s) { Overwrite(s, s.size() / 2, 64, 0x00); },
     "Corrupt JPEG data"},
    {"ScanDataOverwritten", [](std::vector<uint8_t>& s) { Overwrite(s, s.size() / 2, 1000, 0x5A); },
     "Corrupt JPEG data"},
    {"ScanDataFlippedNearTheEnd",
     [](std::vector<uint8_t>& s) { Overwrite(s, s.size() * 3 / 4, 16, 0xA5); },
     "Corrupt JPEG data"},
    {"StartMarkerWiped", [](std::vector<uint8_t>& s) { Overwrite(s, JpegStart, 2, 0x00); },
     "Not a JPEG file"},
    {"FillerFromTheMiddleToTheEnd",
     [](std::vector<uint8_t>& s) { Overwrite(s, s.size() / 2, s.size() - s.size() / 2, 0xFF); },
     "truncated JPEG data"},
    {"GraphicClassNameChanged", [](std::vector<uint8_t>& s) { s[2] = 'X'; },
     "Unknown picture format 'TXPEGImage'"},
    {"StatedLengthBeyondTheData", [](std::vector<uint8_t>& s) { s[JpegStart - 1] = 0x7F; },
     "shorter than its stated length"},
    // A kilobyte that claims 6000 x 6000 pixels in fifty arithmetic-coded scans: once decoded
    // for many seconds, now refused once the work passes what a real photograph needs.
    {"SwappedForAPictureThatNeedsTooMuchWork",
     [](std::vector<uint8_t>& s) {
         s = TPicture::MakeStoredData(
             "TJPEGImage", FuzzRegression("fuzz_jpeg/flat-6000x6000-50-arithmetic-scans.jpg"));
     },
     "too much decoding work"},
};

class PageLayoutPhotoDamage : public PageLayoutFaults,
                              public ::testing::WithParamInterface<TPhotoDamage> {};

TEST_P(PageLayoutPhotoDamage, LoadsThePageWithAnEmptyPictureAndAWarning) {
    const std::string real = RealLayout();
    std::vector<uint8_t> stored = StoredPicture(real);
    ASSERT_GT(stored.size(), 50'000u);
    GetParam().Damage(stored);

    const std::vector<std::string> warnings = Load(WithStoredPicture(real, stored));

    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("The card photograph could not be shown.", 0), 0u) << warnings[0];
    EXPECT_NE(warnings[0].find(GetParam().Reason), std::string::npos) << warnings[0];
    ExpectRestOfPageLoaded();
    EXPECT_EQ(Board()->Picture().Graphic(), nullptr);
    EXPECT_TRUE(BoardShowsOnlyBackground());
}

INSTANTIATE_TEST_SUITE_P(Damage, PageLayoutPhotoDamage, ::testing::ValuesIn(PhotoDamages),
                         [](const ::testing::TestParamInfo<TPhotoDamage>& caseInfo) {
                             return std::string(caseInfo.param.Name);
                         });

// A change to the real page layout that makes it unreadable; the error must name the changed
// line, which for most cases lies after the photograph's thousands of lines of hex.
struct TLayoutFault {
    const char* Name;
    const char* From;
    const char* To;
    const char* Mentions;
};

void PrintTo(const TLayoutFault& fault, std::ostream* os) {
    *os << fault.Name;
}

const TLayoutFault LayoutFaults[] = {
    {"UnknownPropertyOfTheRoot", "  Color = clWhite", "  Colour = clWhite", "'Colour'"},
    {"UnknownPropertyNextToThePhotograph", "    Stretch = True", "    Stretched = True",
     "'Stretched'"},
    {"UnknownClassAfterThePhotograph", "object FilterDips: TDipSwitch",
     "object FilterDips: TDipSwitches", "'TDipSwitches'"},
    {"UnknownPropertyAfterThePhotograph", "      NumSwitches = 8", "      SwitchCount = 8",
     "'SwitchCount'"},
    {"UnknownClassInTheMenu", "object Exit2: TMenuItem", "object Exit2: TMenuEntry",
     "'TMenuEntry'"},
    {"UnknownPropertyOfTheSupporter", "    CallHow = ", "    CallWhen = ", "'CallWhen'"},
    {"MenuNamingAPanel", "  Menu = MainMenu1", "  Menu = FilterPanel", "'Menu'"},
};

class PageLayoutErrors : public PageLayoutFaults,
                         public ::testing::WithParamInterface<TLayoutFault> {};

TEST_P(PageLayoutErrors, RaiseALayoutErrorNamingTheLine) {
    const TLayoutFault& fault = GetParam();
    const std::string layout = Replaced(RealLayout(), fault.From, fault.To);
    const int line = LineOf(layout, fault.To);

    try {
        Load(layout);
        ADD_FAILURE() << "the changed layout was accepted";
    } catch (const ELayoutError& e) {
        EXPECT_EQ(e.Line(), line) << e.what();
        EXPECT_EQ(std::string(e.what()).rfind("line " + std::to_string(line) + ": ", 0), 0u)
            << e.what();
        EXPECT_NE(e.Reason().find(fault.Mentions), std::string::npos) << e.what();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not a layout error: " << e.what();
    }
    Page.reset(); // whatever was half read must go with the form
}

INSTANTIATE_TEST_SUITE_P(Fault, PageLayoutErrors, ::testing::ValuesIn(LayoutFaults),
                         [](const ::testing::TestParamInfo<TLayoutFault>& caseInfo) {
                             return std::string(caseInfo.param.Name);
                         });

// ---- Rich Text the help box may be handed ----------------------------------------------------

TEST(RichTextFaults, EveryFuzzInputShowsInARichTextBox) {
    const std::vector<std::filesystem::path> files = FuzzInputs("fuzz_rtf");
    ASSERT_GE(files.size(), 10u);
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        TForm form(nullptr);
        auto* box = new TRichEdit(&form);
        box->SetParent(&form);
        box->LoadRichText(ReadFile(file));
        const auto* edit = static_cast<QTextEdit*>(box->Handle());
        const int paragraphs = static_cast<int>(box->Document().Paragraphs.size());
        EXPECT_EQ(edit->document()->blockCount(), std::max(1, paragraphs));
    }
}

TEST(RichTextFaults, FontNameAsLongAsTheDocumentIsCut) {
    // Uncut, every character compared the whole name with its run's: minutes for a few MB.
    const std::string name(20'000, 'N'), text(20'000, 'x');
    bool wellFormed = true;
    const TRtfDocument document =
        TRtfReader::Read("{\\rtf1{\\fonttbl{\\f0 " + name + ";}}\\f0 " + text + "}", &wellFormed);

    EXPECT_FALSE(wellFormed);
    ASSERT_EQ(document.Fonts.size(), 1u);
    EXPECT_EQ(document.Fonts[0], std::string(TRtfReader::MaxFontNameBytes, 'N'));
    ASSERT_EQ(document.Paragraphs.size(), 1u);
    ASSERT_EQ(document.Paragraphs[0].Runs.size(), 1u);
    EXPECT_EQ(document.Paragraphs[0].Runs[0].FontName, document.Fonts[0]);
    EXPECT_EQ(document.Paragraphs[0].Runs[0].Text, text);
}

// ---- a throwing click handler on the real page ----------------------------------------------

struct TShownBox {
    std::string Text;
    std::string Caption;
    unsigned Flags;
};

// The real main window, its start-up idle work held back, with message boxes answered.
class PageClickFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        FPreviousHook = TMessageBox::SetHook(
            [this](QWidget*, const std::string& text, const std::string& caption, unsigned flags) {
                Boxes.push_back({text, caption, flags});
                return IDOK;
            });
        FPreviousIdle = Application->OnIdle;
        Page = std::make_unique<TMainForm>(nullptr);
        Application->OnIdle = nullptr; // FormCreate hooked the first idle moment
    }
    void TearDown() override {
        Page.reset();
        Application->OnIdle = FPreviousIdle;
        TMessageBox::SetHook(FPreviousHook);
    }

    static void ClickBox(TCheckBox* box) { static_cast<QCheckBox*>(box->Handle())->click(); }

    std::unique_ptr<TMainForm> Page;
    std::vector<TShownBox> Boxes;

  private:
    TMessageBox::THook FPreviousHook;
    TIdleEvent FPreviousIdle;
};

void MouseClick(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

struct TClickFault {
    const char* Name;
    std::function<void(TMainForm&)> MakeFaulty;
    std::function<void(TMainForm&)> Click; // through Qt, as the user's click arrives
    const char* Message;                   // part of what the box must say
};

void PrintTo(const TClickFault& fault, std::ostream* os) {
    *os << fault.Name;
}

const TClickFault ClickFaults[] = {
    // The page's own handler refuses a check box whose tag lies outside the switch drawing.
    {"CheckBoxWithADamagedTag", [](TMainForm& p) { p.FilterCheck0->SetTag(99); },
     [](TMainForm& p) { static_cast<QCheckBox*>(p.FilterCheck0->Handle())->click(); },
     "The check box FilterCheck0 has tag 99"},
    {"MenuCommand",
     [](TMainForm& p) {
         p.Howtousethisprogram1->OnClick = [](TObject*) {
             throw Exception("The help text could not be prepared");
         };
     },
     [](TMainForm& p) { p.Howtousethisprogram1->Action()->trigger(); },
     "The help text could not be prepared"},
    {"HighlightCircle",
     [](TMainForm& p) {
         p.FilterHighlight->OnClick = [](TObject*) { throw std::runtime_error("No popup today"); };
     },
     [](TMainForm& p) {
         const TBoardHighlight* circle = p.FilterHighlight;
         MouseClick(p.BoardImage1->Handle(), QPoint(circle->Left() + circle->Width() / 2,
                                                    circle->Top() + circle->Height() / 2));
     },
     "No popup today"},
};

class PageClickFault : public PageClickFaults, public ::testing::WithParamInterface<TClickFault> {};

TEST_P(PageClickFault, ReachesTheExceptionDisplayAndThePageRunsOn) {
    const TClickFault& fault = GetParam();
    fault.MakeFaulty(*Page);
    const int before = Application->ExceptionCount();

    fault.Click(*Page);

    EXPECT_EQ(Application->ExceptionCount(), before + 1);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_NE(Boxes[0].Text.find(fault.Message), std::string::npos) << Boxes[0].Text;
    EXPECT_EQ(Boxes[0].Text.back(), '.');
    EXPECT_EQ(Boxes[0].Caption, "Settings");
    EXPECT_EQ(Boxes[0].Flags & MB_ICONSTOP, MB_ICONSTOP);

    // The program runs on: the event loop turns, another control does its work, and the same
    // fault is reported again rather than swallowed or fatal the second time.
    Application->ProcessMessages();
    ClickBox(Page->FilterCheck1);
    EXPECT_EQ(Page->FilterDips->BinaryValueStr()[6], '1') << Page->FilterDips->BinaryValueStr();
    EXPECT_EQ(Application->ExceptionCount(), before + 1);
    fault.Click(*Page);
    EXPECT_EQ(Application->ExceptionCount(), before + 2);
    EXPECT_EQ(Boxes.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Route, PageClickFault, ::testing::ValuesIn(ClickFaults),
                         [](const ::testing::TestParamInfo<TClickFault>& caseInfo) {
                             return std::string(caseInfo.param.Name);
                         });

} // namespace
