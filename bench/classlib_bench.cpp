// Costs inside the program, measured on the real classes in an offscreen Qt application:
// hovering a highlight circle until its popup has painted, building a circle's three looks,
// painting the card photograph with its circles, and painting the DIP switch drawing.
#include "app/mainform.h"
#include "classlib/application.h"
#include "classlib/bitmap.h"
#include "classlib/custompanel.h"
#include "classlib/jpegdecoder.h"
#include "classlib/screen.h"
#include "setupctrls/boardhighlight.h"
#include "setupctrls/boardimage.h"
#include "setupctrls/dipswitch.h"
#include "setupctrls/highlightshader.h"
#include "setupctrls/highlighttype.h"
#include "setupctrls/popupform.h"
#include "setupctrls/setupclasses.h"

#include "libjpegdecode.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

double Smallest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// Lets Qt deliver everything a change has caused: paints, window shows, deferred deletes.
void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, 0); // 0: includes deferred deletes
    QCoreApplication::processEvents();
}

// The main window as the program shows it, painted once, with the pointer far from any popup.
class TShownMainForm {
  public:
    TShownMainForm() : Form(new TMainForm(Application)) {
        Application->SetMainForm(Form);
        Form->ShowMainForm();
        Settle();
    }
    ~TShownMainForm() {
        if (Application->MainForm() == Form) Application->SetMainForm(nullptr);
        delete Form;
        Settle();
    }
    TShownMainForm(const TShownMainForm&) = delete;
    TShownMainForm& operator=(const TShownMainForm&) = delete;

    void Enter() { Form->FilterHighlight->Perform(CM_MOUSEENTER, 0, 0); }
    void Leave() { Form->FilterHighlight->Perform(CM_MOUSELEAVE, 0, 0); }
    bool PopupShown() const {
        TPopupForm* popup = Form->FilterHighlight->Popup();
        return popup && popup->Visible();
    }

    TMainForm* Form;
};

// ---- hover ------------------------------------------------------------------------------

// The first hover of a circle builds its popup window. One sample per repetition, each on a
// fresh main window, so every sample pays for the build.
void BM_HoverFirst(benchmark::State& state) {
    TShownMainForm shown;
    for (auto _ : state) {
        shown.Enter();
        Settle();
    }
    if (!shown.PopupShown()) state.SkipWithError("the popup did not open");
    shown.Leave();
    Settle();
}
BENCHMARK(BM_HoverFirst)
    ->Iterations(1)
    ->Repetitions(20)
    ->ComputeStatistics("min", Smallest)
    ->Unit(benchmark::kMillisecond);

// Later hovers show the popup built before.
void BM_HoverAgain(benchmark::State& state) {
    TShownMainForm shown;
    shown.Enter();
    shown.Leave();
    Settle();
    for (auto _ : state) {
        shown.Enter();
        Settle();
        state.PauseTiming();
        if (!shown.PopupShown()) {
            state.SkipWithError("the popup did not open");
            break;
        }
        shown.Leave();
        Settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HoverAgain)
    ->MinTime(0.1) // each timed sample brings an untimed leave about three times as long
    ->Repetitions(10)
    ->ComputeStatistics("min", Smallest)
    ->Unit(benchmark::kMicrosecond);

// ---- drawing ----------------------------------------------------------------------------

// The photograph beneath a circle, so the shader sees the pixels it sees in the program.
class TPhotoCrop {
  public:
    TPhotoCrop(int left, int top, int width, int height) : Width(width), Height(height) {
        std::vector<uint8_t> file = ReadWholeFile(BENCH_PHOTO);
        TDecodedImage photo;
        std::string error;
        if (!TJPEGDecoder::Decode(file.data(), file.size(), photo, error)) return;
        Pixels.resize(static_cast<size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y)
            std::memcpy(&Pixels[static_cast<size_t>(y) * width * 4],
                        &photo.Pixels[(static_cast<size_t>(top + y) * photo.Width + left) * 4],
                        static_cast<size_t>(width) * 4);
    }
    bool Valid() const { return !Pixels.empty(); }
    void CopyTo(TBitmap& bitmap) const {
        for (int y = 0; y < Height; ++y)
            std::memcpy(bitmap.ScanLine(y), &Pixels[static_cast<size_t>(y) * Width * 4],
                        static_cast<size_t>(Width) * 4);
    }
    int Width, Height;
    std::vector<uint8_t> Pixels;
};

struct TCircleArea {
    int Left, Top, Width, Height;
    THighlightType Type;
};
// Where the main window's layout puts its two circles on the photograph.
const TCircleArea kCircleAreas[] = {{369, 34, 73, 25, htSettings}, {16, 80, 89, 249, htOptions}};

struct TLookSpec {
    bool WhiteCore;
    float Alpha;
};

std::vector<TLookSpec> LooksOf(THighlightType type) {
    const THighlightLook look = HighlightLook(type);
    return {{false, look.PlainAlpha}, {true, look.BrightAlpha}, {false, look.RaisedAlpha}};
}

// What a circle does at its first paint: copy the photograph beneath it into each look's
// bitmap and shade it.
void BM_BuildThreeLooks(benchmark::State& state) {
    const TCircleArea& area = kCircleAreas[state.range(0)];
    const TPhotoCrop crop(area.Left, area.Top, area.Width, area.Height);
    if (!crop.Valid()) return state.SkipWithError("cannot decode the photograph");
    const TColor ring = HighlightLook(area.Type).RingColor;
    std::vector<TLookSpec> looks = LooksOf(area.Type);
    TBitmap bitmaps[3];
    for (TBitmap& bitmap : bitmaps) bitmap.SetSize(area.Width, area.Height);
    for (auto _ : state)
        for (size_t i = 0; i < looks.size(); ++i) {
            crop.CopyTo(bitmaps[i]);
            THighlightShader::Shade(bitmaps[i], looks[i].WhiteCore, ring, looks[i].Alpha);
            benchmark::ClobberMemory();
        }
    state.SetItemsProcessed(state.iterations() * 3 * area.Width * area.Height);
}
BENCHMARK(BM_BuildThreeLooks)->Arg(0)->Arg(1)->Repetitions(5)->ComputeStatistics("min", Smallest);

// The copy alone, row by row as above: what shading adds is measured against this.
void BM_CopyThreeLooks(benchmark::State& state) {
    const TCircleArea& area = kCircleAreas[state.range(0)];
    const TPhotoCrop crop(area.Left, area.Top, area.Width, area.Height);
    if (!crop.Valid()) return state.SkipWithError("cannot decode the photograph");
    TBitmap bitmaps[3];
    for (TBitmap& bitmap : bitmaps) bitmap.SetSize(area.Width, area.Height);
    for (auto _ : state)
        for (TBitmap& bitmap : bitmaps) {
            crop.CopyTo(bitmap);
            benchmark::ClobberMemory();
        }
    state.SetItemsProcessed(state.iterations() * 3 * area.Width * area.Height);
}
BENCHMARK(BM_CopyThreeLooks)->Arg(0)->Arg(1)->Repetitions(5)->ComputeStatistics("min", Smallest);

// Shading alone, over the same bitmap again and again (its cost does not depend on the colours).
void BM_ShadeOnly(benchmark::State& state) {
    const TCircleArea& area = kCircleAreas[state.range(0)];
    const TPhotoCrop crop(area.Left, area.Top, area.Width, area.Height);
    if (!crop.Valid()) return state.SkipWithError("cannot decode the photograph");
    const TColor ring = HighlightLook(area.Type).RingColor;
    TBitmap bitmap;
    bitmap.SetSize(area.Width, area.Height);
    crop.CopyTo(bitmap);
    for (auto _ : state) {
        THighlightShader::Shade(bitmap, false, ring, 0.5f);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * area.Width * area.Height);
}
BENCHMARK(BM_ShadeOnly)->Arg(0)->Arg(1)->Repetitions(5)->ComputeStatistics("min", Smallest);

// One paint of the photograph with its circles, as the window repaints it (looks already built).
void BM_PaintBoard(benchmark::State& state) {
    TShownMainForm shown;
    TBitmap bitmap;
    shown.Form->BoardImage1->PaintTo(bitmap); // the circles build their looks here
    for (auto _ : state) {
        shown.Form->BoardImage1->PaintTo(bitmap);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * bitmap.Width() * bitmap.Height());
}
BENCHMARK(BM_PaintBoard)
    ->Repetitions(5)
    ->ComputeStatistics("min", Smallest)
    ->Unit(benchmark::kMicrosecond);

// One paint of the 8-switch drawing of the main window's filter panel, its value changing each
// time so nothing drawn before can be reused.
void BM_PaintDipSwitch(benchmark::State& state) {
    TCustomPanel panel(nullptr);
    panel.SetBevelOuter(bvNone);
    panel.SetBounds(0, 0, 105, 41);
    auto* dip = new TDipSwitch(&panel);
    dip->SetParent(&panel);
    dip->SetNumSwitches(8);
    dip->SetBounds(0, 0, 105, 41);
    TBitmap bitmap;
    uint32_t value = 0;
    for (auto _ : state) {
        dip->SetValue(++value & 0xFF);
        panel.PaintTo(bitmap);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintDipSwitch)
    ->Repetitions(5)
    ->ComputeStatistics("min", Smallest)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    TSetupClasses::Register();
    TApplication application;
    application.Initialize(argc, argv);
    // Far from every popup: leaving a circle closes its popup rather than keeping it open.
    TScreen::SetCursorPosHook([] { return TPoint{-1000, -1000}; });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TScreen::SetCursorPosHook(nullptr);
    return 0;
}
