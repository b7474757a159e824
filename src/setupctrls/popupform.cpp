#include "setupctrls/popupform.h"

#include "classlib/screen.h"
#include "setupctrls/boardhighlight.h"

TPopupForm::TPopupForm(TComponent* owner) : TForm(owner) {}

bool TPopupForm::CursorInside() const {
    TPoint p = TScreen::CursorPos();
    return Rect(0, 0, Width(), Height()).Contains({p.X - Left(), p.Y - Top()});
}

void TPopupForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_ACTIVATE:
        if (Highlight) Highlight->SetPopupActive((message.WParam & 0xFFFF) != WA_INACTIVE, true);
        message.Result = 0;
        return;
    case CM_MOUSELEAVE:
        // The notice also comes when the mouse only moves onto one of this window's own
        // controls; the position tells a real departure.
        if (CloseOnLeave && !CursorInside()) {
            Close();
            return;
        }
        break;
    default: break;
    }
    TForm::WndProc(message);
}
