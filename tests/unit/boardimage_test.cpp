// The board image: where the photograph lands (stretch, centre, plain), the centring in its
// parent and the stored position it records first, auto-size and aspect, the setters that
// must do nothing for an equal value, the opaque flag, the auto-size query, the paint in a
// form designer, the start message, and the real main window's board image.
#include "app/mainform.h"
#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/custompanel.h"
#include "classlib/form.h"
#include "classlib/mainmenu.h"
#include "classlib/menuitem.h"
#include "classlib/screen.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/popupform.h"
#include "testpictures.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

using testpictures::MakeBitmap;
using testpictures::PhotoPixel;

std::unique_ptr<TBitmap> MakePhoto(int width, int height) { return MakeBitmap(width, height, PhotoPixel); }

// Counts repaint requests; the class name stays TBoardImage.
class TCountingBoard : public TBoardImage {
  public:
    using TBoardImage::TBoardImage;
    void Invalidate() override {
        ++Invalidations;
        TBoardImage::Invalidate();
    }
    int Invalidations = 0;
};

// A graphic whose pixels cannot be read: drawing it fails.
class TBrokenGraphic : public TGraphic {
  public:
    int Width() const override { return 10; }
    int Height() const override { return 10; }
    void Draw(TCanvas&, const TRect&) const override { throw std::runtime_error("broken graphic"); }
    const QImage* Image() const override { throw std::runtime_error("broken graphic"); }
    TGraphic* Clone() const override { return new TBrokenGraphic; }
};

// A graphic that reports a change each time it is drawn, as some formats do while decoding.
class TChattyGraphic : public TGraphic {
  public:
    TChattyGraphic() : FBitmap(MakePhoto(20, 20)) {}
    int Width() const override { return 20; }
    int Height() const override { return 20; }
    void Draw(TCanvas& canvas, const TRect& dest) const override { FBitmap->Draw(canvas, dest); }
    const QImage* Image() const override {
        const_cast<TChattyGraphic*>(this)->Changed();
        return FBitmap->Image();
    }
    TGraphic* Clone() const override { return new TChattyGraphic; }

  private:
    std::unique_ptr<TBitmap> FBitmap;
};

class BoardImageTest : public ::testing::Test {
  protected:
    void SetUp() override { Board = std::make_unique<TCountingBoard>(nullptr); }

    void TearDown() override {
        Application->SetMouseControl(nullptr);
        TScreen::SetCursorPosHook(nullptr);
        Board.reset();
    }

    void SetPicture(std::unique_ptr<TGraphic> graphic) { Board->Picture().SetGraphic(std::move(graphic)); }
    void Render() { Board->PaintTo(Canvas); }

    std::unique_ptr<TCountingBoard> Board;
    TBitmap Canvas;
};

TEST_F(BoardImageTest, NewBoardHasItsDefaults) {
    EXPECT_EQ(Board->Width(), 105);
    EXPECT_EQ(Board->Height(), 105);
    EXPECT_DOUBLE_EQ(Board->Aspect(), 1.0);
    EXPECT_TRUE(Board->AutoSize());
    EXPECT_TRUE(Board->Scale());
    EXPECT_TRUE(Board->CenterOnForm());
    EXPECT_FALSE(Board->Center());
    EXPECT_FALSE(Board->Stretch());
    EXPECT_FALSE(Board->Transparent());
    EXPECT_FALSE(Board->LayoutSaved());
    EXPECT_FALSE(Board->Drawing());
    EXPECT_EQ(Board->First(), nullptr);
    EXPECT_EQ(Board->Menu(), nullptr);
    EXPECT_EQ(Board->Picture().Graphic(), nullptr);
    EXPECT_FALSE(Board->ControlStyle() & csOpaque);
}

// --- Where the picture is drawn ----------------------------------------------------------------

struct TTargetCase {
    const char* Name;
    bool Stretch, Center;
    int PictureWidth, PictureHeight;
    int ControlWidth, ControlHeight;
    TRect Expected;
};

class BoardImageTargetTest : public BoardImageTest, public ::testing::WithParamInterface<TTargetCase> {};

TEST_P(BoardImageTargetTest, PictureLandsInTargetRect) {
    const TTargetCase& c = GetParam();
    Board->SetAutoSize(false);
    Board->SetBounds(0, 0, c.ControlWidth, c.ControlHeight);
    Board->SetStretch(c.Stretch);
    Board->SetCenter(c.Center);
    SetPicture(MakePhoto(c.PictureWidth, c.PictureHeight));
    EXPECT_EQ(Board->TargetRect(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardImageTargetTest,
    ::testing::Values(
        TTargetCase{"StretchOneToOne", true, false, 600, 425, 600, 425, Rect(0, 0, 600, 425)},
        TTargetCase{"StretchSmallPicture", true, false, 100, 50, 105, 105, Rect(0, 0, 105, 105)},
        TTargetCase{"StretchWinsOverCenter", true, true, 100, 50, 105, 105, Rect(0, 0, 105, 105)},
        TTargetCase{"CenterSmallPicture", false, true, 100, 50, 105, 105, Rect(2, 27, 102, 77)},
        TTargetCase{"CenterWidePictureTruncatesTowardZero", false, true, 600, 425, 105, 105,
                    Rect(-247, -160, 353, 265)},
        TTargetCase{"PlainTopLeft", false, false, 100, 50, 105, 105, Rect(0, 0, 100, 50)}),
    [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(BoardImageTest, StretchOfSameSizeDrawsEveryPixelUnscaled) {
    Board->SetAutoSize(false);
    Board->SetBounds(0, 0, 600, 425);
    Board->SetStretch(true);
    SetPicture(MakePhoto(600, 425));
    Render();
    int wrong = 0;
    for (int y = 0; y < 425; ++y)
        for (int x = 0; x < 600; ++x)
            if (Canvas.PixelColor(x, y) != PhotoPixel(x, y)) ++wrong;
    EXPECT_EQ(wrong, 0);
}

TEST_F(BoardImageTest, CentredSmallPictureCoversExactlyItsRectangle) {
    Board->SetAutoSize(false);
    Board->SetCenter(true);
    SetPicture(MakeBitmap(100, 50, [](int, int) { return clRed; }));
    ASSERT_EQ(Board->Width(), 105);
    Render();
    int red = 0, left = 105, top = 105, right = -1, bottom = -1;
    for (int y = 0; y < 105; ++y)
        for (int x = 0; x < 105; ++x)
            if (Canvas.PixelColor(x, y) == clRed) {
                ++red;
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
    EXPECT_EQ(red, 100 * 50);
    EXPECT_EQ(Rect(left, top, right, bottom), Rect(2, 27, 102, 77));
}

TEST_F(BoardImageTest, CentredWidePictureShowsItsMiddle) {
    Board->SetAutoSize(false);
    Board->SetCenter(true);
    SetPicture(MakePhoto(600, 425));
    Render();
    // Control (0, 0) shows picture (247, 160): the left edge is at -247, not -248.
    for (TPoint p : {TPoint{0, 0}, TPoint{104, 0}, TPoint{0, 104}, TPoint{52, 52}})
        EXPECT_EQ(Canvas.PixelColor(p.X, p.Y), PhotoPixel(p.X + 247, p.Y + 160)) << p.X << "," << p.Y;
}

// --- Centring and the stored position -----------------------------------------------------------

struct TCentreCase {
    const char* Name;
    int ParentWidth, ParentHeight;
    TPoint Expected;
};

class BoardImageCentreTest : public BoardImageTest, public ::testing::WithParamInterface<TCentreCase> {};

// The parent's outer size counts (frame, caption and menu included), not its client area.
TEST_P(BoardImageCentreTest, PaintCentresInParentWindow) {
    const TCentreCase& c = GetParam();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, c.ParentWidth, c.ParentHeight);
    Board->SetAutoSize(false);
    Board->SetBounds(150, 74, 600, 425);
    Board->SetParent(form.get());
    Render();
    EXPECT_EQ((TPoint{Board->Left(), Board->Top()}), c.Expected);
    EXPECT_EQ(Board->Width(), 600);
    EXPECT_EQ(Board->Height(), 425);
    Board->SetParent(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, BoardImageCentreTest,
                         ::testing::Values(TCentreCase{"MaximisedWindow", 1032, 776, {216, 175}},
                                           TCentreCase{"OddSizes", 1033, 777, {216, 176}},
                                           TCentreCase{"NarrowParentTruncatesTowardZero", 501, 425, {-49, 0}},
                                           TCentreCase{"LowParentTruncatesTowardZero", 600, 324, {0, -50}},
                                           TCentreCase{"ExactFit", 600, 425, {0, 0}}),
                         [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(BoardImageTest, StoredPositionIsTakenBeforeTheFirstCentringAndKept) {
    TCustomPanel parent(nullptr);
    parent.SetBounds(0, 0, 1032, 776);
    Board->SetAutoSize(false);
    Board->SetBounds(150, 74, 600, 425);
    Board->SetParent(&parent);
    EXPECT_FALSE(Board->LayoutSaved());
    Render();
    EXPECT_TRUE(Board->LayoutSaved());
    EXPECT_EQ(Board->Left(), 216);
    EXPECT_EQ(Board->Top(), 175);
    for (int i = 0; i < 3; ++i) Render();
    parent.SetBounds(0, 0, 800, 600);
    Render();
    EXPECT_EQ(Board->Left(), 100);
    EXPECT_EQ(Board->Top(), 87);
    EXPECT_EQ(Board->LayoutLeft(), 150);
    EXPECT_EQ(Board->LayoutTop(), 74);
    Board->SetParent(nullptr);
}

// In a window on the screen the board centres as soon as the window takes a new size, still
// recording the stored place first.
TEST_F(BoardImageTest, ShownWindowCentresOnResizeAfterRecordingTheStoredPlace) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 831, 645);
    Board->SetAutoSize(false);
    Board->SetBounds(150, 74, 600, 425);
    Board->SetParent(form.get());
    form->Show();
    form->SetBounds(0, 0, 1032, 776);
    EXPECT_EQ(Board->LayoutLeft(), 150);
    EXPECT_EQ(Board->LayoutTop(), 74);
    EXPECT_EQ((TPoint{Board->Left(), Board->Top()}), (TPoint{216, 175}));
    form->SetBounds(0, 0, 501, 425);
    Render();
    EXPECT_EQ((TPoint{Board->Left(), Board->Top()}), (TPoint{-49, 0}));
    EXPECT_EQ(Board->LayoutLeft(), 150);
    EXPECT_EQ(Board->LayoutTop(), 74);
    form->Hide();
    Board->SetParent(nullptr);
}

TEST_F(BoardImageTest, WithoutCenterOnFormPaintKeepsThePosition) {
    TCustomPanel parent(nullptr);
    parent.SetBounds(0, 0, 1032, 776);
    Board->SetAutoSize(false);
    Board->SetCenterOnForm(false);
    Board->SetBounds(150, 74, 600, 425);
    Board->SetParent(&parent);
    Render();
    EXPECT_EQ(Board->Left(), 150);
    EXPECT_EQ(Board->Top(), 74);
    EXPECT_EQ(Board->LayoutLeft(), 150);
    Board->SetParent(nullptr);
}

// --- Auto-size and aspect --------------------------------------------------------------------

TEST_F(BoardImageTest, AutoSizeTakesThePictureSizeAndKeepsThePosition) {
    Board->SetBounds(30, 40, 105, 105);
    TPicture photo;
    photo.SetGraphic(MakePhoto(600, 425));
    Board->SetPicture(photo);
    EXPECT_EQ(Board->BoundsRect(), Bounds(30, 40, 600, 425));
    EXPECT_NEAR(Board->Aspect(), 425.0 / 600.0, 1e-12);
    // The picture was copied, not shared.
    EXPECT_NE(Board->Picture().Graphic(), photo.Graphic());
}

TEST_F(BoardImageTest, WithoutAutoSizeThePictureLeavesTheSize) {
    Board->SetAutoSize(false);
    SetPicture(MakePhoto(600, 425));
    EXPECT_EQ(Board->Width(), 105);
    EXPECT_EQ(Board->Height(), 105);
    EXPECT_NEAR(Board->Aspect(), 425.0 / 600.0, 1e-12);
}

TEST_F(BoardImageTest, EmptyPictureKeepsAspectAndSize) {
    SetPicture(MakePhoto(50, 100));
    ASSERT_DOUBLE_EQ(Board->Aspect(), 2.0);
    Board->Picture().SetGraphic(nullptr);
    EXPECT_DOUBLE_EQ(Board->Aspect(), 2.0);
    EXPECT_EQ(Board->Width(), 50);
    EXPECT_FALSE(Board->ControlStyle() & csOpaque);
}

// --- Setters: an equal value does nothing, a new one redoes the picture handling ---------------

struct TSetterCase {
    const char* Name;
    std::function<void(TBoardImage&, bool)> Set;
    bool Default;
};

class BoardImageSetterTest : public BoardImageTest, public ::testing::WithParamInterface<TSetterCase> {};

TEST_P(BoardImageSetterTest, EqualValueChangesNothing) {
    const TSetterCase& c = GetParam();
    Board->SetAutoSize(false);
    SetPicture(MakePhoto(600, 425));
    Board->SetBounds(5, 6, 70, 80);
    Board->Invalidations = 0;
    TControlStyle style = Board->ControlStyle();
    c.Set(*Board, c.Default);
    EXPECT_EQ(Board->Invalidations, 0);
    EXPECT_EQ(Board->ControlStyle(), style);
    EXPECT_EQ(Board->BoundsRect(), Bounds(5, 6, 70, 80));
}

TEST_P(BoardImageSetterTest, NewValueRepaints) {
    const TSetterCase& c = GetParam();
    Board->SetAutoSize(false);
    SetPicture(MakePhoto(600, 425));
    Board->Invalidations = 0;
    c.Set(*Board, !c.Default);
    EXPECT_GT(Board->Invalidations, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardImageSetterTest,
    ::testing::Values(TSetterCase{"Stretch", [](TBoardImage& b, bool v) { b.SetStretch(v); }, false},
                      TSetterCase{"Center", [](TBoardImage& b, bool v) { b.SetCenter(v); }, false},
                      TSetterCase{"Scale", [](TBoardImage& b, bool v) { b.SetScale(v); }, true},
                      TSetterCase{"Transparent", [](TBoardImage& b, bool v) { b.SetTransparent(v); }, false}),
    [](const auto& tc) { return std::string(tc.param.Name); });

TEST_F(BoardImageTest, TransparentIsHandedToTheGraphic) {
    SetPicture(MakePhoto(20, 20));
    Board->SetTransparent(true);
    EXPECT_TRUE(Board->Picture().Graphic()->Transparent());
    // A graphic assigned later takes the setting too.
    SetPicture(MakePhoto(30, 30));
    EXPECT_TRUE(Board->Picture().Graphic()->Transparent());
}

// --- Opaque flag ----------------------------------------------------------------------------

struct TOpaqueCase {
    const char* Name;
    int PictureWidth, PictureHeight;
    bool Stretch, Transparent;
    bool Expected;
};

class BoardImageOpaqueTest : public BoardImageTest, public ::testing::WithParamInterface<TOpaqueCase> {};

TEST_P(BoardImageOpaqueTest, OpaqueWhenThePictureCoversTheControl) {
    const TOpaqueCase& c = GetParam();
    Board->SetAutoSize(false);
    Board->SetStretch(c.Stretch);
    Board->SetTransparent(c.Transparent);
    SetPicture(MakePhoto(c.PictureWidth, c.PictureHeight));
    EXPECT_EQ((Board->ControlStyle() & csOpaque) != 0, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BoardImageOpaqueTest,
                         ::testing::Values(TOpaqueCase{"CoversExactly", 105, 105, false, false, true},
                                           TOpaqueCase{"Larger", 600, 425, false, false, true},
                                           TOpaqueCase{"TooNarrow", 104, 200, false, false, false},
                                           TOpaqueCase{"TooLow", 200, 104, false, false, false},
                                           TOpaqueCase{"SmallButStretched", 10, 10, true, false, true},
                                           TOpaqueCase{"TransparentNeverOpaque", 600, 425, true, true, false}),
                         [](const auto& tc) { return std::string(tc.param.Name); });

// --- Auto-size query ------------------------------------------------------------------------

struct TAutoSizeCase {
    const char* Name;
    TAlign Align;
    bool Designing;
    bool WithPicture;
    int ExpectedWidth, ExpectedHeight; // starting from 11 x 22
};

class BoardImageCanAutoSizeTest : public BoardImageTest, public ::testing::WithParamInterface<TAutoSizeCase> {};

TEST_P(BoardImageCanAutoSizeTest, ProposesThePictureSizeAlongFreeSides) {
    const TAutoSizeCase& c = GetParam();
    if (c.WithPicture) SetPicture(MakePhoto(600, 425));
    Board->SetDesigning(c.Designing);
    Board->SetAlign(c.Align);
    int width = 11, height = 22;
    EXPECT_TRUE(Board->CanAutoSize(width, height));
    EXPECT_EQ(width, c.ExpectedWidth);
    EXPECT_EQ(height, c.ExpectedHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardImageCanAutoSizeTest,
    ::testing::Values(TAutoSizeCase{"NoneBoth", alNone, false, true, 600, 425},
                      TAutoSizeCase{"LeftWidthOnly", alLeft, false, true, 600, 22},
                      TAutoSizeCase{"RightWidthOnly", alRight, false, true, 600, 22},
                      TAutoSizeCase{"TopHeightOnly", alTop, false, true, 11, 425},
                      TAutoSizeCase{"BottomHeightOnly", alBottom, false, true, 11, 425},
                      TAutoSizeCase{"ClientNeither", alClient, false, true, 11, 22},
                      TAutoSizeCase{"EmptyAtRunTimeGivesZero", alNone, false, false, 0, 0},
                      TAutoSizeCase{"EmptyInDesignerUntouched", alNone, true, false, 11, 22},
                      TAutoSizeCase{"PictureInDesigner", alNone, true, true, 600, 425}),
    [](const auto& tc) { return std::string(tc.param.Name); });

// --- Paint details ------------------------------------------------------------------------------

struct TScaleCase {
    int Width;
    int ExpectedHeight;
};

// In a form designer the height follows width x aspect, halves rounding to even; no centring.
TEST_F(BoardImageTest, DesignerPaintScalesHeightAndDoesNotCentre) {
    TCustomPanel parent(nullptr);
    parent.SetBounds(0, 0, 1000, 1000);
    Board->SetAutoSize(false);
    Board->SetParent(&parent);
    SetPicture(MakePhoto(2, 1));
    Board->SetDesigning(true);
    for (TScaleCase c : {TScaleCase{5, 2}, TScaleCase{7, 4}, TScaleCase{8, 4}, TScaleCase{600, 300}}) {
        Board->SetBounds(10, 20, c.Width, 77);
        Render();
        EXPECT_EQ(Board->Height(), c.ExpectedHeight) << c.Width;
        EXPECT_EQ(Board->Left(), 10);
        EXPECT_EQ(Board->Top(), 20);
    }
    Board->SetScale(false);
    Board->SetBounds(10, 20, 600, 77);
    Render();
    EXPECT_EQ(Board->Height(), 77);
    Board->SetParent(nullptr);
}

TEST_F(BoardImageTest, ScaleHasNoEffectAtRunTime) {
    Board->SetAutoSize(false);
    SetPicture(MakePhoto(2, 1));
    Board->SetBounds(0, 0, 600, 77);
    Render();
    EXPECT_EQ(Board->Height(), 77);
}

TEST_F(BoardImageTest, FailedDrawRestoresDrawingAndPassesTheErrorOn) {
    Board->SetAutoSize(false);
    SetPicture(std::make_unique<TBrokenGraphic>());
    EXPECT_THROW(Render(), std::runtime_error);
    EXPECT_FALSE(Board->Drawing());
}

TEST_F(BoardImageTest, ChangeReportedWhileDrawingSchedulesNoPaint) {
    Board->SetAutoSize(false);
    SetPicture(std::make_unique<TChattyGraphic>());
    Board->Invalidations = 0;
    Render();
    EXPECT_EQ(Board->Invalidations, 0);
    EXPECT_FALSE(Board->Drawing());
    // Outside a paint the same report does schedule one.
    Board->Picture().Graphic()->Image();
    EXPECT_EQ(Board->Invalidations, 1);
}

TEST_F(BoardImageTest, PaletteQueriesAreEmptyOnThisPlatform) {
    SetPicture(MakePhoto(10, 10));
    EXPECT_FALSE(Board->HasPalette());
    EXPECT_FALSE(Board->AnnouncePalette());
}

// --- Start message --------------------------------------------------------------------------

TEST_F(BoardImageTest, StartMessageWithoutFirstChangesNothing) {
    Board->SetAutoSize(false);
    Board->SetBounds(3, 4, 50, 60);
    size_t forms = Application->Forms().size();
    Board->Invalidations = 0;
    EXPECT_EQ(Board->Perform(WM_SHOWFIRST, 0, 0), 0);
    EXPECT_EQ(Board->BoundsRect(), Bounds(3, 4, 50, 60));
    EXPECT_EQ(Board->Invalidations, 0);
    EXPECT_EQ(Application->Forms().size(), forms);
}

TEST_F(BoardImageTest, StartMessageOpensAndPinsTheFirstPopup) {
    auto host = std::make_unique<TForm>(nullptr);
    auto* menu = new TMainMenu(host.get());
    auto* help = new TMenuItem(host.get());
    help->SetCaption("&Help");
    menu->Items()->Add(help);
    Board->SetParent(host.get());
    Board->SetAutoSize(false);
    Board->SetCenterOnForm(false);
    Board->SetMenu(menu);
    auto* first = new TBoardHighlight(host.get());
    first->SetParent(Board.get());
    first->SetTitle("&Start");
    Board->SetFirst(first);
    TScreen::SetCursorPosHook([] { return TPoint{-5000, -5000}; }); // far from every window
    Render();
    ASSERT_EQ(menu->Items()->Count(), 2);

    Board->Perform(WM_SHOWFIRST, 0, 0);
    ASSERT_NE(first->Popup(), nullptr);
    EXPECT_TRUE(first->Popup()->Visible());
    EXPECT_TRUE(first->Pinned());
    EXPECT_TRUE(first->Lit());
    EXPECT_TRUE(menu->Items()->Items(0)->Items(0)->Checked());

    Board->SetFirst(nullptr);
    Board->SetParent(nullptr);
    delete first;
}

// --- The real page ------------------------------------------------------------------------------

class BoardImageMainFormTest : public ::testing::Test {
  protected:
    void TearDown() override {
        Application->SetMouseControl(nullptr);
        delete Form;
        Application->OnIdle = nullptr;
    }
    TMainForm* Form = nullptr;
};

TEST_F(BoardImageMainFormTest, StoredBoardImageDrawsThePhotographOneToOneAndCentres) {
    Form = new TMainForm(Application);
    TBoardImage* board = Form->BoardImage1;
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->BoundsRect(), Bounds(150, 74, 600, 425));
    EXPECT_FALSE(board->AutoSize());
    EXPECT_TRUE(board->Stretch());
    EXPECT_TRUE(board->CenterOnForm());
    EXPECT_EQ(board->First(), Form->FilterHighlight);
    EXPECT_EQ(board->Menu(), Form->MainMenu1);
    EXPECT_EQ(board->Picture().Width(), 600);
    EXPECT_EQ(board->Picture().Height(), 425);
    EXPECT_NEAR(board->Aspect(), 425.0 / 600.0, 1e-12);
    EXPECT_EQ(board->TargetRect(), Rect(0, 0, 600, 425));
    EXPECT_TRUE(board->ControlStyle() & csOpaque);

    TBitmap canvas;
    board->PaintTo(canvas);
    EXPECT_EQ(board->LayoutLeft(), 150);
    EXPECT_EQ(board->LayoutTop(), 74);
    EXPECT_EQ(board->Left(), (Form->Width() - 600) / 2);
    EXPECT_EQ(board->Top(), (Form->Height() - 425) / 2);
    // Away from the circles the photograph comes through unchanged.
    TBitmap photo;
    photo.AssignImage(*board->Picture().Graphic()->Image());
    for (TPoint p : {TPoint{0, 0}, TPoint{599, 424}, TPoint{300, 200}, TPoint{550, 10}})
        EXPECT_EQ(canvas.PixelColor(p.X, p.Y), photo.PixelColor(p.X, p.Y)) << p.X << "," << p.Y;
}

} // namespace
