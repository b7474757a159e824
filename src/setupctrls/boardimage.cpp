#include "setupctrls/boardimage.h"

#include "classlib/application.h"
#include "classlib/form.h"
#include "setupctrls/boardhighlight.h"

#include <cmath>

TBoardImage::TBoardImage(TComponent* owner)
    : TCustomPanel(owner), FPicture(std::make_unique<TPicture>()) {
    FPicture->OnChange = [this](TObject* sender) { HandlePictureChange(sender); };
    SetHeight(105);
    SetWidth(105);
    FAspect = 1.0;
    TControl::SetAutoSize(true);
    FScale = true;
    FMenu = nullptr;
    FCenterOnForm = true;
    FLayoutSaved = false;
    FStretch = false;
}

TBoardImage::~TBoardImage() {
    FPicture->OnChange = nullptr;
    FPicture.reset();
}

void TBoardImage::SetCenter(bool value) {
    if (value == FCenter) return;
    FCenter = value;
    HandlePictureChange(this);
}

void TBoardImage::SetStretch(bool value) {
    if (value == FStretch) return;
    FStretch = value;
    HandlePictureChange(this);
}

void TBoardImage::SetScale(bool value) {
    if (value == FScale) return;
    FScale = value;
    HandlePictureChange(this);
}

void TBoardImage::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    HandlePictureChange(this);
}

void TBoardImage::SetAutoSize(bool value) {
    if (value == AutoSize()) return;
    TControl::SetAutoSize(value);
    if (value) HandlePictureChange(this);
}

TRect TBoardImage::TargetRect() const {
    if (FStretch) return Rect(0, 0, ClientWidth(), ClientHeight());
    int w = FPicture->Width(), h = FPicture->Height();
    if (FCenter) return Bounds((Width() - w) / 2, (Height() - h) / 2, w, h);
    return Rect(0, 0, w, h);
}

void TBoardImage::HandlePictureChange(TObject*) {
    int w = FPicture->Width(), h = FPicture->Height();
    if (w > 0 && h > 0) FAspect = static_cast<double>(h) / w;
    if (AutoSize() && w > 0 && h > 0) SetBounds(Left(), Top(), w, h);
    TControlStyle style = ControlStyle() & ~csOpaque;
    if (TGraphic* graphic = FPicture->Graphic()) {
        graphic->SetTransparent(FTransparent);
        bool covers = FStretch || (graphic->Width() >= Width() && graphic->Height() >= Height());
        // An opaque control spares the background fill before each repaint.
        if (!graphic->Transparent() && covers) style |= csOpaque;
        if (AnnouncePalette() && FDrawing) Repaint();
    }
    SetControlStyle(style);
    if (!FDrawing) Invalidate();
}

bool TBoardImage::AnnouncePalette() { return false; }

bool TBoardImage::HasPalette() const { return false; }

bool TBoardImage::CanAutoSize(int& newWidth, int& newHeight) const {
    int w = FPicture->Width(), h = FPicture->Height();
    if (!IsDesigning() || (w > 0 && h > 0)) {
        if (Align() == alNone || Align() == alLeft || Align() == alRight) newWidth = w;
        if (Align() == alNone || Align() == alTop || Align() == alBottom) newHeight = h;
    }
    return true;
}

void TBoardImage::SaveLayoutPosition() {
    if (FLayoutSaved) return;
    FLayoutLeft = Left();
    FLayoutTop = Top();
    FLayoutSaved = true;
}

void TBoardImage::CentreOnParent() {
    if (!FCenterOnForm || IsDesigning() || !Parent()) return;
    // The parent's outer size, frame and menu bar included, against client coordinates.
    SetBounds((Parent()->Width() - Width()) / 2, (Parent()->Height() - Height()) / 2, Width(),
              Height());
}

void TBoardImage::ParentResized() {
    // Centring as soon as the window takes its size spares a first paint at the stored place
    // followed by a jump; the stored place is recorded first, as the first paint would.
    if (IsLoading() || IsDesigning() || !FCenterOnForm || !Parent() || !Parent()->Showing())
        return;
    SaveLayoutPosition();
    CentreOnParent();
}

void TBoardImage::Paint() {
    SaveLayoutPosition();
    CentreOnParent();
    TCanvas& canvas = Canvas();
    if (IsDesigning()) {
        if (FScale) SetHeight(static_cast<int>(std::nearbyint(Width() * FAspect)));
        canvas.Pen.Style = psDash;
        canvas.FrameRect(Rect(0, 0, Width(), Height()));
        canvas.Pen.Style = psSolid;
    }
    bool wasDrawing = FDrawing;
    FDrawing = true;
    struct TRestore {
        bool& Flag;
        bool Value;
        ~TRestore() { Flag = Value; }
    } restore{FDrawing, wasDrawing};
    if (!(ControlStyle() & csOpaque)) {
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = Color();
        canvas.FillRect(ClientRect());
    }
    if (TGraphic* graphic = FPicture->Graphic()) canvas.StretchDraw(TargetRect(), *graphic);
}

void TBoardImage::WndProc(TMessage& message) {
    if (message.Msg == WM_SHOWFIRST) {
        ShowFirst(message);
        return;
    }
    TCustomPanel::WndProc(message);
}

void TBoardImage::ShowFirst(TMessage& message) {
    if (!FFirst) return;
    TMessage enter{CM_MOUSEENTER, message.WParam, message.LParam, 0};
    FFirst->WndProc(enter);
    FFirst->Click();
    TMessage leave{CM_MOUSELEAVE, message.WParam, message.LParam, 0};
    FFirst->WndProc(leave);
}
